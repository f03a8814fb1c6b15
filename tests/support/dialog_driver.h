// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Drives the modal dialogs and message boxes the program opens, from a second thread.
#ifndef ZEFMOR_TESTS_DIALOG_DRIVER_H
#define ZEFMOR_TESTS_DIALOG_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Called on the driver's thread with a dialog of this process as soon as it is visible.
typedef std::function<void(HWND dialog)> DialogStep;

struct DriveResult {
    int dialogsSeen = 0;
    bool timedOut = false;       // the watchdog had to cancel a dialog
    std::vector<std::wstring> captions;
};

// Runs `modal` on this thread; each dialog that opens meanwhile gets the next step. A dialog
// still open when the steps are used up, or any dialog after `timeoutMs`, is cancelled, so a
// broken test fails instead of hanging.
DriveResult DriveDialogs(const std::vector<DialogStep>& steps, const std::function<void()>& modal,
                         DWORD timeoutMs = 10000);

// Steps' helpers.
std::wstring DialogText(HWND dialog, int id);
void SetDialogText(HWND dialog, int id, const wchar_t* text);
// Posts a command as a button click would.
void PressButton(HWND dialog, int id);
// The save dialog's file-name box: the edit inside its combo box, or the plain edit of older layouts.
HWND FileNameField(HWND dialog);
// Types a file name into the save dialog and accepts it.
void AcceptFileName(HWND dialog, const wchar_t* path);
// The static text of a message box.
std::wstring MessageBoxText(HWND dialog);

#endif
