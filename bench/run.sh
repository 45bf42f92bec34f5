#!/usr/bin/env bash
# Measures the program against floor programs of our own, under Wine and a private Xvfb, and
# prints the figures, each beside its floor measured in the same run. It passes or fails
# nothing. Builds a Release configuration into build/bench (BUILD_DIR chooses another folder,
# which must not hold a debug build). RUNS sets the number of alternating start-up, Apply and
# change-of-scale runs (default 25; memory and hover take 5 each); ALSO names another build of
# the program (an .exe) to measure beside this one, for example an earlier commit's (not in the
# change-of-scale row, which earlier builds may not follow).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

runs=${RUNS:-25}
build_dir=$(realpath -m "${BUILD_DIR:-build/bench}")
cache="$build_dir/CMakeCache.txt"
if [ -f "$cache" ]; then
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$cache")
    [ "$build_type" = Release ] ||
        fail "$build_dir holds a build of type '${build_type:-none}', not Release; its figures would mean nothing"
fi
require "${build_needs[@]}" wine wineboot wineserver wine64 fonts-wine Xvfb python3
log="$build_dir.log"
# Every executable's link writes its map into maps/ (<name>.exe.map), from which the program's
# size is split below; the map changes nothing in the file the link writes.
maps="$build_dir/maps"
mkdir -p "$maps"
{
    cmake --preset windows -B "$build_dir" -DBUILD_BENCHMARKS=ON \
        "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-Map=$maps" &&
        cmake --build "$build_dir" --target BrevaneTwinova bench_floor bench_apply_floor bench_driver \
            bench_scale_change
} >"$log" 2>&1 || fail "the build failed (its whole output is in $log)"
bin="$build_dir/bin"

export WINEPREFIX="$build_dir/wineprefix"
start_wine_session

windows_path() { echo "Z:${1//\//\\}"; }

# The colour of the background picture at a client pixel no control covers: the window counts
# as painted once the screen shows it there.
pixel=$(python3 - assets/background.bmp 300 150 <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height = struct.unpack_from("<ii", data, 18)
x, y = int(sys.argv[2]), int(sys.argv[3])
stride = (width * 3 + 3) & ~3
b, g, r = data[offset + (height - 1 - y) * stride + x * 3:][:3]
print(f"{x},{y},{r:02x}{g:02x}{b:02x}")
PY
)

program=$(windows_path "$bin/BrevaneTwinova.exe")
floor=$(windows_path "$bin/bench_floor.exe")
candidates=(floor "$floor" "floor+decompression" "$floor --decompress" "floor+design" "$floor --children"
    program "$program")
apply_candidates=(floor "$(windows_path "$bin/bench_apply_floor.exe")" program "$program")
hover_candidates=(floor "$floor" program "$program")
scale_candidates=(floor "$floor" program "$program")
if [ -n "${ALSO:-}" ]; then
    also=$(windows_path "$(realpath "$ALSO")")
    candidates+=(also "$also")
    apply_candidates+=(also "$also")
    hover_candidates+=(also "$also")
fi

# Runs the driver with its output in a file: Wine's helpers would hold a pipe open. A driver
# that ends with nothing of its own said, since Wine could not start it (Wine says why), is
# started again, at most twice more, with a line that says so.
measure() {
    local out attempt status
    out=$(mktemp)
    for attempt in 1 2 3; do
        status=0
        wine "$bin/bench_driver.exe" "$@" >"$out" 2>&1 </dev/null || status=$?
        if [ "$status" -eq 0 ] || grep -Eq '^(bench_driver|started again):' "$out"; then
            break
        fi
        [ "$attempt" -lt 3 ] || {
            cat "$out" >&2
            rm -f "$out"
            fail "Wine could not start the driver for $1 in 3 attempts"
        }
        echo "started again: bench_driver $1, which ended with exit code $status having measured" \
            "nothing: $(head -1 "$out" | tr -d '\r')"
    done
    [ "$status" -eq 0 ] || {
        cat "$out" >&2
        rm -f "$out"
        fail "the driver could not measure $1"
    }
    tr -d '\r' <"$out"
    rm -f "$out"
}

