#!/bin/bash
# Starts and stops what the Win32 and end-to-end tests need: a private X
# display, CUPS with a PDF printer (and one with unprintable margins), and a
# Wine prefix with a running wineserver. Everything started is stopped by pid.
#   services.sh start | stop
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"

log() { echo "services: $*"; }

startDisplay() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$PEMO_RUN/xvfb.log" 2>&1 &
  echo $! >"$PEMO_RUN/xvfb.pid"
  echo ":$n" >"$PEMO_RUN/display"
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  log "Xvfb did not start"; return 1
}

schedulerRunning() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; }

startCups() {
  if ! schedulerRunning; then
    mkdir -p /run/cups
    /usr/sbin/cupsd -f >"$PEMO_RUN/cupsd.log" 2>&1 &
    echo $! >"$PEMO_RUN/cupsd.pid"
    for _ in $(seq 100); do schedulerRunning && break; sleep 0.1; done
    schedulerRunning || { log "cupsd did not start"; return 1; }
  fi
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  if ! LC_ALL=C lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -P "$ppd" -E
  fi
  # The same printer with an unprintable border, for printable-area tests.
  if ! LC_ALL=C lpstat -p PDFMargins >/dev/null 2>&1; then
    sed 's|^\*ImageableArea A4/A4: "0 0 595 842"|*ImageableArea A4/A4: "18 36 577 806"|' "$ppd" \
      >"$PEMO_RUN/margins.ppd"
    lpadmin -p PDFMargins -v cups-pdf:/ -P "$PEMO_RUN/margins.ppd" -E
  fi
  lpadmin -d PDF
  # Each run starts with empty, accepting queues: a job an earlier run left
  # (or that stopped its printer) would hold this run's prints and waits.
  cancel -a PDF PDFMargins >/dev/null 2>&1
  cupsenable PDF PDFMargins && cupsaccept PDF PDFMargins
}

startWine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix"
    wineboot -i >"$PEMO_RUN/wineboot.log" 2>&1
    wineserver -w
    iconv -f UTF-8 -t UTF-16LE "$PEMO_ROOT/tools/wine-settings.reg" \
      | { printf '\xff\xfe'; cat; } >"$PEMO_RUN/wine-settings.reg"
    wine reg import "$(winepath -w "$PEMO_RUN/wine-settings.reg")" >>"$PEMO_RUN/wineboot.log" 2>&1
    wineserver -w
  fi
  wineserver -p 2>/dev/null || true  # already running is fine
  # Wine's first run in a prefix starts helpers that would otherwise inherit,
  # and hold open, the output pipe of whatever runs Wine next.
  wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null
}

stopAll() {
  wineserver -k 2>/dev/null
  for name in xvfb cupsd; do
    if [ -f "$PEMO_RUN/$name.pid" ]; then
      kill "$(cat "$PEMO_RUN/$name.pid")" 2>/dev/null
      rm -f "$PEMO_RUN/$name.pid"
    fi
  done
  rm -f "$PEMO_RUN/display"
}

mkdir -p "$PEMO_RUN"
case "${1:-}" in
  start) startCups && startDisplay && startWine ;;
  stop) stopAll ;;
  *) echo "usage: services.sh start|stop"; exit 2 ;;
esac
