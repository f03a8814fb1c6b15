// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Holds the clipboard for the tests as a clipboard manager does: takes it, puts "held" on it and
// keeps it open for the milliseconds given; given an event's name too, it counts them from when
// the test sets that event.
#include <windows.h>

#include <stdlib.h>

int main(int argc, char** argv)
{
    // Without an owner window nothing could be put on it.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, sizeof L"held");
    if (argc < 2 || !owner || !text || !OpenClipboard(owner) || !EmptyClipboard())
        return 1;
    CopyMemory(GlobalLock(text), L"held", sizeof L"held");
    GlobalUnlock(text);
    SetClipboardData(CF_UNICODETEXT, text);
    if (argc > 2) {
        HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
        if (!start || WaitForSingleObject(start, 10000) != WAIT_OBJECT_0)
            return 1;
    }
    Sleep(strtoul(argv[1], NULL, 10));
    return CloseClipboard() ? 0 : 1;
}
