#!/usr/bin/env bash
# Builds the release from the commit checked out, exported into a fresh build/release, and
# writes dist/: the program for 64-bit Windows, the one for 32-bit Windows, the two registry
# files of deploy/ and SHA256SUMS. Two runs from the same commit give the same bytes, whatever
# folder the checkout is in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require_checkout
# The build takes only what is committed; edits that are not would silently miss the release,
# so their owner is told instead.
changes=$(git status --porcelain --untracked-files=all)
if [ -n "$changes" ]; then
    echo "$(basename "$0"): these files have changes that are not committed, and a release holds only what is committed; commit or remove them first:" >&2
    printf '%s\n' "$changes" >&2
    exit 1
fi

require "${build_needs[@]}" "${x86_build_needs[@]}"
commit=$(git rev-parse --short HEAD)
release=$PWD/build/release
rm -rf "$release" dist
mkdir -p "$release/source"
git archive HEAD | tar -x -C "$release/source"
(
    cd "$release/source"
    build_into "$release/x64" release BrevaneTwinova
    build_into "$release/x86" release-x86 BrevaneTwinova
)

mkdir dist
cp "$release/x64/bin/BrevaneTwinova.exe" dist/BrevaneTwinova.exe
cp "$release/x86/bin/BrevaneTwinova.exe" dist/BrevaneTwinova-x86.exe
cp "$release/source/deploy/enable-multiple-instances.reg" \
    "$release/source/deploy/undo-multiple-instances.reg" dist/
files=(BrevaneTwinova.exe BrevaneTwinova-x86.exe enable-multiple-instances.reg undo-multiple-instances.reg)
(cd dist && sha256sum "${files[@]}" >SHA256SUMS)
echo "Wrote $PWD/dist from commit $commit:"
(cd dist && ls -l --time-style=+ "${files[@]}" SHA256SUMS | awk '{print "  " $NF " (" $5 " bytes)"}')
