// The state a fresh process starts with; this file sorts first, so it runs before any window opens.
#include <gtest/gtest.h>

#include "app_state.h"

namespace {

TEST(StartColours, AreTheSystemColoursBeforeAnyWindowExists)
{
    // Runs before any test has opened a window in this process.
    ASSERT_EQ(nullptr, g_hwndwMain);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), g_crBarvaPisma);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), g_crBarvaPozadi);
    EXPECT_EQ(nullptr, g_hbrPozadi);
    EXPECT_EQ(nullptr, g_hfPismo);
    EXPECT_EQ(0, g_nPocetHesel + g_nPocetZnaku + g_bCisla + g_bSymboly + g_bVPismo + g_bMPismo);
}

}  // namespace
