// Saves the output pane's text to a file the user names, as Windows-1250 bytes.
#include <windows.h>
#include <commdlg.h>

#include "app_state.h"
#include "generator.h"

namespace {

void ReportWriteError()
{
    MessageBoxW(NULL, TXT_CHYBA_ZAPISU, _AppName, MB_OK | MB_ICONHAND);
}

// The target must be replaceable the way an exclusive write would need: not read-only and
// not held open by anyone. A missing target is fine.
bool CanReplace(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
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

bool WriteAll(const wchar_t* path, const char* bytes, DWORD length)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = (length == 0 || WriteFile(file, bytes, length, &written, NULL)) && written == length;
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}

// The text goes to a new file beside the target, which then takes the target's place in one
// step: a failure at any point leaves the old file exactly as it was.
bool ReplaceFileContents(const wchar_t* path, const char* bytes, DWORD length)
{
    if (!CanReplace(path))
        return false;

    wchar_t folder[MAX_PATH];
    wchar_t* name = NULL;
    const DWORD full = GetFullPathNameW(path, ARRAYSIZE(folder), folder, &name);
    if (full == 0 || full >= ARRAYSIZE(folder) || !name)
        return false;
    *name = L'\0';

    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(folder, L"zef", 0, temporary))
        return false;
    if (WriteAll(temporary, bytes, length) &&
        MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary);
    return false;
}

}  // namespace

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
    ofn.Flags = OFN_PATHMUSTEXIST;
    ofn.lpstrDefExt = TXT_SOUBOR_PRIPONA;
    if (!GetSaveFileNameW(&ofn))
        return;

    // The pane is read after the dialog has closed: what is saved is what it holds now.
    const int length = GetWindowTextLengthW(g_hwndeHesla);
    HANDLE heap = GetProcessHeap();
    wchar_t* text = static_cast<wchar_t*>(HeapAlloc(heap, 0, (length + 1) * sizeof(wchar_t)));
    char* bytes = NULL;
    int byteCount = 0;
    if (text) {
        GetWindowTextW(g_hwndeHesla, text, length + 1);
        byteCount = length ? WideCharToMultiByte(ZEFMOR_CODE_PAGE, 0, text, length, NULL, 0, NULL, NULL) : 0;
        bytes = static_cast<char*>(HeapAlloc(heap, 0, byteCount + 1));
        if (bytes && byteCount)
            WideCharToMultiByte(ZEFMOR_CODE_PAGE, 0, text, length, bytes, byteCount, NULL, NULL);
    }
    if (!bytes || (length && !byteCount) ||
        !ReplaceFileContents(path, bytes, static_cast<DWORD>(byteCount)))
        ReportWriteError();

    FreeSecret(bytes, byteCount + 1);
    FreeSecret(text, (length + 1) * sizeof(wchar_t));
}
