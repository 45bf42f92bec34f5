#!/usr/bin/env bash
# Builds everything and runs every test under Wine and a private Xvfb, in a throwaway Wine
# prefix inside the build folder. BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require "${build_needs[@]}" ctest wine wineboot wineserver wine64 fonts-wine Xvfb xdotool openbox python3 \
    locales
build_dir=$(realpath -m "${BUILD_DIR:-build/windows}")
build_into "$build_dir" windows

export WINEPREFIX="$build_dir/wineprefix"
start_wine_session
# The browser of the test prefix records the addresses the program opens.
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$PWD/tests/record-browser.sh" /f >/dev/null 2>&1

ctest=(ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 300)
run_ctest() {
    "${ctest[@]}" && return
    # Now and then a Wine process ends at start-up, before its tests begin. Only if every failed
    # case ended like that are they named, with how each ended, and run once more; any other
    # failure fails the run.
    local log="$build_dir/Testing/Temporary/LastTest.log" unstarted failed
    unstarted=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = substr($0, index($0, ": ") + 2) }
        /^Command: / { under_wine = index($0, "run_under_wine.sh") > 0 }
        /^Output:$/ { started = 0; ended = "" }
        /^\[==========\] / { started = 1 }
        /^run_under_wine.sh: / { ended = substr($0, index($0, " ended ") + 1) }
        /^Test Failed\.$/ && under_wine && !started { print name " (" ended ")" }' "$log")
    failed=$(wc -l <"$build_dir/Testing/Temporary/LastTestsFailed.log")
    [ -n "$unstarted" ] && [ "$(wc -l <<<"$unstarted")" -eq "$failed" ] || return 1
    echo "These cases ended before their tests began; running them once more:"
    echo "$unstarted" | sed 's/^/    /'
    "${ctest[@]}" --rerun-failed
}
run_ctest

# Every test program once more, whole, as a developer runs them on their own machine: where the
# settings are the user's own, with Romanian settings, which Wine takes from the locale (a decimal
# comma, code page 1250), on a screen at 100 % (96 DPI) and on a laptop's at 125 % and 150 % (120
# and 144 DPI). Each case must pass or say why it skips, and a case that runs at 96 DPI must run
# at every scale. The locale is compiled into the build folder from Debian's locale sources.
locales="$build_dir/locales"
mkdir -p "$locales"
[ -d "$locales/ro_RO.UTF-8" ] || localedef -i ro_RO -f UTF-8 "$locales/ro_RO.UTF-8" ||
    fail "could not compile the ro_RO.UTF-8 locale into $locales"
scales=(96 120 144)
status=0
for dpi in "${scales[@]}"; do
    echo "Every test program where the settings are the user's own, at $dpi DPI in Romanian:"
    report="$build_dir/own-settings-at-$dpi-dpi.txt"
    LOCPATH="$locales" LC_ALL=ro_RO.UTF-8 tests/run_in_prefix.sh --unmarked --dpi "$dpi" \
        bash tests/every_case_passes_or_skips.sh --locale ro-RO "$build_dir"/bin/*_tests.exe \
        >"$report" 2>&1 || status=1
    cat "$report"
done
# The cases each run skipped, from the lines "    skipped Suite.Case: reason".
skipped_at() {
    sed -n 's/^    skipped \([^:]*\): .*/\1/p' "$build_dir/own-settings-at-$1-dpi.txt" | sort
}
echo "Where the settings are the user's own:"
for dpi in "${scales[@]}"; do
    echo "    at $dpi DPI: $(tail -1 "$build_dir/own-settings-at-$dpi-dpi.txt")"
    only_here=$(comm -13 <(skipped_at 96) <(skipped_at "$dpi"))
    if [ -n "$only_here" ]; then
        echo "FAIL: these cases run at 96 DPI but skip at $dpi DPI:"
        sed 's/^/    /' <<<"$only_here"
        status=1
    fi
done
exit "$status"
