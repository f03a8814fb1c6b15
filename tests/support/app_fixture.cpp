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
