#!/usr/bin/env bash
# One whole-program scenario, run inside xvfb-run (DISPLAY is set):
#   run_e2e.sh first_start|second_start|stale_lock|missing_graphics|terminate|full_screen|
#              login_small PROGRAM
#   run_e2e.sh installed PROGRAM CMAKE BUILD_DIR
# The program starts windowed with an empty QUENDAL_DATA_DIR and a private runtime folder
# (so that its single-instance guard meets no other copy). Every wait has a time limit.
set -uo pipefail
# shellcheck source=e2e_common.sh
. "$(dirname "$0")/e2e_common.sh"

scenario=$1
program=$2
work=$(mktemp -d)
export QUENDAL_DATA_DIR=$work/data
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$QUENDAL_DATA_DIR"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
daten=$QUENDAL_DATA_DIR/Quendal/Varon/Daten
pids=()

cleanup() {
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program in the background; its pid goes to $started.
start() {
    "$program" win >"$work/program.log" 2>&1 &
    started=$!
    pids+=("$started")
}

# The visible main window (the splash is gone by then), at most 30 seconds.
main_window() {
    timeout 30 xdotool search --sync --onlyvisible --name '^Quendal$' | head -n 1
}

# The message box the start shows instead of the main window ($1 says what about), confirmed
# with Return; then waits for the program ($first) to end, its exit code in $status.
confirm_message_and_await_end() {
    local box
    box=$(main_window)
    [ -n "$box" ] || fail "no message about $1"
    timeout 10 xdotool windowfocus --sync "$box" || fail "cannot focus the message"
    timeout 10 xdotool key Return || fail "cannot send Return"
    await_end "$first" 20
}

# Polls for the four empty result files, at most 30 seconds.
await_result_files() {
    for ((i = 0; i < 300; i++)); do
        [ -f "$daten/user1.dat" ] && [ -f "$daten/user2.dat" ] && [ -f "$daten/user3.dat" ] &&
            [ -f "$daten/user4.dat" ] && return 0
        sleep 0.1
    done
    fail "the result files did not appear in $daten"
}

press_escape() {
    local window=$1
    timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus window $window"
    timeout 10 xdotool key Escape || fail "cannot send Escape"
}

case "$scenario" in
first_start)
    start
    first=$started
    await_result_files
    for n in 1 2 3 4; do
        [ -s "$daten/user$n.dat" ] && fail "user$n.dat is not empty"
    done
    window=$(main_window)
    [ -n "$window" ] || fail "no main window"
    [ -e "$daten/optionen.cfg" ] && fail "optionen.cfg was written before the end"
    press_escape "$window"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"
    bytes=$(od -An -tx1 "$daten/optionen.cfg" | tr -d ' \n')
    [ "$bytes" = "010000001e000000" ] || fail "optionen.cfg holds $bytes, not 1 and 30"
    ;;
second_start)
    start
    first=$started
    await_result_files
    window=$(main_window)
    [ -n "$window" ] || fail "no main window"
    # The second copy must end at once, successfully, and leave the first running.
    timeout 20 "$program" win >"$work/second.log" 2>&1
    second=$?
    [ "$second" -eq 124 ] && fail "the second copy did not end"
    [ "$second" -eq 0 ] || fail "the second copy ended with exit code $second"
    sleep 0.5
    kill -0 "$first" 2>/dev/null || fail "the first copy ended"
    [ "$(main_window)" = "$window" ] || fail "the first copy's window is gone"
    press_escape "$window"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status of the first copy"
    ;;
stale_lock)
    # An empty lock file left behind names no process: the program starts as if it were not
    # there.
    lock=$XDG_RUNTIME_DIR/$(basename "$program")-$(id -un).lock
    : >"$lock"
    start
    first=$started
    await_result_files
    window=$(main_window)
    [ -n "$window" ] || fail "no main window with an empty lock file left behind"
    press_escape "$window"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"
    # A process holds the lock, empty, and answers nobody: the start says so and fails.
    rm -rf "$lock" "$daten"
    (
        exec 9>"$lock"
        flock -x 9 || exit 1
        exec sleep 120
    ) &
    holder=$!
    pids+=("$holder")
    for ((i = 0; i < 50; i++)); do
        [ -e "$lock" ] && break
        sleep 0.1
    done
    sleep 0.5
    start
    first=$started
    confirm_message_and_await_end "the copy that does not answer"
    [ "$status" -eq 1 ] || fail "exit code $status, not 1, when the running copy does not answer"
    grep -q "does not answer" "$work/program.log" || fail "no line on standard error"
    [ -e "$daten/user1.dat" ] && fail "the start went on after the message"
    ;;
missing_graphics)
    # A copy of the program whose English scheme list is missing, set to English.
    mkdir -p "$work/program"
    cp -r "$(dirname "$program")/DATA" "$program" "$work/program/"
    rm "$work/program/DATA/1024/escheme.bml"
    echo english >"$work/program/DATA/sprache.dat"
    program=$work/program/$(basename "$program")
    start
    first=$started
    confirm_message_and_await_end "the graphics"
    [ "$status" -ne 0 ] || fail "the program ended with 0 without its graphics"
    [ -e "$daten/user1.dat" ] && fail "the program went on after the message"
    ;;
