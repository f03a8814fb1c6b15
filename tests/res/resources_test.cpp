// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The resources of the built Zefmor.exe, read as data the way the system reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "author.h"
#include "resource.h"

namespace {

const WORD kCzech = MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT);

std::wstring ZefmorPath()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, path, MAX_PATH);
    const std::wstring exe = path;
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Zefmor.exe";
}

// Little-endian fields of the resource formats, read without alignment assumptions.
WORD Word(const BYTE* p) { WORD w; memcpy(&w, p, sizeof w); return w; }
DWORD Dword(const BYTE* p) { DWORD d; memcpy(&d, p, sizeof d); return d; }

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExW(ZefmorPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_ != NULL) << "no Zefmor.exe beside the test";
    }
    void TearDown() override { FreeLibrary(module_); }

    // The bytes of one resource, NULL when it is missing; language 0 takes any.
    const BYTE* Data(LPCWSTR type, int id, WORD language = 0, DWORD* size = NULL)
    {
        HRSRC found = language ? FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language)
                               : FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (size && found)
            *size = SizeofResource(module_, found);
        return found ? static_cast<const BYTE*>(LockResource(LoadResource(module_, found))) : NULL;
    }

    // Each image of an icon or cursor group as "width x height, bits per pixel", from its own header.
    std::vector<std::wstring> Images(LPCWSTR groupType, LPCWSTR imageType, int id)
    {
        std::vector<std::wstring> images;
        const BYTE* group = Data(groupType, id);
        for (int i = 0; group && i < Word(group + 4); ++i) {
            const BYTE* image = Data(imageType, Word(group + 6 + 14 * i + 12));
            std::wstring text;
            if (image && imageType == RT_CURSOR) {  // a cursor image starts with its hot spot
                text = L"hot spot " + std::to_wstring(Word(image)) + L"," + std::to_wstring(Word(image + 2)) + L", ";
                image += 4;
            }
            if (image)  // the height covers the colour and the mask halves
                text += std::to_wstring(Dword(image + 4)) + L"x" + std::to_wstring(Dword(image + 8) / 2) + L", " +
                        std::to_wstring(Word(image + 14)) + L" bits";
            images.push_back(text);
        }
        return images;
    }

    HMODULE module_ = NULL;
};

// One pop-up as "title: item=id, -, ..." with "!" after an item that is checked or greyed.
std::wstring DescribePopup(HMENU menu, int position)
{
    wchar_t text[64] = L"";
    GetMenuStringW(menu, position, text, ARRAYSIZE(text), MF_BYPOSITION);
    std::wstring out = text + std::wstring(L":");
    HMENU popup = GetSubMenu(menu, position);
    for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
        const UINT state = GetMenuState(popup, i, MF_BYPOSITION);
        GetMenuStringW(popup, i, text, ARRAYSIZE(text), MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            out += L" -";
        else
            out += L" " + std::wstring(text) + L"=" + std::to_wstring(GetMenuItemID(popup, i)) +
                   ((state & (MF_CHECKED | MF_GRAYED | MF_DISABLED)) ? L"!" : L"");
    }
    return out;
}

