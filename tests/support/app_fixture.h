// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Starts the real main window inside the test process and takes it down again between tests.
#ifndef ZEFMOR_TESTS_APP_FIXTURE_H
#define ZEFMOR_TESTS_APP_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include "app_driver.h"

// Values written into the settings key; the test fails when one cannot be written.
void PutValue(const wchar_t* name, DWORD type, const void* data, DWORD size);
void PutDword(const wchar_t* name, DWORD value);

// The system's window frames set for as long as the object lives, by default to the classic ones
// (an 18-px caption and menu bar, 1-px borders) whatever the test machine's own are; the metrics
// before are put back however the test ends, since later tests and programs share the prefix.
class FrameMetrics {
public:
    explicit FrameMetrics(int captionHeight = 18);
    ~FrameMetrics();
    bool Set() const { return set_; }

private:
    NONCLIENTMETRICSW saved_;
    bool set_;
};

// Each test starts with no stored settings and a freshly opened main window.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#endif
