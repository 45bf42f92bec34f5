#!/usr/bin/env bash
# Runs the registry files of deploy/ and the reg commands of the README in the test Wine prefix
# (WINEPREFIX, as scripts/test.sh sets it up) and checks the key each leaves: enabling writes
# Plural as REG_DWORD 1, as Apply does; undoing removes Plural alone. The key's other value and
# its subkey stay as they were. In any prefix but a throwaway one made by the test scripts it
# changes nothing and exits with 77, which ctest counts as skipped.
#
#   deployment_test.sh <source folder>
set -uo pipefail
source_dir=$1
key='HKCU\Software\yahoo\pager\Test'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wine's output goes to files: a pipe could be held open by Wine's background processes.
quietly() { "$@" >"$work/output" 2>&1 </dev/null; }

if ! quietly wine reg query 'HKCU\Software\BrevaneTwinovaTests' /v ThrowawayPrefix; then
    echo "Skipped: the registry files and commands change the user's own Yahoo Messenger settings" \
        "($key), and this prefix is not a throwaway one of the test scripts."
    exit 77
fi
trap 'wine reg delete "$key" /f >/dev/null 2>&1; rm -rf "$work"' EXIT

# The key as one line, e.g. "Test | Plural REG_DWORD 0x1 | Test\Child | Plural REG_DWORD 0x7".
key_state() {
    quietly wine reg query "$key" /s || { echo "(no key)"; return; }
    tr -d '\r' <"$work/output" | sed -e '/^$/d' -e 's/^HKEY_CURRENT_USER\\Software\\yahoo\\pager\\//' \
        -e 's/^ *//' -e 's/  */ /g' | paste -s -d '|' | sed 's/|/ | /g'
}

# Saves the README's code block that follows the line <!-- reg-$1 --> as the batch file $1.bat.
save_readme_block() {
    awk -v marker="<!-- reg-$1 -->" '$0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside' "$source_dir/README.md" >"$work/$1.bat"
    [ -s "$work/$1.bat" ] || { echo "FAIL: README.md has no code block after <!-- reg-$1 -->"; exit 1; }
}
save_readme_block enable
save_readme_block undo

for file in "$source_dir"/deploy/*.reg; do
    [ "$(head -c 2 "$file" | od -An -tx1 | tr -d ' ')" = fffe ] ||
        { echo "FAIL: $file is not UTF-16 LE with a byte order mark"; exit 1; }
done

# $1: import or regedit (a shipped file) or readme (the README's commands); $2: enable or undo.
apply_route() {
    case $1 in
        import) quietly wine reg import "$source_dir/deploy/$2-multiple-instances.reg" ;;
        regedit) quietly wine regedit /s "$source_dir/deploy/$2-multiple-instances.reg" ;;
        readme) quietly wine cmd /c "$work/$2.bat" ;;
    esac
}

enabled="Test | Other REG_SZ kept | Plural REG_DWORD 0x1 | Test\\Child | Plural REG_DWORD 0x7"
undone="Test | Other REG_SZ kept | Test\\Child | Plural REG_DWORD 0x7"

# the key before | route | the key afterwards
cases=(
    "none|import enable|Test | Plural REG_DWORD 0x1"
    "existing|import enable|$enabled"
    "existing|regedit enable|$enabled"
    "existing|readme enable|$enabled"
    "existing|import undo|$undone"
    "existing|regedit undo|$undone"
    "existing|readme undo|$undone"
)
# The key before each case, set in one import (each Wine command takes a while to start).
printf '%s\n' REGEDIT4 '[-HKEY_CURRENT_USER\Software\yahoo\pager\Test]' >"$work/none.reg"
printf '%s\n' REGEDIT4 '[-HKEY_CURRENT_USER\Software\yahoo\pager\Test]' \
    '[HKEY_CURRENT_USER\Software\yahoo\pager\Test]' '"Other"="kept"' '"Plural"=dword:00000000' \
    '[HKEY_CURRENT_USER\Software\yahoo\pager\Test\Child]' '"Plural"=dword:00000007' >"$work/existing.reg"

failures=0
for case in "${cases[@]}"; do
    IFS='|' read -r start route expected <<<"$case"
    quietly wine reg import "$work/$start.reg"
    apply_route $route
    status=$?
    cp "$work/output" "$work/route-output"
    actual=$(key_state)
    if [ "$actual" != "$expected" ]; then
        printf 'FAIL: %s, from the key %s\n  expected: %s\n  actual:   %s\n  exit code %s, output:\n' \
            "$route" "$start" "$expected" "$actual" "$status"
        sed 's/^/    /' "$work/route-output"
        failures=$((failures + 1))
    fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases passed"
[ "$failures" -eq 0 ]
