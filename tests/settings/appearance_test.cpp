// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The output pane's look, chosen through the real font and colour dialogs and the standard look.
#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>
#include <stddef.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "app_state.h"
#include "dialog_driver.h"
#include "import_hook.h"
#include "resource.h"

namespace {

// What a dialog showed when it opened.
struct Opened {
    std::wstring face;
    bool underline = false;
    COLORREF text = CLR_INVALID;
    std::wstring rgb;
};

// A control change as the dialog learns of it from a click.
void Notify(HWND dialog, int id, WORD code)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogStep PickFont(const wchar_t* face, bool underline, COLORREF text, int button, Opened* seen = NULL)
{
    return [=](HWND dialog) {
        HWND colours = GetDlgItem(dialog, cmb4);
        if (seen) {
            seen->face = DialogText(dialog, cmb1);
            seen->underline = IsDlgButtonChecked(dialog, chx2) == BST_CHECKED;
            seen->text = static_cast<COLORREF>(SendMessageW(colours, CB_GETITEMDATA, SendMessageW(colours, CB_GETCURSEL, 0, 0), 0));
        }
        SendDlgItemMessageW(dialog, cmb1, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face));
        Notify(dialog, cmb1, CBN_SELCHANGE);
        CheckDlgButton(dialog, chx2, underline ? BST_CHECKED : BST_UNCHECKED);
        Notify(dialog, chx2, BN_CLICKED);
        const int count = static_cast<int>(SendMessageW(colours, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (static_cast<COLORREF>(SendMessageW(colours, CB_GETITEMDATA, i, 0)) == text)
                SendMessageW(colours, CB_SETCURSEL, i, 0);
        }
        Notify(dialog, cmb4, CBN_SELCHANGE);
        PressButton(dialog, button);
    };
}

// The colour dialog's red, green and blue fields, as "r,g,b".
std::wstring Rgb(HWND dialog)
{
    return DialogText(dialog, COLOR_RED) + L"," + DialogText(dialog, COLOR_GREEN) + L"," + DialogText(dialog, COLOR_BLUE);
}

DialogStep PickColour(COLORREF colour, bool addCustom, int button, Opened* seen = NULL)
{
    return [=](HWND dialog) {
        if (seen)
            seen->rgb = Rgb(dialog);
        SetDialogText(dialog, COLOR_RED, std::to_wstring(GetRValue(colour)).c_str());
        SetDialogText(dialog, COLOR_GREEN, std::to_wstring(GetGValue(colour)).c_str());
        SetDialogText(dialog, COLOR_BLUE, std::to_wstring(GetBValue(colour)).c_str());
        if (addCustom)
            Notify(dialog, COLOR_ADD, BN_CLICKED);
        PressButton(dialog, button);
    };
}

void Choose(int command, const DialogStep& step)
{
    const DriveResult result = DriveDialogs({step}, [command] { Command(command); });
    EXPECT_EQ(1, result.dialogsSeen);
    EXPECT_FALSE(result.timedOut);
}

HGDIOBJ FontOf(HWND hwnd)
{
    return reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

LOGFONTA Describe(HGDIOBJ font)
{
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

// How the main window colours one of its edits when the edit asks.
struct Colouring {
    COLORREF text, back;
    HBRUSH brush;
};

Colouring ColouringOf(HWND edit)
{
    HDC dc = CreateCompatibleDC(NULL);
    SetTextColor(dc, RGB(1, 1, 1));
    SetBkColor(dc, RGB(2, 2, 2));
    const HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(g_hwndwMain, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    const Colouring colouring = {GetTextColor(dc), GetBkColor(dc), brush};
    DeleteDC(dc);
    return colouring;
}

// Wine's colour dialog always opens on rgbResult; Windows opens on black unless CC_RGBINIT asks
// for rgbResult. The stand-in makes Wine's dialog start as Windows' does.
BOOL(WINAPI* volatile g_realChooseColorA)(LPCHOOSECOLORA);

BOOL WINAPI ChooseColorAsWindows(LPCHOOSECOLORA cc)
{
    if (!(cc->Flags & CC_RGBINIT))
        cc->rgbResult = RGB(0, 0, 0);
    return g_realChooseColorA(cc);
}

// What the empty pane shows in its middle once the waiting messages are handled; Wine's null
// display driver keeps what is painted, so it can be read back.
COLORREF PanePixel()
{
    PumpMessages();
    RECT client;
    GetClientRect(g_hwndeHesla, &client);
    HDC dc = GetDC(g_hwndeHesla);
    const COLORREF pixel = GetPixel(dc, client.right / 2, client.bottom / 2);
    ReleaseDC(g_hwndeHesla, dc);
    return pixel;
}

}  // namespace

using AppearanceTest = MainWindowTest;

TEST_F(AppearanceTest, FontDialogOpensOnThePaneFontAndOnlyAcceptingChangesIt)
{
    Choose(ID_NASTAVENI_PISMO, PickFont(L"DejaVu Serif", true, RGB(255, 0, 0), IDOK));
    ASSERT_NE(nullptr, g_hfPismo);
    EXPECT_EQ(g_hfPismo, FontOf(g_hwndeHesla));
    const LOGFONTA chosen = Describe(g_hfPismo);
    EXPECT_STREQ("DejaVu Serif", chosen.lfFaceName);
    EXPECT_TRUE(chosen.lfUnderline);
    EXPECT_EQ(RGB(255, 0, 0), g_crBarvaPisma);
    EXPECT_EQ(RGB(255, 0, 0), ColouringOf(g_hwndeHesla).text);

    Opened seen;
    const HFONT font = g_hfPismo;
    Choose(ID_NASTAVENI_PISMO, PickFont(L"DejaVu Sans Mono", false, RGB(0, 0, 255), IDCANCEL, &seen));
    EXPECT_EQ(L"DejaVu Serif", seen.face);
    EXPECT_TRUE(seen.underline);
    EXPECT_EQ(RGB(255, 0, 0), seen.text);
    EXPECT_EQ(font, g_hfPismo);
    EXPECT_EQ(font, FontOf(g_hwndeHesla));
    EXPECT_EQ(OBJ_FONT, GetObjectType(font));
    EXPECT_EQ(RGB(255, 0, 0), g_crBarvaPisma);
}

TEST_F(AppearanceTest, ColourDialogOpensOnTheBackgroundAndOnlyAcceptingChangesIt)
{
    g_realChooseColorA = &ChooseColorA;
    ImportHook asWindows(reinterpret_cast<void*>(g_realChooseColorA), reinterpret_cast<void*>(ChooseColorAsWindows));
    ASSERT_TRUE(asWindows.Hooked());
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), PanePixel());
    Choose(ID_NASTAVENI_POZADI, PickColour(RGB(10, 20, 30), false, IDOK));
    EXPECT_EQ(RGB(10, 20, 30), PanePixel());
    EXPECT_EQ(RGB(10, 20, 30), g_crBarvaPozadi);
    LOGBRUSH brush = {};
    ASSERT_EQ(static_cast<int>(sizeof brush), GetObjectW(g_hbrPozadi, sizeof brush, &brush));
    EXPECT_EQ(RGB(10, 20, 30), brush.lbColor);
    const Colouring pane = ColouringOf(g_hwndeHesla);
    EXPECT_EQ(g_hbrPozadi, pane.brush);
    EXPECT_EQ(RGB(10, 20, 30), pane.back);

    Opened seen;
    const HBRUSH before = g_hbrPozadi;
    Choose(ID_NASTAVENI_POZADI, PickColour(RGB(200, 100, 50), false, IDCANCEL, &seen));
    EXPECT_EQ(L"10,20,30", seen.rgb);
    EXPECT_EQ(before, g_hbrPozadi);
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(before));
    EXPECT_EQ(RGB(10, 20, 30), g_crBarvaPozadi);

