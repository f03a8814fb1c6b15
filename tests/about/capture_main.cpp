// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// A stand-in mail program and browser for the tests: stores the link the shell hands it, as UTF-16.
#include <windows.h>
#include <shellapi.h>

#include <string>

// The test names the file through the environment, which the shell passes on to the handler.
int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t path[MAX_PATH] = L"";
    if (!argv || argc < 2 || !GetEnvironmentVariableW(L"ZEFMOR_CAPTURE_FILE", path, MAX_PATH))
        return 1;

    // Written under another name first, so the test never reads half a link.
    const std::wstring partial = std::wstring(path) + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, argv[1], static_cast<DWORD>(lstrlenW(argv[1]) * sizeof(wchar_t)), &written, NULL);
    CloseHandle(file);
    LocalFree(argv);
    return MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
