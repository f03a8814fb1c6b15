// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The registry settings: what a close writes, and what a start makes of whatever it finds stored.
#include <windows.h>

#include <limits.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "import_hook.h"
#include "app_state.h"
#include "resource.h"

namespace {

// Table order, which is also the order of the writes.
const wchar_t* const kNames[] = {L"BarvaPisma", L"BarvaPozadi", L"Pismo", L"VPismo", L"MPismo",
                                 L"Cisla", L"Symboly", L"Hesla", L"Znaky"};
const DWORD kTypes[] = {REG_DWORD, REG_DWORD, REG_BINARY, REG_BINARY, REG_BINARY,
                        REG_BINARY, REG_BINARY, REG_DWORD, REG_DWORD};
const int kBoxes[] = {IDC_VPISMO, IDC_MPISMO, IDC_CISLA, IDC_SYMBOLY};

std::vector<BYTE> Le(DWORD value)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    return std::vector<BYTE>(bytes, bytes + 4);
}

void ExpectStored(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    DWORD gotType = 0;
    std::vector<BYTE> got;
    ASSERT_TRUE(GetValue(name, &gotType, &got)) << name;
    EXPECT_EQ(type, gotType) << name;
    EXPECT_EQ(bytes, got) << name;
}

LOGFONTA FontOf(HGDIOBJ font)
{
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

HGDIOBJ PaneFont()
{
    return reinterpret_cast<HGDIOBJ>(SendMessageW(g_hwndeHesla, WM_GETFONT, 0, 0));
}

// Bytes after a face name's terminator carry no meaning.
void ExpectSameFont(const LOGFONTA& want, const LOGFONTA& got)
{
    EXPECT_EQ(0, memcmp(&want, &got, offsetof(LOGFONTA, lfFaceName)));
    EXPECT_EQ(0, strncmp(want.lfFaceName, got.lfFaceName, LF_FACESIZE)) << want.lfFaceName << " / " << got.lfFaceName;
}

void ExpectStoredFont(const LOGFONTA& want)
{
    DWORD type = 0;
    std::vector<BYTE> got;
    ASSERT_TRUE(GetValue(L"Pismo", &type, &got));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    ASSERT_EQ(sizeof(LOGFONTA), got.size());
    LOGFONTA lf;
    memcpy(&lf, got.data(), sizeof lf);
    ExpectSameFont(want, lf);
}

bool Ticked(int box) { return IsDlgButtonChecked(g_hwndwMain, box) == BST_CHECKED; }

void Restart()
{
    ResetAppState();
    ASSERT_TRUE(StartMainWindow());
}

DWORD StoredValueCount()
{
    HKEY key;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Ravolt\\Zefmor", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ULONG_MAX;
    RegQueryInfoKeyW(key, NULL, NULL, NULL, NULL, NULL, NULL, &count, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return count;
}

}  // namespace

using StoreTest = MainWindowTest;

TEST_F(StoreTest, FirstStartLeavesAnEmptyKeyAndLaterStartsLoadWhatCloseStored)
{
    EXPECT_EQ(0u, StoredValueCount());
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), PaneFont());
    CloseMainWindow();
    for (int i = 0; i < 9; ++i) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetValue(kNames[i], &type, &data)) << i;
        EXPECT_EQ(kTypes[i], type) << i;
        EXPECT_EQ(i == 2 ? sizeof(LOGFONTA) : 4u, data.size()) << i;
    }
    ExpectStoredFont(FontOf(GetStockObject(DEFAULT_GUI_FONT)));
    ExpectStored(L"BarvaPozadi", REG_DWORD, Le(GetSysColor(COLOR_WINDOW)));

    // The stored copy of the stock font comes back as a font of the program's own.
    Restart();
    ASSERT_NE(nullptr, g_hfPismo);
    EXPECT_EQ(g_hfPismo, PaneFont());
    ExpectSameFont(FontOf(GetStockObject(DEFAULT_GUI_FONT)), FontOf(g_hfPismo));
}

