#!/usr/bin/env bash
# Checks the formatting with clang-format and every source file, tests included, with clang-tidy;
# any complaint fails. Needs a configured build folder (BUILD_DIR, default build/windows) for
# compile_commands.json: run scripts/test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

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

clang-format --dry-run --Werror $(git ls-files "*.cpp" "*.h")
# The count of warnings clang suppressed in system headers, printed for each file, is noise.
clang-tidy -p "$build_dir" --quiet --warnings-as-errors='*' \
    "--extra-arg=--target=$("$compiler" -dumpmachine)" "${cxx_library[@]}" $(git ls-files "*.cpp") \
    2> >(grep -v "warnings\? generated\.$" >&2)
