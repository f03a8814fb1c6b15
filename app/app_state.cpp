// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Definitions of the process-wide state; the two colours start as the system's window colours.
#include "app_state.h"

const wchar_t _AppName[] = L"Zefmor";

HWND g_hwndwMain;
HWND g_hwndeHesla;
HWND g_hwndePocetZnaku;
HWND g_hwndePocetHesel;
HWND g_hwndsPocetZnaku;
HWND g_hwndsPocetHesel;
HWND g_hwndUpPocetHesel;
HWND g_hwndUpPocetZnaku;
HWND g_hwndcVPismo;
HWND g_hwndcMPismo;
HWND g_hwndcCisla;
HWND g_hwndcSymboly;
HWND g_hwndbGeneruj;
HWND g_hwndbVymazat;
HWND g_hwndgNastaveni;
HINSTANCE g_hwndhInstance;

int g_bCisla;
int g_bSymboly;
int g_bVPismo;
int g_bMPismo;

int g_nPocetZnaku;
int g_nPocetHesel;

HBRUSH g_hbrPozadi;
HFONT g_hfPismo;
// Dynamic initialisation runs before WinMain, so these are in force before any window exists.
COLORREF g_crBarvaPisma = GetSysColor(COLOR_WINDOWTEXT);
COLORREF g_crBarvaPozadi = GetSysColor(COLOR_WINDOW);

HINSTANCE g_hwndhInstanceOdkaz;

COLORREF g_acrVlastni[16];
