#!/bin/sh
# Runs a test program under Wine and names the exit status of one that fails, so that a program
# that ends before it prints anything still says how it ended.
#
#   run_under_wine.sh program.exe [arguments ...]
wine "$@"
status=$?
[ "$status" -eq 0 ] || echo "run_under_wine.sh: $(basename "$1") ended with exit status $status" >&2
exit "$status"
