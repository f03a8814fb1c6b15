// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Reading and checking the two counts: typed and pasted entries, corrections and focus.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "app_state.h"

namespace {

class InputsTest : public MainWindowTest {
protected:
    void Paste(HWND edit, const wchar_t* text) { SetWindowTextW(edit, text); }
    void Retype(HWND edit, const wchar_t* text)
    {
        SetWindowTextW(edit, L"");
        TypeInto(edit, text);
    }
};

TEST_F(InputsTest, TooManyPasswordsBecomeTheTopOfTheRangeWithFocus)
{
    SetFocus(g_hwndePocetZnaku);
    SetWindowTextW(g_hwndePocetHesel, L"");
    TypeInto(g_hwndePocetHesel, L"15");
    EXPECT_EQ(L"15", TextOf(g_hwndePocetHesel));
    SetFocus(g_hwndePocetZnaku);
    TypeInto(g_hwndePocetHesel, L"0");
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(100, g_nPocetHesel);
    EXPECT_EQ(g_hwndePocetHesel, GetFocus());
}

TEST_F(InputsTest, TooManyCharactersBecomeTwentyWithFocus)
{
    SetFocus(g_hwndePocetHesel);
    Retype(g_hwndePocetZnaku, L"25");
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(20, g_nPocetZnaku);
    EXPECT_EQ(g_hwndePocetZnaku, GetFocus());

    Paste(g_hwndePocetZnaku, L"-7");
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    Paste(g_hwndePocetHesel, L"-1");
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
}

// The top of each range is kept as it is; one above it is corrected, which also takes the focus.
TEST_F(InputsTest, TopOfEachRangeStaysAndOneAboveIsCorrected)
{
    const struct {
        HWND* edit;
        HWND* other;
        const wchar_t* entry;
        const wchar_t* shown;
        int* count;
        bool corrected;
    } cases[] = {
        {&g_hwndePocetZnaku, &g_hwndePocetHesel, L"20", L"20", &g_nPocetZnaku, false},
        {&g_hwndePocetZnaku, &g_hwndePocetHesel, L"21", L"20", &g_nPocetZnaku, true},
        {&g_hwndePocetHesel, &g_hwndePocetZnaku, L"100", L"100", &g_nPocetHesel, false},
        {&g_hwndePocetHesel, &g_hwndePocetZnaku, L"101", L"100", &g_nPocetHesel, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        SetFocus(*c.other);
        Paste(*c.edit, c.entry);
        EXPECT_EQ(c.shown, TextOf(*c.edit));
        EXPECT_EQ(_wtoi(c.shown), *c.count);
        EXPECT_EQ(c.corrected ? *c.edit : *c.other, GetFocus());
    }
}

TEST_F(InputsTest, EntriesConvertLikeAtoi)
{
    Retype(g_hwndePocetZnaku, L"007");
    EXPECT_EQ(7, g_nPocetZnaku);
    EXPECT_EQ(L"007", TextOf(g_hwndePocetZnaku));
    Paste(g_hwndePocetZnaku, L"12ab");
    EXPECT_EQ(12, g_nPocetZnaku);
    EXPECT_EQ(L"12ab", TextOf(g_hwndePocetZnaku));
    Paste(g_hwndePocetHesel, L" +42");
    EXPECT_EQ(42, g_nPocetHesel);
    // Only nine characters are read: 000000005 counts, the tenth digit does not.
    Paste(g_hwndePocetHesel, L"0000000056");
    EXPECT_EQ(5, g_nPocetHesel);
    EXPECT_EQ(L"0000000056", TextOf(g_hwndePocetHesel));
    Paste(g_hwndePocetHesel, L"1234567890");
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
}

TEST_F(InputsTest, AZeroCountSuspendsAllCorrection)
{
    Paste(g_hwndePocetHesel, L"");
    Paste(g_hwndePocetZnaku, L"50");
    EXPECT_EQ(L"50", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(50, g_nPocetZnaku);
    Paste(g_hwndePocetHesel, L"abc");
    EXPECT_EQ(L"50", TextOf(g_hwndePocetZnaku));

    SetFocus(g_hwndePocetHesel);
    Retype(g_hwndePocetHesel, L"5");
    EXPECT_EQ(L"5", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(g_hwndePocetZnaku, GetFocus());

    Paste(g_hwndePocetZnaku, L"0");
    Paste(g_hwndePocetHesel, L"777");
    EXPECT_EQ(L"777", TextOf(g_hwndePocetHesel));
}

TEST_F(InputsTest, BothOutOfRangeAreCorrectedPasswordsFirst)
{
    Paste(g_hwndePocetHesel, L"");
    Paste(g_hwndePocetZnaku, L"99");
    Paste(g_hwndePocetHesel, L"500");
    EXPECT_EQ(L"100", TextOf(g_hwndePocetHesel));
    EXPECT_EQ(L"20", TextOf(g_hwndePocetZnaku));
    EXPECT_EQ(100, g_nPocetHesel);
    EXPECT_EQ(20, g_nPocetZnaku);
    // The characters correction ran nested inside the passwords one, which takes the focus last.
    EXPECT_EQ(g_hwndePocetHesel, GetFocus());
}

TEST_F(InputsTest, BoxesAreReadOnlyWhenTheInputsAreChecked)
{
    SendMessageW(g_hwndcVPismo, BM_CLICK, 0, 0);
    SendMessageW(g_hwndcSymboly, BM_CLICK, 0, 0);
    EXPECT_EQ(0, g_bVPismo);
    Paste(g_hwndePocetZnaku, L"3");
    EXPECT_EQ(1, g_bVPismo);
    EXPECT_EQ(0, g_bMPismo);
    EXPECT_EQ(0, g_bCisla);
    EXPECT_EQ(1, g_bSymboly);
}

}  // namespace
