#!/usr/bin/env bash
# Builds everything and runs every test under Wine and a private Xvfb, in a throwaway Wine
# prefix inside the build folder. BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require "${build_needs[@]}" ctest wine wineboot wineserver wine64 fonts-wine Xvfb xdotool openbox python3
build_dir=$(realpath -m "${BUILD_DIR:-build/windows}")
build_into "$build_dir" windows

export WINEPREFIX="$build_dir/wineprefix"
start_wine_session
# The browser of the test prefix records the addresses the program opens.
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$PWD/tests/record-browser.sh" /f >/dev/null 2>&1

ctest=(ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 300)
"${ctest[@]}" && exit
# Now and then a Wine process ends at start-up, before its tests begin. Only if every failed case
# ended like that are they named, with how each ended, and run once more; any other failure
# fails the run.
log="$build_dir/Testing/Temporary/LastTest.log"
unstarted=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = substr($0, index($0, ": ") + 2) }
    /^Command: / { under_wine = index($0, "run_under_wine.sh") > 0 }
    /^Output:$/ { started = 0; ended = "" }
    /^\[==========\] / { started = 1 }
    /^run_under_wine.sh: / { ended = substr($0, index($0, " ended ") + 1) }
    /^Test Failed\.$/ && under_wine && !started { print name " (" ended ")" }' "$log")
failed=$(wc -l <"$build_dir/Testing/Temporary/LastTestsFailed.log")
[ -n "$unstarted" ] && [ "$(wc -l <<<"$unstarted")" -eq "$failed" ] || exit 1
echo "These cases ended before their tests began; running them once more:"
echo "$unstarted" | sed 's/^/    /'
"${ctest[@]}" --rerun-failed
