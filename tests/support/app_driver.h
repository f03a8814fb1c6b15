// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Drives the program's own main window inside the calling process: start, close, messages,
// keystrokes, commands and the stored settings. Plain Win32, so tools can use it without gtest.
#ifndef ZEFMOR_TESTS_APP_DRIVER_H
#define ZEFMOR_TESTS_APP_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

// Puts the process-wide state back to what a fresh process has and removes every window.
void ResetAppState();

// WinMain's start-up without its loop; true when the window and its controls exist.
bool StartMainWindow();

// Closes the main window the way the user does (settings saved) and drains the quit message.
void CloseMainWindow();

// Dispatches whatever is waiting in this thread's queue.
void PumpMessages();

std::wstring TextOf(HWND hwnd);
// Types the text as keystrokes (WM_CHAR), one character at a time.
void TypeInto(HWND hwnd, const wchar_t* text);
void Command(int id);

// The settings key of the program in the test prefix's registry.
void DeleteSettingsKey();
// The stored bytes and type of a value; false when it does not exist.
bool GetValue(const wchar_t* name, DWORD* type, std::vector<BYTE>* data);

#endif
