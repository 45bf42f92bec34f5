#!/usr/bin/env bash
# Runs a test executable under Wine, or a command that runs Wine itself, in a throwaway copy of
# the test prefix ($WINEPREFIX) whose settings differ from it, on an X server of its own, then
# removes the copy.
#
#   run_in_prefix.sh [--window-manager] [--dpi N] [--unmarked] test.exe [arguments ...]
#   run_in_prefix.sh [options] command [arguments ...]
#
#   --window-manager  runs openbox on the X server and leaves Wine's windows managed
#                     (the test prefix turns that off, for a screen without a manager);
#                     openbox keeps strips along the top and left edges free, as a taskbar
#                     keeps one, so that the work area is smaller than the screen both ways
#   --dpi N           gives the screen N pixels per inch (96 is the normal scale)
#   --unmarked        takes away the mark that lets the tests change its user's settings, and
#                     the stand-in browser that records addresses, so that the copy is to them
#                     any user's own prefix
#
# The exit code is the test executable's, or the command's.
set -euo pipefail
source "$(dirname "$0")/../scripts/prerequisites.sh"

window_manager=false
dpi=
unmarked=false
while [ $# -gt 0 ]; do
    case $1 in
        --window-manager) window_manager=true ;;
        --unmarked) unmarked=true ;;
        --dpi)
            [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || fail "--dpi needs a number of pixels per inch"
            dpi=$2
            shift
            ;;
        --) shift && break ;;
        -*) fail "unknown option $1" ;;
        *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || fail "no test executable or command given"
[ -f "${WINEPREFIX:-}/.ready" ] || fail "WINEPREFIX does not name a prepared test prefix"

use_test_wine_settings
work_dir=$(mktemp -d)
openbox_pid=

cleanup() {
    WINEPREFIX="$work_dir/prefix" wineserver -k 2>/dev/null || true
    [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
    stop_xvfb
    rm -rf "$work_dir"
}
trap cleanup EXIT

# Sets a value in one of the copy's registry files while no Wine server has it open, or deletes
# it when no value is given. $1 the file, $2 the key and $4 the value as the file writes them
# (Control Panel\\Desktop, dword:00000078), $3 the value's name.
set_registry_value() {
    local temporary="$1.new"
    KEY="[$2] " NAME="\"$3\"=" LINE="${4:+\"$3\"=$4}" awk '
        function flush() {
            if (pending && ENVIRON["LINE"] != "") print ENVIRON["LINE"]
            pending = 0
        }
        /^\[/ {
            flush()
            section = index($0, ENVIRON["KEY"]) == 1
            if (section) found = pending = 1
            print
            next
        }
        section && /^#/ { print; next }
        section && index($0, ENVIRON["NAME"]) == 1 { next }
        { flush(); print }
        END {
            flush()
            if (!found && ENVIRON["LINE"] != "") printf "\n%s0\n%s\n", ENVIRON["KEY"], ENVIRON["LINE"]
        }' "$1" >"$temporary"
    mv "$temporary" "$1"
}

# Wine's own libraries, nearly all of the prefix, are only ever read: link them, copy the rest.
copy="$work_dir/prefix"
mkdir "$copy"
# The test prefix is in use: its server may replace a file (it writes a new one and renames it)
# while tar reads it, which tar reports with status 1; the copy then holds the old file or the
# new one, either whole.
{ tar -C "$WINEPREFIX" --exclude=./drive_c/windows/system32 --warning=no-file-changed -cf - . ||
    [ $? -eq 1 ]; } | tar -C "$copy" -xf -
cp -al "$WINEPREFIX/drive_c/windows/system32" "$copy/drive_c/windows/"
export WINEPREFIX="$copy"

if $window_manager; then
    set_registry_value "$copy/user.reg" 'Software\\Wine\\X11 Driver' Managed
fi
if $unmarked; then
    set_registry_value "$copy/user.reg" 'Software\\BrevaneTwinovaTests' ThrowawayPrefix
    set_registry_value "$copy/user.reg" 'Software\\Wine\\WineBrowser' Browsers
fi
if [ -n "$dpi" ]; then
    hex=$(printf 'dword:%08x' "$dpi")
    set_registry_value "$copy/user.reg" 'Control Panel\\Desktop' LogPixels "$hex"
    set_registry_value "$copy/system.reg" \
        'System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts' LogPixels "$hex"
fi

start_xvfb
if $window_manager; then
    # Wine reads the work area that openbox publishes when its server starts, which is next.
    sed -e '/<margins>/,/<\/margins>/s|<top>0</top>|<top>32</top>|' \
        -e '/<margins>/,/<\/margins>/s|<left>0</left>|<left>64</left>|' \
        /etc/xdg/openbox/rc.xml >"$work_dir/openbox.xml"
    grep -q '<top>32</top>' "$work_dir/openbox.xml" && grep -q '<left>64</left>' "$work_dir/openbox.xml" ||
        fail "cannot set openbox's margins"
    # openbox runs its start-up command once it manages the screen.
    openbox --config-file "$work_dir/openbox.xml" --startup "touch $work_dir/managed" \
        >/dev/null 2>&1 &
    openbox_pid=$!
    wait_for test -e "$work_dir/managed" || fail "openbox did not start"
fi

start_wine_server
status=0
case $1 in
    *.exe) "$(dirname "$0")/run_under_wine.sh" "$@" || status=$? ;;
    *) "$@" || status=$? ;;
esac
exit "$status"
