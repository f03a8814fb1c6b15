// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The state a fresh process starts with, checked in a test program of its own: no window has
// opened and no fixture has reset the state before it runs.
#include <gtest/gtest.h>

#include "app_state.h"

namespace {

TEST(StartColours, AreTheSystemColoursBeforeAnyWindowExists)
{
    ASSERT_EQ(nullptr, g_hwndwMain);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), g_crBarvaPisma);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), g_crBarvaPozadi);
    EXPECT_EQ(nullptr, g_hbrPozadi);
    EXPECT_EQ(nullptr, g_hfPismo);
    EXPECT_EQ(0, g_nPocetHesel + g_nPocetZnaku + g_bCisla + g_bSymboly + g_bVPismo + g_bMPismo);
}

}  // namespace
