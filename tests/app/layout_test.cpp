// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The main window's fifteen controls: classes, texts, styles, places, identifiers and fonts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app_fixture.h"
#include "app_state.h"

namespace {

struct Row {
    const wchar_t* cls;
    const wchar_t* text;   // NULL: not compared
    LONG style;
    bool clientEdge;
    int x, y, w, h;
    int id;
    HWND* handle;
    bool fonted;
};

const Row kRows[] = {
    {L"Edit", L"", 0x50200004, true, 0, 2, 149, 159, 0, &g_hwndeHesla, true},
    {L"Static", L"", 0x50000007, false, -2, 0, 330, 165, 0, NULL, false},
    {L"Static", L"Počet hesel:", 0x50000000, false, 160, 10, 80, 15, 0, &g_hwndsPocetHesel, true},
    {L"Edit", L"1", 0x50002000, true, 230, 5, 50, 18, 786, &g_hwndePocetHesel, true},
    {UPDOWN_CLASSW, NULL, 0x50000042, false, 280, 5, 20, 18, 1, &g_hwndUpPocetHesel, false},
    {L"Static", L"Počet znaků:", 0x50000000, false, 160, 25, 80, 15, 0, &g_hwndsPocetZnaku, true},
    {L"Edit", L"1", 0x50002000, true, 230, 25, 50, 18, 785, &g_hwndePocetZnaku, true},
    {UPDOWN_CLASSW, NULL, 0x50000042, false, 280, 25, 20, 18, 2, &g_hwndUpPocetZnaku, false},
    {L"Button", L"Nastavení", 0x50000007, false, 160, 50, 140, 75, 0, &g_hwndgNastaveni, true},
    {L"Button", L"ABC...", 0x50000003, false, 170, 70, 50, 18, 781, &g_hwndcVPismo, true},
    {L"Button", L"abc...", 0x50000003, false, 235, 70, 50, 18, 782, &g_hwndcMPismo, true},
    {L"Button", L"123...", 0x50000003, false, 170, 95, 50, 18, 783, &g_hwndcCisla, true},
    {L"Button", L"@%#...", 0x50000003, false, 235, 95, 50, 18, 784, &g_hwndcSymboly, true},
    {L"Button", L"Generuj", 0x50000000, false, 175, 135, 50, 20, 40021, &g_hwndbGeneruj, true},
    {L"Button", L"Vymazat", 0x50000000, false, 235, 135, 50, 20, 40022, &g_hwndbVymazat, true},
};

class LayoutTest : public MainWindowTest {};

TEST_F(LayoutTest, FifteenControlsInCreationOrderAsDesigned)
{
    const LRESULT stockFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND child = GetWindow(g_hwndwMain, GW_CHILD);
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.text ? row.text : row.cls);
        ASSERT_NE(nullptr, child);
        if (row.handle) {
            EXPECT_EQ(*row.handle, child);
        }
        wchar_t cls[64] = L"";
        GetClassNameW(child, cls, ARRAYSIZE(cls));
        EXPECT_EQ(0, lstrcmpiW(row.cls, cls)) << cls;
        if (row.text) {
            EXPECT_EQ(std::wstring(row.text), TextOf(child));
        }
        EXPECT_EQ(row.style, GetWindowLongW(child, GWL_STYLE)) << std::hex << GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ(row.clientEdge, (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(NULL, g_hwndwMain, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(row.x, rc.left);
        EXPECT_EQ(row.y, rc.top);
        EXPECT_EQ(row.w, rc.right - rc.left);
        EXPECT_EQ(row.h, rc.bottom - rc.top);
        EXPECT_EQ(row.id, GetDlgCtrlID(child));
        EXPECT_EQ(row.fonted ? stockFont : 0, SendMessageW(child, WM_GETFONT, 0, 0));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "no sixteenth control";
}

TEST_F(LayoutTest, StartsWithOnesClearBoxesAndAnEmptyPane)
{
    EXPECT_EQ(L"1", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"1", TextOf(g_hwndePocetZnaku));
    for (int id = 781; id <= 784; ++id)
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(g_hwndwMain, id)) << id;
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
    EXPECT_EQ(g_hwndePocetHesel, reinterpret_cast<HWND>(SendMessageW(g_hwndUpPocetHesel, UDM_GETBUDDY, 0, 0)));
    EXPECT_EQ(g_hwndePocetZnaku, reinterpret_cast<HWND>(SendMessageW(g_hwndUpPocetZnaku, UDM_GETBUDDY, 0, 0)));
}

// A click on an up-down's left or right arrow.
void Step(HWND updown, bool up)
{
    const LPARAM at = up ? MAKELPARAM(16, 9) : MAKELPARAM(3, 9);
    SendMessageW(updown, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(updown, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

TEST_F(LayoutTest, ArrowsStepWithinTheRangesAndStopAtTheLimits)
{
    int low = 0, high = 0;
    SendMessageW(g_hwndUpPocetHesel, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(1, low);
    EXPECT_EQ(100, high);
    SendMessageW(g_hwndUpPocetZnaku, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(1, low);
    EXPECT_EQ(20, high);

    Step(g_hwndUpPocetZnaku, true);
    EXPECT_EQ(L"2", TextOf(g_hwndePocetZnaku));
    SendMessageW(g_hwndUpPocetZnaku, UDM_SETPOS32, 0, 19);
    for (int i = 0; i < 3; ++i)
        Step(g_hwndUpPocetZnaku, true);
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    SendMessageW(g_hwndUpPocetHesel, UDM_SETPOS32, 0, 99);
    for (int i = 0; i < 3; ++i)
        Step(g_hwndUpPocetHesel, true);
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
    for (int i = 0; i < 3; ++i)
        Step(g_hwndUpPocetZnaku, false);
    EXPECT_EQ(L"17", TextOf(g_hwndePocetZnaku));
    SendMessageW(g_hwndUpPocetZnaku, UDM_SETPOS32, 0, 2);
    for (int i = 0; i < 3; ++i)
        Step(g_hwndUpPocetZnaku, false);
    EXPECT_EQ(L"1", TextOf(g_hwndePocetZnaku));
}

TEST_F(LayoutTest, CountEditsTakeOnlyDigitsFromTheKeyboard)
{
    for (HWND edit : {g_hwndePocetHesel, g_hwndePocetZnaku}) {
        SetWindowTextW(edit, L"");
        TypeInto(edit, L"a -+.x1Z2");
        EXPECT_EQ(L"12", TextOf(edit));
    }
}

}  // namespace
