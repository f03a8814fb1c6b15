// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Copies the counts and class boxes into the state and puts out-of-range counts back in range.
#include <stdlib.h>

#include "app_state.h"
#include "generator.h"
#include "resource.h"

namespace {

// At most nine characters are taken, converted the way atoi does (sign, digits, stop).
int ReadCount(HWND edit)
{
    wchar_t text[10] = L"";
    GetWindowTextW(edit, text, ARRAYSIZE(text));
    return _wtoi(text);
}

int ReadFlag(int id)
{
    return IsDlgButtonChecked(g_hwndwMain, id) == BST_CHECKED ? 1 : 0;
}

}  // namespace

void ReadControls()
{
    g_nPocetHesel = ReadCount(g_hwndePocetHesel);
    g_nPocetZnaku = ReadCount(g_hwndePocetZnaku);
    g_bVPismo = ReadFlag(IDC_VPISMO);
    g_bMPismo = ReadFlag(IDC_MPISMO);
    g_bCisla = ReadFlag(IDC_CISLA);
    g_bSymboly = ReadFlag(IDC_SYMBOLY);
}

// Writing an edit's number raises EN_CHANGE, which comes back here nested; each correction brings
// one count into range, so the nesting stops after two levels.
void ValidateInputs()
{
    ReadControls();
    if (g_nPocetZnaku == 0 || g_nPocetHesel == 0)
        return;

    if (g_nPocetHesel < 1 || g_nPocetHesel > kMaxPocetHesel) {
        g_nPocetHesel = kMaxPocetHesel;
        SetDlgItemInt(g_hwndwMain, IDC_POCETHESEL, kMaxPocetHesel, FALSE);
        SetFocus(g_hwndePocetHesel);
    }
    // The correction above may already have corrected this count in its nested run.
    if (g_nPocetZnaku < 1 || g_nPocetZnaku > kMaxPocetZnaku) {
        SetFocus(g_hwndePocetZnaku);
        SetDlgItemInt(g_hwndwMain, IDC_POCETZNAKU, kMaxPocetZnaku, FALSE);
        g_nPocetZnaku = kMaxPocetZnaku;
    }
}
