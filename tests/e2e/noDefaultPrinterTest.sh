#!/bin/bash
# The real program without a default printer ends at once with status 0 and
# never shows a window of its own. Wine takes its printers from CUPS in every
# process that starts, and drops from the registry those CUPS no longer
# lists: the run needs a Wine prefix and wineserver of its own, here a
# hard-linked copy of the shared prefix whose processes see no CUPS server
# (a copy starts in a few seconds, a new prefix needs wineboot). The
# platform's "no default printer" message box, if shown, is answered with
# Return.
source "$(dirname "$0")/lib.sh"

PRIVATE_PREFIX=$E2E_OUT/no-default-printer-prefix
SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt

# The shared prefix's DLLs and programs are only read: they are hard links.
# Everything else (registry, ini files, PPDs, the user's folders) is copied,
# since this prefix's wineserver writes it.
makePrivatePrefix() {
  rm -rf "$PRIVATE_PREFIX"
  mkdir -p "$PRIVATE_PREFIX"
  cp -a "$WINEPREFIX"/*.reg "$WINEPREFIX"/.update-timestamp "$WINEPREFIX"/dosdevices "$PRIVATE_PREFIX"/ &&
    cp -al "$WINEPREFIX/drive_c" "$PRIVATE_PREFIX/drive_c" || return 1
  (cd "$WINEPREFIX/drive_c" &&
    find . -type f ! -regex '.*\.\(dll\|exe\|nls\|sys\|drv\|ocx\|cpl\|acm\|tlb\|ds\|ax\|com\|msstyles\)' \
      -exec cp --remove-destination -p {} "$PRIVATE_PREFIX/drive_c/{}" \;)
}

# Ends every process of the private prefix: its own wineserver, no other.
removePrivatePrefix() {
  WINEPREFIX=$PRIVATE_PREFIX wineserver -k 2>/dev/null
  WINEPREFIX=$PRIVATE_PREFIX timeout 30 wineserver -w 2>/dev/null
  rm -rf "$PRIVATE_PREFIX"
}

endsQuietlyWithoutDefaultPrinter() {
  OUT=$E2E_OUT/no-default-printer
  rm -rf "$OUT"; mkdir -p "$OUT"
  local started
  started=$(date +%s%N)
  makePrivatePrefix || fail "cannot copy the Wine prefix" || return 1
  note "private prefix made in $(( ($(date +%s%N) - started) / 1000000 )) ms"
  trap removePrivatePrefix EXIT
  cp "$SAMPLE" "$OUT/$(uniqueName NoPrinter).txt"

  startMapWatch
  WINEPREFIX=$PRIVATE_PREFIX CUPS_SERVER=$OUT/no-cups.sock startProgram "$(windowsPath "$OUT"/e2e*.txt)"
  local box hidden="" status=0 answered=0 id
  # A fresh wineserver starts first: give it time.
  for _ in $(seq 600); do
    programRunning || break
    [ -n "$hidden" ] || hidden=$(xdotool search --name '^pemoPrint$' 2>/dev/null || true)
    box=$(visibleWindows エラー | head -1)
    if [ -n "$box" ] && [ $answered -eq 0 ]; then
      import -window "$box" "$OUT/platform-message.png"
      note "the platform's message box was shown; answered with Return"
      xdotool windowfocus --sync "$box"
      xdotool key Return
      answered=1
    fi
    sleep 0.1
  done
  waitForExit 30 || status=$?
  stopMapWatch
  note "ended $(( ($(date +%s%N) - PEMO_STARTED) / 1000000 )) ms after launch"
  [ $status -eq 0 ] || fail "exit status $status without a printer" || return 1
  [ -n "$hidden" ] || note "(the program's hidden window was not seen)"
  for id in $hidden; do
    ! wasMapped "$id" || fail "the program showed its window $id without a printer" || return 1
  done
  [ -z "$(visibleWindows pemoPrint)" ] || fail "a window titled pemoPrint is still shown"
}

runTests endsQuietlyWithoutDefaultPrinter
