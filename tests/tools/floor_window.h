// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The floor of Zefmor's start-up: its window, menu and fifteen controls built the plain way.
#ifndef ZEFMOR_TESTS_FLOOR_WINDOW_H
#define ZEFMOR_TESTS_FLOOR_WINDOW_H

#include <windows.h>

extern const wchar_t kFloorClassName[];

// Registers the class and makes the window, visible and painted, with Zefmor's menu, size and
// controls; NULL when the window or a control could not be made. Its WM_DESTROY posts WM_QUIT.
HWND CreateFloorWindow(HINSTANCE instance);

#endif
