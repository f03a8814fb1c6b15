// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Copies and cuts from the output pane, marked so that clipboard history, the cloud clipboard and
// clipboard viewers leave the passwords alone.
#include <windows.h>
#include <commctrl.h>

#include "generator.h"

namespace {

// The formats Windows documents for keeping a copy out of clipboard history and off the cloud
// clipboard, and the one older clipboard managers honour. Each is given a DWORD 0: the two "Can"
// formats say no with it, the other two only need to be there.
const wchar_t* const kMarks[] = {
    L"ExcludeClipboardContentFromMonitorProcessing",
    L"CanIncludeInClipboardHistory",
    L"CanUploadToCloudClipboard",
    L"Clipboard Viewer Ignore",
};
const int kMarkCount = ARRAYSIZE(kMarks);

// Another program (a clipboard manager reading a copy) usually lets go within moments.
const int kOpenTries = 6;
const DWORD kOpenPauseMs = 50;

const UINT_PTR kPaneSubclassId = 1;

// False when nothing is selected.
bool GetSelection(HWND pane, DWORD* start, DWORD* end)
{
    SendMessageW(pane, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
    return *start < *end;
}

// The selected text as a block for CF_UNICODETEXT; NULL when nothing is selected or there is no
// memory for it.
HGLOBAL SelectionBlock(HWND pane)
{
    DWORD start = 0, end = 0;
    const int length = GetWindowTextLengthW(pane);
    if (!GetSelection(pane, &start, &end) || end > static_cast<DWORD>(length))
        return NULL;
    const SIZE_T textBytes = (length + 1) * sizeof(wchar_t);
    wchar_t* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, textBytes));
    HGLOBAL block = NULL;
    if (text && GetWindowTextW(pane, text, length + 1) >= static_cast<int>(end)) {
        text[end] = L'\0';
        block = GlobalAlloc(GMEM_MOVEABLE, (end - start + 1) * sizeof(wchar_t));
        void* selection = block ? GlobalLock(block) : NULL;
        if (selection) {
            CopyMemory(selection, text + start, (end - start + 1) * sizeof(wchar_t));
            GlobalUnlock(block);
        } else if (block) {
            GlobalFree(block);
            block = NULL;
        }
    }
    FreeSecret(text, textBytes);
    return block;
}

// For a block that held a password but never became the clipboard's.
void FreeSecretBlock(HGLOBAL block)
{
    if (!block)
        return;
    if (void* bytes = GlobalLock(block)) {
        SecureZeroMemory(bytes, GlobalSize(block));
        GlobalUnlock(block);
    }
    GlobalFree(block);
}

bool OpenClipboardBriefly(HWND owner)
{
    for (int tries = 1; !OpenClipboard(owner); ++tries) {
        if (tries == kOpenTries)
            return false;
        Sleep(kOpenPauseMs);
    }
    return true;
}

// True once the selection and its marks are on the clipboard. They go there in one opening, so no
// clipboard listener ever sees the text unmarked; all is allocated first, so a failure leaves the
// clipboard as it was.
bool CopySelection(HWND pane)
{
    HGLOBAL text = SelectionBlock(pane);
    if (!text)
        return false;
    UINT formats[kMarkCount] = {};
    HGLOBAL marks[kMarkCount] = {};
    bool ready = true;
    for (int i = 0; i < kMarkCount && ready; ++i) {
        formats[i] = RegisterClipboardFormatW(kMarks[i]);
        marks[i] = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));  // a DWORD 0
        ready = formats[i] && marks[i];
    }

    bool placed = false;
    if (ready && OpenClipboardBriefly(pane)) {
        placed = EmptyClipboard() != FALSE;
        // Each block handed over belongs to the clipboard from then on.
        for (int i = 0; i < kMarkCount && placed; ++i) {
            placed = SetClipboardData(formats[i], marks[i]) != NULL;
            if (placed)
                marks[i] = NULL;
        }
        placed = placed && SetClipboardData(CF_UNICODETEXT, text) != NULL;
        if (placed)
            text = NULL;
        else
            EmptyClipboard();  // marks without their text are no copy
        CloseClipboard();
    }
    for (HGLOBAL mark : marks) {
        if (mark)
            GlobalFree(mark);
    }
    FreeSecretBlock(text);
    return placed;
}

// Only a selection that reached the clipboard leaves the pane, and the pane's undo brings it back.
void CutSelection(HWND pane)
{
    if (CopySelection(pane))
        SendMessageW(pane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

bool IsHeld(int key)
{
    return GetKeyState(key) < 0;
}

// Wine's edit control copies for Ctrl+Insert and cuts for Shift+Delete by itself, without WM_COPY
// and WM_CUT, so those keys are taken here. Shift+Delete with nothing selected stays the edit's.
bool OnCopyOrCutKey(HWND pane, WPARAM key)
{
    DWORD start = 0, end = 0;
    if (key == VK_INSERT && IsHeld(VK_CONTROL) && !IsHeld(VK_SHIFT))
        CopySelection(pane);
    else if (key == VK_DELETE && IsHeld(VK_SHIFT) && !IsHeld(VK_CONTROL) && GetSelection(pane, &start, &end))
        CutSelection(pane);
    else
        return false;
    return true;
}

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_COPY:
        CopySelection(pane);
        return 0;
    case WM_CUT:
        CutSelection(pane);
        return 0;
    case WM_KEYDOWN:
        if (OnCopyOrCutKey(pane, wParam))
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(pane, PaneProc, id);
        break;
    }
    return DefSubclassProc(pane, message, wParam, lParam);
}

}  // namespace

bool MarkPaneCopies(HWND pane)
{
    return SetWindowSubclass(pane, PaneProc, kPaneSubclassId, 0) != FALSE;
}
