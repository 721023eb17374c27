#!/bin/bash
# Builds pemoPrint.exe and runs it under Wine:  tools/run.sh [FILE] [/p]
# On a desktop it opens on the current display. Without one it runs on a
# private virtual display, saves a screenshot to build/screenshot.png after
# a few seconds and closes the program.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export PEMO_BUILD=${PEMO_BUILD:-$ROOT/build}
tools/setup.sh >/dev/null || exit 1
cmake -S . -B "$PEMO_BUILD/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null &&
  make -C "$PEMO_BUILD/win32" -j2 --no-print-directory pemoPrint >/dev/null || exit 1

args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(readlink -f "$a")"); else args+=("$a"); fi
done

if [ -n "${DISPLAY:-}" ] && [ ! -f "$PEMO_BUILD/run/display" ]; then
  desktopDisplay=$DISPLAY
  tools/services.sh start >/dev/null || exit 1
  source tools/wine-env.sh
  export DISPLAY=$desktopDisplay
  wine "$PEMO_BUILD/win32/pemoPrint.exe" "${args[@]}"
  status=$?
  tools/services.sh stop
  exit $status
fi

tools/services.sh start >/dev/null || exit 1
trap 'tools/services.sh stop' EXIT
source tools/wine-env.sh
wine "$PEMO_BUILD/win32/pemoPrint.exe" "${args[@]}" >"$PEMO_BUILD/run/program.log" 2>&1 &
pid=$!
sleep "${PEMO_SHOT_DELAY:-4}"
import -window root "$PEMO_BUILD/screenshot.png" && echo "screenshot: $PEMO_BUILD/screenshot.png"
if kill -0 $pid 2>/dev/null; then
  xdotool key --clearmodifiers Escape 2>/dev/null
  sleep 1
fi
wait $pid 2>/dev/null
