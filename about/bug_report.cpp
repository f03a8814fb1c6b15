// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The bug-report mail: one mailto link with subject and body, handed to the shell.
#include "about.h"
#include "app_state.h"
#include "author.h"

void SendBugReport()
{
    // The parts go to the shell as they stand, not percent-encoded.
    wchar_t link[ARRAYSIZE(BUG_MAIL_TO) + ARRAYSIZE(BUG_MAIL_SUBJECT) + ARRAYSIZE(BUG_MAIL_BODY)];
    lstrcpyW(link, BUG_MAIL_TO);
    lstrcatW(link, BUG_MAIL_SUBJECT);
    lstrcatW(link, BUG_MAIL_BODY);
    g_pfnShellExecute(g_hwndwMain, L"open", link, NULL, NULL, SW_SHOW);
}
