// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The main window: start-up, the fixed layout of its controls and its window procedure.
#ifndef ZEFMOR_MAIN_WINDOW_H
#define ZEFMOR_MAIN_WINDOW_H

#include <windows.h>

// The main window's outer size as designed; larger window frames make it grow (FitWindowToLayout).
const int kMainWindowWidth = 315;
const int kMainWindowHeight = 210;

// Registers the class, creates the window and its controls and loads the settings.
bool InitInstance();

// Creates the fifteen child controls; false when a control whose creation counts failed or the
// pane's copies cannot be marked.
bool CreateControls();

// Gives the twelve text-bearing controls the stock GUI font.
void SetControlFonts();

// Grows the main window by what its client area lacks for the layout; never shrinks it.
void FitWindowToLayout();

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
