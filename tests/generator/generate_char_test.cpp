// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Drawing characters: the mapping from draws to codes, the classes' exact sets and their odds.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include <windows.h>
#include <bcrypt.h>

#include "app_state.h"
#include "generator.h"
#include "import_hook.h"

namespace {

std::deque<unsigned> g_script;
std::vector<unsigned> g_asked;

bool ScriptedRandom(unsigned n, unsigned* draw)
{
    g_asked.push_back(n);
    if (g_script.empty())
        return false;
    *draw = g_script.front() % n;
    g_script.pop_front();
    return true;
}

class GenerateCharTest : public ::testing::Test {
protected:
    void SetUp() override { g_script.clear(); g_asked.clear(); }
    void TearDown() override
    {
        g_pfnNahoda = SystemRandom;
        g_bVPismo = g_bMPismo = g_bCisla = g_bSymboly = 0;
    }
    void Tick(int upper, int lower, int digits, int symbols)
    {
        g_bVPismo = upper; g_bMPismo = lower; g_bCisla = digits; g_bSymboly = symbols;
    }
    int Scripted(std::initializer_list<unsigned> draws)
    {
        g_pfnNahoda = ScriptedRandom;
        g_script.assign(draws);
        g_asked.clear();
        const int code = GenerateChar();
        EXPECT_TRUE(g_script.empty()) << "draws left over";
        return code;
    }
};

TEST_F(GenerateCharTest, ScriptedDrawsMapToExactCodes)
{
    Tick(1, 1, 1, 1);
    EXPECT_EQ(65, Scripted({0, 0}));
    EXPECT_EQ(90, Scripted({0, 25}));
    EXPECT_EQ(97, Scripted({1, 0}));
    EXPECT_EQ(122, Scripted({1, 25}));
    EXPECT_EQ(48, Scripted({2, 0}));
    EXPECT_EQ(57, Scripted({2, 9}));
    EXPECT_EQ(33, Scripted({3, 0, 0}));
    EXPECT_EQ(47, Scripted({3, 0, 14}));
    EXPECT_EQ(58, Scripted({3, 1, 0}));
    EXPECT_EQ(64, Scripted({3, 1, 6}));
    EXPECT_EQ(153, Scripted({3, 2, 0}));
    EXPECT_EQ(160, Scripted({3, 2, 7}));
    EXPECT_EQ(187, Scripted({3, 2, 34}));
}

TEST_F(GenerateCharTest, DrawsAreAskedInOrderWithTheirRanges)
{
    Tick(1, 1, 1, 1);
    Scripted({3, 2, 7});
    EXPECT_EQ((std::vector<unsigned>{4, 3, 35}), g_asked);
    Scripted({3, 0, 1});
    EXPECT_EQ((std::vector<unsigned>{4, 3, 15}), g_asked);
    Scripted({3, 1, 1});
    EXPECT_EQ((std::vector<unsigned>{4, 3, 7}), g_asked);
    Scripted({0, 1});
    EXPECT_EQ((std::vector<unsigned>{4, 26}), g_asked);
    Scripted({2, 1});
    EXPECT_EQ((std::vector<unsigned>{4, 10}), g_asked);
}

TEST_F(GenerateCharTest, UntickedClassIsDrawnAgain)
{
    Tick(0, 0, 1, 0);
    EXPECT_EQ(55, Scripted({0, 1, 3, 0, 2, 7}));
    EXPECT_EQ((std::vector<unsigned>{4, 4, 4, 4, 4, 10}), g_asked);
    Tick(0, 1, 0, 0);
    EXPECT_EQ(98, Scripted({3, 1, 1}));
}

TEST_F(GenerateCharTest, FailingSourceGivesNoCharacter)
{
    Tick(1, 1, 1, 1);
    EXPECT_EQ(0, Scripted({}));
    EXPECT_EQ(0, Scripted({3}));
    EXPECT_EQ(0, Scripted({3, 2}));
    EXPECT_EQ(0, Scripted({0}));
}

bool IsSymbol(int c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 153 && c <= 187);
}

