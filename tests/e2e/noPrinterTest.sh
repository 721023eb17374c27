#!/bin/bash
# Without any printer the default-printer query gives 0. The shared Wine
# prefix always sees the CUPS queues, so this runs the one test that needs no
# printer in a throwaway prefix of its own, whose Wine is pointed at a CUPS
# server that does not exist. The shared prefix, its wineserver and the CUPS
# queues are not touched.
source "$(dirname "$0")/lib.sh"
TESTS_EXE=${PEMO_TESTS_EXE:-$PEMO_BUILD/win32/win32Tests.exe}

# Runs its arguments with the throwaway prefix and no reachable CUPS.
inPrinterlessWine() {
  WINEPREFIX=$NO_PRINTER_PREFIX CUPS_SERVER=$NO_PRINTER_PREFIX.no-cups.sock "$@"
}

removePrinterlessWine() {
  [ -n "$NO_PRINTER_PREFIX" ] || return 0
  # Its wineserver ends by itself a few seconds after the last process.
  inPrinterlessWine timeout 60 wineserver -w 2>/dev/null
  rm -rf "$NO_PRINTER_PREFIX"
}

queryWithoutAnyPrinterGivesZero() {
  NO_PRINTER_PREFIX=$(mktemp -d "$E2E_OUT/no-printer-prefix.XXXXXX")
  trap removePrinterlessWine EXIT
  # A new prefix learns its printers from CUPS at its first start: none here.
  inPrinterlessWine timeout 300 wineboot -i >"$E2E_OUT/no-printer-boot.log" 2>&1 || fail "wineboot"
  # The headless settings of the shared prefix: no crash dialog, no stall on closing a window.
  iconv -f UTF-8 -t UTF-16LE "$PEMO_ROOT/tools/wine-settings.reg" | { printf '\xff\xfe'; cat; } \
    >"$NO_PRINTER_PREFIX/settings.reg"
  inPrinterlessWine wine reg import "$(inPrinterlessWine winepath -w "$NO_PRINTER_PREFIX/settings.reg")" \
    >>"$E2E_OUT/no-printer-boot.log" 2>&1 || fail "settings import"
  local log=$E2E_OUT/no-printer-test.log
  local status=0
  PEMO_EXPECT_NO_PRINTER=1 inPrinterlessWine timeout 120 wine "$TESTS_EXE" \
    --gtest_filter=PageSetup.DISABLED_NoPrinterAtAllGivesZero --gtest_also_run_disabled_tests \
    >"$log" 2>&1 || status=$?
  cat "$log"
  [ $status -eq 0 ] || fail "test exit status $status"
  grep -q '^\[  PASSED  \] 1 test\.' "$log" || fail "the test did not run and pass"
  ! grep -q 'SKIPPED' "$log" || fail "the test was skipped"
  # The shared prefix still has its default printer.
  wine reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device \
    >"$E2E_OUT/no-printer-device.log" 2>&1 || fail "shared prefix lost its default printer"
  grep -q 'PDF,' "$E2E_OUT/no-printer-device.log" || fail "shared prefix default printer changed"
}

runTests queryWithoutAnyPrinterGivesZero
