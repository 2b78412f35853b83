#!/usr/bin/env bash
# A user plays runs through the real program, by mouse and keys only, inside xvfb-run on a
# 1024 x 768 screen (DISPLAY is set):
#   play_e2e.sh colour_run|number_run|escape_round_3|killed_run|pipe_result_file|print_all
#               PROGRAM
# print_all runs inside cups_server.sh run, which sets CUPS_SERVER to a private CUPS server
# whose default printer writes PDFs into QUENDAL_CUPS_PDFS.
# The program starts windowed with an empty QUENDAL_DATA_DIR and a private runtime folder.
# Every wait has a time limit.
set -uo pipefail
# shellcheck source=e2e_common.sh
. "$(dirname "$0")/e2e_common.sh"

scenario=$1
program=$2
work=$(mktemp -d)
export QUENDAL_DATA_DIR=$work/data
export XDG_RUNTIME_DIR=$work/run
export SDL_AUDIODRIVER=dummy
mkdir -p "$QUENDAL_DATA_DIR"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
daten=$QUENDAL_DATA_DIR/Quendal/Varon/Daten
pid=

cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    exit 1
}

# The places of the 1024 x 768 play field at the top-left of the screen: the frame's borders
# are 24 pixels, tag 1 is 232 x 100 at (4, 238) of the login panel, the gates 300 x 260 at
# (157, 230) and (519, 230) of the menu panel.
tag1=(144 312)
gate1=(331 384)
gate2=(693 384)

start() {
    "$program" win >"$work/program.log" 2>&1 &
    pid=$!
    for ((i = 0; i < 300; i++)); do
        [ -e "$daten/user4.dat" ] && break
        sleep 0.1
    done
    [ -e "$daten/user4.dat" ] || fail "the result files did not appear"
    main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quendal$' | head -n 1)
    [ -n "$main" ] || fail "no main window"
}

# The visible window with this title, waiting at most $2 seconds.
window_named() {
    timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# Waits at most $2 seconds until no visible window has the title $1.
await_gone() {
    for ((i = 0; i < $2 * 10; i++)); do
        [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    fail "the window '$1' is still open"
}

click() {
    timeout 10 xdotool mousemove --sync "$1" "$2" click 1 || fail "cannot click at $1,$2"
}

key() {
    timeout 10 xdotool key "$@" || fail "cannot press $*"
}

login_on_tag_1() {
    click "${tag1[@]}"
    local name
    name=$(window_named Name 20)
    [ -n "$name" ] || fail "the name dialog did not open"
    timeout 10 xdotool type --delay 30 "Anna" || fail "cannot type the name"
    key Return
    await_gone Name 10
}

# Opens a gate and accepts the parameters; $3 = rounds to type first (empty: keep them).
open_gate() {
    click "$1" "$2"
    local parameters
    parameters=$(window_named Parameter 20)
    [ -n "$parameters" ] || fail "the parameter dialog did not open"
    if [ -n "${3:-}" ]; then
        # The rounds field, right of "Anzahl Durchgänge:".
        eval "$(xdotool getwindowgeometry --shell "$parameters")"
        click $((X + 23 + 223 + 30)) $((Y + 47 + 263 + 16))
        key ctrl+a
        timeout 10 xdotool type --delay 30 "$3" || fail "cannot type the rounds"
    fi
    key Return
    await_gone Parameter 10
}

# Starts from the instruction screen and answers with the right arrow, tapped every 150 ms,
# until the statistics view shows (at most $1 seconds).
play_until_statistics() {
    sleep 1
    key space
    for ((i = 0; i < $1 * 1000 / 150; i++)); do
        [ -n "$(xdotool search --onlyvisible --name '^Statistik$' 2>/dev/null)" ] && return 0
        xdotool key Right 2>/dev/null
        sleep 0.15
    done
    fail "no statistics view after $1 seconds"
}

# Closes the window with the title $1 by Escape.
close_window() {
    local window
    window=$(window_named "$1" 5)
    [ -n "$window" ] || fail "no window '$1' to close"
    timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null
    key Escape
    await_gone "$1" 10
}

close_statistics() {
    close_window Statistik
}

quit() {
    timeout 10 xdotool windowfocus --sync "$main" 2>/dev/null
    key Escape
    local status
    await_end "$pid" 20 Escape
    pid=
    [ "$status" -eq 0 ] || fail "exit code $status"
}

# Checks that user1.dat holds exactly one record of $1 rounds with the program key $2.
one_record() {
    local file=$daten/user1.dat
    [ "$(grep -c '^\$ prname' "$file")" -eq 1 ] || fail "not exactly one record in user1.dat"
    [ "$(grep -c '^\$ eodata' "$file")" -eq 1 ] || fail "no end line in user1.dat"
    grep -q "^\\\$ prtkey \{16\}$2"$'\r'"\$" "$file" || fail "no program key $2 in user1.dat"
    local rounds
    rounds=$(tr -d '\r' <"$file" | grep -cE '^[ 0-9-]{40}$')
    [ "$rounds" -eq "$1" ] || fail "$rounds rounds in user1.dat instead of $1"
}

# Answers a print question with Yes and the done message with OK, then waits until the
# printer's queue is empty.
print_and_confirm() {
    sleep 0.8
    key Return # "Ja"
    local done
    done=$(window_named Hinweis 30)
    [ -n "$done" ] || fail "no done message after printing"
    key Return
    await_gone Hinweis 10
}

# The menu's "Gesamtstatistik" button and, on the overall view and the chart (both 686 x 531
# in the middle of the play field), the print button and the chart button.
overall_button=(620 179)
view_print=(586 601)
view_chart=(737 550)

case "$scenario" in
colour_run)
    start
    login_on_tag_1
    open_gate "${gate1[@]}"
    play_until_statistics 90
    close_statistics
    one_record 20 V-112
    [ "$(head -c 5 "$daten/user1.cfg" | od -An -tx1 | tr -d ' \n')" = "04416e6e61" ] ||
        fail "the name file does not hold Anna"
    quit
    one_record 20 V-112
    ;;
number_run)
    start
    login_on_tag_1
    open_gate "${gate2[@]}" 8
    play_until_statistics 40
    close_statistics
    one_record 8 V-212
    quit
    ;;
