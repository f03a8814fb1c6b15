// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Process entry: registers the main window class, opens the window and runs the message loop.
#include <objbase.h>

#include "app_state.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"

bool InitInstance()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_hwndhInstance;
    wc.hIcon = LoadIconW(g_hwndhInstance, MAKEINTRESOURCEW(IDI_ZEFMOR));
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = _AppName;
    if (!RegisterClassExW(&wc))
        return false;

    // Fixed size and place: no sizing border, no maximise box; shown by WS_VISIBLE.
    g_hwndwMain = CreateWindowExW(0, _AppName, _AppName,
                                  WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                                  280, 100, kMainWindowWidth, kMainWindowHeight, NULL, NULL,
                                  g_hwndhInstance, NULL);
    if (!g_hwndwMain)
        return false;
    FitWindowToLayout();

    if (!CreateControls())
        return false;
    SetControlFonts();
    LoadSettings();
    // The up-downs take no font, so nothing above asked them to paint, and the client frame made
    // after them lies over them: some systems would show the window without its arrows.
    RedrawWindow(g_hwndwMain, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateWindow(g_hwndwMain);
    return true;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    g_hwndhInstance = hInstance;
    // The shell's open verb may hand a link to a handler that is a COM object, so the thread
    // that calls it is a single-threaded apartment from before the first window to the end.
    const HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = -1;
    if (InitInstance()) {
        MSG msg;
        while (GetMessageW(&msg, NULL, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        code = 0;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return code;
}
