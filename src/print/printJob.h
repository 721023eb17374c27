// The print job: page range, copies and collation, behind a progress dialog
// whose Cancel abandons the job.
#pragma once
#include <windows.h>

#include "pageMetrics.h"

extern int32_t printCancelled;
extern HWND progressDialog;

int printDocument(HWND owner, HDC printer, const PageMetrics* metrics);

// "印刷できません。" (printing is not possible), owned by `owner`.
void reportPrintFailure(HWND owner);
INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK printAbortProc(HDC dc, int error);
