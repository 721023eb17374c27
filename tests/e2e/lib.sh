# Helpers for end-to-end tests: the real pemoPrint.exe under Wine on the
# private display, driven with xdotool, looked at with screenshots, the PDF
# printer and the registry. Each test is a function; runTests runs the named
# ones and adds the script's counts to $PEMO_RUN/suite-results.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env.sh"
PEMO_EXE=${PEMO_EXE:-$PEMO_BUILD/win32/pemoPrint.exe}
E2E_OUT=$PEMO_BUILD/e2e
E2E_HELPERS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SETTINGS_KEY='HKCU\Software\dalvek\pemoPrint'
mkdir -p "$E2E_OUT"

# To stderr, so that a failure inside $(...) still shows in the log.
fail() { echo "  failed: $*" >&2; return 1; }
note() { echo "  $*"; }

# ---------------------------------------------------------------- program

# Starts the program in the background; its pid is in $PEMO_PID, and in a
# file so that runTests can end it when a test gives up half-way. The
# subshell execs, so the pid is the program's own (wine execs its loader).
startProgram() {
  ( exec wine "$PEMO_EXE" "$@" >"$E2E_OUT/program.log" 2>&1 ) &
  PEMO_PID=$!
  PEMO_STARTED=$(date +%s%N)
  echo "$PEMO_PID" >"$E2E_OUT/program.pid"
}

programRunning() { kill -0 "$PEMO_PID" 2>/dev/null; }

# The processes started by process $1, deepest first (read from /proc: the
# command name in each stat line may hold spaces, the fields after it not).
descendants() {
  local child
  for child in $(awk -v parent="$1" '{ sub(/.*\) /, ""); if ($2 == parent) { split(FILENAME, p, "/"); print p[3] } }' \
                   /proc/[0-9]*/stat 2>/dev/null); do
    descendants "$child"
    echo "$child"
  done
}

# Ends the program and whatever it started, and nothing else: the shared
# wineserver and every other Wine process of the prefix keep running.
killProgram() {
  local pid=$1 pids
  pids="$(descendants "$pid") $pid"
  # shellcheck disable=SC2086
  kill $pids 2>/dev/null
  for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  # shellcheck disable=SC2086
  kill -9 $pids 2>/dev/null
}

# Waits for the program to end; gives its exit status, 124 on a time-out
# (after ending the program).
waitForExit() {
  local seconds=${1:-10}
  for _ in $(seq $((seconds * 10))); do
    if ! programRunning; then
      wait "$PEMO_PID"
      return $?
    fi
    sleep 0.1
  done
  killProgram "$PEMO_PID"
  wait "$PEMO_PID" 2>/dev/null || true
  return 124
}

# For runTests: a test that failed must not leave the program behind.
endLeftoverProgram() {
  local pid
  pid=$(cat "$E2E_OUT/program.pid" 2>/dev/null) || return 0
  rm -f "$E2E_OUT/program.pid"
  if kill -0 "$pid" 2>/dev/null && grep -q pemoPrint "/proc/$pid/cmdline" 2>/dev/null; then
    echo "  (ending the program left running)"
    killProgram "$pid"
  fi
}

# Closes the preview with Esc; the program must end with status 0.
closeWithEscape() {
  pressKey "$1" Escape
  for _ in $(seq 100); do programRunning || break; sleep 0.1; done
  if programRunning; then
    # Where the key may have gone instead.
    note "still running 10 s after Esc; the keyboard focus is on" \
      "'$(xdotool getwindowfocus getwindowname 2>/dev/null)'"
  fi
  local status=0
  waitForExit 1 || status=$?
  [ $status -eq 0 ] || fail "exit status $status after Esc"
}

# A path as the program sees it (Z: drive, backslashes).
windowsPath() { winepath -w "$1" 2>/dev/null; }

# ---------------------------------------------------------------- windows

# Visible top-level windows titled exactly $1.
visibleWindows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }

