// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Command routing, the dialogs the commands open, and the output pane's colouring.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "app_state.h"
#include "dialog_driver.h"
#include "resource.h"

namespace {

class CommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetWindowTextW(g_hwndePocetHesel, L"3");
        SetWindowTextW(g_hwndePocetZnaku, L"4");
        SendMessageW(g_hwndcCisla, BM_SETCHECK, BST_CHECKED, 0);
    }
};

TEST_F(CommandsTest, ButtonsAndMenuItemsDoTheSame)
{
    SendMessageW(g_hwndbGeneruj, BM_CLICK, 0, 0);
    EXPECT_EQ(3u * 6u, TextOf(g_hwndeHesla).size());
    SendMessageW(g_hwndbVymazat, BM_CLICK, 0, 0);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));

    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(3u * 6u, TextOf(g_hwndeHesla).size());
    Command(ID_AKCE_VYMAZ);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
    Command(ID_AKCE_VYMAZ);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
}

TEST_F(CommandsTest, OnlyEnChangeFromACountEditRunsTheCheck)
{
    // A stale count shows whether the controls were read again.
    g_nPocetZnaku = 99;
    SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(IDC_POCETZNAKU, EN_UPDATE), reinterpret_cast<LPARAM>(g_hwndePocetZnaku));
    SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(IDC_POCETHESEL, EN_KILLFOCUS), reinterpret_cast<LPARAM>(g_hwndePocetHesel));
    SendMessageW(g_hwndcCisla, BM_CLICK, 0, 0);
    EXPECT_EQ(99, g_nPocetZnaku);
    SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(IDC_POCETHESEL, EN_CHANGE), reinterpret_cast<LPARAM>(g_hwndePocetHesel));
    EXPECT_EQ(4, g_nPocetZnaku);
    g_nPocetZnaku = 99;
    SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(IDC_POCETZNAKU, EN_CHANGE), reinterpret_cast<LPARAM>(g_hwndePocetZnaku));
    EXPECT_EQ(4, g_nPocetZnaku);
}

TEST_F(CommandsTest, UnknownCommandsLeaveEverythingAsItIs)
{
    SetWindowTextW(g_hwndeHesla, L"typed by the user");
    for (int id : {0, 1, 40020, 40023, 40026, 40029, 65535})
        SendMessageW(g_hwndwMain, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(L"typed by the user", TextOf(g_hwndeHesla));
    EXPECT_TRUE(IsWindow(g_hwndwMain));
}

// A dialog without the main window as its owner leaves the window usable behind it: Generuj, the
// menus and closing Zefmor would all work while the dialog waits.
TEST_F(CommandsTest, TheFontColourAndSaveDialogsBelongToTheMainWindowWhileOpen)
{
    const struct {
        const char* dialog;
        int command;
    } cases[] = {
        {"font", ID_NASTAVENI_PISMO},
        {"colour", ID_NASTAVENI_POZADI},
        {"save", ID_SOUBOR_ULOZIT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        HWND owner = NULL;
        BOOL enabled = TRUE;
        const DriveResult r = DriveDialogs({[&](HWND dialog) {
                                               owner = GetWindow(dialog, GW_OWNER);
                                               enabled = IsWindowEnabled(g_hwndwMain);
                                               PressButton(dialog, IDCANCEL);
                                           }},
                                           [&] { Command(c.command); });
        EXPECT_EQ(1, r.dialogsSeen);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(g_hwndwMain, owner);
        EXPECT_FALSE(enabled);
        EXPECT_TRUE(IsWindowEnabled(g_hwndwMain));
    }
}

// Asks the main window for the colours of `control` on a memory device context.
struct Colouring {
    LRESULT brush;
    COLORREF text, back;
};

Colouring ColourOf(HWND control)
{
    HDC dc = CreateCompatibleDC(NULL);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    Colouring c;
    c.brush = SendMessageW(g_hwndwMain, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    c.text = GetTextColor(dc);
    c.back = GetBkColor(dc);
    DeleteDC(dc);
    return c;
}

TEST_F(CommandsTest, OnlyThePaneTakesTheChosenColours)
{
    g_crBarvaPisma = RGB(255, 0, 0);
    g_crBarvaPozadi = RGB(0, 0, 128);
    Colouring pane = ColourOf(g_hwndeHesla);
    EXPECT_EQ(RGB(255, 0, 0), pane.text);
    EXPECT_EQ(RGB(0, 0, 128), pane.back);
    // No brush of the program's own yet: the system window brush, which nobody deletes.
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)), pane.brush);

    g_hbrPozadi = CreateSolidBrush(RGB(0, 0, 128));
    EXPECT_EQ(reinterpret_cast<LRESULT>(g_hbrPozadi), ColourOf(g_hwndeHesla).brush);
    EXPECT_NE(0u, GetObjectType(g_hbrPozadi));

    for (HWND edit : {g_hwndePocetHesel, g_hwndePocetZnaku}) {
        Colouring count = ColourOf(edit);
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), count.text);
        EXPECT_NE(reinterpret_cast<LRESULT>(g_hbrPozadi), count.brush);
    }
}

}  // namespace
