// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Runs the program's own start-up in the calling process and drives its main window.
#include "app_driver.h"

#include "app_state.h"
#include "main_window.h"

void ResetAppState()
{
    if (g_hwndwMain && IsWindow(g_hwndwMain))
        DestroyWindow(g_hwndwMain);
    PumpMessages();
    MSG msg;
    while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    UnregisterClassW(_AppName, GetModuleHandleW(NULL));
    if (g_hfPismo)
        DeleteObject(g_hfPismo);
    if (g_hbrPozadi)
        DeleteObject(g_hbrPozadi);

    HWND* const handles[] = {
        &g_hwndwMain, &g_hwndeHesla, &g_hwndePocetZnaku, &g_hwndePocetHesel, &g_hwndsPocetZnaku,
        &g_hwndsPocetHesel, &g_hwndUpPocetHesel, &g_hwndUpPocetZnaku, &g_hwndcVPismo,
        &g_hwndcMPismo, &g_hwndcCisla, &g_hwndcSymboly, &g_hwndbGeneruj, &g_hwndbVymazat,
        &g_hwndgNastaveni,
    };
    for (HWND* hwnd : handles)
        *hwnd = NULL;
    g_hwndhInstance = NULL;
    g_hwndhInstanceOdkaz = NULL;
    g_bCisla = g_bSymboly = g_bVPismo = g_bMPismo = 0;
    g_nPocetZnaku = g_nPocetHesel = 0;
    g_hbrPozadi = NULL;
    g_hfPismo = NULL;
    g_crBarvaPisma = GetSysColor(COLOR_WINDOWTEXT);
    g_crBarvaPozadi = GetSysColor(COLOR_WINDOW);
    ZeroMemory(g_acrVlastni, sizeof g_acrVlastni);
}

bool StartMainWindow()
{
    g_hwndhInstance = GetModuleHandleW(NULL);
    const bool ok = InitInstance();
    PumpMessages();
    return ok;
}

void CloseMainWindow()
{
    SendMessageW(g_hwndwMain, WM_CLOSE, 0, 0);
    PumpMessages();
    MSG msg;
    while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Keep it for whoever checks the loop's end.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TextOf(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, &text[0], length + 1));
    return text;
}

void TypeInto(HWND hwnd, const wchar_t* text)
{
    for (; *text; ++text)
        SendMessageW(hwnd, WM_CHAR, *text, 1);
}

void Command(int id)
{
    SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}


void DeleteSettingsKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TXT_KLIC_NASTAVENI);
    RegDeleteKeyW(HKEY_CURRENT_USER, TXT_KLIC_NASTAVENI);
}

bool GetValue(const wchar_t* name, DWORD* type, std::vector<BYTE>* data)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TXT_KLIC_NASTAVENI, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name, NULL, type, NULL, &size);
    if (rc == ERROR_SUCCESS) {
        data->resize(size);
        rc = RegQueryValueExW(key, name, NULL, type, data->data(), &size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
