// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Stands in for the shell in the About tests: records every target the program hands over.
#ifndef ZEFMOR_TESTS_SHELL_RECORDER_H
#define ZEFMOR_TESTS_SHELL_RECORDER_H

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "about.h"
#include "app_fixture.h"

// One shell call as text, so a mismatch shows every argument at once.
inline std::wstring ShellCall(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                              int show)
{
    return L"owner " + std::to_wstring(reinterpret_cast<UINT_PTR>(owner)) + L", " + (verb ? verb : L"-") + L" [" +
           (file ? file : L"-") + L"] " + (parameters ? parameters : L"-") + L" " + (directory ? directory : L"-") +
           L", show " + std::to_wstring(show);
}

// Written on the GUI thread inside a modal loop, read by the dialog driver's thread.
inline std::mutex g_shellCallsLock;
inline std::vector<std::wstring> g_shellCalls;

inline HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                           LPCWSTR directory, INT show)
{
    std::lock_guard<std::mutex> hold(g_shellCallsLock);
    g_shellCalls.push_back(ShellCall(owner, verb, file, parameters, directory, show));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what success looks like
}

inline std::vector<std::wstring> ShellCalls()
{
    std::lock_guard<std::mutex> hold(g_shellCallsLock);
    return g_shellCalls;
}

// Polls until `done` holds or the time is up; the caller checks the outcome itself.
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// The real main window, with the shell replaced by the recorder.
class RecordedShellTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g_shellCalls.clear();
        g_pfnShellExecute = RecordShellExecute;
    }
    void TearDown() override
    {
        g_pfnShellExecute = previous_;
        MainWindowTest::TearDown();
    }

private:
    const ShellExecuteFunc previous_ = g_pfnShellExecute;
};

#endif