TEST_F(StoreTest, CloseStoresExactBytesAndNextStartShowsThem)
{
    LOGFONTA lf = FontOf(GetStockObject(DEFAULT_GUI_FONT));
    lstrcpyA(lf.lfFaceName, "DejaVu Serif");
    lf.lfHeight = -19;
    lf.lfUnderline = TRUE;
    g_hfPismo = CreateFontIndirectA(&lf);
    SendMessageW(g_hwndeHesla, WM_SETFONT, reinterpret_cast<WPARAM>(g_hfPismo), FALSE);
    g_crBarvaPisma = RGB(255, 0, 0);
    g_crBarvaPozadi = RGB(1, 2, 3);
    // Boxes last: no input check runs after them, so only the save itself can read them.
    SetWindowTextW(g_hwndePocetHesel, L"37");
    SetWindowTextW(g_hwndePocetZnaku, L"12");
    CheckDlgButton(g_hwndwMain, IDC_MPISMO, BST_CHECKED);
    CheckDlgButton(g_hwndwMain, IDC_SYMBOLY, BST_CHECKED);

    CloseMainWindow();
    ExpectStored(L"BarvaPisma", REG_DWORD, {0xFF, 0, 0, 0});
    ExpectStored(L"BarvaPozadi", REG_DWORD, {1, 2, 3, 0});
    ExpectStoredFont(lf);
    ExpectStored(L"VPismo", REG_BINARY, {0, 0, 0, 0});
    ExpectStored(L"MPismo", REG_BINARY, {1, 0, 0, 0});
    ExpectStored(L"Cisla", REG_BINARY, {0, 0, 0, 0});
    ExpectStored(L"Symboly", REG_BINARY, {1, 0, 0, 0});
    ExpectStored(L"Hesla", REG_DWORD, {37, 0, 0, 0});
    ExpectStored(L"Znaky", REG_DWORD, {12, 0, 0, 0});

    Restart();
    EXPECT_FALSE(Ticked(IDC_VPISMO));
    EXPECT_TRUE(Ticked(IDC_MPISMO));
    EXPECT_FALSE(Ticked(IDC_CISLA));
    EXPECT_TRUE(Ticked(IDC_SYMBOLY));
    EXPECT_EQ(L"37", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"12", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(RGB(255, 0, 0), g_crBarvaPisma);
    EXPECT_EQ(RGB(1, 2, 3), g_crBarvaPozadi);
    LOGBRUSH brush = {};
    ASSERT_EQ(static_cast<int>(sizeof brush), GetObjectW(g_hbrPozadi, sizeof brush, &brush));
    EXPECT_EQ(RGB(1, 2, 3), brush.lbColor);
    ASSERT_NE(nullptr, g_hfPismo);
    EXPECT_EQ(g_hfPismo, PaneFont());
    ExpectSameFont(lf, FontOf(g_hfPismo));
}

TEST_F(StoreTest, AnyNonZeroFlagTicksAndAnyTypeOfFourBytesLoads)
{
    PutValue(L"VPismo", REG_BINARY, Le(2).data(), 4);
    PutValue(L"MPismo", REG_BINARY, Le(0xFFFFFFFF).data(), 4);
    PutDword(L"Cisla", 7);
    PutValue(L"Symboly", REG_SZ, Le(0).data(), 4);
    PutValue(L"Hesla", REG_BINARY, Le(42).data(), 4);
    PutValue(L"Znaky", REG_SZ, Le(9).data(), 4);
    PutValue(L"BarvaPisma", REG_BINARY, Le(RGB(0, 128, 255)).data(), 4);
    Restart();
    EXPECT_TRUE(Ticked(IDC_VPISMO));
    EXPECT_TRUE(Ticked(IDC_MPISMO));
    EXPECT_TRUE(Ticked(IDC_CISLA));
    EXPECT_FALSE(Ticked(IDC_SYMBOLY));
    EXPECT_EQ(L"42", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"9", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(RGB(0, 128, 255), g_crBarvaPisma);
    // The boxes are set before the counts, so the check that loading a count runs evens the flags.
    EXPECT_EQ(1, g_bVPismo);

    CloseMainWindow();
    ExpectStored(L"VPismo", REG_BINARY, Le(1));
    ExpectStored(L"MPismo", REG_BINARY, Le(1));
    ExpectStored(L"Cisla", REG_BINARY, Le(1));
    ExpectStored(L"Hesla", REG_DWORD, Le(42));
}

TEST_F(StoreTest, ValueLongerOrShorterThanItsDestinationIsIgnored)
{
    LOGFONTA lf = FontOf(GetStockObject(DEFAULT_GUI_FONT));
    lstrcpyA(lf.lfFaceName, "DejaVu Sans Mono");
    BYTE font[sizeof lf + 4] = {};
    memcpy(font, &lf, sizeof lf);
    const BYTE number[8] = {5, 0, 0, 0, 5, 0, 0, 0};
    const DWORD sizes[][2] = {{3, sizeof lf - 1}, {8, sizeof lf + 1}, {0, 0}};
    for (const DWORD* size : sizes) {
        SCOPED_TRACE(size[0]);
        DeleteSettingsKey();
        for (int i = 0; i < 9; ++i)
            PutValue(kNames[i], kTypes[i], i == 2 ? font : number, i == 2 ? size[1] : size[0]);
        Restart();
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), g_crBarvaPisma);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), g_crBarvaPozadi);
        EXPECT_EQ(nullptr, g_hbrPozadi);
        EXPECT_EQ(nullptr, g_hfPismo);
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), PaneFont());
        for (int box : kBoxes)
            EXPECT_FALSE(Ticked(box)) << box;
        EXPECT_EQ(L"1", TextOf(g_hwndePocetHesel));
        EXPECT_EQ(L"1", TextOf(g_hwndePocetZnaku));
    }
}

