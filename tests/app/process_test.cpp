// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The built Zefmor.exe as a user starts it: its own process, window, exit code and randomness.
#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "resource.h"

namespace {

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"Zefmor.exe";
}

struct Running {
    PROCESS_INFORMATION pi = {};
    HWND main = NULL;
};

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lParam)
{
    Search* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, ARRAYSIZE(cls));
    if (pid == s->pid && lstrcmpW(cls, L"Zefmor") == 0 && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Starts the program and waits (bounded) until its window is up and idle.
Running Start(const wchar_t* arguments = L"")
{
    Running r;
    std::wstring command = L"\"" + ProgramPath() + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &r.pi))
        return r;
    WaitForInputIdle(r.pi.hProcess, 10000);
    for (int i = 0; i < 500 && !r.main; ++i) {
        Search s = {r.pi.dwProcessId, NULL};
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
        r.main = s.found;
        if (!r.main)
            Sleep(20);
    }
    return r;
}

DWORD Stop(Running& r, UINT message, WPARAM wParam)
{
    PostMessageW(r.main, message, wParam, 0);
    DWORD code = 12345;
    if (WaitForSingleObject(r.pi.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(r.pi.hProcess, &code);
    else
        TerminateProcess(r.pi.hProcess, 99);
    CloseHandle(r.pi.hThread);
    CloseHandle(r.pi.hProcess);
    return code;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(ProcessTest, OpensItsWindowAndExitsWithZeroWhenClosed)
{
    FrameMetrics classic;
    ASSERT_TRUE(classic.Set());
    Running r = Start(L"any /arguments are ignored");
    ASSERT_NE(nullptr, r.main);
    RECT rc;
    GetWindowRect(r.main, &rc);
    EXPECT_EQ(280, rc.left);
    EXPECT_EQ(315, rc.right - rc.left);
    EXPECT_EQ(210, rc.bottom - rc.top);
    EXPECT_EQ(0u, Stop(r, WM_CLOSE, 0));
    DWORD type;
    std::vector<BYTE> data;
    EXPECT_TRUE(GetValue(L"Pismo", &type, &data)) << "settings saved on close";

    Running again = Start();
    ASSERT_NE(nullptr, again.main);
    EXPECT_EQ(0u, Stop(again, WM_COMMAND, ID_SOUBOR_KONEC));
}

std::wstring Generate(HWND main)
{
    SetDlgItemTextW(main, 786, L"100");
    SetDlgItemTextW(main, 785, L"20");
    for (int id = 781; id <= 784; ++id)
        SendDlgItemMessageW(main, id, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(main, WM_COMMAND, ID_AKCE_GENERUJ, 0);
    wchar_t text[4096] = L"";
    SendMessageW(GetWindow(main, GW_CHILD), WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(ProcessTest, TwoCopiesStartedTogetherDrawDifferentPasswords)
{
    Running a = Start();
    Running b = Start();
    ASSERT_NE(nullptr, a.main);
    ASSERT_NE(nullptr, b.main);
    const std::wstring first = Generate(a.main);
    const std::wstring second = Generate(b.main);
    EXPECT_EQ(2200u, first.size());
    EXPECT_EQ(2200u, second.size());
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, Stop(a, WM_CLOSE, 0));
    EXPECT_EQ(0u, Stop(b, WM_CLOSE, 0));
}

}  // namespace