TEST_F(GenerateCharTest, SingleClassesStayInsideTheirSets)
{
    Tick(0, 0, 1, 0);
    for (int i = 0; i < 2000; ++i) {
        const int c = GenerateChar();
        ASSERT_TRUE(c >= '0' && c <= '9') << c;
    }
    Tick(0, 0, 0, 1);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        const int c = GenerateChar();
        ASSERT_TRUE(IsSymbol(c)) << c;
        seen.insert(c);
    }
    // Every one of the 57 symbols turns up in a sample this size, the no-break space and the
    // soft hyphen among them.
    EXPECT_EQ(57u, seen.size());
    EXPECT_TRUE(seen.count(160));
    EXPECT_TRUE(seen.count(173));
    Tick(1, 0, 0, 0);
    for (int i = 0; i < 2000; ++i) {
        const int c = GenerateChar();
        ASSERT_TRUE(c >= 'A' && c <= 'Z') << c;
    }
    Tick(0, 1, 0, 0);
    for (int i = 0; i < 2000; ++i) {
        const int c = GenerateChar();
        ASSERT_TRUE(c >= 'a' && c <= 'z') << c;
    }
}

// Bounds are more than six standard deviations wide: they never fail by chance.
TEST_F(GenerateCharTest, ClassesAndSubrangesAreEquallyLikely)
{
    const int n = 40000;
    Tick(1, 0, 1, 0);
    int digits = 0;
    for (int i = 0; i < n; ++i)
        digits += GenerateChar() <= '9';
    EXPECT_NEAR(n / 2, digits, 700);

    Tick(1, 1, 1, 1);
    std::map<int, int> perClass;
    int sub[3] = {};
    int symbols = 0;
    for (int i = 0; i < n; ++i) {
        const int c = GenerateChar();
        const int k = c >= 'A' && c <= 'Z' ? 0 : c >= 'a' && c <= 'z' ? 1 : c >= '0' && c <= '9' ? 2 : 3;
        ++perClass[k];
        if (k == 3) {
            ++symbols;
            ++sub[c <= 47 ? 0 : c <= 64 ? 1 : 2];
        }
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(n / 4, perClass[k], 600) << "class " << k;
    for (int s = 0; s < 3; ++s)
        EXPECT_NEAR(symbols / 3, sub[s], 400) << "sub-range " << s;
}

// Scripted system words: 2^32 mod 35 = 11, so words 0 to 10 would make a plain remainder favour
// the codes 0 to 10; they are thrown away and the next word is used.
UINT32 g_awSkript[8];
int g_nBloky;
typedef NTSTATUS(WINAPI* GenRandomFn)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
// The system's own function: the import slot's target, not the stub that jumps through the slot.
GenRandomFn volatile g_realGenRandom;

// The first block the source fetches is the script, behind one word a drain takes; later blocks
// are the system's again, so no test after this one draws from a scripted block.
NTSTATUS WINAPI ScriptedWords(BCRYPT_ALG_HANDLE alg, PUCHAR buffer, ULONG size, ULONG flags)
{
    if (g_nBloky++ > 0)
        return g_realGenRandom(alg, buffer, size, flags);
    ZeroMemory(buffer, size);
    CopyMemory(buffer + sizeof(UINT32), g_awSkript, sizeof g_awSkript);
    return 0;
}

unsigned Draw(unsigned n)
{
    unsigned d = 99;
    EXPECT_TRUE(SystemRandom(n, &d));
    return d;
}

TEST_F(GenerateCharTest, SystemSourceRejectsTheWordsThatWouldBiasTheRemainder)
{
    const UINT32 script[] = {0, 10, 11, 0xFFFFFFFF, 0xFFFFFFF5, 34, 7};
    CopyMemory(g_awSkript, script, sizeof script);
    void* real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"bcrypt.dll"), "BCryptGenRandom"));
    g_realGenRandom = reinterpret_cast<GenRandomFn>(real);
    ImportHook hook(real, reinterpret_cast<void*>(ScriptedWords));
    ASSERT_TRUE(hook.Hooked());
    g_nBloky = 0;
    // Words left from an earlier block go first: a range of 1 takes one word and rejects none.
    while (g_nBloky == 0)
        Draw(1);
    EXPECT_EQ(11u, Draw(35));
    EXPECT_EQ(10u, Draw(35));
    EXPECT_EQ(0u, Draw(35));
    EXPECT_EQ(34u, Draw(35));
    EXPECT_EQ(0u, Draw(1));
    EXPECT_EQ(1, g_nBloky);
    while (g_nBloky == 1)
        Draw(1);
}

}  // namespace