    // Accepting the dialog as it opened keeps the colour.
    Choose(ID_NASTAVENI_POZADI, [](HWND dialog) { PressButton(dialog, IDOK); });
    EXPECT_EQ(RGB(10, 20, 30), PanePixel());
}

TEST_F(AppearanceTest, CustomColoursComeBackWithinTheRun)
{
    Choose(ID_NASTAVENI_POZADI, PickColour(RGB(1, 2, 3), true, IDOK));
    EXPECT_EQ(RGB(1, 2, 3), g_acrVlastni[0]);
    // The next dialog then opens on white, not on the custom colour.
    Command(ID_NASTAVENI_STANDARDNIHODNOTY);

    // A click on the first custom colour selects it, so the dialog shows what it was handed.
    Opened picked;
    Choose(ID_NASTAVENI_POZADI, [&picked](HWND dialog) {
        RECT cell;
        GetWindowRect(GetDlgItem(dialog, COLOR_CUSTOM1), &cell);
        POINT at = {cell.left + 3, cell.top + 3};
        ScreenToClient(dialog, &at);
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        picked.rgb = Rgb(dialog);
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(L"1,2,3", picked.rgb);
}

namespace {

// Window colours unlike the standard look's, put back when the test ends.
class OtherSystemColours {
public:
    OtherSystemColours()
        : saved_{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)}
    {
        const COLORREF other[] = {RGB(255, 255, 224), RGB(0, 0, 128)};
        SetSysColors(2, kElements, other);
    }
    ~OtherSystemColours() { SetSysColors(2, kElements, saved_); }

private:
    static const int kElements[2];
    COLORREF saved_[2];
};

const int OtherSystemColours::kElements[2] = {COLOR_WINDOW, COLOR_WINDOWTEXT};

}  // namespace

TEST_F(AppearanceTest, StandardLookIsBlackOnWhiteInTheStockFontAndIsStoredAtClose)
{
    OtherSystemColours colours;
    ASSERT_NE(RGB(255, 255, 255), GetSysColor(COLOR_WINDOW));
    Choose(ID_NASTAVENI_PISMO, PickFont(L"DejaVu Sans Mono", true, RGB(0, 128, 0), IDOK));
    Choose(ID_NASTAVENI_POZADI, PickColour(RGB(70, 80, 90), false, IDOK));
    CheckDlgButton(g_hwndwMain, IDC_CISLA, BST_CHECKED);
    SetWindowTextW(g_hwndePocetHesel, L"12");
    const HFONT created = g_hfPismo;
    const HBRUSH oldBrush = g_hbrPozadi;

    Command(ID_NASTAVENI_STANDARDNIHODNOTY);
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), FontOf(g_hwndeHesla));
    EXPECT_EQ(RGB(0, 0, 0), g_crBarvaPisma);
    EXPECT_EQ(RGB(255, 255, 255), g_crBarvaPozadi);
    const Colouring pane = ColouringOf(g_hwndeHesla);
    EXPECT_EQ(RGB(0, 0, 0), pane.text);
    EXPECT_EQ(RGB(255, 255, 255), pane.back);
    EXPECT_EQ(g_hbrPozadi, pane.brush);
    LOGBRUSH brush = {};
    ASSERT_EQ(static_cast<int>(sizeof brush), GetObjectW(g_hbrPozadi, sizeof brush, &brush));
    EXPECT_EQ(RGB(255, 255, 255), brush.lbColor);
    EXPECT_EQ(0u, GetObjectType(oldBrush));
    // The created font outlives the command until the next accepted font choice replaces it.
    EXPECT_EQ(created, g_hfPismo);
    EXPECT_EQ(OBJ_FONT, GetObjectType(created));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(g_hwndwMain, IDC_CISLA));
    EXPECT_EQ(L"12", TextOf(g_hwndePocetHesel));
    DWORD type;
    std::vector<BYTE> stored;
    EXPECT_FALSE(GetValue(L"Pismo", &type, &stored));

    CloseMainWindow();
    ASSERT_TRUE(GetValue(L"Pismo", &type, &stored));
    ASSERT_EQ(sizeof(LOGFONTA), stored.size());
    const LOGFONTA stock = Describe(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(0, memcmp(&stock, stored.data(), offsetof(LOGFONTA, lfFaceName)));
    EXPECT_STREQ(stock.lfFaceName, reinterpret_cast<const char*>(stored.data()) + offsetof(LOGFONTA, lfFaceName));
    ASSERT_TRUE(GetValue(L"BarvaPisma", &type, &stored));
    EXPECT_EQ(std::vector<BYTE>({0, 0, 0, 0}), stored);
    ASSERT_TRUE(GetValue(L"BarvaPozadi", &type, &stored));
    EXPECT_EQ(std::vector<BYTE>({0xFF, 0xFF, 0xFF, 0}), stored);
}

