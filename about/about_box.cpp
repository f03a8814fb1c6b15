// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The modal About box: name, version, a separator line and the two links to the author.
#include "about.h"
#include "app_state.h"
#include "author.h"
#include "resource.h"

namespace {

void OpenTarget(HWND dialog, const wchar_t* target)
{
    g_pfnShellExecute(dialog, L"open", target, NULL, NULL, SW_SHOWNORMAL);
}

// The separator is drawn in pixels, not dialog units, across the whole box.
void PaintSeparator(HWND dialog)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    MoveToEx(dc, 0, 50, NULL);
    LineTo(dc, 300, 50);
    EndPaint(dialog, &ps);
}

void OnAboutCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDOK:          EndDialog(dialog, IDOK); break;
    case IDCANCEL:      EndDialog(dialog, IDCANCEL); break;
    case IDC_WEB_LINK:  OpenTarget(dialog, ABOUT_WEB_TARGET); break;
    case IDC_MAIL_LINK: OpenTarget(dialog, ABOUT_MAIL_TARGET); break;
    }
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_PAINT:
        PaintSeparator(dialog);
        break;
    case WM_COMMAND:
        OnAboutCommand(dialog, LOWORD(wParam));
        break;
    }
    return FALSE;
}

}  // namespace

int ShowAbout(HINSTANCE instance, HWND owner)
{
    g_hwndhInstanceOdkaz = instance;
    // From the second opening on the class exists already and the first registration serves.
    RegisterLinkClass();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDlgProc, 0);
    return 1;
}
