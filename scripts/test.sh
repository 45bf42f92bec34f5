#!/usr/bin/env bash
# Builds everything and runs every test under Wine and a private Xvfb, in a throwaway Wine
# prefix inside the build folder. BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require "${build_needs[@]}" ctest wine wineboot wineserver wine64 fonts-wine Xvfb python3
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
}
trap cleanup EXIT
start_xvfb
wineserver -p
# Start Wine's own background processes now, with no pipe of ctest's for them to inherit and hold.
wine cmd /c exit >/dev/null 2>&1 </dev/null
# The browser of the test prefix records the addresses the program opens.
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$PWD/tests/record-browser.sh" /f >/dev/null 2>&1

ctest=(ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 300)
"${ctest[@]}" && exit
# Now and then a Wine process ends at start-up with a failure code and no output at all. Only
# if every failed case ended like that are they named and run once more; any other failure
# fails the run.
log="$build_dir/Testing/Temporary/LastTest.log"
silent=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = substr($0, index($0, ": ") + 2) }
    /^Output:$/ { getline; getline; empty = ($0 == "<end of output>") }
    /^Test Failed\.$/ && empty { print name }' "$log")
failed=$(wc -l <"$build_dir/Testing/Temporary/LastTestsFailed.log")
[ -n "$silent" ] && [ "$(wc -l <<<"$silent")" -eq "$failed" ] || exit 1
echo "These cases ended before printing anything; running them once more:"
echo "$silent" | sed 's/^/    /'
"${ctest[@]}" --rerun-failed
