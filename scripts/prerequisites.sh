#!/usr/bin/env bash
# What the scripts share: installing what they need with apt, the build, Wine's fonts and a
# private X server. Sourced by run.sh, test.sh, lint.sh and release.sh.

# The Debian package that provides each command the scripts run.
declare -A package_of=(
    [cmake]=cmake [ctest]=cmake [ninja]=ninja-build
    [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64-posix
    [x86_64-w64-mingw32-gcc-posix]=gcc-mingw-w64-x86-64-posix
    [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
    [x86_64-w64-mingw32-objdump]=binutils-mingw-w64-x86-64
    [i686-w64-mingw32-g++-posix]=g++-mingw-w64-i686-posix
    [i686-w64-mingw32-gcc-posix]=gcc-mingw-w64-i686-posix
    [i686-w64-mingw32-windres]=binutils-mingw-w64-i686
    [i686-w64-mingw32-objdump]=binutils-mingw-w64-i686
    [git]=git
    [wine]=wine [wineboot]=wine [wineserver]=wine
    [Xvfb]=xvfb [xdotool]=xdotool [openbox]=openbox [import]=imagemagick [python3]=python3
    [clang-format]=clang-format [clang-tidy]=clang-tidy
)
# What configuring and building need (Python checks the compressed pictures before they are
# embedded); the tests are configured even when only the program is built.
build_needs=(cmake ninja python3 x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix
    x86_64-w64-mingw32-windres googletest)
# What the 32-bit build needs besides.
x86_build_needs=(i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix i686-w64-mingw32-windres)

fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"
}

# Makes sure each named command is on PATH and each named package that is not a command
# (fonts, sources) is installed, installing what is missing with apt. A command that is still
# not found is named, since its package being installed says nothing about PATH.
require() {
    local missing=() name
    for name in "$@"; do
        if [ -n "${package_of[$name]:-}" ]; then
            command -v "$name" >/dev/null || package_installed "${package_of[$name]}" ||
                missing+=("${package_of[$name]}")
        else
            package_installed "$name" || missing+=("$name")
        fi
    done
    [ ${#missing[@]} -eq 0 ] || install_packages $(printf '%s\n' "${missing[@]}" | sort -u)
    for name in "$@"; do
        [ -z "${package_of[$name]:-}" ] || command -v "$name" >/dev/null ||
            fail "$name is not on PATH, although its package ${package_of[$name]} is installed."
    done
}

# For the scripts that take their files from git: makes sure git is there and that the current
# folder is the top of a git checkout, and says so in one sentence when it is not (with no file
# list, clang-format would wait for its input instead).
require_checkout() {
    require git
    local top
    top=$(git rev-parse --show-toplevel 2>/dev/null) && [ "$top" = "$(pwd -P)" ] ||
        fail "$PWD is not a git checkout, and this script takes its files from git."
}

install_packages() {
    command -v apt-get >/dev/null || fail "apt-get is missing; install these packages by hand: $*"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing $* ..."
    {
        "${sudo[@]}" apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$@"
    } >/tmp/brevane-twinova-apt.log 2>&1 ||
        fail "could not install $* (apt's output is in /tmp/brevane-twinova-apt.log)"
}

# Configures $1 with the configure preset $2 and builds the target $3 (everything if none),
# printing only the compiler's complaints if that fails.
build_into() {
    local build_dir=$1
    local log="$build_dir.log"
    mkdir -p "$(dirname "$build_dir")"
    cmake --preset "$2" -B "$build_dir" >"$log" 2>&1 || {
        grep -A3 "^CMake Error" "$log" | head -8 >&2
        fail "configuring the build failed (its whole output is in $log)"
    }
    # Ninja's progress lines name files such as error_report.cpp: show the diagnostics only.
    cmake --build "$build_dir" ${3:+--target "$3"} >>"$log" 2>&1 || {
        grep -E "^FAILED: |error:|undefined reference" "$log" | head -8 >&2
        fail "the build failed (its whole output is in $log)"
    }
}

# Copies Wine's own fonts into a prefix, so that "MS Sans Serif" is the real raster face and
# not a substitute. Prints the number of fonts it added.
add_wine_fonts() {
    local fonts_dir=$1/drive_c/windows/Fonts added=0
    mkdir -p "$fonts_dir"
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts_dir/$(basename "$font")" ] && continue
        cp "$font" "$fonts_dir/" && added=$((added + 1))
    done
    echo "$added"
}

# Makes WINEPREFIX a throwaway prefix for tests and measurements, once: with Wine's own fonts,
# with the face Wine draws "Microsoft Sans Serif" in (Liberation Sans) going by that name, as the
# face itself does on Windows, without the 2-second stall after each hidden window (Wine waits for
# a window manager that is not there), and marked as throwaway, which lets the tests change the
# settings of its user there and nowhere else. A prefix made before it carried the mark and the
# name is made again. Then starts a private X server and one persistent Wine server, as a desktop
# session has; both end when the calling script does.
start_wine_session() {
    use_test_wine_settings
    local mark='^"ThrowawayPrefix"=dword:00000001$'
    local face='^"Microsoft Sans Serif"="Liberation Sans"$'
    if [ ! -f "$WINEPREFIX/.ready" ] || ! grep -q "$mark" "$WINEPREFIX/user.reg" 2>/dev/null ||
        ! grep -q "$face" "$WINEPREFIX/user.reg"; then
        rm -rf "$WINEPREFIX"
        echo "Creating the Wine prefix $WINEPREFIX ..." >&2
        { wineboot -i && wineserver -w; } >/dev/null 2>&1 || fail "Wine could not create $WINEPREFIX"
        add_wine_fonts "$WINEPREFIX" >/dev/null
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Sans Serif' \
            /d 'Liberation Sans' /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\BrevaneTwinovaTests' /v ThrowawayPrefix /t REG_DWORD /d 1 /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
    # A server left over from an interrupted run would refuse to be made persistent.
    wineserver -k 2>/dev/null || true
    trap stop_wine_session EXIT
    start_xvfb
    start_wine_server
    hold_desktop
}

# Wine as the tests and measurements run it: only Wine's own errors are shown, so that a
# program Wine fails to start says why, and no Mono or Gecko installer is offered.
use_test_wine_settings() {
    export WINEDEBUG=-all,err+all
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Starts one persistent Wine server for WINEPREFIX, and Wine's own background processes with
# it, with no pipe of the caller's for them to inherit and hold open.
start_wine_server() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Wine ends a desktop, and the explorer that draws it, one second after the last program on it
# ends; a program that starts meanwhile can fail to make its windows. A command prompt waiting
# for input that never comes stays on the desktop for the whole session, as a user's shell does.
hold_desktop() {
    local input
    input=$(mktemp -u)
    mkfifo "$input"
    wine cmd <"$input" >/dev/null 2>&1 &
    exec {desktop_holder}>"$input"
    rm "$input"
}

stop_wine_session() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
}

# Starts a private X server and exports its DISPLAY; stop it with stop_xvfb.
start_xvfb() {
    local display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    wait_for test -s "$display_file" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
}

# Runs a command every tenth of a second until it succeeds, for up to 10 seconds; fails if it
# never does.
wait_for() {
    for _ in $(seq 100); do
        "$@" && return
        sleep 0.1
    done
    "$@"
}

stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
}
