// The settings kept under HKCU\Software\Ravolt\Zefmor: loaded at start, saved at close.
#include <string.h>

#include "app_state.h"
#include "generator.h"
#include "resource.h"
#include "settings.h"

namespace {

HKEY OpenSettingsKey()
{
    HKEY key = NULL;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, TXT_KLIC_NASTAVENI, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return NULL;
    return key;
}

// Fills dest only from a value of exactly its size, whatever its type; a longer or shorter
// value counts as missing and leaves dest as it was.
bool ReadValue(HKEY key, const wchar_t* name, void* dest, DWORD size)
{
    BYTE data[sizeof(LOGFONTA)];
    DWORD got = size;
    if (size > sizeof data ||
        RegQueryValueExW(key, name, NULL, NULL, data, &got) != ERROR_SUCCESS || got != size)
        return false;
    memcpy(dest, data, size);
    return true;
}

bool WriteValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

void LoadFlag(HKEY key, const wchar_t* name, int* flag, int box)
{
    if (ReadValue(key, name, flag, sizeof *flag) && *flag)
        SendDlgItemMessageW(g_hwndwMain, box, BM_SETCHECK, BST_CHECKED, 0);
}

// Writing the number raises EN_CHANGE, so the input check already runs on the loaded count.
void LoadCount(HKEY key, const wchar_t* name, int* count, int edit)
{
    if (ReadValue(key, name, count, sizeof *count))
        SetDlgItemInt(g_hwndwMain, edit, static_cast<UINT>(*count), TRUE);
}

}  // namespace

void LoadSettings()
{
    HKEY key = OpenSettingsKey();
    if (!key)
        return;

    COLORREF colour;
    if (ReadValue(key, L"BarvaPisma", &colour, sizeof colour))
        g_crBarvaPisma = colour;
    if (ReadValue(key, L"BarvaPozadi", &colour, sizeof colour))
        SetPaneBackground(colour);
    LOGFONTA lf;
    if (ReadValue(key, L"Pismo", &lf, sizeof lf)) {
        lf.lfFaceName[LF_FACESIZE - 1] = '\0';
        SetPaneFont(&lf, FALSE);
    }
    // The boxes come before the counts: the check that loading a count triggers re-reads them.
    LoadFlag(key, L"VPismo", &g_bVPismo, IDC_VPISMO);
    LoadFlag(key, L"MPismo", &g_bMPismo, IDC_MPISMO);
    LoadFlag(key, L"Cisla", &g_bCisla, IDC_CISLA);
    LoadFlag(key, L"Symboly", &g_bSymboly, IDC_SYMBOLY);
    LoadCount(key, L"Hesla", &g_nPocetHesel, IDC_POCETHESEL);
    LoadCount(key, L"Znaky", &g_nPocetZnaku, IDC_POCETZNAKU);
    RegCloseKey(key);
}

void SaveSettings()
{
    LOGFONTA lf;
    GetPaneFont(&lf);

    HKEY key = OpenSettingsKey();
    if (!key)
        return;
    // The first failed write ends the save; the values before it stay written.
    bool ok = WriteValue(key, L"BarvaPisma", REG_DWORD, &g_crBarvaPisma, sizeof g_crBarvaPisma) &&
              WriteValue(key, L"BarvaPozadi", REG_DWORD, &g_crBarvaPozadi, sizeof g_crBarvaPozadi) &&
              WriteValue(key, L"Pismo", REG_BINARY, &lf, sizeof lf);
    if (ok) {
        ReadControls();
        ok = WriteValue(key, L"VPismo", REG_BINARY, &g_bVPismo, sizeof g_bVPismo) &&
             WriteValue(key, L"MPismo", REG_BINARY, &g_bMPismo, sizeof g_bMPismo) &&
             WriteValue(key, L"Cisla", REG_BINARY, &g_bCisla, sizeof g_bCisla) &&
             WriteValue(key, L"Symboly", REG_BINARY, &g_bSymboly, sizeof g_bSymboly) &&
             WriteValue(key, L"Hesla", REG_DWORD, &g_nPocetHesel, sizeof g_nPocetHesel) &&
             WriteValue(key, L"Znaky", REG_DWORD, &g_nPocetZnaku, sizeof g_nPocetZnaku);
    }
    (void)ok;
    RegCloseKey(key);
}