TEST_F(StoreTest, StoredCountsGoThroughTheInputCheck)
{
    PutDword(L"Hesla", 500);
    Restart();
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(100, g_nPocetHesel);

    PutDword(L"Hesla", static_cast<DWORD>(-5));
    PutDword(L"Znaky", static_cast<DWORD>(-3));
    Restart();
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(20, g_nPocetZnaku);

    // A stored zero switches the correction off, so the other count stays as stored.
    PutDword(L"Hesla", 0);
    PutDword(L"Znaky", 50);
    Restart();
    EXPECT_EQ(L"0", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"50", TextOf(g_hwndePocetZnaku));
}

namespace {

// Taken before a hook is set, so the stand-ins reach the system's functions; volatile, or the
// compiler calls through the hooked import slot instead.
HFONT(WINAPI* volatile g_realCreateFont)(const LOGFONTA*);
LSTATUS(WINAPI* volatile g_realSetValue)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

LOGFONTA g_madeFrom;
int g_fontsMade;

HFONT WINAPI RecordCreateFont(const LOGFONTA* lf)
{
    g_madeFrom = *lf;
    ++g_fontsMade;
    return g_realCreateFont(lf);
}

}  // namespace

TEST_F(StoreTest, FontBlobIsMadeIntoAFontOnlyWithATerminatedFaceName)
{
    g_realCreateFont = CreateFontIndirectA;
    ImportHook hook(reinterpret_cast<void*>(g_realCreateFont), reinterpret_cast<void*>(RecordCreateFont));
    ASSERT_TRUE(hook.Hooked());
    std::mt19937 random(1234);
    for (int round = 0; round < 20; ++round) {
        BYTE blob[sizeof(LOGFONTA)];
        for (BYTE& b : blob)
            b = static_cast<BYTE>(round < 10 ? random() : 'A' + random() % 26);
        PutValue(L"Pismo", REG_BINARY, blob, sizeof blob);
        g_fontsMade = 0;
        Restart();
        ASSERT_EQ(1, g_fontsMade);
        EXPECT_EQ(0, g_madeFrom.lfFaceName[LF_FACESIZE - 1]);
        EXPECT_EQ(0, memcmp(blob, &g_madeFrom, sizeof blob - 1));
        EXPECT_EQ(g_hfPismo, PaneFont());
        CloseMainWindow();
    }
}

TEST_F(StoreTest, PaneWithoutAFontOfItsOwnStoresTheStockFont)
{
    SendMessageW(g_hwndeHesla, WM_SETFONT, 0, FALSE);
    CloseMainWindow();
    ExpectStoredFont(FontOf(GetStockObject(DEFAULT_GUI_FONT)));
}

namespace {

const wchar_t* g_failingName;

LSTATUS WINAPI FailOneWrite(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    if (name && lstrcmpW(name, g_failingName) == 0)
        return ERROR_ACCESS_DENIED;
    return g_realSetValue(key, name, reserved, type, data, size);
}

}  // namespace

// Each value in turn is made to fail: those before it carry the new state, it and those after it
// keep what the previous close stored, and the window still closes.
TEST_F(StoreTest, FailedWriteEndsTheSaveAndKeepsEarlierValues)
{
    CloseMainWindow();
    std::vector<BYTE> before[9], after[9];
    DWORD type;
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(GetValue(kNames[i], &type, &before[i]));
    for (int failing = 0; failing < 9; ++failing) {
        SCOPED_TRACE(failing);
        Restart();
        g_crBarvaPisma = RGB(9, 9, 9);
        g_crBarvaPozadi = RGB(8, 8, 8);
        SendMessageW(g_hwndeHesla, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);
        for (int box : kBoxes)
            CheckDlgButton(g_hwndwMain, box, BST_CHECKED);
        SetWindowTextW(g_hwndePocetHesel, L"77");
        SetWindowTextW(g_hwndePocetZnaku, L"17");
        {
            g_realSetValue = RegSetValueExW;
            ImportHook hook(reinterpret_cast<void*>(g_realSetValue), reinterpret_cast<void*>(FailOneWrite));
            ASSERT_TRUE(hook.Hooked());
            g_failingName = kNames[failing];
            CloseMainWindow();
        }
        EXPECT_FALSE(IsWindow(g_hwndwMain));
        for (int i = 0; i < 9; ++i) {
            ASSERT_TRUE(GetValue(kNames[i], &type, &after[i]));
            if (i < failing)
                EXPECT_NE(before[i], after[i]) << i;
            else
                EXPECT_EQ(before[i], after[i]) << i;
        }
        DeleteSettingsKey();
        for (int i = 0; i < 9; ++i)
            PutValue(kNames[i], kTypes[i], before[i].data(), static_cast<DWORD>(before[i].size()));
    }
}

