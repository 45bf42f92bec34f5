#!/usr/bin/env bash
# Runs test programs whole, one after another, as a developer runs them on their own machine,
# and checks that every case passes or skips. Prints each program's count of cases passed and
# skipped, each skipped case with the reason it gave, the output of a program with a failure,
# and at the end the totals. A program that ends before its first case begins is run once more.
#
#   every_case_passes_or_skips.sh [--locale NAME] program.exe [program.exe ...]
#
#   --locale NAME  first checks that Wine takes NAME (ro-RO, say) as the user's locale, and prints
#                  the decimal separator and the ANSI code page that come with it
set -uo pipefail
tests_dir=$(dirname "$0")
output=$(mktemp)
trap 'rm -f "$output" "$output.raw"' EXIT

# Runs a Wine command with its output, carriage returns taken out, in $output.
quietly() {
    "$@" >"$output.raw" 2>&1 </dev/null
    local status=$?
    # The C runtime ends each line it prints with a carriage return.
    tr -d '\r' <"$output.raw" >"$output"
    return "$status"
}

# The text of the registry value $1 that `wine reg query` printed into $output.
queried() {
    sed -n "s/^ *$1 *REG_SZ *//p" "$output"
}

if [ "${1:-}" = --locale ]; then
    quietly wine reg query 'HKCU\Control Panel\International'
    locale=$(queried LocaleName) decimal=$(queried sDecimal)
    quietly wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP
    echo "The user's locale: $locale (decimal separator \"$decimal\", code page $(queried ACP))"
    if [ "$locale" != "$2" ]; then
        echo "FAIL: Wine took ${locale:-no locale} as the user's locale, not $2"
        exit 1
    fi
    shift 2
fi

# The number in GoogleTest's summary line for $1 (PASSED, SKIPPED, FAILED), 0 when it has none.
summary() {
    local count
    count=$(sed -n "s/^\[  $1 *\] \([0-9][0-9]*\) tests\{0,1\}[.,].*/\1/p" "$output" | tail -1)
    echo "${count:-0}"
}

passed=0 skipped=0 failed=0
for program in "$@"; do
    for _ in 1 2; do
        status=0
        quietly "$tests_dir/run_under_wine.sh" "$program" || status=$?
        grep -q '^\[==========\] ' "$output" && break
    done
    name=$(basename "$program")
    program_failed=$(summary FAILED)
    # A program that fails with no failed case ended before its summary.
    [ "$status" -eq 0 ] || [ "$program_failed" -gt 0 ] || program_failed=1
    echo "$name: $(summary PASSED) passed, $program_failed failed, $(summary SKIPPED) skipped"
    # Each skipped case with the message GoogleTest printed before it.
    awk '/^\[ RUN      \] / { message = ""; reading = 0; next }
        /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ {
            sub(/^\[  SKIPPED \] /, ""); sub(/ \([0-9]+ ms\)$/, "")
            print "    skipped " $0 ": " message
            reading = 0
            next
        }
        /: Skipped$/ { reading = 1; next }
        reading { message = message (message == "" ? "" : " ") $0 }' "$output"
    if [ "$program_failed" -gt 0 ]; then
        sed 's/^/    | /' "$output"
    fi
    passed=$((passed + $(summary PASSED)))
    skipped=$((skipped + $(summary SKIPPED)))
    failed=$((failed + program_failed))
done
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
