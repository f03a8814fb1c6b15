// Starts the real main window inside the test process and takes it down again between tests.
#ifndef ZEFMOR_TESTS_APP_FIXTURE_H
#define ZEFMOR_TESTS_APP_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include "app_driver.h"

// Values written into the settings key; the test fails when one cannot be written.
void PutValue(const wchar_t* name, DWORD type, const void* data, DWORD size);
void PutDword(const wchar_t* name, DWORD value);

// Each test starts with no stored settings and a freshly opened main window.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#endif
