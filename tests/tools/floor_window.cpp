// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// What any program with Zefmor's window has to do to show it: the class with the icon and the
// menu, the window at the designed size and place, and the fifteen child controls with the stock
// GUI font, each made by one call. No table, no settings, no state kept.
#include "floor_window.h"

#include <commctrl.h>

#include "generator.h"
#include "main_window.h"
#include "resource.h"
#include "texts.h"

const wchar_t kFloorClassName[] = L"ZefmorFloor";

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE;

LRESULT CALLBACK FloorWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    // WM_CLOSE takes the default path: the window is destroyed and the loop ends with 0.
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Control(HWND parent, HINSTANCE instance, DWORD exStyle, const wchar_t* className, const wchar_t* text,
             DWORD style, int x, int y, int width, int height, int id)
{
    return CreateWindowExW(exStyle, className, text, kChild | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, NULL);
}

}  // namespace

HWND CreateFloorWindow(HINSTANCE instance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FloorWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEFMOR));
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = kFloorClassName;
    if (!RegisterClassExW(&wc))
        return NULL;
    HWND main = CreateWindowExW(0, kFloorClassName, L"Zefmor", WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                                280, 100, kMainWindowWidth, kMainWindowHeight, NULL, NULL, instance, NULL);
    if (!main)
        return NULL;

    const HWND pane = Control(main, instance, WS_EX_CLIENTEDGE, L"EDIT", L"", WS_VSCROLL | ES_MULTILINE, 0, 2, 149, 159, 0);
    const HWND frame = Control(main, instance, 0, L"STATIC", L"", SS_BLACKFRAME, -2, 0, 330, 165, 0);
    const HWND heselLabel = Control(main, instance, 0, L"STATIC", TXT_POCET_HESEL, 0, 160, 10, 80, 15, 0);
    const HWND hesel = Control(main, instance, WS_EX_CLIENTEDGE, L"EDIT", NULL, ES_NUMBER, 230, 5, 50, 18, IDC_POCETHESEL);
    const HWND heselArrows = CreateUpDownControl(kChild | UDS_SETBUDDYINT | UDS_HORZ, 280, 5, 20, 18, main,
                                                 IDC_UPPOCETHESEL, instance, hesel, kMaxPocetHesel, 1, 1);
    const HWND znakuLabel = Control(main, instance, 0, L"STATIC", TXT_POCET_ZNAKU, 0, 160, 25, 80, 15, 0);
    const HWND znaku = Control(main, instance, WS_EX_CLIENTEDGE, L"EDIT", NULL, ES_NUMBER, 230, 25, 50, 18, IDC_POCETZNAKU);
    const HWND znakuArrows = CreateUpDownControl(kChild | UDS_SETBUDDYINT | UDS_HORZ, 280, 25, 20, 18, main,
                                                 IDC_UPPOCETZNAKU, instance, znaku, kMaxPocetZnaku, 1, 1);
    const HWND group = Control(main, instance, 0, L"BUTTON", TXT_NASTAVENI, BS_GROUPBOX, 160, 50, 140, 75, 0);
    const HWND vPismo = Control(main, instance, 0, L"BUTTON", TXT_VPISMO, BS_AUTOCHECKBOX, 170, 70, 50, 18, IDC_VPISMO);
    const HWND mPismo = Control(main, instance, 0, L"BUTTON", TXT_MPISMO, BS_AUTOCHECKBOX, 235, 70, 50, 18, IDC_MPISMO);
    const HWND cisla = Control(main, instance, 0, L"BUTTON", TXT_CISLA, BS_AUTOCHECKBOX, 170, 95, 50, 18, IDC_CISLA);
    const HWND symboly = Control(main, instance, 0, L"BUTTON", TXT_SYMBOLY, BS_AUTOCHECKBOX, 235, 95, 50, 18, IDC_SYMBOLY);
    const HWND generuj = Control(main, instance, 0, L"BUTTON", TXT_GENERUJ, BS_PUSHBUTTON, 175, 135, 50, 20, ID_AKCE_GENERUJ);
    const HWND vymazat = Control(main, instance, 0, L"BUTTON", TXT_VYMAZAT, BS_PUSHBUTTON, 235, 135, 50, 20, ID_AKCE_VYMAZ);

    const HWND all[] = {pane, frame, heselLabel, hesel, heselArrows, znakuLabel, znaku, znakuArrows,
                        group, vPismo, mPismo, cisla, symboly, generuj, vymazat};
    for (HWND hwnd : all) {
        if (!hwnd) {
            DestroyWindow(main);
            return NULL;
        }
    }
    // Every control but the client frame and the arrows shows text.
    const HWND fonted[] = {pane, heselLabel, znakuLabel, hesel, znaku, vPismo, mPismo, cisla, symboly, group, generuj, vymazat};
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND hwnd : fonted)
        SendMessageW(hwnd, WM_SETFONT, font, TRUE);
    UpdateWindow(main);
    return main;
}
