// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The About box as its menu command opens it: contents, place, separator, ending, and its links.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app_state.h"
#include "author.h"
#include "dialog_driver.h"
#include "resource.h"
#include "shell_recorder.h"

namespace {

// One child as "identifier class text", the icon static marked by its icon instead of its text.
std::wstring DescribeControl(HWND child)
{
    wchar_t cls[64] = L"", text[256] = L"";
    GetClassNameW(child, cls, ARRAYSIZE(cls));
    CharUpperW(cls);
    GetWindowTextW(child, text, ARRAYSIZE(text));
    const bool icon = lstrcmpW(cls, L"STATIC") == 0 && SendMessageW(child, STM_GETICON, 0, 0) != 0;
    return std::to_wstring(LOWORD(GetDlgCtrlID(child))) + L" " + cls + L" " + (icon ? L"(icon)" : text);
}

POINT ClientOrigin(HWND hwnd)
{
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    return origin;
}

// Wine's null display driver keeps what is painted, so the separator can be read back.
int BlackPixelsInRow(HWND hwnd, int y)
{
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    int black = 0;
    for (int x = 0; x < client.right; ++x)
        black += GetPixel(dc, x, y) == RGB(0, 0, 0);
    ReleaseDC(hwnd, dc);
    return black;
}

class AboutBoxTest : public RecordedShellTest {
protected:
    DriveResult OpenAbout(const DialogStep& step)
    {
        return DriveDialogs({step}, [] { Command(ID_NAPOVEDA_OPROGRAMU); });
    }
};

TEST_F(AboutBoxTest, ShowsItsSevenControlsAndTheSeparatorAtTheTopLeftOfTheMainWindow)
{
    HWND box = NULL;
    std::wstring caption;
    std::vector<std::wstring> controls;
    POINT origin = {};
    RECT client = {};
    int black[3] = {};
    BOOL ownerEnabled = TRUE;
    const DriveResult result = OpenAbout([&](HWND dialog) {
        box = dialog;
        wchar_t text[64] = L"";
        GetWindowTextW(dialog, text, ARRAYSIZE(text));
        caption = text;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            controls.push_back(DescribeControl(child));
        origin = ClientOrigin(dialog);
        ownerEnabled = IsWindowEnabled(g_hwndwMain);
        UpdateWindow(dialog);
        GetClientRect(dialog, &client);
        for (int row = 0; row < 3; ++row)
            black[row] = BlackPixelsInRow(dialog, 49 + row);
        PressButton(dialog, IDOK);
    });
    ASSERT_EQ(1, result.dialogsSeen);
    EXPECT_FALSE(result.timedOut);
    EXPECT_FALSE(IsWindow(box));

    EXPECT_EQ(L"Zefmor", caption);
    ASSERT_EQ(7u, controls.size());
    EXPECT_EQ(L"65535 STATIC (icon)", controls[0]);
    EXPECT_EQ(L"65535 STATIC Zefmor", controls[1]);
    EXPECT_EQ(0u, controls[2].find(L"65535 STATIC ")) << controls[2];  // the copyright line, any text
    EXPECT_EQ(L"1 BUTTON OK", controls[3]);
    EXPECT_EQ(L"1013 WWWODKAZ " AUTHOR_WEB, controls[4]);
    EXPECT_EQ(L"1014 WWWODKAZ " AUTHOR_MAIL, controls[5]);
    EXPECT_EQ(L"65535 STATIC version 2.00.01.07", controls[6]);

    EXPECT_EQ(ClientOrigin(g_hwndwMain).x, origin.x);
    EXPECT_EQ(ClientOrigin(g_hwndwMain).y, origin.y);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(g_hwndwMain));

    // Pixel row 50 from edge to edge, and nothing black just above or below it.
    EXPECT_GT(client.right, 100);
    EXPECT_EQ(0, black[0]);
    EXPECT_EQ(client.right, black[1]);
    EXPECT_EQ(0, black[2]);
}

TEST_F(AboutBoxTest, EveryWayOfClosingEndsItAndItOpensAgainEachTime)
{
    const std::function<void(HWND)> ways[] = {
        [](HWND dialog) { PressButton(dialog, IDOK); },
        [](HWND dialog) { PressButton(dialog, IDCANCEL); },
        [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_RETURN, 0); },
        [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < ARRAYSIZE(ways); ++i) {
        SCOPED_TRACE(i);
        HWND link = NULL;
        bool closed = false;
        int shown = 0;
        const DriveResult result = DriveDialogs({[&](HWND dialog) {
            link = GetDlgItem(dialog, IDC_MAIL_LINK);
            ways[i](dialog);
            closed = WaitFor([dialog] { return !IsWindow(dialog); }, 3000);
            if (!closed)
                EndDialog(dialog, 0);  // the watchdog's IDCANCEL may be the very thing that is broken
        }}, [&] { shown = ShowAbout(g_hwndhInstance, g_hwndwMain); });
        EXPECT_TRUE(closed);
        EXPECT_EQ(1, shown);
        EXPECT_EQ(1, result.dialogsSeen);
        EXPECT_TRUE(link != NULL);
    }
    EXPECT_TRUE(ShellCalls().empty());
}

TEST_F(AboutBoxTest, EachLinkClickHandsItsTargetToTheShellAndTheBoxStaysOpen)
{
    HWND box = NULL;
    bool openAfterClicks = false;
    const DriveResult result = OpenAbout([&](HWND dialog) {
        box = dialog;
        const int clicks[] = {IDC_MAIL_LINK, IDC_WEB_LINK, IDC_WEB_LINK};
        for (size_t i = 0; i < ARRAYSIZE(clicks); ++i) {
            PostMessageW(GetDlgItem(dialog, clicks[i]), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            WaitFor([i] { return ShellCalls().size() > i; });
        }
        openAfterClicks = IsWindowVisible(dialog) != FALSE;
        PressButton(dialog, IDOK);
    });
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(openAfterClicks);
    const std::wstring mail = ShellCall(box, L"open", L"mailto:" AUTHOR_MAIL "?subject=Zefmor&", NULL, NULL, SW_SHOWNORMAL);
    const std::wstring web = ShellCall(box, L"open", L"" AUTHOR_WEB, NULL, NULL, SW_SHOWNORMAL);
    EXPECT_EQ(std::vector<std::wstring>({mail, web, web}), ShellCalls());
}

}  // namespace
