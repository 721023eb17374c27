#!/bin/bash
# Runs a Windows program under Wine for CTest. Wine's output goes to a file
# first: its background processes would otherwise hold CTest's pipe open.
source "$(dirname "$0")/../tools/wine-env.sh"
output=$(mktemp)
timeout "${PEMO_WINE_TIMEOUT:-600}" wine "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
if [ $status -eq 124 ]; then
  echo "wine-run: timed out: $*"
  wineserver -k 2>/dev/null
fi
exit $status
