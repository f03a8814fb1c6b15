// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The wwwOdkaz hyperlink control: its own text, underlined, in pure blue, sized to the text.
#include "about.h"
#include "app_state.h"
#include "resource.h"

namespace {

const wchar_t kLinkClass[] = L"wwwOdkaz";
// Room for 199 characters and the terminating zero; the rest of a longer text is not shown.
const int kLinkTextSize = 200;

// Made afresh for every measurement and paint: the stock GUI font, underlined.
HFONT CreateLinkFont()
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = 1;
    return CreateFontIndirectW(&lf);
}

void NotifyParent(HWND hwnd)
{
    const int id = GetDlgCtrlID(hwnd) == IDC_WEB_LINK ? IDC_WEB_LINK : IDC_MAIL_LINK;
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}

void LinkFitToText(HWND hwnd)
{
    wchar_t text[kLinkTextSize] = L"";
    GetWindowTextW(hwnd, text, kLinkTextSize);

    HDC dc = GetDC(hwnd);
    HFONT font = CreateLinkFont();
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    DeleteObject(font);

    SetWindowPos(hwnd, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
}

void LinkPaint(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HFONT font = CreateLinkFont();
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));

    wchar_t text[kLinkTextSize] = L"";
    GetWindowTextW(hwnd, text, kLinkTextSize);
    DrawTextW(dc, text, -1, &client, DT_SINGLELINE | DT_VCENTER);

    SelectObject(dc, previous);
    EndPaint(hwnd, &ps);
    DeleteObject(font);
}

LRESULT CALLBACK LinkWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        LinkFitToText(hwnd);
        break;
    case WM_SETTEXT: {
        // Fit to the new text once the default processing has stored it.
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        LinkFitToText(hwnd);
        return result;
    }
    case WM_PAINT:
        LinkPaint(hwnd);
        break;
    case WM_LBUTTONUP:
        NotifyParent(hwnd);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int RegisterLinkClass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = LinkWndProc;
    wc.hInstance = g_hwndhInstanceOdkaz;
    wc.hCursor = LoadCursorW(g_hwndhInstanceOdkaz, MAKEINTRESOURCEW(IDR_LINK_CURSOR));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kLinkClass;
    return RegisterClassExW(&wc) ? 1 : 0;
}
