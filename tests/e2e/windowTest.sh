#!/bin/bash
# The program starts, shows its borderless window and closes on Esc.
source "$(dirname "$0")/lib.sh"

startsAndClosesOnEscape() {
  startProgram
  local window
  window=$(waitForWindow pemoPrint) || fail "no window"
  xwininfo -id "$window" | grep -q 'Map State: IsViewable' || fail "window not shown"
  pressKey "$window" Escape
  waitForExit 10 || fail "exit status $?"
}

runTests startsAndClosesOnEscape
