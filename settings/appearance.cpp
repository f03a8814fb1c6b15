// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The output pane's look: font and text colour, background colour, and the standard look.
// The program owns at most one font and one brush; whoever replaces one deletes the old one.
#include <windows.h>
#include <commdlg.h>

#include "app_state.h"
#include "settings.h"

void RepaintPane()
{
    RedrawWindow(g_hwndeHesla, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
}

// The old font goes before the new one is made, so at most one created font is ever alive.
void SetPaneFont(const LOGFONTA* lf, BOOL redraw)
{
    if (g_hfPismo)
        DeleteObject(g_hfPismo);
    g_hfPismo = CreateFontIndirectA(lf);
    SendMessageW(g_hwndeHesla, WM_SETFONT, reinterpret_cast<WPARAM>(g_hfPismo), redraw);
    RepaintPane();
}

void SetPaneBackground(COLORREF colour)
{
    if (g_hbrPozadi)
        DeleteObject(g_hbrPozadi);
    g_hbrPozadi = CreateSolidBrush(colour);
    g_crBarvaPozadi = colour;
}

// A pane left on the system font after a failed font creation has no font of its own; the stock
// GUI font is the nearest description of what it shows.
void GetPaneFont(LOGFONTA* lf)
{
    HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessageW(g_hwndeHesla, WM_GETFONT, 0, 0));
    if (!current)
        current = GetStockObject(DEFAULT_GUI_FONT);
    ZeroMemory(lf, sizeof *lf);
    GetObjectA(current, sizeof *lf, lf);
}

void ChooseTextFont()
{
    LOGFONTA lf;
    GetPaneFont(&lf);

    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = g_hwndwMain;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    cf.rgbColors = g_crBarvaPisma;
    if (!ChooseFontA(&cf))
        return;

    g_crBarvaPisma = cf.rgbColors;
    SetPaneFont(&lf, TRUE);
}

void ChooseBackColor()
{
    // The custom colours live in the state, so the dialog offers them again within the run.
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_hwndwMain;
    cc.rgbResult = g_crBarvaPozadi;
    cc.lpCustColors = g_acrVlastni;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc))
        return;

    SetPaneBackground(cc.rgbResult);
    RepaintPane();
}

// Black on white in the stock GUI font, whatever the system colours. The created font stays
// allocated until the next accepted font choice replaces it.
void ResetAppearance()
{
    SendMessageW(g_hwndeHesla, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    g_crBarvaPisma = RGB(0, 0, 0);
    SetPaneBackground(RGB(255, 255, 255));
    RepaintPane();
}
