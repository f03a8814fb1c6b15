// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The shared fixture: every test on a freshly opened main window, and settings put in for it.
#include "app_fixture.h"

#include "app_state.h"

void PutValue(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, TXT_KLIC_NASTAVENI, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void PutDword(const wchar_t* name, DWORD value)
{
    PutValue(name, REG_DWORD, &value, sizeof value);
}

FrameMetrics::FrameMetrics(int captionHeight) : saved_(), set_(false)
{
    saved_.cbSize = sizeof saved_;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0))
        return;
    NONCLIENTMETRICSW frames = saved_;
    frames.iCaptionHeight = captionHeight;
    frames.iMenuHeight = 18;
    frames.iBorderWidth = 1;
    frames.iPaddedBorderWidth = 0;
    set_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof frames, &frames, 0) != FALSE;
}

FrameMetrics::~FrameMetrics()
{
    if (set_)
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
}

void MainWindowTest::SetUp()
{
    ResetAppState();
    DeleteSettingsKey();
    ASSERT_TRUE(StartMainWindow());
}

void MainWindowTest::TearDown()
{
    ResetAppState();
}
