#!/usr/bin/env bash
# Checks the formatting with clang-format and every source file, tests included, with clang-tidy,
# one file per processor core at a time; any complaint fails. Needs a configured build folder
# (BUILD_DIR, default build/windows) for compile_commands.json: run scripts/test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require_checkout
require clang-format clang-tidy
build_dir=$(realpath -m "${BUILD_DIR:-build/windows}")
[ -f "$build_dir/compile_commands.json" ] ||
    fail "$build_dir has no compile_commands.json; run scripts/test.sh first."

# clang-tidy parses with clang's own intrinsic headers but needs the C++ library of the build's
# compiler, which clang does not find for a MinGW-w64 target: ask that compiler where it is.
compiler=$(sed -n 's/^ *"command": "\([^ ]*g++[^ ]*\) .*/\1/p' "$build_dir/compile_commands.json" | head -1)
cxx_library=()
while read -r dir; do
    cxx_library+=("--extra-arg=-isystem$dir")
done < <("$compiler" -x c++ -E -v - </dev/null 2>&1 | sed -n 's|^ \(/.*/include/c++.*\)$|\1|p')
[ ${#cxx_library[@]} -gt 0 ] || fail "$compiler names no C++ library include folder."

mapfile -t sources < <(git ls-files "*.cpp")
mapfile -t headers < <(git ls-files "*.h")
clang-format --dry-run --Werror "${sources[@]}" "${headers[@]}"
echo "clang-format: ${#sources[@]} source files and ${#headers[@]} headers are formatted."

tidy=(clang-tidy -p "$build_dir" --quiet --warnings-as-errors='*'
    "--extra-arg=--target=$("$compiler" -dumpmachine)" "${cxx_library[@]}")
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
# Each file's diagnostics go to a file of their own and are shown whole once it is checked, so
# that the runs beside it do not interleave with them.
declare -A index_of=()
checked=0 failed=0
collect() {
    local pid status=0
    wait -n -p pid "${!index_of[@]}" || status=$?
    local index=${index_of[$pid]}
    unset "index_of[$pid]"
    checked=$((checked + 1))
    # The count of warnings clang suppressed in system headers, printed for each file, is noise.
    grep -Ev "^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$" "$results/$index" || true
    if [ "$status" -eq 0 ]; then
        echo "clang-tidy [$checked/${#sources[@]}] ${sources[$index]}"
    else
        failed=$((failed + 1))
        echo "clang-tidy [$checked/${#sources[@]}] ${sources[$index]}: FAILED" >&2
    fi
}
for index in "${!sources[@]}"; do
    [ ${#index_of[@]} -lt "$(nproc)" ] || collect
    "${tidy[@]}" "${sources[$index]}" >"$results/$index" 2>&1 &
    index_of[$!]=$index
done
while [ ${#index_of[@]} -gt 0 ]; do
    collect
done
[ "$failed" -eq 0 ] || fail "clang-tidy found problems in $failed of ${#sources[@]} files."
