// Selects a real printer (a CUPS queue seen through Wine) as the program's
// current printer, the way page setup would leave it.
#pragma once
#include <windows.h>

// Fills printerDevMode and printerDevNames for the named printer in the given
// orientation, and pageSetup's paper size (A4) and margins. Gives false when
// the printer is not there.
bool selectPrinter(const char* name, short orientation, LONG marginHundredthsMm);
void releasePrinter();

// The orientation a device mode holds (0 when it cannot be read).
short orientationOf(HGLOBAL devMode);
