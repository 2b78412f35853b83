#!/usr/bin/env bash
# Whole-program scenarios under a real Wayland compositor, weston with its desktop shell (and
# the shell's panel at the top of the output), the pixman renderer and XWayland. The test
# starts everything itself, in a runtime folder of its own:
#   weston_e2e.sh screen W H PROGRAM SHOT   headless weston with a W x H output: the program,
#       started as a session starts it (WAYLAND_DISPLAY and DISPLAY both set), runs on X and
#       shows the login screen exactly as under plain Xvfb (the compositor's screenshot and
#       the X server's are equal pixel for pixel, the panel nowhere); a second copy ends and
#       leaves the first running
#   weston_e2e.sh play PROGRAM SHOT         weston nested in an Xvfb, the only weston backend
#       here with input devices: a user logs in by mouse and keys, plays a run of 4 rounds
#       with the arrow keys and quits; the run is in the result file. The windowed mode, too,
#       takes the mouse and the keys.
#   weston_e2e.sh native PROGRAM SHOT       as play, with QUENDAL_PLATFORM=wayland: the program
#       runs on Wayland itself, full screen at the output's top-left as under plain Xvfb, and
#       ends by Escape.
# SHOT is the screen_shot tool. Exits 77 (skipped) only when weston cannot be started here.
# With KEEP_SHOTS set to a folder, the screenshots are copied there at the end.
set -uo pipefail
# shellcheck source=e2e_common.sh
. "$(dirname "$0")/e2e_common.sh"

scenario=$1
shift
case "$scenario" in
screen) width=$1 height=$2 program=$3 shot=$4 ;;
play | native) width=1024 height=768 program=$1 shot=$2 ;;
*)
    echo "FAIL: unknown scenario $scenario" >&2
    exit 1
    ;;
esac

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/run
export XDG_CONFIG_HOME=$work/config
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM QUENDAL_PLATFORM WAYLAND_DISPLAY
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME" "$work/shots"
pids=()

