// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The floor of Zefmor's start-up as a program: the same DLLs, manifest, menu and fifteen
// controls, and nothing else before its message loop. Zefmor's start-up is measured against it.
#include <windows.h>
#include <bcrypt.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include "floor_window.h"

namespace {

// One function of each DLL Zefmor imports beyond the window's own: its settings, the random
// draws, the save dialog, COM and the shell. This program calls none of them (no settings, no
// COM), but taking their addresses keeps their DLLs in its import table, so the loader maps and
// initialises the same DLLs for both programs.
const void* const volatile kOtherImports[] = {
    reinterpret_cast<const void*>(&RegQueryValueExW),
    reinterpret_cast<const void*>(&BCryptGenRandom),
    reinterpret_cast<const void*>(&GetSaveFileNameW),
    reinterpret_cast<const void*>(&CoInitializeEx),
    reinterpret_cast<const void*>(&ShellExecuteW),
};

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // Read once, so that no compiler or linker can drop the table.
    for (const void* function : kOtherImports) {
        if (!function)
            return -1;
    }
    if (!CreateFloorWindow(hInstance))
        return -1;
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
