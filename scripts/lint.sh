#!/usr/bin/env bash
# Checks formatting with clang-format and the code with clang-tidy, against the MinGW-w64
# headers the build uses (clang's own intrinsic headers, the C++ library of MinGW-w64's GCC). Run scripts/test.sh (or any build) first for compile_commands.json.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build/windows}

clang-format --dry-run --Werror $(git ls-files "*.cpp" "*.h")
clang-tidy -p "$build_dir" --quiet \
    --extra-arg=--target=x86_64-w64-mingw32 \
    --extra-arg=-isystem/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++ \
    --extra-arg=-isystem/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++/x86_64-w64-mingw32 \
    $(git ls-files '*.cpp' | grep -v '^tests/')
