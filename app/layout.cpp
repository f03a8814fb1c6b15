// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The main window's fifteen child controls, at fixed pixel positions, and their fonts.
#include <windows.h>
#include <commctrl.h>

#include "app_state.h"
#include "generator.h"
#include "main_window.h"
#include "resource.h"

namespace {

// One child control; up-downs also name their buddy and range.
struct ControlRow {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    int id;
    HWND* handle;   // NULL: neither kept nor checked (the client frame)
    HWND* buddy;
    int upper, lower;
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;

// Creation order matters: each up-down writes "1" into its buddy as soon as it exists.
const ControlRow kControls[] = {
    {L"EDIT", L"", kChild | WS_VSCROLL | ES_MULTILINE, WS_EX_CLIENTEDGE,
     0, 2, 149, 159, 0, &g_hwndeHesla, NULL, 0, 0},
    {L"STATIC", L"", kChild | SS_BLACKFRAME, 0, -2, 0, 330, 165, 0, NULL, NULL, 0, 0},
    {L"STATIC", TXT_POCET_HESEL, kChild, 0, 160, 10, 80, 15, 0, &g_hwndsPocetHesel, NULL, 0, 0},
    {L"EDIT", NULL, kChild | ES_NUMBER, WS_EX_CLIENTEDGE,
     230, 5, 50, 18, IDC_POCETHESEL, &g_hwndePocetHesel, NULL, 0, 0},
    {UPDOWN_CLASSW, NULL, kChild | UDS_SETBUDDYINT | UDS_HORZ, 0,
     280, 5, 20, 18, IDC_UPPOCETHESEL, &g_hwndUpPocetHesel, &g_hwndePocetHesel, kMaxPocetHesel, 1},
    {L"STATIC", TXT_POCET_ZNAKU, kChild, 0, 160, 25, 80, 15, 0, &g_hwndsPocetZnaku, NULL, 0, 0},
    {L"EDIT", NULL, kChild | ES_NUMBER, WS_EX_CLIENTEDGE,
     230, 25, 50, 18, IDC_POCETZNAKU, &g_hwndePocetZnaku, NULL, 0, 0},
    {UPDOWN_CLASSW, NULL, kChild | UDS_SETBUDDYINT | UDS_HORZ, 0,
     280, 25, 20, 18, IDC_UPPOCETZNAKU, &g_hwndUpPocetZnaku, &g_hwndePocetZnaku, kMaxPocetZnaku, 1},
    {L"BUTTON", TXT_NASTAVENI, kChild | BS_GROUPBOX, 0, 160, 50, 140, 75, 0, &g_hwndgNastaveni, NULL, 0, 0},
    {L"BUTTON", TXT_VPISMO, kChild | BS_AUTOCHECKBOX, 0, 170, 70, 50, 18, IDC_VPISMO, &g_hwndcVPismo, NULL, 0, 0},
    {L"BUTTON", TXT_MPISMO, kChild | BS_AUTOCHECKBOX, 0, 235, 70, 50, 18, IDC_MPISMO, &g_hwndcMPismo, NULL, 0, 0},
    {L"BUTTON", TXT_CISLA, kChild | BS_AUTOCHECKBOX, 0, 170, 95, 50, 18, IDC_CISLA, &g_hwndcCisla, NULL, 0, 0},
    {L"BUTTON", TXT_SYMBOLY, kChild | BS_AUTOCHECKBOX, 0, 235, 95, 50, 18, IDC_SYMBOLY, &g_hwndcSymboly, NULL, 0, 0},
    {L"BUTTON", TXT_GENERUJ, kChild | BS_PUSHBUTTON, 0, 175, 135, 50, 20, ID_AKCE_GENERUJ, &g_hwndbGeneruj, NULL, 0, 0},
    {L"BUTTON", TXT_VYMAZAT, kChild | BS_PUSHBUTTON, 0, 235, 135, 50, 20, ID_AKCE_VYMAZ, &g_hwndbVymazat, NULL, 0, 0},
};

// The client area the layout was made for: what the designed outer size leaves inside classic
// frames (19-px caption and menu bar, 3-px border). The pane ends at y 161, the buttons at 155,
// the group box and the arrows at x 300; the client frame is wider on purpose.
const int kLayoutClientWidth = 309;
const int kLayoutClientHeight = 166;

HWND CreateRow(const ControlRow& row)
{
    if (row.buddy)
        return CreateUpDownControl(row.style, row.x, row.y, row.width, row.height, g_hwndwMain,
                                   row.id, g_hwndhInstance, *row.buddy, row.upper, row.lower,
                                   row.lower);
    return CreateWindowExW(row.exStyle, row.className, row.text, row.style, row.x, row.y,
                           row.width, row.height, g_hwndwMain,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                           g_hwndhInstance, NULL);
}

}  // namespace

bool CreateControls()
{
    for (const ControlRow& row : kControls) {
        HWND hwnd = CreateRow(row);
        if (!row.handle)
            continue;
        *row.handle = hwnd;
        if (!hwnd)
            return false;
    }
    return MarkPaneCopies(g_hwndeHesla);
}

void SetControlFonts()
{
    HWND* const fonted[] = {
        &g_hwndeHesla, &g_hwndsPocetHesel, &g_hwndsPocetZnaku, &g_hwndePocetHesel,
        &g_hwndePocetZnaku, &g_hwndcVPismo, &g_hwndcMPismo, &g_hwndcCisla, &g_hwndcSymboly,
        &g_hwndgNastaveni, &g_hwndbGeneruj, &g_hwndbVymazat,
    };
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND* hwnd : fonted)
        SendMessageW(*hwnd, WM_SETFONT, font, TRUE);
}

// Taller captions and menu bars and padded borders (as on Windows 10 and 11) would cut off the
// bottom of the pane and the buttons at the designed size.
void FitWindowToLayout()
{
    RECT outer, client;
    GetWindowRect(g_hwndwMain, &outer);
    GetClientRect(g_hwndwMain, &client);
    const int wider = client.right < kLayoutClientWidth ? kLayoutClientWidth - client.right : 0;
    const int taller = client.bottom < kLayoutClientHeight ? kLayoutClientHeight - client.bottom : 0;
    if (wider || taller)
        SetWindowPos(g_hwndwMain, NULL, 0, 0, outer.right - outer.left + wider,
                     outer.bottom - outer.top + taller, SWP_NOMOVE | SWP_NOZORDER);
}
