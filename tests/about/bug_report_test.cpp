// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The bug-report mail, and the links followed through the real shell to a registered handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_state.h"
#include "author.h"
#include "dialog_driver.h"
#include "resource.h"
#include "shell_recorder.h"

namespace {

const std::wstring kBugReportLink =
    L"mailto:" AUTHOR_MAIL L"?subject=Hlášení chyby - Zefmor v. 2.00.01.07&body=Zde popište problém:";

class BugReportTest : public RecordedShellTest {};

TEST_F(BugReportTest, HandsTheSameFullLinkToTheShellOnEveryUse)
{
    Command(ID_NAPOVEDA_HLASENICHYBY);
    Command(ID_AKCE_GENERUJ);
    Command(ID_NAPOVEDA_HLASENICHYBY);
    const std::wstring call = ShellCall(g_hwndwMain, L"open", kBugReportLink.c_str(), NULL, NULL, SW_SHOW);
    EXPECT_EQ(std::vector<std::wstring>({call, call}), ShellCalls());
}

std::wstring ExeDirectory()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, path, MAX_PATH);
    const std::wstring exe = path;
    return exe.substr(0, exe.find_last_of(L'\\') + 1);
}

// The prefix's handlers for the link schemes (looked up under HKLM only) are swapped for
// capture_link.exe, which writes what it is given to the file named in the environment.
class ShellHandlerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetEnvironmentVariableW(L"ZEFMOR_CAPTURE_FILE", captured_.c_str());
        DeleteFileW(captured_.c_str());
        const std::wstring handler = L"\"" + ExeDirectory() + L"capture_link.exe\" \"%1\"";
        for (int i = 0; i < 3; ++i) {
            DWORD size = sizeof saved_[i];
            if (RegGetValueW(HKEY_LOCAL_MACHINE, kKeys[i], NULL, RRF_RT_REG_SZ, NULL, saved_[i], &size) != 0)
                saved_[i][0] = 0;
            ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKeys[i], NULL, REG_SZ, handler.c_str(),
                                                     static_cast<DWORD>((handler.size() + 1) * sizeof(wchar_t))));
            swapped_ = i + 1;
        }
    }
    void TearDown() override
    {
        for (int i = 0; i < swapped_; ++i) {
            if (saved_[i][0])
                RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKeys[i], NULL, REG_SZ, saved_[i],
                                static_cast<DWORD>((lstrlenW(saved_[i]) + 1) * sizeof(wchar_t)));
            else
                RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKeys[i], NULL);
        }
        SetEnvironmentVariableW(L"ZEFMOR_CAPTURE_FILE", NULL);
        DeleteFileW(captured_.c_str());
        MainWindowTest::TearDown();
    }

    // The handler runs in its own process on its own time; "" means it never wrote. The file shows
    // only when complete, but its rename may still hold it open for a moment.
    std::wstring WaitForCapturedLink()
    {
        HANDLE file = INVALID_HANDLE_VALUE;
        if (!WaitFor([&] {
                file = CreateFileW(captured_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   NULL, OPEN_EXISTING, 0, NULL);
                return file != INVALID_HANDLE_VALUE;
            }, 30000))
            return L"";
        std::wstring text(GetFileSize(file, NULL) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, NULL);
        CloseHandle(file);
        return text;
    }

    const wchar_t* const kKeys[3] = {L"Software\\Classes\\mailto\\shell\\open\\command",
                                     L"Software\\Classes\\http\\shell\\open\\command",
                                     L"Software\\Classes\\https\\shell\\open\\command"};
    const std::wstring captured_ = ExeDirectory() + L"captured_link.txt";
    wchar_t saved_[3][MAX_PATH * 2] = {};
    int swapped_ = 0;
};

TEST_F(ShellHandlerTest, MailProgramGetsTheBugReportLinkWithCzechLettersAndSpaces)
{
    Command(ID_NAPOVEDA_HLASENICHYBY);
    EXPECT_EQ(kBugReportLink, WaitForCapturedLink());
}

TEST_F(ShellHandlerTest, BrowserGetsTheAboutBoxWebAddress)
{
    std::wstring link;
    const DriveResult result = DriveDialogs({[&](HWND dialog) {
        PostMessageW(GetDlgItem(dialog, IDC_WEB_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        link = WaitForCapturedLink();
        PressButton(dialog, IDOK);
    }}, [] { Command(ID_NAPOVEDA_OPROGRAMU); });
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(L"" AUTHOR_WEB, link);
}

}  // namespace
