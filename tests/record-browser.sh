#!/bin/sh
# Stands in for the web browser in the test Wine prefix: records the addresses it is asked to open.
printf '%s\n' "$@" >>"$WINEPREFIX/drive_c/opened-addresses.txt"