# Waits up to $2 seconds (10) for a visible window titled exactly $1; prints its id.
waitForWindow() {
  local title=$1 seconds=${2:-10} id
  for _ in $(seq $((seconds * 20))); do
    id=$(visibleWindows "$title" | head -1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.05
  done
  return 1
}

# The preview and the program's message boxes share the title "pemoPrint";
# the preview is the one without any decoration (no caption, no border).
isBorderless() {
  xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | awk -F', ' '{ exit !($3 == "0x0") }'
}

# Waits for the preview window to be shown; prints its id. The first start
# after the services came up may take a while.
previewWindow() {
  local seconds=${1:-20} id
  for _ in $(seq $((seconds * 20))); do
    for id in $(visibleWindows pemoPrint); do
      if isBorderless "$id"; then echo "$id"; return 0; fi
    done
    sleep 0.05
  done
  return 1
}

# Waits for a message box of the program (captioned "pemoPrint"); prints its id.
messageBox() {
  local seconds=${1:-10} id
  for _ in $(seq $((seconds * 20))); do
    for id in $(visibleWindows pemoPrint); do
      if ! isBorderless "$id"; then echo "$id"; return 0; fi
    done
    sleep 0.05
  done
  return 1
}

# Popup menus have no title; they are the program's untitled visible windows.
popupMenus() {
  local id
  for id in $(xdotool search --onlyvisible --classname pemoprint.exe 2>/dev/null); do
    if [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]; then echo "$id"; fi
  done
}

# Waits until $1 popup menus are open; prints their ids, the newest last.
# Opens the context menu of $WINDOW with Ctrl+M, picks the item with
# mnemonic $1 and waits for the dialog titled $2; prints the dialog's id.
openFromContextMenu() {
  local x y
  read -r x y _ < <(windowGeometry "$WINDOW")
  # The pointer on the window, off the menu: the menu needs it for its keys.
  movePointer $((x + 300)) $((y + 400))
  pressKey "$WINDOW" ctrl+m
  waitForMenus 1 >/dev/null || return 1
  xdotool key "$1"
  waitForWindow "$2" 10
}

waitForMenus() {
  local count=$1 ids
  for _ in $(seq 60); do
    ids=$(popupMenus)
    if [ "$(echo "$ids" | grep -c .)" -eq "$count" ]; then
      for id in $ids; do echo "$(windowGeometry "$id" | awk '{ print $3 * $4 }') $id"; done |
        sort -n -r | awk '{ print $2 }'
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Closes the open menus one at a time with Escape.
closeMenus() {
  local open
  for _ in $(seq 5); do
    open=$(popupMenus | grep -c . || true)
    if [ "$open" -eq 0 ]; then
      sleep 0.2  # the menu loop ends after its window is gone
      return 0
    fi
    xdotool key Escape
    waitForMenus $((open - 1)) >/dev/null
  done
  fail "Escape does not close the menus"
}

# "X Y WIDTH HEIGHT" of a window, in screen pixels.
windowGeometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
    END { print x, y, w, h }'
}
windowSize() { windowGeometry "$1" | awk '{ print $3 "x" $4 }'; }

# Waits up to 5 s until window $1 has the size $2 (WxH); fails otherwise.
waitForSize() {
  for _ in $(seq 50); do
    [ "$(windowSize "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  fail "window is $(windowSize "$1"), expected $2"
}

pressKey() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key --clearmodifiers "$2"
}

# One wheel notch over window $1: up (away from the user) or down, with the
# modifier keys in $3 (e.g. ctrl, shift, ctrl+shift) held.
wheel() {
  local window=$1 direction=$2 modifiers=${3:-} button=4 x y w h
  [ "$direction" = down ] && button=5
  read -r x y w h < <(windowGeometry "$window")
  xdotool windowfocus --sync "$window" 2>/dev/null
  # The pointer at the middle of the visible part of the window.
  movePointer $(((x < 0 ? 0 : x) + 100)) $(((y < 0 ? 0 : y) + 100))
  if [ -n "$modifiers" ]; then
    xdotool keydown "$modifiers" sleep 0.05 click "$button" sleep 0.05 keyup "$modifiers"
  else
    xdotool click "$button"
  fi
}

# Moves the pointer and waits until it is there ("mousemove --sync" waits
# for a motion that never comes when the pointer is already in place).
movePointer() {
  xdotool mousemove -- "$1" "$2"
  for _ in $(seq 20); do
    [ "$(xdotool getmouselocation 2>/dev/null | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')" = "$1 $2" ] && return 0
    sleep 0.05
  done
}

# ---------------------------------------------------------------- screenshots

imageHash() { convert "$1" -depth 8 rgb:- | md5sum | cut -d' ' -f1; }

# Captures window $1 into $2 once painting has settled: three captures in a
# row agree. Waits a little first, so a repaint that an input just asked
# for has happened.
capture() {
  local window=$1 out=$2 previous="" current same=0
  sleep "${3:-0.4}"
  for _ in $(seq 60); do
    if import -window "$window" "$out.tmp.png" 2>/dev/null; then
      current=$(imageHash "$out.tmp.png")
      if [ "$current" = "$previous" ]; then
        same=$((same + 1))
        if [ $same -ge 2 ]; then mv "$out.tmp.png" "$out"; return 0; fi
      else
        same=0
      fi
      previous=$current
    fi
    sleep 0.1
  done
  rm -f "$out.tmp.png"
  fail "window $window never settled for a screenshot"
}

# The checks of screenshot $2 of the sheet in window $1 (see sheetImage.py).
checkSheet() {
  local window=$1 image=$2; shift 2
  convert "$image" -depth 8 ppm:"$image.ppm" || fail "cannot convert $image" || return 1
  python3 "$E2E_HELPERS/sheetImage.py" sheet "$image.ppm" --window "$(windowSize "$window")" "$@" |
    sed 's/^/  /'
  local status=${PIPESTATUS[0]}
  rm -f "$image.ppm"
  [ "$status" -eq 0 ] || fail "screenshot $image is not the expected sheet"
}

# ---------------------------------------------------------------- registry

resetSettings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true; }

