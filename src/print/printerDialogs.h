// The page-setup and print dialogs on the program's printer. The printer's
// DEVMODE and DEVNAMES handles have one owner, printerDevMode and
// printerDevNames: a dialog borrows them for its call only, and whatever it
// hands back (the same handles, or new ones after freeing ours) becomes the
// owner's again. A cancelled dialog leaves the records, orientation, paper
// and margins as they were before it opened.
#pragma once
#include <windows.h>
#include <commdlg.h>

BOOL runPageSetupDialog();
BOOL runPrintDialog();
