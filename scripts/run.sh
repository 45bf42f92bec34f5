#!/usr/bin/env bash
# Builds BrevaneTwinova and starts it under Wine, in the user's own Wine prefix (WINEPREFIX, or
# ~/.wine). With no display it runs on a private Xvfb instead, saves a screenshot of the window
# to the file named by SCREENSHOT (default build/windows/screenshot.png) and ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

build_dir=$(realpath -m build/windows)
screenshot=$(realpath -m "${SCREENSHOT:-$build_dir/screenshot.png}")
needed=("${build_needs[@]}" wine wineboot wineserver wine64 fonts-wine xdotool)
[ -n "${DISPLAY:-}" ] || needed+=(Xvfb import)
require "${needed[@]}"
mkdir -p "$build_dir"
[ -n "${DISPLAY:-}" ] || [ -d "$(dirname "$screenshot")" ] ||
    fail "the folder of SCREENSHOT, $(dirname "$screenshot"), does not exist."
# Only the program: GoogleTest and the tests are built by scripts/test.sh.
build_into "$build_dir" windows BrevaneTwinova
program="$build_dir/bin/BrevaneTwinova.exe"
[ -f "$program" ] || program="$build_dir/BrevaneTwinova.exe"

export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX ..."
    { wineboot -i && wineserver -w; } >/dev/null 2>&1 || fail "Wine could not create the prefix $WINEPREFIX"
fi
added=$(add_wine_fonts "$WINEPREFIX")
if [ "$added" -gt 0 ]; then
    echo "Added Wine's own $added fonts to $WINEPREFIX/drive_c/windows/Fonts, so that \"MS Sans Serif\" is the real raster face."
fi

if [ -n "${DISPLAY:-}" ]; then
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "cannot open the display $DISPLAY (unset DISPLAY to run headless)"
    exec wine "$program"
fi

trap stop_xvfb EXIT
start_xvfb
wine "$program" >/dev/null 2>&1 </dev/null &
program_pid=$!
window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Brevane Twinova$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null || fail "BrevaneTwinova ended before its window appeared"
    sleep 0.1
done
[ -n "$window" ] || { kill "$program_pid"; fail "BrevaneTwinova's window did not appear within 30 seconds"; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
saved=yes
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$screenshot" 2>/dev/null || saved=
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null || true
[ -n "$saved" ] || fail "could not write the screenshot to $screenshot."
echo "Saved a screenshot of the window to $screenshot"