// Every replaced font and brush is deleted at once, the current ones live, no stock object is
// touched, and no other control ever takes the pane's font or colours.
TEST_F(AppearanceTest, ManyChoicesKeepOneFontAndOneBrushAndLeaveOtherControlsAlone)
{
    const wchar_t* const faces[] = {L"DejaVu Serif", L"DejaVu Sans Mono", L"DejaVu Sans"};
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const HFONT oldFont = g_hfPismo;
        Choose(ID_NASTAVENI_PISMO, PickFont(faces[round], round % 2 == 0, RGB(255, 0, 255), IDOK));
        EXPECT_EQ(OBJ_FONT, GetObjectType(g_hfPismo));
        if (oldFont) {
            EXPECT_NE(oldFont, g_hfPismo);
            EXPECT_EQ(0u, GetObjectType(oldFont));
        }
        HBRUSH oldBrush = g_hbrPozadi;
        Choose(ID_NASTAVENI_POZADI, PickColour(RGB(round, 200, 100), false, IDOK));
        EXPECT_EQ(OBJ_BRUSH, GetObjectType(g_hbrPozadi));
        if (oldBrush) {
            EXPECT_NE(oldBrush, g_hbrPozadi);
            EXPECT_EQ(0u, GetObjectType(oldBrush));
        }
        oldBrush = g_hbrPozadi;
        Command(ID_NASTAVENI_STANDARDNIHODNOTY);
        EXPECT_EQ(OBJ_BRUSH, GetObjectType(g_hbrPozadi));
        EXPECT_EQ(0u, GetObjectType(oldBrush));
    }
    Choose(ID_NASTAVENI_POZADI, PickColour(RGB(0, 99, 0), false, IDOK));
    Choose(ID_NASTAVENI_PISMO, PickFont(L"DejaVu Serif", false, RGB(255, 0, 0), IDOK));
    EXPECT_EQ(OBJ_FONT, GetObjectType(GetStockObject(DEFAULT_GUI_FONT)));

    const HWND others[] = {g_hwndsPocetHesel, g_hwndsPocetZnaku, g_hwndePocetHesel, g_hwndePocetZnaku,
                           g_hwndcVPismo, g_hwndcMPismo, g_hwndcCisla, g_hwndcSymboly,
                           g_hwndgNastaveni, g_hwndbGeneruj, g_hwndbVymazat};
    for (HWND other : others)
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), FontOf(other)) << GetDlgCtrlID(other);
    for (HWND count : {g_hwndePocetHesel, g_hwndePocetZnaku}) {
        const Colouring colouring = ColouringOf(count);
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colouring.text);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), colouring.back);
        EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), colouring.brush);
    }
}