namespace {

// What a count field shows after loading: a count out of range goes to the top of its range,
// unless the number of passwords loaded as 0, which switches the input check off.
std::wstring Shown(bool loaded, int value, int top, bool checkOff)
{
    if (!loaded)
        return L"1";
    if (value == 0 || (value >= 1 && value <= top) || checkOff)
        return std::to_wstring(value);
    return std::to_wstring(top);
}

}  // namespace

// Whatever is stored, the program starts, takes exactly the values of the right size, and its
// next close stores what its controls show.
TEST_F(StoreTest, RandomStoredValuesLoadByTheRulesAndStoreBack)
{
    const DWORD numbers[] = {0, 1, 2, 19, 20, 21, 99, 100, 101, 500, static_cast<DWORD>(-1),
                             static_cast<DWORD>(-5), 0x80000000, 0x7FFFFFFF, 1000000000};
    const DWORD types[] = {REG_BINARY, REG_DWORD, REG_SZ, REG_QWORD};
    std::mt19937 random(20240607);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        DeleteSettingsKey();
        bool loads[9];
        int number[9];
        for (int i = 0; i < 9; ++i) {
            BYTE data[sizeof(LOGFONTA) + 4];
            for (BYTE& b : data)
                b = static_cast<BYTE>(random());
            number[i] = static_cast<int>(random() % 2 ? numbers[random() % ARRAYSIZE(numbers)] : random());
            if (i < 2)
                number[i] &= 0x00FFFFFF;
            memcpy(data, &number[i], sizeof number[i]);
            if (i == 2 && random() % 2) {
                LOGFONTA lf = FontOf(GetStockObject(DEFAULT_GUI_FONT));
                lf.lfHeight = -static_cast<int>(random() % 40);
                lf.lfUnderline = random() % 2;
                memcpy(data, &lf, sizeof lf);
            }
            const DWORD full = i == 2 ? sizeof(LOGFONTA) : 4;
            DWORD type = kTypes[i], size = full;
            switch (random() % 4) {
            case 0: loads[i] = false; continue;
            case 1: break;
            case 2: type = types[random() % ARRAYSIZE(types)]; break;
            case 3:
                size = random() % (full + 4);
                if (size >= full)
                    ++size;
                break;
            }
            loads[i] = size == full;
            PutValue(kNames[i], type, data, size);
        }

        Restart();
        const COLORREF text = loads[0] ? number[0] : GetSysColor(COLOR_WINDOWTEXT);
        const COLORREF back = loads[1] ? number[1] : GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(text, g_crBarvaPisma);
        EXPECT_EQ(back, g_crBarvaPozadi);
        LOGBRUSH brush = {};
        EXPECT_EQ(loads[1], GetObjectW(g_hbrPozadi, sizeof brush, &brush) == sizeof brush);
        EXPECT_EQ(loads[1] ? back : 0, brush.lbColor);
        EXPECT_EQ(loads[2], g_hfPismo != NULL);
        EXPECT_EQ(loads[2] ? g_hfPismo : GetStockObject(DEFAULT_GUI_FONT), PaneFont());
        const LOGFONTA font = FontOf(PaneFont());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(loads[3 + i] && number[3 + i] != 0, Ticked(kBoxes[i])) << i;
        const std::wstring hesla = Shown(loads[7], number[7], 100, false);
        const std::wstring znaky = Shown(loads[8], number[8], 20, loads[7] && number[7] == 0);
        EXPECT_EQ(hesla, TextOf(g_hwndePocetHesel));
        EXPECT_EQ(znaky, TextOf(g_hwndePocetZnaku));

        CloseMainWindow();
        ExpectStored(L"BarvaPisma", REG_DWORD, Le(text));
        ExpectStored(L"BarvaPozadi", REG_DWORD, Le(back));
        ExpectStoredFont(font);
        for (int i = 0; i < 4; ++i)
            ExpectStored(kNames[3 + i], REG_BINARY, Le(loads[3 + i] && number[3 + i] != 0));
        // The field is read as the input check reads it: its first nine characters.
        ExpectStored(L"Hesla", REG_DWORD, Le(_wtoi(hesla.substr(0, 9).c_str())));
        ExpectStored(L"Znaky", REG_DWORD, Le(_wtoi(znaky.substr(0, 9).c_str())));
    }
}
