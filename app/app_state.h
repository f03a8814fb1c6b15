// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The process-wide state of Zefmor: window handles, generation settings and the pane's look.
#ifndef ZEFMOR_APP_STATE_H
#define ZEFMOR_APP_STATE_H

#include <windows.h>

#include "texts.h"

extern HWND g_hwndwMain;
extern HWND g_hwndeHesla;
extern HWND g_hwndePocetZnaku;
extern HWND g_hwndePocetHesel;
extern HWND g_hwndsPocetZnaku;
extern HWND g_hwndsPocetHesel;
extern HWND g_hwndUpPocetHesel;
extern HWND g_hwndUpPocetZnaku;
extern HWND g_hwndcVPismo;
extern HWND g_hwndcMPismo;
extern HWND g_hwndcCisla;
extern HWND g_hwndcSymboly;
extern HWND g_hwndbGeneruj;
extern HWND g_hwndbVymazat;
extern HWND g_hwndgNastaveni;
extern HINSTANCE g_hwndhInstance;

// Character classes: 1 or 0 as read from the boxes; any non-zero value from the registry means on.
extern int g_bCisla;
extern int g_bSymboly;
extern int g_bVPismo;
extern int g_bMPismo;

// Counts as read from the edits (valid 1-20 and 1-100).
extern int g_nPocetZnaku;
extern int g_nPocetHesel;

// Appearance of the output pane; the brush and font are the program's own, at most one of each.
extern HBRUSH g_hbrPozadi;
extern HFONT g_hfPismo;
extern COLORREF g_crBarvaPisma;
extern COLORREF g_crBarvaPozadi;

extern HINSTANCE g_hwndhInstanceOdkaz;

// Custom colours of the colour dialog, kept for the run only.
extern COLORREF g_acrVlastni[16];

#endif