installed)
    # The program installed into a temporary DESTDIR, where the build's DATA cannot be
    # reached, started from another working folder: it reads its pictures from the
    # installed share/quendal/DATA, and cannot start once that is gone.
    cmake=$3
    build=$4
    root=$work/root
    prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
    DESTDIR=$root "$cmake" --install "$build" >"$work/install.log" 2>&1 || fail "cmake --install"
    program=$root$prefix/bin/quendal
    [ -e "$root$prefix/bin/DATA" ] && fail "a DATA folder lies beside the installed program"
    mkdir -p "$work/elsewhere"
    cd "$work/elsewhere" || fail "no working folder"
    start
    first=$started
    await_result_files
    window=$(main_window)
    [ -n "$window" ] || fail "no main window"
    press_escape "$window"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"

    mv "$root$prefix/share/quendal" "$work/moved"
    rm -rf "$daten"
    start
    first=$started
    confirm_message_and_await_end "the missing graphics"
    [ "$status" -ne 0 ] || fail "the program started without its installed DATA"
    ;;
terminate)
    # Each of the session's signals closes the program as the exit button does: the close
    # handlers write the options file, and the exit code is 0.
    for signal in TERM HUP INT; do
        rm -f "$daten/optionen.cfg"
        start
        first=$started
        await_result_files
        [ -n "$(main_window)" ] || fail "no main window"
        [ -e "$daten/optionen.cfg" ] && fail "optionen.cfg was written before the end"
        kill -s "$signal" "$first"
        await_end "$first" 20
        [ "$status" -eq 0 ] || fail "exit code $status after SIG$signal"
        bytes=$(od -An -tx1 "$daten/optionen.cfg" 2>/dev/null | tr -d ' \n')
        [ "$bytes" = "010000001e000000" ] || fail "optionen.cfg holds '$bytes' after SIG$signal"
    done
    # Logout while a modal dialog is open: the first tag's name dialog.
    rm -f "$daten/optionen.cfg"
    start
    first=$started
    window=$(main_window)
    [ -n "$window" ] || fail "no main window"
    timeout 10 xdotool mousemove --window "$window" 130 300 click 1 || fail "cannot click the tag"
    timeout 20 xdotool search --sync --onlyvisible --name '^Name$' >/dev/null ||
        fail "the name dialog did not open"
    kill -s TERM "$first"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after SIGTERM with the name dialog open"
    [ -s "$daten/optionen.cfg" ] || fail "optionen.cfg was not written with the name dialog open"
    ;;
full_screen)
    # On a 1280 x 1024 screen without "win": one window, in the full-screen state, covers the
    # whole screen; the play field lies in it at its top-left, scaled to 1280 x 960 (the
    # weston tests compare its pixels).
    "$program" >"$work/program.log" 2>&1 &
    first=$!
    pids+=("$first")
    await_result_files
    timeout 30 xdotool search --sync --onlyvisible --name '^Quendal$' >/dev/null
    surface=
    for ((i = 0; i < 100; i++)); do
        windows=$(xdotool search --onlyvisible --name '^Quendal$')
        if [ "$(wc -w <<<"$windows")" -eq 1 ]; then
            geometry=$(xdotool getwindowgeometry "$windows" | tr -d '\n ')
            case "$geometry" in
            *Position:0,0*Geometry:1280x1024) surface=$windows ;;
            esac
        fi
        [ -n "$surface" ] && break
        sleep 0.1
    done
    [ -n "$surface" ] || fail "not one window covering the screen: $windows"
    press_escape "$surface"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"
    ;;
login_small)
    # A 640 x 480 play field: the fourth tag, which the 1024 design places would put beyond
    # the panel's right edge, is clicked, named and logged in.
    "$program" debug 640 480 >"$work/program.log" 2>&1 &
    first=$!
    pids+=("$first")
    await_result_files
    window=$(main_window)
    [ -n "$window" ] || fail "no main window"
    geometry=$(xdotool getwindowgeometry --shell "$window") || fail "no window geometry"
    eval "$geometry" # X, Y, WIDTH, HEIGHT
    [ "$WIDTH" -eq 640 ] && [ "$HEIGHT" -eq 480 ] || fail "window of $WIDTH x $HEIGHT"
    # The middle of tag 4 as the login panel lays it out with the 640 list: frame borders of
    # 15, tags of 145 x 63 spread with five equal spaces across the panel, the fourth at
    # 239 / 720 of the panel's height.
    border=15 tagw=145 tagh=63
    pw=$((WIDTH - 2 * border)) ph=$((HEIGHT - 2 * border))
    space=$(((pw - 4 * tagw) / 5))
    first_left=$((space + (pw - 4 * tagw - 5 * space) / 2))
    x=$((X + border + first_left + 3 * (tagw + space) + tagw / 2))
    y=$((Y + border + 239 * ph / 720 + tagh / 2))
    timeout 10 xdotool mousemove --sync "$x" "$y" click 1 || fail "cannot click at $x, $y"
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Name$' | head -n 1)
    [ -n "$dialog" ] || fail "no name dialog after a click on tag 4 at $x, $y"
    timeout 10 xdotool windowfocus --sync "$dialog" || fail "cannot focus the name dialog"
    timeout 10 xdotool type --delay 20 "Dora" || fail "cannot type the name"
    timeout 10 xdotool key Return || fail "cannot send Return"
    for ((i = 0; i < 100; i++)); do
        [ -z "$(xdotool search --onlyvisible --name '^Name$')" ] && break
        sleep 0.1
    done
    press_escape "$window"
    await_end "$first" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"
    # The name file of tag 4: 51 bytes, the length 4 and "Dora".
    [ "$(stat -c %s "$daten/user4.cfg" 2>/dev/null)" = 51 ] || fail "user4.cfg is not 51 bytes"
    bytes=$(head -c 5 "$daten/user4.cfg" | od -An -tx1 | tr -d ' \n')
    [ "$bytes" = "04446f7261" ] || fail "user4.cfg begins with $bytes, not 4 and Dora"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "PASS: $scenario"
