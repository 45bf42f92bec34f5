#!/usr/bin/env bash
# Builds everything and runs every test under Wine and a private Xvfb, in a throwaway Wine
# prefix inside the build folder. BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require "${build_needs[@]}" ctest wine wineboot wineserver wine64 fonts-wine Xvfb
build_dir=$(realpath -m "${BUILD_DIR:-build/windows}")
build_into "$build_dir"

export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    echo "Creating the test Wine prefix ..."
    { wineboot -i && wineserver -w; } >/dev/null 2>&1 || fail "Wine could not create $WINEPREFIX"
    add_wine_fonts "$WINEPREFIX" >/dev/null
    # With no window manager, Wine stalls 2 s after hiding a managed window; tests don't need them.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ready"
fi

# A server left over from an interrupted run would refuse to be made persistent.
wineserver -k 2>/dev/null || true

cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
    rm -f "$build_dir"/desktop-keeper*
}
trap cleanup EXIT
start_xvfb
wineserver -p
# Wine closes the desktop, and ends its explorer, one second after the last program using it
# ends; a test starting at that moment dies before it prints anything. A console process that
# reads a pipe until this script ends holds the desktop for the whole run. Started first, it
# also starts Wine's background processes with no pipe of ctest's for them to inherit and hold.
keeper_input="$build_dir/desktop-keeper" ready="$build_dir/desktop-keeper.ready"
rm -f "$keeper_input" "$ready" && mkfifo "$keeper_input"
wine cmd <"$keeper_input" >/dev/null 2>&1 &
exec {keeper}>"$keeper_input"
echo "echo>Z:${ready//\//\\}" >&"$keeper"
for _ in $(seq 300); do
    [ -e "$ready" ] && break
    sleep 0.1
done
[ -e "$ready" ] || fail "Wine's command prompt did not start within 30 seconds"
# The browser of the test prefix records the addresses the program opens.
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$PWD/tests/record-browser.sh" /f >/dev/null 2>&1

ctest=(ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 300)
"${ctest[@]}" && exit
# Cases whose process ended before printing anything, named as they are run once more; any
# other failure fails the run.
log="$build_dir/Testing/Temporary/LastTest.log"
silent=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = substr($0, index($0, ": ") + 2) }
    /^Output:$/ { getline; getline; empty = ($0 == "<end of output>") }
    /^Test Failed\.$/ && empty { print name }' "$log")
failed=$(wc -l <"$build_dir/Testing/Temporary/LastTestsFailed.log")
[ -n "$silent" ] && [ "$(wc -l <<<"$silent")" -eq "$failed" ] || exit 1
echo "These cases ended before printing anything; running them once more:"
echo "$silent" | sed 's/^/    /'
"${ctest[@]}" --rerun-failed
