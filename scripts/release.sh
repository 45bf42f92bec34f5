#!/usr/bin/env bash
# Builds the release from the committed tree, in a fresh build/release, and writes dist/: the
# program, the two registry files of deploy/ and SHA256SUMS. It refuses to run while the tree
# has changes that are not committed, so that every release is exactly a commit; two runs from
# the same commit give the same bytes, whatever folder the tree is in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require_checkout
changes=$(git status --porcelain --untracked-files=all)
if [ -n "$changes" ]; then
    echo "$(basename "$0"): these files have changes that are not committed; commit or remove them first:" >&2
    printf '%s\n' "$changes" >&2
    exit 1
fi

require "${build_needs[@]}"
rm -rf build/release dist
build_into "$PWD/build/release" release BrevaneTwinova

mkdir dist
cp build/release/bin/BrevaneTwinova.exe deploy/enable-multiple-instances.reg \
    deploy/undo-multiple-instances.reg dist/
(cd dist && sha256sum BrevaneTwinova.exe enable-multiple-instances.reg undo-multiple-instances.reg >SHA256SUMS)
echo "Wrote $PWD/dist from commit $(git rev-parse --short HEAD):"
(cd dist && ls -l --time-style=+ BrevaneTwinova.exe *.reg SHA256SUMS | awk '{print "  " $NF " (" $5 " bytes)"}')
