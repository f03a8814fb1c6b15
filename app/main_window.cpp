// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The main window procedure: command routing, closing, and the output pane's colours.
#include "about.h"
#include "app_state.h"
#include "generator.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"

namespace {

void OnCountChanged(WORD notification)
{
    if (notification == EN_CHANGE)
        ValidateInputs();
}

void OnCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case ID_SOUBOR_KONEC:                SendMessageW(g_hwndwMain, WM_CLOSE, 0, 0); break;
    case ID_SOUBOR_ULOZIT:               SaveToFile(); break;
    case ID_AKCE_GENERUJ:                OnGenerate(); break;
    case ID_AKCE_VYMAZ:                  OnClear(); break;
    case ID_NASTAVENI_PISMO:             ChooseTextFont(); break;
    case ID_NASTAVENI_POZADI:            ChooseBackColor(); break;
    case ID_NASTAVENI_STANDARDNIHODNOTY: ResetAppearance(); break;
    case ID_NAPOVEDA_HLASENICHYBY:       SendBugReport(); break;
    case ID_NAPOVEDA_OPROGRAMU:          ShowAbout(g_hwndhInstance, g_hwndwMain); break;
    case IDC_POCETZNAKU:                 OnCountChanged(HIWORD(wParam)); break;
    case IDC_POCETHESEL:                 OnCountChanged(HIWORD(wParam)); break;
    }
}

// Only the output pane takes the chosen colours; the count edits keep the system's.
LRESULT OnColorPane(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    DefWindowProcW(hwnd, WM_CTLCOLOREDIT, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, g_crBarvaPisma);
    SetBkColor(dc, g_crBarvaPozadi);
    HBRUSH brush = g_hbrPozadi ? g_hbrPozadi : GetSysColorBrush(COLOR_WINDOW);
    return reinterpret_cast<LRESULT>(brush);
}

// The frames were measured again: back to the designed size, grown only where the layout needs it.
// A minimised window has no client area to measure.
void OnFrameMetricsChanged()
{
    if (IsIconic(g_hwndwMain))
        return;
    SetWindowPos(g_hwndwMain, NULL, 0, 0, kMainWindowWidth, kMainWindowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    FitWindowToLayout();
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        SaveSettings();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            OnFrameMetricsChanged();
        break;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == g_hwndeHesla)
            return OnColorPane(hwnd, wParam, lParam);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
