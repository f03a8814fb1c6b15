// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The generate and clear commands: the output pane gets one password per line.
#include "app_state.h"
#include "generator.h"

void OnGenerate()
{
    SetWindowTextW(g_hwndeHesla, L"");
    GeneratePasswords();
}

void OnClear()
{
    SetWindowTextW(g_hwndeHesla, L"");
}

// All passwords of a run are drawn first and reach the pane in one step: rewriting the pane once
// per line made every run of 100 passwords a visible freeze.
void GeneratePasswords()
{
    ValidateInputs();
    if (!g_bVPismo && !g_bMPismo && !g_bCisla && !g_bSymboly)
        return;

    // With a zero characters count the passwords count goes unchecked; a run still writes at most
    // the top of its range.
    int hesel = g_nPocetHesel < kMaxPocetHesel ? g_nPocetHesel : kMaxPocetHesel;
    int znaku = g_nPocetZnaku < kMaxPocetZnaku ? g_nPocetZnaku : kMaxPocetZnaku;
    if (hesel <= 0)
        return;
    if (znaku < 0)
        znaku = 0;

    const int length = hesel * (znaku + 2);
    HANDLE heap = GetProcessHeap();
    char* codes = static_cast<char*>(HeapAlloc(heap, 0, length));
    wchar_t* text = static_cast<wchar_t*>(HeapAlloc(heap, 0, (length + 1) * sizeof(wchar_t)));
    bool complete = codes && text;
    for (int i = 0, pos = 0; complete && i < hesel; ++i) {
        for (int j = 0; complete && j < znaku; ++j) {
            const int code = GenerateChar();
            complete = code != 0;
            codes[pos++] = static_cast<char>(code);
        }
        codes[pos++] = '\r';
        codes[pos++] = '\n';
    }
    if (complete) {
        MultiByteToWideChar(ZEFMOR_CODE_PAGE, 0, codes, length, text, length);
        text[length] = L'\0';
        AppendOutput(text);
        // The append leaves the view on the last line; the user is to see the first password.
        SendMessageW(g_hwndeHesla, EM_SETSEL, 0, 0);
        SendMessageW(g_hwndeHesla, EM_SCROLLCARET, 0, 0);
    }
    FreeSecret(codes, length);
    FreeSecret(text, (length + 1) * sizeof(wchar_t));
}

void AppendOutput(const wchar_t* text)
{
    const int end = GetWindowTextLengthW(g_hwndeHesla);
    SendMessageW(g_hwndeHesla, EM_SETSEL, end, end);
    SendMessageW(g_hwndeHesla, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}
