// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The About box with its hyperlink control, and the bug-report mail.
#ifndef ZEFMOR_ABOUT_H
#define ZEFMOR_ABOUT_H

#include <windows.h>

// Hands a target to the shell; the About box and the bug report go through it.
typedef HINSTANCE (WINAPI* ShellExecuteFunc)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern ShellExecuteFunc g_pfnShellExecute;

// The wwwOdkaz class: underlined blue text sized to itself that reports clicks to its parent.
int RegisterLinkClass();

int ShowAbout(HINSTANCE instance, HWND owner);

// Opens a new mail to the author, pre-filled for a bug report.
void SendBugReport();

#endif
