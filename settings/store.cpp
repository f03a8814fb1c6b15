// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
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

// The pane's font description travels through here: filled from the pane before a save, made
// into the pane's font after a load.
LOGFONTA g_lfUlozenePismo;

// What loading a value sets beyond its own bytes.
enum ValueKind { kColour, kBackColour, kFont, kFlag, kCount };

struct StoredValue {
    const wchar_t* name;
    DWORD type;
    void* address;
    DWORD size;
    ValueKind kind;
    int control;   // the box or field a flag or count shows in; the save reads these from the controls
};

// Load and save walk it in this order. The boxes come before the counts: the input check that
// loading a count triggers re-reads them.
const StoredValue kStoredValues[] = {
    {L"BarvaPisma", REG_DWORD, &g_crBarvaPisma, sizeof g_crBarvaPisma, kColour, 0},
    {L"BarvaPozadi", REG_DWORD, &g_crBarvaPozadi, sizeof g_crBarvaPozadi, kBackColour, 0},
    {L"Pismo", REG_BINARY, &g_lfUlozenePismo, sizeof g_lfUlozenePismo, kFont, 0},
    {L"VPismo", REG_BINARY, &g_bVPismo, sizeof g_bVPismo, kFlag, IDC_VPISMO},
    {L"MPismo", REG_BINARY, &g_bMPismo, sizeof g_bMPismo, kFlag, IDC_MPISMO},
    {L"Cisla", REG_BINARY, &g_bCisla, sizeof g_bCisla, kFlag, IDC_CISLA},
    {L"Symboly", REG_BINARY, &g_bSymboly, sizeof g_bSymboly, kFlag, IDC_SYMBOLY},
    {L"Hesla", REG_DWORD, &g_nPocetHesel, sizeof g_nPocetHesel, kCount, IDC_POCETHESEL},
    {L"Znaky", REG_DWORD, &g_nPocetZnaku, sizeof g_nPocetZnaku, kCount, IDC_POCETZNAKU},
};

void ShowLoaded(const StoredValue& value)
{
    switch (value.kind) {
    case kColour:
        break;
    case kBackColour:
        SetPaneBackground(g_crBarvaPozadi);
        break;
    case kFont:
        // The stored bytes are anyone's; the face name is made to end inside its field.
        g_lfUlozenePismo.lfFaceName[LF_FACESIZE - 1] = '\0';
        SetPaneFont(&g_lfUlozenePismo, FALSE);
        break;
    case kFlag:
        if (*static_cast<int*>(value.address))
            SendDlgItemMessageW(g_hwndwMain, value.control, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case kCount:
        // Writing the number raises EN_CHANGE, so the input check already runs on the loaded count.
        SetDlgItemInt(g_hwndwMain, value.control, *static_cast<UINT*>(value.address), TRUE);
        break;
    }
}

}  // namespace

void LoadSettings()
{
    HKEY key = OpenSettingsKey();
    if (!key)
        return;
    // A value that cannot be read keeps what is in force; the others load all the same.
    for (const StoredValue& value : kStoredValues) {
        if (ReadValue(key, value.name, value.address, value.size))
            ShowLoaded(value);
    }
    RegCloseKey(key);
}

void SaveSettings()
{
    GetPaneFont(&g_lfUlozenePismo);
    HKEY key = OpenSettingsKey();
    if (!key)
        return;
    // The first failed write ends the save; the values before it stay written.
    bool controlsRead = false;
    for (const StoredValue& value : kStoredValues) {
        if (value.control && !controlsRead) {
            ReadControls();
            controlsRead = true;
        }
        if (!WriteValue(key, value.name, value.type, value.address, value.size))
            break;
    }
    RegCloseKey(key);
}