escape_round_3)
    start
    login_on_tag_1
    open_gate "${gate1[@]}"
    sleep 1
    key space
    # Unanswered rounds last 700 + 3000 + 1000 ms: round 3 runs from 9.4 s to 14.1 s.
    sleep 11
    key Escape
    note=$(window_named Hinweis 10)
    [ -n "$note" ] || fail "no note after an early Escape"
    key Return
    await_gone Hinweis 10
    [ -s "$daten/user1.dat" ] && fail "an abandoned run was saved"
    quit
    [ -s "$daten/user1.dat" ] && fail "an abandoned run was saved at the end"
    ;;
killed_run)
    # A finished run, then a program killed in the middle of the next: the file keeps the
    # first run to the byte.
    start
    login_on_tag_1
    open_gate "${gate2[@]}" 4
    play_until_statistics 30
    close_statistics
    one_record 4 V-212
    before=$(sha256sum <"$daten/user1.dat")
    open_gate "${gate1[@]}"
    sleep 1
    key space
    sleep 5
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    pid=
    [ "$(sha256sum <"$daten/user1.dat")" = "$before" ] || fail "the killed run changed user1.dat"
    ;;
pipe_result_file)
    # A named pipe in the place of user1.dat, which nobody writes to: the run is played and
    # its save fails with the program's message instead of waiting in open() for ever; the
    # session's SIGTERM still ends the program as the exit button does.
    mkdir -p "$daten"
    mkfifo "$daten/user1.dat" || fail "cannot make the pipe"
    start
    login_on_tag_1
    open_gate "${gate2[@]}" 4
    play_until_statistics 30
    close_statistics
    note=$(window_named Hinweis 10)
    [ -n "$note" ] || fail "no message about the failed save"
    key Return
    await_gone Hinweis 10
    [ -p "$daten/user1.dat" ] || fail "the pipe is not there any more"
    kill -s TERM "$pid"
    await_end "$pid" 20 SIGTERM
    pid=
    [ "$status" -eq 0 ] || fail "exit code $status after SIGTERM"
    [ -s "$daten/user1.cfg" ] || fail "the name was not written at the end"
    ;;
print_all)
    # The single statistics, the list and the chart, each printed on the default printer.
    start
    login_on_tag_1
    open_gate "${gate2[@]}" 4
    play_until_statistics 30
    key Return # the view's print button
    print_and_confirm
    close_statistics
    click "${overall_button[@]}"
    [ -n "$(window_named Statistik 20)" ] || fail "the overall view did not open"
    click "${view_print[@]}"
    print_and_confirm
    click "${view_chart[@]}"
    [ -n "$(window_named Graph 20)" ] || fail "the chart did not open"
    sleep 0.5
    click "${view_print[@]}"
    print_and_confirm
    close_window Graph
    close_window Statistik
    quit
    here=$(dirname "$0")
    "$here/cups_server.sh" wait-idle 60 || fail "the printer's queue did not empty"
    mapfile -t pdfs < <("$here/cups_server.sh" pdfs)
    [ "${#pdfs[@]}" -eq 3 ] || fail "${#pdfs[@]} PDFs instead of 3: ${pdfs[*]}"
    texts=$(for f in "${pdfs[@]}"; do pdftotext -layout "$f" - 2>/dev/null; echo "=="; done)
    for expected in "Anna" "Richtige" "Eliminierte" "Zahl/Anzahl - Version 1" "Datum" \
        "Interfer." "user1.dat" "Mittelwert" "Abweichung"; do
        grep -qF "$expected" <<<"$texts" || fail "no '$expected' in the printed pages"
    done
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "PASS: $scenario"
