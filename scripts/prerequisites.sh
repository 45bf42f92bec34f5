#!/usr/bin/env bash
# Installs with apt whatever the build, the run and the tests need and this Debian machine
# lacks. Sourced by run.sh and test.sh.

required_packages=(
    cmake ninja-build g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine xvfb xdotool imagemagick openbox googletest python3
)

fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

install_missing_packages() {
    local missing=()
    for package in "${required_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    command -v apt-get >/dev/null || fail "apt-get is missing; install these packages by hand: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing ${missing[*]} ..."
    {
        "${sudo[@]}" apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
    } >/tmp/brevane-twinova-apt.log 2>&1 ||
        fail "could not install ${missing[*]} (apt's output is in /tmp/brevane-twinova-apt.log)"
}

# Configures and builds into $1 with the configure preset $2 (default windows), printing only
# the compiler's complaints if it fails.
build_into() {
    local build_dir=$1 preset=${2:-windows}
    local log="$build_dir.log"
    mkdir -p "$(dirname "$build_dir")"
    {
        cmake --preset "$preset" -B "$build_dir" && cmake --build "$build_dir"
    } >"$log" 2>&1 || {
        grep -E "error|Error" "$log" | head -5 >&2
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

# Starts a private X server and exports its DISPLAY; stop it with stop_xvfb.
start_xvfb() {
    local display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    [ -s "$display_file" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
}

stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
}
