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
