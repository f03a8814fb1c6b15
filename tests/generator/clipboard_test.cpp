// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Copies and cuts from the output pane: the selection goes to the clipboard together with the marks
// that keep it out of clipboard history, and no cut loses a password.
#include <gtest/gtest.h>

#include <process.h>

#include <string>

#include "app_fixture.h"
#include "app_state.h"

namespace {

const std::wstring kPane = L"abc\r\ndef\r\n";
// The selection "bc\r\nde", both marks that only need to be there, and both DWORD marks at 0.
const std::wstring kMarkedCopy = L"bc\r\nde + + 0 0";

// The clipboard's text, then each mark: "+" or its DWORD where present, "-" where missing.
std::wstring Clipboard()
{
    std::wstring seen;
    OpenClipboard(NULL);
    if (HGLOBAL text = GetClipboardData(CF_UNICODETEXT))
        seen = static_cast<const wchar_t*>(GlobalLock(text)), GlobalUnlock(text);
    for (const wchar_t* mark : {L"ExcludeClipboardContentFromMonitorProcessing", L"Clipboard Viewer Ignore"})
        seen += GetClipboardData(RegisterClipboardFormatW(mark)) ? L" +" : L" -";
    for (const wchar_t* mark : {L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
        HGLOBAL value = GetClipboardData(RegisterClipboardFormatW(mark));
        seen += value ? L" " + std::to_wstring(*static_cast<const DWORD*>(GlobalLock(value))) : L" -";
        GlobalUnlock(value);
    }
    CloseClipboard();
    return seen;
}

// How often the clipboard was closed with new contents, as any program listening to it sees it.
int Changes()
{
    MSG msg;
    int changes = 0;
    while (PeekMessageW(&msg, g_hwndwMain, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE))
        ++changes;
    return changes;
}

void PressWith(BYTE modifier, WPARAM key)
{
    BYTE keys[256] = {};
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(g_hwndeHesla, WM_KEYDOWN, key, 1);
    keys[modifier] = 0;
    SetKeyboardState(keys);
}

// Each test starts with two passwords in the pane, "bc\r\nde" selected and the clipboard empty.
class ClipboardTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(AddClipboardFormatListener(g_hwndwMain));
        SelectAndForget();
    }
    void SelectAndForget()
    {
        SetWindowTextW(g_hwndeHesla, kPane.c_str());
        SendMessageW(g_hwndeHesla, EM_SETSEL, 1, 7);
        OpenClipboard(NULL);
        EmptyClipboard();
        CloseClipboard();
        Changes();
    }
};

TEST_F(ClipboardTest, EveryCopyAndCutPutsTheSelectionWithAllMarksInOneOpening)
{
    const struct {
        void (*act)();
        const wchar_t* left;
    } ways[] = {
        {[] { SendMessageW(g_hwndeHesla, WM_COPY, 0, 0); }, L"abc\r\ndef\r\n"},
        {[] { SendMessageW(g_hwndeHesla, WM_CHAR, 3, 1); }, L"abc\r\ndef\r\n"},  // Ctrl+C
        {[] { PressWith(VK_CONTROL, VK_INSERT); }, L"abc\r\ndef\r\n"},
        {[] { SendMessageW(g_hwndeHesla, WM_CUT, 0, 0); }, L"af\r\n"},
        {[] { SendMessageW(g_hwndeHesla, WM_CHAR, 24, 1); }, L"af\r\n"},  // Ctrl+X
        {[] { PressWith(VK_SHIFT, VK_DELETE); }, L"af\r\n"},
    };
    for (size_t i = 0; i < ARRAYSIZE(ways); ++i) {
        SelectAndForget();
        ways[i].act();
        EXPECT_EQ(kMarkedCopy, Clipboard()) << "way " << i;
        EXPECT_EQ(1, Changes()) << "way " << i;
        EXPECT_EQ(ways[i].left, TextOf(g_hwndeHesla)) << "way " << i;
        SendMessageW(g_hwndeHesla, WM_CHAR, 26, 1);  // Ctrl+Z
        EXPECT_EQ(kPane, TextOf(g_hwndeHesla)) << "way " << i;
    }
}

TEST_F(ClipboardTest, NothingSelectedLeavesTheClipboardAsItWas)
{
    SendMessageW(g_hwndeHesla, WM_COPY, 0, 0);
    SendMessageW(g_hwndeHesla, EM_SETSEL, 2, 2);
    Changes();
    SendMessageW(g_hwndeHesla, WM_COPY, 0, 0);
    SendMessageW(g_hwndeHesla, WM_CUT, 0, 0);
    EXPECT_EQ(0, Changes());
    EXPECT_EQ(kMarkedCopy, Clipboard());
    EXPECT_EQ(kPane, TextOf(g_hwndeHesla));
}

// Another process that has taken the clipboard and holds it open, as the holder's arguments say;
// NULL when it could not start or take it.
HANDLE HoldClipboard(const wchar_t* milliseconds, const wchar_t* startEvent = NULL)
{
    std::wstring holder(MAX_PATH, L'\0');
    holder.resize(GetModuleFileNameW(NULL, &holder[0], MAX_PATH));
    holder = holder.substr(0, holder.rfind(L'\\') + 1) + L"clipboard_holder.exe";
    const HANDLE process = reinterpret_cast<HANDLE>(
        _wspawnl(_P_NOWAIT, holder.c_str(), L"holder", milliseconds, startEvent, NULL));
    if (process == INVALID_HANDLE_VALUE)
        return NULL;
    for (int i = 0; i < 250 && !GetOpenClipboardWindow(); ++i)
        Sleep(20);
    if (!GetOpenClipboardWindow()) {
        TerminateProcess(process, 1);
        CloseHandle(process);
        return NULL;
    }
    return process;
}

// A clipboard manager lets go a moment after each change: a copy or cut made in that moment
// lands once the clipboard is free. The hold is counted from the copy's start, so it is still
// held at the first try however slowly the holder started.
TEST_F(ClipboardTest, ACopyOrCutWhileTheClipboardIsBrieflyHeldLandsOnceItIsFree)
{
    const HANDLE start = CreateEventW(NULL, TRUE, FALSE, L"ZefmorTestCopyStarts");
    ASSERT_NE(nullptr, start);
    for (UINT message : {WM_COPY, WM_CUT}) {
        SelectAndForget();
        ResetEvent(start);
        const HANDLE process = HoldClipboard(L"100", L"ZefmorTestCopyStarts");
        ASSERT_NE(nullptr, process);
        SetEvent(start);
        SendMessageW(g_hwndeHesla, message, 0, 0);
        EXPECT_EQ(kMarkedCopy, Clipboard()) << message;
        EXPECT_EQ(message == WM_CUT ? L"af\r\n" : kPane, TextOf(g_hwndeHesla));
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    CloseHandle(start);
}

TEST_F(ClipboardTest, ACutWhileAnotherProgramHoldsTheClipboardLosesNothing)
{
    const HANDLE process = HoldClipboard(L"2000");
    ASSERT_NE(nullptr, process);

    SendMessageW(g_hwndeHesla, WM_CUT, 0, 0);
    EXPECT_EQ(kPane, TextOf(g_hwndeHesla));
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    EXPECT_EQ(L"held - - - -", Clipboard());
}

}  // namespace