TEST_F(ResourcesTest, MenuIsCzechWithFourPopUps)
{
    ASSERT_TRUE(Data(RT_MENU, IDR_MAIN_MENU, kCzech) != NULL);
    HMENU menu = LoadMenuW(module_, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_TRUE(menu != NULL);
    ASSERT_EQ(4, GetMenuItemCount(menu));
    EXPECT_EQ(L"Soubor: Uložit=40019 - Konec=2", DescribePopup(menu, 0));
    EXPECT_EQ(L"Nastavení: Písmo=40024 Pozadí=40025 - Standardní hodntoty=40027", DescribePopup(menu, 1));
    EXPECT_EQ(L"Akce: Generuj=40021 Vymaž=40022", DescribePopup(menu, 2));
    EXPECT_EQ(L"Nápověda: Hlášení chyby=40028 - O programu=40018", DescribePopup(menu, 3));
    DestroyMenu(menu);
}

// A template string: "#n" for an ordinal, else the zero-terminated name; leaves p after it.
std::wstring TemplateString(const BYTE*& p)
{
    std::wstring text;
    if (Word(p) == 0xFFFF) {
        text = L"#" + std::to_wstring(Word(p + 2));
        p += 4;
        return text;
    }
    for (; Word(p); p += 2)
        text += static_cast<wchar_t>(Word(p));
    p += 2;
    return text;
}

TEST_F(ResourcesTest, AboutTemplateIsClassicWithItsSevenControls)
{
    const BYTE* p = Data(RT_DIALOG, IDD_ABOUT, kCzech);
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(0x80C800C0u, Dword(p));  // an extended template would start with 0xFFFF0001
    EXPECT_EQ(0u, Dword(p + 4));
    ASSERT_EQ(7, Word(p + 8));
    EXPECT_EQ(L"at 0,0 size 168x74", L"at " + std::to_wstring(Word(p + 10)) + L"," + std::to_wstring(Word(p + 12)) +
                                         L" size " + std::to_wstring(Word(p + 14)) + L"x" + std::to_wstring(Word(p + 16)));
    p += 18;
    EXPECT_EQ(L"", TemplateString(p));  // no menu
    EXPECT_EQ(L"", TemplateString(p));  // the standard dialog class
    EXPECT_EQ(L"Zefmor", TemplateString(p));
    EXPECT_EQ(8, Word(p));
    p += 2;
    EXPECT_EQ(L"MS Sans Serif", TemplateString(p));

    // "identifier class style text": predefined classes may be stored as ordinals, and any class
    // name in any case, since the dialog manager looks class names up without regard to case.
    const wchar_t* const expected[] = {
        L"65535 STATIC 50000003 #104",
        L"65535 STATIC 50000080 Zefmor",
        L"65535 STATIC 50020000 ",  // followed by the copyright line
        L"1 BUTTON 50030001 OK",
        L"1013 WWWODKAZ 50010000 " AUTHOR_WEB,
        L"1014 WWWODKAZ 50010000 " AUTHOR_MAIL,
        L"65535 STATIC 50020000 version 2.00.01.07",
    };
    for (const wchar_t* want : expected) {
        p = reinterpret_cast<const BYTE*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~static_cast<UINT_PTR>(3));
        const DWORD style = Dword(p), exStyle = Dword(p + 4);
        const WORD id = Word(p + 16);
        p += 18;
        std::wstring cls = TemplateString(p);
        cls = cls == L"#128" ? L"BUTTON" : cls == L"#130" ? L"STATIC" : cls;
        CharUpperW(&cls[0]);
        wchar_t hex[16];
        wsprintfW(hex, L"%08X", style);
        const std::wstring text = TemplateString(p);
        const std::wstring control = std::to_wstring(id) + L" " + cls + L" " + hex + L" " + text;
        if (want[lstrlenW(want) - 1] == L' ') {
            EXPECT_EQ(want, control.substr(0, lstrlenW(want)));
            EXPECT_FALSE(text.empty());
        } else {
            EXPECT_EQ(want, control);
        }
        EXPECT_EQ(0u, exStyle) << want;
        p += 2 + Word(p);  // creation data
    }
}

TEST_F(ResourcesTest, CursorAndIconGroupsHoldTheirImages)
{
    EXPECT_EQ(std::vector<std::wstring>({L"hot spot 12,1, 32x32, 4 bits"}),
              Images(RT_GROUP_CURSOR, RT_CURSOR, IDR_LINK_CURSOR));
    EXPECT_EQ(std::vector<std::wstring>({L"32x32, 4 bits", L"16x16, 4 bits"}), Images(RT_GROUP_ICON, RT_ICON, IDI_ZEFMOR));
    EXPECT_EQ(std::vector<std::wstring>({L"32x32, 8 bits"}), Images(RT_GROUP_ICON, RT_ICON, IDI_ZEFMOR_256));
}