# setSetting NAME TYPE DATA, e.g. setSetting "preview scale" REG_DWORD 75
setSetting() {
  wine reg add "$SETTINGS_KEY" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1 ||
    fail "cannot store $1"
}

# Every stored value as "name<TAB>type<TAB>data", one a line; empty when the
# key does not exist.
storedSettings() {
  wine reg query "$SETTINGS_KEY" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    \(.*[^ ]\)    \(REG_[A-Z_]*\)    \(.*\)$/\1\t\2\t\3/p'
}

# The stored values are exactly those named (in any order): nothing else
# was written.
onlyStored() {
  local names wanted
  names=$(storedSettings | cut -f1 | sort | tr '\n' ',')
  wanted=$(printf '%s\n' "$@" | grep . | sort | tr '\n' ',' || true)
  [ "$names" = "$wanted" ] || fail "stored values are '${names%,}', expected '${wanted%,}'"
}

# "TYPE DATA" of one stored value, nothing when it is absent.
storedSetting() {
  storedSettings | awk -F'\t' -v name="$1" '$1 == name { print $2, $3 }'
}

# ---------------------------------------------------------------- printer

# cups-pdf writes into the job owner's home ("Out ${HOME}/PDF" by default).
pdfDirectory() {
  local home out
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  out=$(awk '$1 == "Out" { print $2 }' /etc/cups/cups-pdf.conf 2>/dev/null)
  out=${out:-'${HOME}/PDF'}
  echo "${out//'${HOME}'/$home}"
}
PDF_DIR=$(pdfDirectory)

# A document name no other test or worker uses: the PDF is named after it.
# runTests removes what a failed test left printed under such a name.
uniqueName() {
  local name="e2e$1${BASHPID}x$RANDOM"
  echo "$name" >>"$E2E_OUT/document-names"
  echo "$name"
}