# Prints, for the driver's lines, each program's median (lowest-highest) and its ratio to the
# floor's, where there is a floor; for start-up also the mean processor time the program itself
# used until then, which other work on the machine hardly changes (Linux counts it in 10 ms
# steps). Then the starts that were made again, and why.
report() {
    local unit=$1 target=$2
    awk -v unit="$unit" -v target="$target" '
        BEGIN {
            names["floor"] = "floor"
            names["floor+decompression"] = "floor + decompressing the 2 pictures"
            names["floor+design"] = "floor + design (3 buttons, scroll bar, 3 fonts, 2 regions)"
            names["program"] = "BrevaneTwinova"
            names["also"] = "BrevaneTwinova (ALSO)"
        }
        /^started again: / { notes[++note_count] = $0; next }
        {
            n++
            name[n] = $1; value[n] = $2; cpu[n] = $5
            range[n] = sprintf("(%.0f-%.0f)", $3, $4)
            program = $1
            label[n] = names[program]
            # A change of scale comes with the start-up of the same runs, named <name>.startup,
            # each compared with the floor of its kind.
            if (sub(/\.startup$/, "", program)) {
                label[n] = names[program] ": start-up to first paint (96 DPI)"
                kind[n] = "startup"
                scale_change = 1
            }
            base[n] = program
            if (program == "floor") { floor[kind[n]] = $2; floor_cpu[kind[n]] = $5 }
        }
        END {
            for (i = 1; i <= n; i++) {
                if (scale_change && kind[i] != "startup")
                    label[i] = label[i] ": WM_DPICHANGED to repainted (144 DPI)"
                line = sprintf("  %-60s %7.1f %s %-13s", label[i], value[i], unit, range[i])
                if (base[i] != "floor" && floor[kind[i]] > 0)
                    line = line sprintf(" %.2f x floor", value[i] / floor[kind[i]])
                if (cpu[i] > 0) {
                    line = line sprintf("; cpu %.1f ms", cpu[i])
                    if (base[i] != "floor") line = line sprintf(" %.2f x", cpu[i] / floor_cpu[kind[i]])
                }
                if (name[i] == "program" && target != "") line = line "  (target <= " target ")"
                print line
            }
            for (i = 1; i <= note_count; i++) print "  " notes[i]
        }'
}

read -r total pictures code runtime rest < <(python3 bench/size_split.py "$bin/BrevaneTwinova.exe" \
    "$maps/BrevaneTwinova.exe.map")
floor_size=$(stat -c %s "$bin/bench_floor.exe")

echo "BrevaneTwinova benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "  $(wine --version), $(x86_64-w64-mingw32-g++-posix --version | head -1), $(nproc) cores, Xvfb"
echo "Start-up, process creation to the window shown and painted; median of $runs alternating runs:"
measure startup "$runs" "$pixel" "${candidates[@]}" | report ms 1.10
# The change of scale is timed inside each program, from WM_DPICHANGED to the screen showing the
# window painted at the new scale (bench/scale_change.cpp says exactly what that takes), after
# each run's start-up, timed as above; both stop when the screen shows the background picture
# at a point that only the painted window shows. The floor is told the same, by the same DLL.
echo "Change of scale, 96 to 144 DPI (412 x 237 to 618 x 356), WM_DPICHANGED to the window" \
    "repainted, each run after its own start-up; median of $runs alternating runs:"
measure scale "$runs" "$pixel" "${scale_candidates[@]}" | report ms "1.20; goal: one frame, 16 ms"
echo "Apply, click to the confirmation box shown; median of $runs alternating runs:"
measure apply "$runs" "$pixel" "${apply_candidates[@]}" | report ms 1.20
echo "Memory, private bytes after 1 s idle; median of 5 alternating runs:"
measure memory 5 "$pixel" "${candidates[@]}" | report KiB ""
echo "Hover, processor time for 30000 mouse moves over the bare surface; median of 5 alternating runs:"
measure hover 5 "$pixel" "${hover_candidates[@]}" | report ms 1.05
echo "Program size: $total bytes: pictures $pictures, code $code, runtime $runtime," \
    "headers, imports and debug information $rest (floor program: $floor_size bytes)"
