#!/bin/bash
# Builds pemoPrint.exe and runs it under Wine:
#   tools/run.sh [FILE] [--print | /p]
# On a desktop it opens on the current display. Without one it runs on the
# project's private virtual display: it waits until the window is shown,
# prints the start-up time (launch to window shown), saves a screenshot to
# build/screenshot.png and closes the program. With --print (or /p) it prints
# FILE on the default PDF printer instead, answering the print dialog, and
# tells where the PDF is.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export PEMO_BUILD=${PEMO_BUILD:-$ROOT/build}
tools/setup.sh >/dev/null || exit 1
cmake -S . -B "$PEMO_BUILD/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null &&
  make -C "$PEMO_BUILD/win32" -j2 --no-print-directory pemoPrint >/dev/null || exit 1
EXE=$PEMO_BUILD/win32/pemoPrint.exe

file="" print=0
for a in "$@"; do
  case "$a" in
    --print|/p|/P) print=1 ;;
    *) file=$a ;;
  esac
done
if [ -n "$file" ] && [ ! -f "$file" ]; then
  echo "run: no file $file" >&2; exit 2
fi
if [ $print -eq 1 ] && [ -z "$file" ]; then
  echo "run: --print needs a file" >&2; exit 2
fi

# The program takes one Windows path; with spaces Wine quotes it.
programArgs() {
  [ -n "$file" ] && winepath -w "$(readlink -f "$file")" 2>/dev/null
  [ $print -eq 1 ] && echo /p
  true
}

if [ -n "${DISPLAY:-}" ] && [ ! -f "$PEMO_BUILD/run/display" ]; then
  desktopDisplay=$DISPLAY
  tools/services.sh start >/dev/null || exit 1
  source tools/wine-env.sh
  export DISPLAY=$desktopDisplay
  mapfile -t args < <(programArgs)
  wine "$EXE" "${args[@]}"
  status=$?
  tools/services.sh stop
  exit $status
fi

# Services already running (a test run, an earlier call) are used as they
# are and left running; otherwise they are started and stopped again here.
servicesUp() {
  [ -f "$PEMO_BUILD/run/display" ] &&
    DISPLAY=$(cat "$PEMO_BUILD/run/display") xdpyinfo >/dev/null 2>&1
}
stopServices=0 xevPid=""
cleanUp() {
  [ -n "$xevPid" ] && kill "$xevPid" 2>/dev/null
  [ $stopServices -eq 1 ] && tools/services.sh stop >/dev/null
  true
}
trap cleanUp EXIT
if ! servicesUp; then
  tools/services.sh start >/dev/null || exit 1
  stopServices=1
fi
source tools/wine-env.sh
mapfile -t args < <(programArgs)

log=$PEMO_RUN/program.log
marker=$PEMO_RUN/run-started
touch "$marker"
if [ $print -eq 0 ]; then
  # The preview is seen as the display maps it: map events are read as they
  # come, so that nothing polls the display while the program starts.
  events=$PEMO_RUN/map-events
  rm -f "$events" && mkfifo "$events" || exit 1
  xev -root -event substructure >"$events" 2>/dev/null &
  xevPid=$!
  exec 3<"$events"
fi
started=$(date +%s%N)
( exec wine "$EXE" "${args[@]}" >"$log" 2>&1 ) &
pid=$!
elapsed() { echo $(( ($(date +%s%N) - started) / 1000000 )); }

# Waits up to 30 s for a shown window titled exactly $1; prints its id.
waitForWindow() {
  local id
  for _ in $(seq 1500); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 $pid 2>/dev/null || return 1
    sleep 0.02
  done
  return 1
}

endProgram() {
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  echo "run: the program was ended" >&2
  exit 1
}

if [ $print -eq 1 ]; then
  dialog=$(waitForWindow 印刷) || { echo "run: no print dialog (see $log)" >&2; endProgram; }
  echo "print dialog after $(elapsed) ms"
  xdotool windowfocus --sync "$dialog" && xdotool key Return
  wait $pid
  status=$?
  echo "program ended with status $status after $(elapsed) ms"
  # cups-pdf names the PDF after the document; it is done when poppler reads
  # it and its size no longer changes.
  pdfDir=$(awk '$1 == "Out" { print $2 }' /etc/cups/cups-pdf.conf 2>/dev/null)
  pdfDir=${pdfDir:-'${HOME}/PDF'}
  pdfDir=${pdfDir//'${HOME}'/$(getent passwd "$(id -un)" | cut -d: -f6)}
  # Other jobs may arrive too: a plain ASCII name picks out this one's PDF
  # (cups-pdf spells other characters differently).
  pattern='*.pdf'
  name=$(basename "$file")
  [[ "$name" =~ ^[A-Za-z0-9._-]+$ ]] && pattern="*$name*.pdf"
  previous=""
  for _ in $(seq 600); do
    pdf=$(find "$pdfDir" -maxdepth 1 -name "$pattern" -newer "$marker" 2>/dev/null | head -1)
    if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1; then
      size=$(stat -c %s "$pdf")
      if [ "$size" = "$previous" ]; then
        echo "PDF: $pdf ($(pdfinfo "$pdf" | sed -n 's/^Pages: *//p') pages)"
        exit "$status"
      fi
      previous=$size
    fi
    sleep 0.1
  done
  echo "run: no PDF in $pdfDir" >&2
  exit 1
fi

window="" answered=" " deadline=$((SECONDS + 30))
# Takes a shown window titled pemoPrint: the preview, or a message box to
# answer.
consider() {
  [ "$(xdotool getwindowname "$1" 2>/dev/null)" = pemoPrint ] || return
  # The preview has no decoration; a message box of the same title has.
  if xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | awk -F', ' '{ exit !($3 == "0x0") }'; then
    window=$1
  elif [[ "$answered" != *" $1 "* ]]; then
    echo "run: a message box is shown; answering it with Return"
    xdotool windowfocus --sync "$1" && xdotool key Return
    answered+="$1 "
  fi
}
while [ -z "$window" ] && [ $SECONDS -lt $deadline ]; do
  if ! read -r -t 1 -u 3 line; then
    # A quiet second: look for itself, in case a window was named only
    # after it was mapped.
    kill -0 $pid 2>/dev/null || break
    for id in $(xdotool search --onlyvisible --name '^pemoPrint$' 2>/dev/null); do consider "$id"; done
    continue
  fi
  [[ $line == MapNotify* ]] && read -r -t 1 -u 3 line || continue
  id=${line##*window }
  consider "${id%%,*}"
done
[ -n "$window" ] || { echo "run: no window (see $log)" >&2; endProgram; }
echo "start-up: window shown $(elapsed) ms after launch"
# Painting follows showing: the picture is taken once two looks agree.
previous=""
for _ in $(seq 50); do
  sleep 0.1
  import -window "$window" "$PEMO_BUILD/screenshot.png" 2>/dev/null || continue
  current=$(convert "$PEMO_BUILD/screenshot.png" rgb:- | md5sum)
  [ "$current" = "$previous" ] && break
  previous=$current
done
echo "screenshot: $PEMO_BUILD/screenshot.png ($(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }') window)"
xdotool windowfocus --sync "$window" && xdotool key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && endProgram
wait $pid
status=$?
echo "program closed with status $status"
exit $status
