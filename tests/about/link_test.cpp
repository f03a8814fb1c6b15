// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The wwwOdkaz control on its own: its class, its size, its paint and the clicks it reports.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "about.h"
#include "app_state.h"
#include "author.h"
#include "resource.h"

namespace {

std::vector<std::pair<WPARAM, LPARAM>> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_commands.push_back(std::make_pair(wParam, lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

typedef std::pair<LONG, LONG> Extent;  // width, height in pixels

// What a link should measure: the stock GUI font, underlined, whatever font it was given.
Extent GuiFontExtent(const std::wstring& text)
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(NULL);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(NULL, dc);
    DeleteObject(font);
    return Extent(size.cx, size.cy);
}

RECT RectInParent(HWND hwnd)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(NULL, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

Extent WindowSize(HWND hwnd)
{
    const RECT rect = RectInParent(hwnd);
    return Extent(rect.right - rect.left, rect.bottom - rect.top);
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hwndhInstanceOdkaz = GetModuleHandleW(NULL);
        RegisterLinkClass();
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = g_hwndhInstanceOdkaz;
        wc.lpszClassName = L"ZefmorLinkTestParent";
        RegisterClassExW(&wc);
        parent_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 200, NULL,
                                  NULL, wc.hInstance, NULL);
        ASSERT_TRUE(parent_ != NULL);
        g_commands.clear();
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND CreateLink(const std::wstring& text, int id = IDC_WEB_LINK)
    {
        return CreateWindowExW(0, L"wwwOdkaz", text.c_str(), WS_CHILD | WS_VISIBLE, 10, 20, 90, 9, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_hwndhInstanceOdkaz, NULL);
    }

    HWND parent_ = NULL;
};

TEST_F(LinkTest, ClassHasTheProgramsCursorTheFaceColourAndNoDoubleClicks)
{
    ASSERT_TRUE(UnregisterClassW(L"wwwOdkaz", g_hwndhInstanceOdkaz));
    EXPECT_EQ(1, RegisterLinkClass());
    EXPECT_EQ(0, RegisterLinkClass());
    HWND link = CreateLink(L"" AUTHOR_WEB);
    ASSERT_TRUE(link != NULL);
    // A shared cursor loads as the same handle, so a system hand would not match.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(LoadCursorW(g_hwndhInstanceOdkaz, MAKEINTRESOURCEW(IDR_LINK_CURSOR))),
              GetClassLongPtrW(link, GCLP_HCURSOR));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)), GetClassLongPtrW(link, GCLP_HBRBACKGROUND));
    EXPECT_EQ(0u, GetClassLongPtrW(link, GCL_STYLE));
}

TEST_F(LinkTest, FitsItsFirst199CharactersInTheUnderlinedGuiFontAndKeepsItsPlace)
{
    HWND link = CreateLink(L"" AUTHOR_MAIL);
    ASSERT_TRUE(link != NULL);
    EXPECT_EQ(GuiFontExtent(L"" AUTHOR_MAIL), WindowSize(link));

    LOGFONTW big = {};  // the parent's font has no say
    big.lfHeight = -40;
    HFONT bigFont = CreateFontIndirectW(&big);
    SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), TRUE);
    const std::wstring czech = L"Hlášení chyby – Nápověda";
    SetWindowTextW(link, czech.c_str());
    EXPECT_EQ(GuiFontExtent(czech), WindowSize(link));
    EXPECT_EQ(10, RectInParent(link).left);
    EXPECT_EQ(20, RectInParent(link).top);

    SetWindowTextW(link, L"");
    EXPECT_EQ(0, WindowSize(link).first);
    const std::wstring longText(200, L'm');  // only the first 199 characters count
    SetWindowTextW(link, longText.c_str());
    ASSERT_NE(GuiFontExtent(longText), GuiFontExtent(longText.substr(0, 199)));
    EXPECT_EQ(GuiFontExtent(longText.substr(0, 199)), WindowSize(link));
    DestroyWindow(link);
    DeleteObject(bigFont);
}

TEST_F(LinkTest, PaintsUnderlinedPureBlueOnTheFaceColour)
{
    HWND link = CreateLink(L"Hlášení");
    ASSERT_TRUE(link != NULL);
    UpdateWindow(parent_);
    const Extent size = WindowSize(link);
    HDC dc = GetDC(link);
    int underlines = 0;  // rows of blue from edge to edge
    for (int y = 0; y < size.second; ++y) {
        int blue = 0;
        for (int x = 0; x < size.first; ++x)
            blue += GetPixel(dc, x, y) == RGB(0, 0, 255);
        underlines += blue == size.first;
    }
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 0, 0));
    ReleaseDC(link, dc);
    EXPECT_GE(underlines, 1);
}

TEST_F(LinkTest, ButtonReleaseReportsWebForItsOwnIdentifierAndMailForAnyOther)
{
    const std::pair<int, WORD> cases[] = {{IDC_WEB_LINK, IDC_WEB_LINK}, {IDC_MAIL_LINK, IDC_MAIL_LINK}, {7, IDC_MAIL_LINK}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        g_commands.clear();
        HWND link = CreateLink(L"" AUTHOR_WEB, c.first);
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(1u, g_commands.size());
        EXPECT_EQ(MAKEWPARAM(c.second, BN_CLICKED), g_commands[0].first);
        EXPECT_EQ(reinterpret_cast<LPARAM>(link), g_commands[0].second);
        DestroyWindow(link);
    }
}

TEST_F(LinkTest, DoubleClickReportsTwiceAndOtherInputNothing)
{
    HWND link = CreateLink(L"" AUTHOR_WEB);
    ASSERT_TRUE(link != NULL);
    SendMessageW(link, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageW(link, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(link, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(link, WM_CHAR, L' ', 0);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));  // released elsewhere
    EXPECT_EQ(0u, g_commands.size());

    // Without CS_DBLCLKS the second press of a double click comes as a plain press.
    for (int i = 0; i < 2; ++i) {
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    EXPECT_EQ(2u, g_commands.size());
}

}  // namespace
