#!/usr/bin/env bash
# Runs a test program against a private Xvfb of its own, on the xcb platform:
#   x_server.sh [--skewed-clock] PROGRAM [ARGS]
# With --skewed-clock the server runs under faketime, so that its clock is not the monotonic
# clock of the program; without faketime that run is skipped (77).
set -uo pipefail

skew=()
if [ "${1:-}" = --skewed-clock ]; then
    shift
    faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
    [ -n "$faketime" ] || { echo "faketime is not installed: skipped"; exit 77; }
    skew=(env LD_PRELOAD="$faketime" FAKETIME=+7s)
fi
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to descriptor 3.
"${skew[@]}" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb=$!
for ((i = 0; i < 200; i++)); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
number=$(head -n 1 "$work/display")
if [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
mkdir -m 700 "$work/run"
DISPLAY=:$number QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/run SDL_AUDIODRIVER=dummy "$@"
