// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The generation run: what the pane holds after generate and clear.
#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include <deque>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "app_state.h"
#include "generator.h"
#include "import_hook.h"
#include "resource.h"

namespace {

std::deque<unsigned> g_draws;
int g_nUntilFailure;

// Taken before the hook is set; volatile, so the call is not turned into one through the
// hooked import slot.
LPVOID(WINAPI* volatile g_realHeapAlloc)(HANDLE, DWORD, SIZE_T);

LPVOID WINAPI NoMemory(HANDLE, DWORD, SIZE_T)
{
    return NULL;
}

bool Scripted(unsigned n, unsigned* draw)
{
    if (g_nUntilFailure-- == 0)
        return false;
    if (g_draws.empty())
        g_draws.push_back(0);
    *draw = g_draws.front() % n;
    g_draws.pop_front();
    return true;
}

// Known words in place of the system's: the k-th handed out is kKnown + k. Words this high are
// never a draw's reject, and look like no text and no small number.
const UINT32 kKnown = 0xB5C3D000;
UINT32 g_nHanded;

NTSTATUS WINAPI KnownWords(BCRYPT_ALG_HANDLE, PUCHAR buffer, ULONG size, ULONG)
{
    for (ULONG i = 0; i + sizeof(UINT32) <= size; i += sizeof(UINT32))
        *reinterpret_cast<UINT32*>(buffer + i) = kKnown + g_nHanded++;
    return 0;
}

// With no word rejected, each draw takes one word.
UINT32 g_nDrawn;

bool CountedSystemDraw(unsigned n, unsigned* draw)
{
    ++g_nDrawn;
    return SystemRandom(n, draw);
}

// The numbers of the known words in the process's writable memory: its images' data, heaps and
// stacks.
std::vector<UINT32> KnownWordsInMemory()
{
    std::vector<UINT32> found;
    const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    MEMORY_BASIC_INFORMATION region;
    for (const BYTE* at = NULL; VirtualQuery(at, &region, sizeof region);
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT || !(region.Protect & writable) || (region.Protect & PAGE_GUARD))
            continue;
        const UINT32* words = static_cast<const UINT32*>(region.BaseAddress);
        for (SIZE_T i = 0; i < region.RegionSize / sizeof(UINT32); ++i) {
            if (words[i] - kKnown < g_nHanded)
                found.push_back(words[i] - kKnown);
        }
    }
    return found;
}

class RunTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        g_pfnNahoda = SystemRandom;
        MainWindowTest::TearDown();
    }
    void Set(const wchar_t* hesel, const wchar_t* znaku, bool upper, bool lower, bool digits, bool symbols)
    {
        SetWindowTextW(g_hwndePocetHesel, hesel);
        SetWindowTextW(g_hwndePocetZnaku, znaku);
        const bool ticks[] = {upper, lower, digits, symbols};
        for (int i = 0; i < 4; ++i)
            SendDlgItemMessageW(g_hwndwMain, 781 + i, BM_SETCHECK, ticks[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // The pane's text in the bytes a saved file gets.
    std::string PaneBytes()
    {
        const std::wstring text = TextOf(g_hwndeHesla);
        std::string bytes(text.size() * 2, '\0');
        bytes.resize(WideCharToMultiByte(1250, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0],
                                         static_cast<int>(bytes.size()), NULL, NULL));
        return bytes;
    }
};

// Checks the lines and returns the password characters.
std::string Passwords(const std::string& text, int lines, int length)
{
    std::string chars;
    EXPECT_EQ(static_cast<size_t>(lines * (length + 2)), text.size());
    for (int i = 0; i < lines && text.size() >= static_cast<size_t>((i + 1) * (length + 2)); ++i) {
        const std::string line = text.substr(i * (length + 2), length + 2);
        EXPECT_EQ("\r\n", line.substr(length)) << "line " << i;
        EXPECT_EQ(std::string::npos, line.substr(0, length).find_first_of("\r\n"));
        chars += line.substr(0, length);
    }
    return chars;
}

TEST_F(RunTest, FivePasswordsOfEightFillFiftyBytesAndEachRunReplacesTheLast)
{
    Set(L"5", L"8", true, true, true, true);
    Command(ID_AKCE_GENERUJ);
    const std::string first = PaneBytes();
    Passwords(first, 5, 8);
    Command(ID_AKCE_GENERUJ);
    const std::string second = PaneBytes();
    Passwords(second, 5, 8);
    EXPECT_NE(first, second);

    Set(L"100", L"20", true, true, true, true);
    Command(ID_AKCE_GENERUJ);
    Passwords(PaneBytes(), 100, 20);
}

TEST_F(RunTest, CharactersComeOnlyFromTheTickedClasses)
{
    Set(L"100", L"20", false, true, true, false);
    Command(ID_AKCE_GENERUJ);
    const std::string chars = Passwords(PaneBytes(), 100, 20);
    EXPECT_EQ(std::string::npos, chars.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789"));

    Set(L"100", L"20", false, false, false, true);
    Command(ID_AKCE_GENERUJ);
    for (unsigned char c : Passwords(PaneBytes(), 100, 20))
        EXPECT_TRUE((c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 153 && c <= 187)) << int(c);
}

TEST_F(RunTest, PasswordsAndCharactersKeepTheOrderDrawn)
{
    g_pfnNahoda = Scripted;
    g_nUntilFailure = -1;
    // Class draws then character draws: "07", "3", "A", then the symbols 153 (shown as the
    // trade mark sign) and 160 (no-break space).
    g_draws = {2, 0, 2, 7, 2, 3, 0, 0, 3, 2, 0, 3, 2, 7};
    Set(L"3", L"2", true, false, true, true);
    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(L"07\r\n3A\r\n\u2122\u00A0\r\n", TextOf(g_hwndeHesla));
}

// Codes above 127 are Windows-1250 whatever the system's code page: spot checks, several of
// which other code pages put other letters on.
TEST_F(RunTest, HighSymbolCodesShowAsTheirWindows1250Characters)
{
    g_pfnNahoda = Scripted;
    g_nUntilFailure = -1;
    g_draws = {3, 2, 0, 3, 2, 1, 3, 2, 3, 3, 2, 7, 3, 2, 10, 3, 2, 12, 3, 2, 32, 3, 2, 34};
    Set(L"1", L"8", false, false, false, true);
    Command(ID_AKCE_GENERUJ);
    // 0x99 0x9A 0x9C 0xA0 0xA3 0xA5 0xB9 0xBB
    EXPECT_EQ(L"\u2122\u0161\u015B\u00A0\u0141\u0104\u0105\u00BB\r\n", TextOf(g_hwndeHesla));
}

TEST_F(RunTest, NoTickedClassLeavesThePaneEmpty)
{
    Set(L"5", L"8", false, false, false, true);
    Command(ID_AKCE_GENERUJ);
    ASSERT_FALSE(TextOf(g_hwndeHesla).empty());
    Set(L"5", L"8", false, false, false, false);
    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
}

TEST_F(RunTest, ZeroCharactersGiveEmptyLinesButNeverMoreThanAHundred)
{
    Set(L"7", L"0", true, false, false, false);
    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(std::string(7 * 2, '\0').replace(0, 14, "\r\n\r\n\r\n\r\n\r\n\r\n\r\n"), PaneBytes());

    // With no characters the passwords count goes unchecked; the run still stops at 100.
    Set(L"999999999", L"", true, false, false, false);
    EXPECT_EQ(L"999999999", TextOf(g_hwndePocetHesel));
    Command(ID_AKCE_GENERUJ);
    Passwords(PaneBytes(), 100, 0);

    Set(L"0", L"5", true, false, false, false);
    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
}

TEST_F(RunTest, UserTextIsReplacedAndAFailedDrawLeavesThePaneEmpty)
{
    Set(L"5", L"8", true, false, false, false);
    SetWindowTextW(g_hwndeHesla, L"typed\r\nby hand");
    Command(ID_AKCE_GENERUJ);
    Passwords(PaneBytes(), 5, 8);

    // Without randomness there are no passwords, not weak ones.
    g_pfnNahoda = Scripted;
    g_nUntilFailure = 30;
    Command(ID_AKCE_GENERUJ);
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
}

TEST_F(RunTest, NoMemoryForTheRunLeavesThePaneEmpty)
{
    Set(L"5", L"8", true, false, false, false);
    SetWindowTextW(g_hwndeHesla, L"old passwords");
    g_realHeapAlloc = HeapAlloc;
    {
        ImportHook hook(reinterpret_cast<void*>(g_realHeapAlloc), reinterpret_cast<void*>(NoMemory));
        ASSERT_TRUE(hook.Hooked());
        Command(ID_AKCE_GENERUJ);
    }
    EXPECT_EQ(L"", TextOf(g_hwndeHesla));
    Command(ID_AKCE_GENERUJ);
    Passwords(PaneBytes(), 5, 8);
}

TEST_F(RunTest, AfterARunTheCaretAndTheViewAreOnTheFirstPassword)
{
    Set(L"100", L"20", true, true, true, true);
    Command(ID_AKCE_GENERUJ);
    DWORD start = 1, end = 1;
    SendMessageW(g_hwndeHesla, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
    EXPECT_EQ(0, SendMessageW(g_hwndeHesla, EM_GETFIRSTVISIBLELINE, 0, 0));
}

// Each word is wiped once drawn: after a run only the words the next run will draw are left.
TEST_F(RunTest, NoWordARunDrewIsLeftInMemory)
{
    void* real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"bcrypt.dll"), "BCryptGenRandom"));
    unsigned draw;
    {
        ImportHook hook(real, reinterpret_cast<void*>(KnownWords));
        ASSERT_TRUE(hook.Hooked());
        // Words left from earlier runs go first; the draw that fetches the known ones takes one.
        g_nHanded = 0;
        while (g_nHanded == 0)
            SystemRandom(1, &draw);
        g_nDrawn = 1;
        g_pfnNahoda = CountedSystemDraw;
        Set(L"5", L"8", true, true, true, true);
        Command(ID_AKCE_GENERUJ);
    }
    Passwords(PaneBytes(), 5, 8);
    ASSERT_LT(g_nDrawn, g_nHanded) << "the scan must find the words not yet drawn";
    std::vector<UINT32> expected;
    for (UINT32 k = g_nDrawn; k < g_nHanded; ++k)
        expected.push_back(k);
    EXPECT_EQ(expected, KnownWordsInMemory());
    // The known words left are drawn, so no later test draws them.
    for (UINT32 k = g_nDrawn; k < g_nHanded; ++k)
        SystemRandom(1, &draw);
}

}  // namespace
