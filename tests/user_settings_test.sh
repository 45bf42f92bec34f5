#!/usr/bin/env bash
# Runs the test programs where the user's settings are their own, as on a developer's Windows,
# and checks that they leave HKEY_CURRENT_USER\Software\yahoo exactly as it was (every key, value
# and type): filled with a messenger user's settings, exported before and after. Run through
# run_in_prefix.sh --unmarked, in a copy of the test prefix that is not marked as throwaway.
#
#   user_settings_test.sh <source folder> program.exe [--option ...] [program.exe ...]
#
# Each program runs with the options that follow it. Whether a program's own cases pass is for
# its own tests to say; only the settings decide this one.
set -uo pipefail
source_dir=$1
shift
tests_dir=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wine's output goes to files: a pipe could be held open by Wine's background processes.
quietly() { "$@" >"$work/output" 2>&1 </dev/null; }

# Values of three types, a "Plural" that is not Apply's REG_DWORD 1, and keys beside the one
# Apply writes.
cat >"$work/settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\yahoo\Common]
"Language"="ro"

[HKEY_CURRENT_USER\Software\yahoo\pager]
"Yahoo! User ID"="someone"
"Version"=dword:0000000b

[HKEY_CURRENT_USER\Software\yahoo\pager\profiles\someone]
"Archive"=hex:01,02,03

[HKEY_CURRENT_USER\Software\yahoo\pager\Test]
"Plural"="2"
"Other"=dword:00000007
EOF
quietly wine reg import "$work/settings.reg" || { echo "FAIL: could not write the settings"; exit 1; }
quietly wine reg export 'HKCU\Software\yahoo' "$work/before.reg" /y ||
    { echo "FAIL: could not export the settings written"; exit 1; }

run() {
    local status=0
    "$tests_dir/run_under_wine.sh" "$@" >"$work/output" 2>&1 </dev/null || status=$?
    echo "$(basename "$1"): exit status $status"
}
program=()
for argument in "$@"; do
    if [[ $argument != --* ]] && [ ${#program[@]} -gt 0 ]; then
        run "${program[@]}"
        program=()
    fi
    program+=("$argument")
done
[ ${#program[@]} -eq 0 ] || run "${program[@]}"
status=0
quietly bash "$tests_dir/deployment_test.sh" "$source_dir" || status=$?
echo "deployment_test.sh: exit status $status"

quietly wine reg export 'HKCU\Software\yahoo' "$work/after.reg" /y
if cmp -s "$work/before.reg" "$work/after.reg"; then
    echo "HKEY_CURRENT_USER\\Software\\yahoo is as it was."
    exit 0
fi
echo "FAIL: the tests changed HKEY_CURRENT_USER\\Software\\yahoo (- before, + after):"
touch "$work/after.reg"
diff <(iconv -f UTF-16 -t UTF-8 "$work/before.reg" | tr -d '\r') \
    <(iconv -f UTF-16 -t UTF-8 "$work/after.reg" | tr -d '\r') | grep '^[<>]' |
    sed -e 's/^</-/' -e 's/^>/+/'
exit 1