cleanup() {
    local p
    for ((p = ${#pids[@]} - 1; p >= 0; p--)); do
        kill "${pids[p]}" 2>/dev/null
        wait "${pids[p]}" 2>/dev/null
    done
    [ -n "${KEEP_SHOTS:-}" ] && cp "$work"/shots/*.png "$KEEP_SHOTS"/ 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && sed "s|^|$(basename "$log"): |" "$log" | tail -n 20 >&2
    done
    exit 1
}

skip() {
    echo "SKIP: $*" >&2
    [ -s "$work/weston.log" ] && tail -n 20 "$work/weston.log" >&2
    exit 77
}

# An Xvfb of W x H on a free display; its number goes to $started_display.
start_xvfb() {
    local file=$work/xvfb$1x$2.display
    Xvfb -displayfd 3 -screen 0 "$1x$2x24" -nolisten tcp 3>"$file" 2>"$work/xvfb.log" &
    pids+=($!)
    for ((i = 0; i < 100; i++)); do
        [ -s "$file" ] && break
        sleep 0.1
    done
    [ -s "$file" ] || fail "Xvfb did not start"
    started_display=:$(head -n 1 "$file")
}

# Starts weston with a W x H output, on the headless backend or nested in the X display $3.
# Sets WAYLAND_DISPLAY and $xwayland, the display of its XWayland.
start_weston() {
    command -v weston >/dev/null || skip "weston is not installed"
    command -v weston-screenshooter >/dev/null || skip "weston-screenshooter is not installed"
    command -v Xwayland >/dev/null || skip "Xwayland is not installed"
    # XWayland's sockets: the folder is made by the first X server of the machine, and weston
    # does not make it.
    if [ ! -d /tmp/.X11-unix ]; then
        mkdir -m 1777 /tmp/.X11-unix 2>/dev/null || skip "cannot create /tmp/.X11-unix"
    fi
    local socket=quendal-weston-$$
    local backend=(--backend=headless-backend.so)
    if [ -n "${3:-}" ]; then
        backend=(--backend=x11-backend.so)
    fi
    DISPLAY=${3:-} weston "${backend[@]}" --use-pixman --width="$1" --height="$2" \
        --xwayland --debug --socket="$socket" --log="$work/weston.log" \
        >"$work/weston-out.log" 2>&1 &
    weston_pid=$!
    pids+=("$weston_pid")
    xwayland=
    for ((i = 0; i < 200; i++)); do
        kill -0 "$weston_pid" 2>/dev/null || skip "weston ended at its start"
        xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
            "$work/weston.log" 2>/dev/null | head -n 1)
        [ -n "$xwayland" ] && [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
        sleep 0.1
    done
    [ -n "$xwayland" ] || skip "weston did not come up with XWayland within 20 s"
    export WAYLAND_DISPLAY=$socket
    # Give the shell's panel time to be drawn.
    sleep 1
}

# The compositor's screenshot of its output into $work/shots/$1.png.
compositor_shot() {
    rm -f "$work"/shots/wayland-screenshot*.png
    (cd "$work/shots" && timeout 20 weston-screenshooter) || fail "weston-screenshooter failed"
    mv "$work"/shots/wayland-screenshot*.png "$work/shots/$1.png" || fail "no screenshot"
}

# Waits (at most 30 s) until the program has made the four result files in its data folder.
await_result_files() {
    local daten=$1/Quendal/Varon/Daten
    for ((i = 0; i < 300; i++)); do
        [ -f "$daten/user4.dat" ] && return 0
        sleep 0.1
    done
    fail "the result files did not appear in $daten"
}

# The program as a session starts it, with a fresh data folder $1 and arguments after it;
# its pid goes to $program_pid.
start_program() {
    local data=$1
    shift
    mkdir -p "$data"
    QUENDAL_DATA_DIR=$data DISPLAY=$xwayland XDG_SESSION_TYPE=wayland "$program" "$@" \
        >>"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    await_result_files "$data"
}

# The same screen under plain X: the program in an Xvfb of the output's size, without any
# window manager, grabbed by the X server into $work/shots/$1.png; with "login" as $2 after
# Anna has logged in on tag 1.
plain_x_shot() {
    local name=$1 login=${2:-}
    start_xvfb "$width" "$height"
    local display=$started_display data=$work/plain-$name
    mkdir -p "$data"
    XDG_RUNTIME_DIR=$work/run-plain QUENDAL_DATA_DIR=$data DISPLAY=$display \
        WAYLAND_DISPLAY= "$program" >>"$work/plain.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    await_result_files "$data"
    timeout 30 env DISPLAY="$display" xdotool search --sync --onlyvisible --name '^Quendal$' \
        >/dev/null || fail "no window under plain X"
    if [ "$login" = login ]; then
        DISPLAY=$display xdotool mousemove --sync "${tag1[@]}" click 1
        timeout 20 env DISPLAY="$display" xdotool search --sync --onlyvisible --name '^Name$' \
            >/dev/null || fail "no name dialog under plain X"
        DISPLAY=$display xdotool type --delay 40 Anna
        DISPLAY=$display xdotool key Return
    fi
    sleep 1.5
    DISPLAY=$display "$shot" grab "$work/shots/$name.png" || fail "cannot grab plain X"
    kill "$pid"
}

# Takes the compositor's screenshot $1 until it shows the same screen as $2.png under plain X,
# at most 10 s: the compositor repaints in its own time.
await_same_screen() {
    for ((i = 0; i < 20; i++)); do
        compositor_shot "$1"
        "$shot" compare "$work/shots/$1.png" "$work/shots/$2.png" "${corner:-0}" \
            >"$work/compare.txt" && break
        sleep 0.5
    done
    [ "$i" -lt 20 ] || fail "the screen under weston differs from plain X: $(cat "$work/compare.txt")"
    echo "$1 under weston and $2 under plain X: $(cat "$work/compare.txt")"
}

# The visible window with this title on XWayland, waiting at most $2 seconds.
xw_window() {
    timeout "$2" env DISPLAY="$xwayland" xdotool search --sync --onlyvisible --name "^$1\$" \
        2>/dev/null | head -n 1
}

xw_gone() {
    for ((i = 0; i < $2 * 10; i++)); do
        [ -z "$(DISPLAY=$xwayland xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] &&
            return 0
        sleep 0.1
    done
    fail "the window '$1' is still open"
}

# Input through the compositor: weston nested in the Xvfb $nest reads the Xvfb's pointer and
# keyboard as its own input devices, and gives them to the window it has activated. Its
# pointer follows the X pointer from where that entered its window, so the pointer enters it
# from outside (the Xvfb is larger than weston's window at its top-left); the Xvfb, without a
# window manager, gives the keys to the window under the pointer.
enter_compositor() {
    DISPLAY=$nest xdotool mousemove $((width + 8)) $((height + 8))
    sleep 0.2
    DISPLAY=$nest xdotool mousemove $((width / 2)) $((height / 2))
    sleep 0.2
}

click() {
    DISPLAY=$nest xdotool mousemove "$1" "$2" || fail "cannot move to $1,$2"
    sleep 0.3
    DISPLAY=$nest xdotool click 1 || fail "cannot click at $1,$2"
}

key() {
    DISPLAY=$nest xdotool key "$@" || fail "cannot press $*"
}

type_text() {
    DISPLAY=$nest xdotool type --delay 40 "$1" || fail "cannot type $1"
}

# The pointer to the output's bottom-right pixel, where the compositor, which draws it into
# every screenshot, shows no more than its tip (the comparison leaves that corner out).
pointer_away() {
    DISPLAY=$nest xdotool mousemove $((width - 1)) $((height - 1))
    sleep 0.3
    corner=3
}

quit_by_escape() {
    key Escape
    await_end "$program_pid" 20
    [ "$status" -eq 0 ] || fail "exit code $status after Escape"
}

# The places of the 1024 x 768 play field at the output's top-left: tag 1 of the login panel,
# gate 2 of the menu panel.
tag1=(144 312)
gate2=(693 384)

case "$scenario" in
screen)
    plain_x_shot plain
    start_weston "$width" "$height"
    start_program "$work/data"
    [ -n "$(xw_window Quendal 30)" ] || fail "the program shows no window on X (XWayland)"
    await_same_screen weston plain
    # One copy only: a second start ends at once, successfully, and the first goes on.
    QUENDAL_DATA_DIR=$work/data DISPLAY=$xwayland timeout 20 "$program" \
        >>"$work/program.log" 2>&1
    second=$?
    [ "$second" -eq 0 ] || fail "the second copy ended with $second"
    kill -0 "$program_pid" 2>/dev/null || fail "the first copy ended"
    kill -TERM "$program_pid"
    await_end "$program_pid" 20
    [ "$status" -eq 0 ] || fail "exit code $status after SIGTERM"
    ;;
play)
    plain_x_shot plain-menu login
    start_xvfb $((width + 16)) $((height + 16))
    nest=$started_display
    start_weston "$width" "$height" "$nest"
    enter_compositor
    start_program "$work/data"
    [ -n "$(xw_window Quendal 30)" ] || fail "the program shows no window on X (XWayland)"
    sleep 1
    click "${tag1[@]}"
    [ -n "$(xw_window Name 20)" ] || fail "the name dialog did not open"
    type_text Anna
    key Return
    xw_gone Name 10
    pointer_away
    await_same_screen menu plain-menu
    enter_compositor
    click "${gate2[@]}"
    [ -n "$(xw_window Parameter 20)" ] || fail "the parameter dialog did not open"
    # The rounds field, right of "Anzahl Durchgänge:", wherever the compositor put the dialog.
    eval "$(DISPLAY=$xwayland xdotool getwindowgeometry --shell "$(xw_window Parameter 5)")"
    click $((X + 23 + 223 + 30)) $((Y + 47 + 263 + 16))
    key ctrl+a
    type_text 4
    key Return
    xw_gone Parameter 10
    sleep 1
    key space
    for ((i = 0; i < 300; i++)); do
        [ -n "$(DISPLAY=$xwayland xdotool search --onlyvisible --name '^Statistik$' 2>/dev/null)" ] &&
            break
        key Right
        sleep 0.15
    done
    [ -n "$(xw_window Statistik 1)" ] || fail "no statistics view after the run"
    key Escape
    xw_gone Statistik 10
    quit_by_escape
    file=$work/data/Quendal/Varon/Daten/user1.dat
    [ "$(grep -c '^\$ prname' "$file")" -eq 1 ] || fail "not exactly one record in user1.dat"
    rounds=$(tr -d '\r' <"$file" | grep -cE '^[ 0-9-]{40}$')
    [ "$rounds" -eq 4 ] || fail "$rounds rounds in user1.dat instead of 4"
    # The windowed mode: a window of the play field's size, placed by the compositor near the
    # output's top-left, that takes the mouse and the keys. The click hits tag 1 wherever in
    # the first 64 pixels of each direction the window stands.
    start_program "$work/windowed" win
    window=$(xw_window Quendal 30)
    [ -n "$window" ] || fail "no window in the windowed mode"
    eval "$(DISPLAY=$xwayland xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" -eq 1024 ] && [ "$HEIGHT" -eq 768 ] || fail "a window of $WIDTH x $HEIGHT"
    sleep 1
    click 150 330
    [ -n "$(xw_window Name 20)" ] || fail "the name dialog did not open in the windowed mode"
    type_text Bert
    key Return
    xw_gone Name 10
    quit_by_escape
    [ "$(head -c 5 "$work/windowed/Quendal/Varon/Daten/user1.cfg" | od -An -tx1 | tr -d ' \n')" \
        = "0442657274" ] || fail "the windowed mode did not log Bert in on tag 1"
    ;;
native)
    plain_x_shot plain
    start_xvfb $((width + 16)) $((height + 16))
    nest=$started_display
    start_weston "$width" "$height" "$nest"
    enter_compositor
    pointer_away
    export QUENDAL_PLATFORM=wayland
    start_program "$work/data"
    await_same_screen native plain
    [ -z "$(DISPLAY=$xwayland xdotool search --name '^Quendal$' 2>/dev/null)" ] ||
        fail "the program made a window on X though asked for Wayland"
    enter_compositor
    quit_by_escape
    [ -s "$work/data/Quendal/Varon/Daten/optionen.cfg" ] || fail "no optionen.cfg after Escape"
    ;;
esac
echo "PASS: weston $scenario"