removeLeftoverPdfs() {
  local name
  [ -f "$E2E_OUT/document-names" ] || return 0
  while read -r name; do
    rm -f "$PDF_DIR"/*"$name"*.pdf
  done <"$E2E_OUT/document-names"
  rm -f "$E2E_OUT/document-names"
}

# Waits up to $2 seconds (30) for the finished PDF whose name contains $1
# (cups-pdf names it after the document title); moves it to $3 and prints
# nothing. cups-pdf creates the file before Ghostscript has written it all,
# and other jobs may be on the queue: the PDF is done when poppler reads it
# and its size stays the same.
waitForPdf() {
  local tag=$1 seconds=${2:-30} out=$3 pdf size previous=""
  for _ in $(seq $((seconds * 10))); do
    pdf=$(ls "$PDF_DIR"/*"$tag"*.pdf 2>/dev/null | head -1)
    if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1; then
      size=$(stat -c %s "$pdf")
      if [ "$size" = "$previous" ]; then
        mv "$pdf" "$out"
        return 0
      fi
      previous=$size
    fi
    sleep 0.1
  done
  fail "no finished PDF named after $tag in $PDF_DIR"
}

# No PDF named after $1 appears within $2 seconds.
noPdfFor() {
  local tag=$1 seconds=${2:-3}
  for _ in $(seq $((seconds * 10))); do
    if ls "$PDF_DIR"/*"$tag"*.pdf >/dev/null 2>&1; then
      rm -f "$PDF_DIR"/*"$tag"*.pdf
      fail "a PDF was printed for $tag"
      return 1
    fi
    sleep 0.1
  done
}

pdfPages() { pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'; }

# Standard input without any white space, the ideographic space included.
withoutSpace() {
  python3 -c 'import re, sys; sys.stdout.write(re.sub(r"\s+", "", sys.stdin.read()))'
}

# The text of page $2 of PDF $1 (all pages without $2) with no white space.
pdfPageText() {
  if [ -n "${2:-}" ]; then
    pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null | withoutSpace
  else
    pdftotext -layout "$1" - 2>/dev/null | withoutSpace
  fi
}

# ---------------------------------------------------------------- X events

# Records every window mapped on the display until stopMapWatch; a window
# that was shown even for a moment is in the log.
startMapWatch() {
  xev -root -event substructure >"$E2E_OUT/map-events.log" 2>&1 &
  MAP_WATCH_PID=$!
  sleep 0.3
}
stopMapWatch() { kill "$MAP_WATCH_PID" 2>/dev/null; wait "$MAP_WATCH_PID" 2>/dev/null || true; }

# Was window $1 (decimal id, as xdotool gives it) ever mapped?
wasMapped() {
  local hex; hex=$(printf '0x%x' "$1")
  awk '/^MapNotify/ { inMap = 1; next }
       inMap && /window 0x/ { for (i = 1; i <= NF; i++) if ($i == "window") print $(i + 1); inMap = 0 }' \
    "$E2E_OUT/map-events.log" | tr -d ',' | grep -qx "$hex"
}

# ---------------------------------------------------------------- running

# Each test runs in a subshell with errexit, so its first failed check ends
# it; before and after it the program's settings are deleted, and a program
# it left running is ended, PDFs it left behind removed.
runTests() {
  local passed=0 failed=0 status
  for test in "$@"; do
    resetSettings
    ( set -e; "$test" )
    status=$?
    endLeftoverProgram
    removeLeftoverPdfs
    resetSettings
    if [ $status -eq 0 ]; then
      echo "[ ok ] $test"; passed=$((passed + 1))
    else
      echo "[FAIL] $test"; failed=$((failed + 1))
    fi
  done
  echo "e2e $passed $failed" >>"$PEMO_RUN/suite-results"
  [ $failed -eq 0 ]
}
