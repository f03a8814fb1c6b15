// Saving the pane: the save dialog, the exact bytes written, and failures that keep old files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_fixture.h"
#include "app_state.h"
#include "dialog_driver.h"
#include "resource.h"

namespace {

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buf[8192];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, NULL) && got)
        bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    DWORD written;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(f);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

class SaveTest : public MainWindowTest {
protected:
    std::wstring folder;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"zefmor-save-" + std::to_wstring(GetTickCount());
        CreateDirectoryW(folder.c_str(), NULL);
    }
    void TearDown() override
    {
        for (const std::wstring& name : FilesIn(folder)) {
            SetFileAttributesW((folder + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW((folder + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder.c_str());
        MainWindowTest::TearDown();
    }
    std::wstring In(const wchar_t* name) { return folder + L"\\" + name; }

    // Saves through the real dialog, typing `name`; the steps after it handle any message box.
    DriveResult SaveAs(const std::wstring& name, std::vector<DialogStep> more = {})
    {
        std::vector<DialogStep> steps = {[name](HWND d) { AcceptFileName(d, name.c_str()); }};
        steps.insert(steps.end(), more.begin(), more.end());
        return DriveDialogs(steps, [] { Command(ID_SOUBOR_ULOZIT); });
    }

    // A failed save shows the error without an owner and leaves the old file exactly as it was,
    // with no temporary file beside it.
    void ExpectFailedSave(const wchar_t* name, const std::string& oldBytes, HANDLE held = NULL)
    {
        std::wstring text;
        HWND owner = reinterpret_cast<HWND>(1);
        DriveResult r = SaveAs(In(name), {[&](HWND box) {
                                   text = MessageBoxText(box);
                                   owner = GetWindow(box, GW_OWNER);
                                   PressButton(box, IDOK);
                               }});
        if (held)
            CloseHandle(held);
        EXPECT_EQ(2, r.dialogsSeen);
        ASSERT_EQ(2u, r.captions.size());
        EXPECT_EQ(L"Zefmor", r.captions[1]);
        EXPECT_EQ(L"Chyba zápisu do souboru", text);
        EXPECT_EQ(nullptr, owner);
        EXPECT_EQ(oldBytes, ReadFileBytes(In(name)));
        EXPECT_EQ(std::vector<std::wstring>{name}, FilesIn(folder));
    }

    void GenerateFiveOfEight()
    {
        SetWindowTextW(g_hwndePocetHesel, L"5");
        SetWindowTextW(g_hwndePocetZnaku, L"8");
        for (int id = 781; id <= 784; ++id)
            SendDlgItemMessageW(g_hwndwMain, id, BM_SETCHECK, BST_CHECKED, 0);
        Command(ID_AKCE_GENERUJ);
    }
};

TEST_F(SaveTest, WritesThePaneByteForByte)
{
    GenerateFiveOfEight();
    const std::wstring pane = TextOf(g_hwndeHesla);
    DriveResult r = SaveAs(In(L"hesla.txt"));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(1, r.dialogsSeen);
    const std::string bytes = ReadFileBytes(In(L"hesla.txt"));
    ASSERT_EQ(50u, bytes.size());
    std::string expected(50, '\0');
    WideCharToMultiByte(1250, 0, pane.c_str(), 50, &expected[0], 50, NULL, NULL);
    EXPECT_EQ(expected, bytes);
    EXPECT_EQ(std::vector<std::wstring>{L"hesla.txt"}, FilesIn(folder)) << "no temporary file left";
}

TEST_F(SaveTest, SymbolsAreSingleWindows1250Bytes)
{
    SetWindowTextW(g_hwndeHesla, L"\u2122\u0161\u00A0\u00BB\u00AD!\r\n");
    SaveAs(In(L"symboly.txt"));
    EXPECT_EQ(std::string("\x99\x9A\xA0\xBB\xAD!\r\n"), ReadFileBytes(In(L"symboly.txt")));
}

TEST_F(SaveTest, EmptyPaneTruncatesAnExistingFileWithoutAQuestion)
{
    WriteFileBytes(In(L"stary.txt"), "old contents");
    DriveResult r = SaveAs(In(L"stary.txt"));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(1, r.dialogsSeen) << "no overwrite question";
    EXPECT_EQ("", ReadFileBytes(In(L"stary.txt")));
}

TEST_F(SaveTest, DialogOffersZefmorAndAddsTxt)
{
    SetWindowTextW(g_hwndeHesla, L"abc\r\n");
    std::wstring initialName;
    SetCurrentDirectoryW(folder.c_str());
    DriveResult r = DriveDialogs({[&](HWND d) {
                                      initialName = TextOf(FileNameField(d));
                                      PressButton(d, IDOK);
                                  }},
                                 [] { Command(ID_SOUBOR_ULOZIT); });
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(L"Zefmor", initialName);
    EXPECT_EQ("abc\r\n", ReadFileBytes(In(L"Zefmor.txt")));

    SaveAs(In(L"bez-pripony"));
    EXPECT_EQ("abc\r\n", ReadFileBytes(In(L"bez-pripony.txt")));
    SetCurrentDirectoryW(L"C:\\");
}

TEST_F(SaveTest, CancelTouchesNothing)
{
    SetWindowTextW(g_hwndeHesla, L"abc");
    SetCurrentDirectoryW(folder.c_str());
    DriveResult r = DriveDialogs({[](HWND d) { PressButton(d, IDCANCEL); }}, [] { Command(ID_SOUBOR_ULOZIT); });
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(1, r.dialogsSeen);
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST_F(SaveTest, ReadOnlyTargetIsKeptAndTheFailureShown)
{
    GenerateFiveOfEight();
    WriteFileBytes(In(L"chraneny.txt"), "keep me");
    SetFileAttributesW(In(L"chraneny.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ExpectFailedSave(L"chraneny.txt", "keep me");
}

TEST_F(SaveTest, TargetHeldOpenIsKeptAndTheFailureShown)
{
    GenerateFiveOfEight();
    WriteFileBytes(In(L"otevreny.txt"), "in use");
    HANDLE held = CreateFileW(In(L"otevreny.txt").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ExpectFailedSave(L"otevreny.txt", "in use", held);
}

}  // namespace