TEST_F(ResourcesTest, ManifestNamesZefmorThisArchitectureAndCommonControls6)
{
    DWORD size = 0;
    const BYTE* data = Data(RT_MANIFEST, 1, 0, &size);
    ASSERT_TRUE(data != NULL);
    const std::string xml(reinterpret_cast<const char*>(data), size);
    const std::string arch = std::string(" processorArchitecture=\"") + (sizeof(void*) == 8 ? "amd64" : "x86") + "\"";
    std::vector<std::string> identities;  // each assemblyIdentity element, attributes in any order
    for (size_t at = xml.find("<assemblyIdentity"); at != std::string::npos; at = xml.find("<assemblyIdentity", at + 1))
        identities.push_back(xml.substr(at, xml.find('>', at) - at));
    ASSERT_EQ(2u, identities.size()) << xml;
    for (const char* attribute : {" name=\"Zefmor\"", arch.c_str()})
        EXPECT_NE(std::string::npos, identities[0].find(attribute)) << identities[0];
    for (const char* attribute : {" name=\"Microsoft.Windows.Common-Controls\"", " version=\"6.0.0.0\"", arch.c_str()})
        EXPECT_NE(std::string::npos, identities[1].find(attribute)) << identities[1];
}

// Read through an activation context, as the loader reads it at start.
TEST_F(ResourcesTest, ManifestAsksToRunAsTheInvokerAndNamesWindows7To11)
{
    const std::wstring path = ZefmorPath();
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T size = 0;
    EXPECT_TRUE(QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &level, sizeof level, &size));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);

    // The record as the system fills it today; older headers lack the last field of each element.
    struct {
        DWORD count;
        struct {
            GUID id;
            DWORD type;
            ULONGLONG maxVersionTested;
        } elements[8];
    } compatibility = {};
    std::vector<std::wstring> systems;
    EXPECT_TRUE(QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext, &compatibility,
                             sizeof compatibility, &size));
    for (DWORD i = 0; i < compatibility.count && i < ARRAYSIZE(compatibility.elements); ++i) {
        const GUID& id = compatibility.elements[i].id;
        wchar_t text[40];
        wsprintfW(text, L"%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", id.Data1, id.Data2, id.Data3, id.Data4[0],
                  id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
        systems.push_back(text);
    }
    ReleaseActCtx(context);
    std::vector<std::wstring> expected = {L"35138b9a-5d96-4fbd-8e2d-a2440225f93a",   // Windows 7
                                          L"4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",   // 8
                                          L"1f676c76-80e1-4239-95bb-83d0f6d0da78",   // 8.1
                                          L"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"};  // 10 and 11
    std::sort(expected.begin(), expected.end());
    std::sort(systems.begin(), systems.end());
    EXPECT_EQ(expected, systems);
}

TEST_F(ResourcesTest, VersionRecordIs2_0_1_7WithItsStrings)
{
    const std::wstring path = ZefmorPath();
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), NULL));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    wchar_t versions[64];
    wsprintfW(versions, L"%08x %08x, %08x %08x", fixed->dwFileVersionMS, fixed->dwFileVersionLS,
              fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    EXPECT_STREQ(L"00020000 00010007, 00020000 00010007", versions);  // 2.0.1.7 twice

    WORD* language = NULL;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language), &length));
    wchar_t block[64];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", language[0], language[1]);
    const wchar_t* const strings[][2] = {{L"FileVersion", L"2.00"},           {L"ProductVersion", L"2.00.01.07"},
                                         {L"FileDescription", L"Generátor hesel"}, {L"ProductName", L"Zefmor"},
                                         {L"OriginalFilename", L"Zefmor.exe"}};
    for (const auto& entry : strings) {
        wchar_t* value = NULL;
        EXPECT_TRUE(VerQueryValueW(info.data(), (block + std::wstring(entry[0])).c_str(), reinterpret_cast<void**>(&value),
                                   &length) && lstrcmpW(value, entry[1]) == 0)
            << entry[0] << " is " << (value ? value : L"missing");
    }
}

}  // namespace
