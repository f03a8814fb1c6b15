// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Saves the output pane's text to a file the user names, as Windows-1250 bytes.
#include <windows.h>
#include <commdlg.h>

#include "app_state.h"
#include "generator.h"

namespace {

// Temporary files this process has made: with its id, a name no other process uses.
DWORD g_nDocasneSoubory;

void ReportWriteError()
{
    MessageBoxW(NULL, TXT_CHYBA_ZAPISU, _AppName, MB_OK | MB_ICONHAND);
}

// The target must be replaceable the way an exclusive write would need: not read-only and
// not held open by anyone. A missing target is fine. `attributes` are the target's, just read.
bool CanReplace(const wchar_t* path, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// An existing file is given back the attributes it had: Wine's replace leaves the new file's
// own, and where the system kept them this changes nothing.
void KeepAttributes(const wchar_t* path, DWORD old)
{
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD settable = kept | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD now = GetFileAttributesW(path);
    if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != (old & kept)) {
        const DWORD wanted = (now & settable & ~kept) | (old & kept);
        SetFileAttributesW(path, wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
    }
}

// A new file beside `path` for the text, open for writing; its name is left in `temporary`.
HANDLE CreateTemporaryBeside(const wchar_t* path, wchar_t* temporary, DWORD capacity)
{
    // A name left behind by an earlier process with the same id is passed over, never reused.
    for (int tries = 0; tries < 100; ++tries) {
        if (!TemporaryNameBeside(path, temporary, capacity))
            return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// The text goes to a new file beside the target, which then takes the target's place in one
// step: a failure leaves the old file exactly as it was, and no new file behind.
bool ReplaceFileContents(const wchar_t* path, const char* bytes, DWORD length)
{
    const DWORD attributes = GetFileAttributesW(path);
    if (!CanReplace(path, attributes))
        return false;
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;

    wchar_t temporary[kTemporaryNameSize];
    HANDLE file = CreateTemporaryBeside(path, temporary, ARRAYSIZE(temporary));
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = (length == 0 || WriteFile(file, bytes, length, &written, NULL)) && written == length;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (ok && exists) {
        // The system carries the old file's security, creation time and streams over to the new one.
        ok = ReplaceFileW(path, temporary, NULL, 0, NULL, NULL);
        if (ok)
            KeepAttributes(path, attributes);
        else if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
            // The replace stopped half-way with the old file gone: the new text is the only copy
            // left, so it is put in place or, failing that, kept.
            return MoveFileExW(temporary, path, MOVEFILE_WRITE_THROUGH);
    } else if (ok) {
        ok = MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok)
        DeleteFileW(temporary);
    return ok;
}

}  // namespace

bool TemporaryNameBeside(const wchar_t* path, wchar_t* temporary, DWORD capacity)
{
    wchar_t* name = NULL;
    const DWORD full = GetFullPathNameW(path, capacity, temporary, &name);
    if (full == 0 || full >= capacity || !name)
        return false;
    wchar_t own[40];
    wsprintfW(own, L"~zef%lu-%lu.tmp", GetCurrentProcessId(), ++g_nDocasneSoubory);
    const DWORD folder = static_cast<DWORD>(name - temporary);

    // A name of MAX_PATH characters or more opens only in the extended form, "\\?\C:\..." or
    // "\\?\UNC\server\share\...".
    const bool unc = temporary[0] == L'\\' && temporary[1] == L'\\';
    const bool extended = unc && (temporary[2] == L'?' || temporary[2] == L'.');
    const wchar_t* prefix = L"";
    if (folder + lstrlenW(own) >= MAX_PATH && !extended)
        prefix = unc ? L"\\\\?\\UNC" : L"\\\\?\\";
    const DWORD skip = unc && *prefix ? 1 : 0;  // "\\server" becomes "\\?\UNC\server"
    const DWORD prefixLength = lstrlenW(prefix);
    if (prefixLength + folder - skip + lstrlenW(own) >= capacity)
        return false;
    MoveMemory(temporary + prefixLength, temporary + skip, (folder - skip) * sizeof(wchar_t));
    CopyMemory(temporary, prefix, prefixLength * sizeof(wchar_t));
    lstrcpyW(temporary + prefixLength + folder - skip, own);
    return true;
}

void SaveToFile()
{
    wchar_t path[255] = TXT_SOUBOR_JMENO;
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = g_hwndwMain;
    ofn.lpstrFilter = TXT_FILTR_SOUBORU;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = ARRAYSIZE(path);
    // The dialog is not to leave the process in the chosen folder, where it would hold a
    // removable drive until Zefmor ends.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = TXT_SOUBOR_PRIPONA;
    if (!GetSaveFileNameW(&ofn)) {
        // A cancel is no error; a dialog that failed, for a name too long for instance, is.
        if (CommDlgExtendedError() != 0)
            ReportWriteError();
        return;
    }

    // The pane is read after the dialog has closed: what is saved is what it holds now.
    const int length = GetWindowTextLengthW(g_hwndeHesla);
    HANDLE heap = GetProcessHeap();
    wchar_t* text = static_cast<wchar_t*>(HeapAlloc(heap, 0, (length + 1) * sizeof(wchar_t)));
    char* bytes = NULL;
    int byteCount = 0;
    // A character without its own Windows-1250 byte would be saved as another one, so the file
    // would no longer hold what the pane shows: such a save fails instead.
    BOOL inexact = FALSE;
    if (text) {
        GetWindowTextW(g_hwndeHesla, text, length + 1);
        byteCount = length ? WideCharToMultiByte(ZEFMOR_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text, length, NULL, 0,
                                                 NULL, &inexact)
                           : 0;
        bytes = static_cast<char*>(HeapAlloc(heap, 0, byteCount + 1));
        if (bytes && byteCount)
            WideCharToMultiByte(ZEFMOR_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text, length, bytes, byteCount, NULL, NULL);
    }
    if (!bytes || (length && !byteCount) || inexact ||
        !ReplaceFileContents(path, bytes, static_cast<DWORD>(byteCount)))
        ReportWriteError();

    FreeSecret(bytes, byteCount + 1);
    FreeSecret(text, (length + 1) * sizeof(wchar_t));
}
