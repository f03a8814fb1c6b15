// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Saving the pane: the save dialog, the exact bytes written, and failures that keep old files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "app_state.h"
#include "dialog_driver.h"
#include "generator.h"
#include "import_hook.h"
#include "resource.h"

namespace {

const char kNoFile[] = "<missing>";

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return kNoFile;
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

    // A failed save shows the error without an owner and leaves the old file exactly as it was, or
    // no file where there was none, with no temporary file beside it.
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
        EXPECT_EQ(oldBytes == kNoFile ? std::vector<std::wstring>{} : std::vector<std::wstring>{name}, FilesIn(folder));
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

// However the holder shares the target: a log viewer lets others read, write and delete it.
TEST_F(SaveTest, TargetHeldOpenIsKeptAndTheFailureShown)
{
    GenerateFiveOfEight();
    for (DWORD sharing : {0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
        SCOPED_TRACE(sharing);
        WriteFileBytes(In(L"otevreny.txt"), "in use");
        HANDLE held = CreateFileW(In(L"otevreny.txt").c_str(), GENERIC_READ, sharing, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        ExpectFailedSave(L"otevreny.txt", "in use", held);
    }
}

// What the user had stays as it was: a hidden file stays hidden, a text the file cannot hold
// exactly saves nothing, a dialog that fails says so, and the process leaves the folder.
TEST_F(SaveTest, SavingChangesNothingTheUserHadBeyondTheText)
{
    WriteFileBytes(In(L"skryty.txt"), "old");
    SetFileAttributesW(In(L"skryty.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    wchar_t before[MAX_PATH] = L"", after[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, before);
    SetWindowTextW(g_hwndeHesla, L"nov\u00E9\r\n");
    EXPECT_EQ(1, SaveAs(In(L"skryty.txt")).dialogsSeen);
    EXPECT_EQ("nov\xE9\r\n", ReadFileBytes(In(L"skryty.txt")));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_HIDDEN), GetFileAttributesW(In(L"skryty.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(before, after);

    // "a" with a grave accent has no byte of its own in Windows-1250, only a look-alike.
    SetWindowTextW(g_hwndeHesla, L"\u00E0");
    ExpectFailedSave(L"skryty.txt", "nov\xE9\r\n");

    // A name longer than the dialog's buffer makes the dialog itself fail.
    std::wstring text;
    DriveResult r = SaveAs(In(std::wstring(257 - folder.size(), L'x').c_str()), {[&](HWND box) {
                               text = MessageBoxText(box);
                               PressButton(box, IDOK);
                           }});
    EXPECT_EQ(2, r.dialogsSeen);
    EXPECT_EQ(L"Chyba zápisu do souboru", text);
    EXPECT_EQ(std::vector<std::wstring>{L"skryty.txt"}, FilesIn(folder));
}

// The dialog returns names of up to 254 characters; the temporary file beside one must open on
// Windows too, where a name of MAX_PATH characters or more needs the "\\?\" form.
TEST_F(SaveTest, ATargetOfTheLongestNameGetsAUsableTemporaryFileBesideIt)
{
    const std::wstring deep = folder + L"\\" + std::wstring(254 - folder.size() - 7, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), NULL));
    const std::wstring target = deep + L"\\z.txt";
    ASSERT_EQ(254u, target.size());
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(254 - 21, L'u') + L"\\z.txt";
    for (const std::wstring& path : {In(L"z.txt"), target, unc}) {
        wchar_t first[kTemporaryNameSize], second[kTemporaryNameSize];
        ASSERT_TRUE(TemporaryNameBeside(path.c_str(), first, kTemporaryNameSize)) << path;
        ASSERT_TRUE(TemporaryNameBeside(path.c_str(), second, kTemporaryNameSize)) << path;
        EXPECT_STRNE(first, second);
        std::wstring name = first;
        if (name.compare(0, 8, L"\\\\?\\UNC\\") == 0)
            name = L"\\" + name.substr(7);
        else if (name.compare(0, 4, L"\\\\?\\") == 0)
            name = name.substr(4);
        else
            EXPECT_LT(name.size(), size_t(MAX_PATH)) << name;
        const size_t slash = path.rfind(L'\\') + 1;
        EXPECT_EQ(path.substr(0, slash), name.substr(0, slash)) << name;
        EXPECT_EQ(std::wstring::npos, name.find(L'\\', slash)) << name;
        if (path != unc) {
            HANDLE file = CreateFileW(first, GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
            EXPECT_NE(INVALID_HANDLE_VALUE, file) << name;
            CloseHandle(file);
            DeleteFileW(first);
        }
    }
    // The boundary exactly, from both sides: a folder fitted to the name made in it, whose number
    // may grow a digit meanwhile.
    for (const size_t total : {size_t(MAX_PATH) - 1, size_t(MAX_PATH)}) {
        wchar_t made[kTemporaryNameSize] = L"\\x";
        std::wstring beside;
        do {
            beside = L"C:\\" + std::wstring(total - 4 - lstrlenW(wcsrchr(made, L'\\') + 1), L'd') + L"\\z.txt";
            ASSERT_TRUE(TemporaryNameBeside(beside.c_str(), made, kTemporaryNameSize)) << beside;
        } while (beside.size() - 5 + lstrlenW(wcsrchr(made, L'\\') + 1) != total);
        EXPECT_EQ(total >= MAX_PATH, wcsncmp(made, L"\\\\?\\", 4) == 0) << made;
    }

    SetWindowTextW(g_hwndeHesla, L"abc\r\n");
    SaveAs(target);
    EXPECT_EQ("abc\r\n", ReadFileBytes(target));
    EXPECT_EQ(std::vector<std::wstring>{L"z.txt"}, FilesIn(deep));
    DeleteFileW(target.c_str());
    RemoveDirectoryW(deep.c_str());
}

// Stand-ins that make the write or the replace fail once the temporary file exists.
BOOL WINAPI WriteFails(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI ReplaceFails(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    SetLastError(ERROR_UNABLE_TO_REMOVE_REPLACED);
    return FALSE;
}

// The failure the system documents for a replace that stopped after removing the old file.
BOOL WINAPI ReplaceStopsHalfWay(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    DeleteFileW(replaced);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

TEST_F(SaveTest, AFailedWriteOrReplaceLeavesTheOldFileAndNoTemporaryOne)
{
    GenerateFiveOfEight();
    WriteFileBytes(In(L"stary.txt"), "old");
    {
        ImportHook hook(reinterpret_cast<void*>(&WriteFile), reinterpret_cast<void*>(WriteFails));
        ASSERT_TRUE(hook.Hooked());
        ExpectFailedSave(L"stary.txt", "old");
    }
    {
        ImportHook hook(reinterpret_cast<void*>(&ReplaceFileW), reinterpret_cast<void*>(ReplaceFails));
        ASSERT_TRUE(hook.Hooked());
        ExpectFailedSave(L"stary.txt", "old");
    }
    {
        // With the old file gone the new text is all there is: it takes the old file's place.
        ImportHook hook(reinterpret_cast<void*>(&ReplaceFileW), reinterpret_cast<void*>(ReplaceStopsHalfWay));
        ASSERT_TRUE(hook.Hooked());
        EXPECT_EQ(1, SaveAs(In(L"stary.txt")).dialogsSeen);
    }
    EXPECT_EQ(50u, ReadFileBytes(In(L"stary.txt")).size());
    EXPECT_EQ(std::vector<std::wstring>{L"stary.txt"}, FilesIn(folder));
}

// A file already under the name the save takes for its text, as an earlier process with the same
// id may have left one: the stand-in puts it there with bytes of its own just before the save's
// first open, which for a new target is that file's, so the test learns the name the save took.
std::wstring g_sPlanted;
HANDLE(WINAPI* volatile g_realCreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);

HANDLE WINAPI PlantThenOpen(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                            DWORD disposition, DWORD flags, HANDLE model)
{
    if (g_sPlanted.empty()) {
        g_sPlanted = name;
        HANDLE planted = g_realCreateFileW(name, GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
        DWORD written = 0;
        WriteFile(planted, "someone else's", 14, &written, NULL);
        CloseHandle(planted);
    }
    return g_realCreateFileW(name, access, share, security, disposition, flags, model);
}

TEST_F(SaveTest, AFileUnderTheTemporaryNameIsPassedOverAndKept)
{
    SetWindowTextW(g_hwndeHesla, L"abc\r\n");
    g_sPlanted.clear();
    g_realCreateFileW = &CreateFileW;
    {
        ImportHook hook(reinterpret_cast<void*>(g_realCreateFileW), reinterpret_cast<void*>(PlantThenOpen));
        ASSERT_TRUE(hook.Hooked());
        EXPECT_EQ(1, SaveAs(In(L"hesla.txt")).dialogsSeen);
    }
    EXPECT_EQ("abc\r\n", ReadFileBytes(In(L"hesla.txt")));
    const size_t slash = g_sPlanted.rfind(L'\\') + 1;
    ASSERT_EQ(In(L""), g_sPlanted.substr(0, slash));
    EXPECT_EQ("someone else's", ReadFileBytes(g_sPlanted));
    std::vector<std::wstring> files = FilesIn(folder), expected = {L"hesla.txt", g_sPlanted.substr(slash)};
    std::sort(files.begin(), files.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, files);
}

// The steps that put the text in place, in the order the program takes them.
std::string g_sSteps;
HANDLE g_hWritten;
bool g_bFlushFails;
bool g_bReplaceStopsHalfWay;
BOOL(WINAPI* volatile g_realWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
BOOL(WINAPI* volatile g_realFlushFileBuffers)(HANDLE);
BOOL(WINAPI* volatile g_realReplaceFileW)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
BOOL(WINAPI* volatile g_realMoveFileExW)(LPCWSTR, LPCWSTR, DWORD);

BOOL WINAPI NoteWrite(HANDLE file, LPCVOID bytes, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    g_hWritten = file;
    g_sSteps += "write ";
    return g_realWriteFile(file, bytes, length, written, overlapped);
}

// A failing flush is a disk that could not take the text, or a share that dropped the write.
BOOL WINAPI NoteFlush(HANDLE file)
{
    g_sSteps += file == g_hWritten ? "flush " : "flush of another file ";
    if (g_bFlushFails) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return g_realFlushFileBuffers(file);
}

BOOL WINAPI NoteReplace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID a, LPVOID b)
{
    g_sSteps += "replace ";
    if (g_bReplaceStopsHalfWay)
        return ReplaceStopsHalfWay(replaced, replacement, backup, flags, a, b);
    return g_realReplaceFileW(replaced, replacement, backup, flags, a, b);
}

BOOL WINAPI NoteMove(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    g_sSteps += flags & MOVEFILE_WRITE_THROUGH ? "move written-through " : "move ";
    return g_realMoveFileExW(from, to, flags);
}

// The text is on the disk before the new file takes the old one's place or its name, and a new
// name is on the disk before the save reports success, so a crash of the system leaves the old
// text or the new, never an empty or partial file. A text that may not be on the disk is a failed
// save.
TEST_F(SaveTest, TheFileTakesItsPlaceOnlyOnceTheTextIsOnTheDisk)
{
    const struct {
        const char* old;  // the file's bytes before the save, or none
        bool flushFails;
        bool replaceStopsHalfWay;
        const char* steps;
    } cases[] = {
        {"old", false, false, "write flush replace "},
        {nullptr, false, false, "write flush move written-through "},
        {"old", true, false, "write flush "},
        {nullptr, true, false, "write flush "},
        {"old", false, true, "write flush replace move written-through "},
    };
    GenerateFiveOfEight();
    g_realWriteFile = &WriteFile;
    g_realFlushFileBuffers = &FlushFileBuffers;
    g_realReplaceFileW = &ReplaceFileW;
    g_realMoveFileExW = &MoveFileExW;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.old ? "over a file" : "a new file") + (c.flushFails ? ", the flush failing" : "") +
                     (c.replaceStopsHalfWay ? ", the replace stopping half-way" : ""));
        DeleteFileW(In(L"hesla.txt").c_str());
        if (c.old)
            WriteFileBytes(In(L"hesla.txt"), c.old);
        g_sSteps.clear();
        g_hWritten = NULL;
        g_bFlushFails = c.flushFails;
        g_bReplaceStopsHalfWay = c.replaceStopsHalfWay;
        {
            ImportHook write(reinterpret_cast<void*>(g_realWriteFile), reinterpret_cast<void*>(NoteWrite));
            ImportHook flush(reinterpret_cast<void*>(g_realFlushFileBuffers), reinterpret_cast<void*>(NoteFlush));
            ImportHook replace(reinterpret_cast<void*>(g_realReplaceFileW), reinterpret_cast<void*>(NoteReplace));
            ImportHook move(reinterpret_cast<void*>(g_realMoveFileExW), reinterpret_cast<void*>(NoteMove));
            ASSERT_TRUE(write.Hooked() && flush.Hooked() && replace.Hooked() && move.Hooked());
            if (c.flushFails)
                ExpectFailedSave(L"hesla.txt", c.old ? c.old : kNoFile);
            else
                EXPECT_EQ(1, SaveAs(In(L"hesla.txt")).dialogsSeen);
        }
        EXPECT_EQ(c.steps, g_sSteps);
        if (!c.flushFails) {
            EXPECT_EQ(50u, ReadFileBytes(In(L"hesla.txt")).size());
        }
    }
}

// Counts the blocks the program hands back to the heap, and those of them not wiped to the end.
BOOL(WINAPI* volatile g_realHeapFree)(HANDLE, DWORD, LPVOID);
int g_nFreed;
int g_nNotWiped;

BOOL WINAPI CheckWipedThenFree(HANDLE heap, DWORD flags, LPVOID block)
{
    if (block) {
        ++g_nFreed;
        const BYTE* bytes = static_cast<const BYTE*>(block);
        const SIZE_T size = HeapSize(heap, 0, block);
        for (SIZE_T i = 0; i < size; ++i) {
            if (bytes[i]) {
                ++g_nNotWiped;
                break;
            }
        }
    }
    return g_realHeapFree(heap, flags, block);
}

TEST_F(SaveTest, BuffersThatHeldPasswordsAreWipedBeforeTheyAreFreed)
{
    g_realHeapFree = HeapFree;
    g_nFreed = g_nNotWiped = 0;
    {
        ImportHook hook(reinterpret_cast<void*>(g_realHeapFree), reinterpret_cast<void*>(CheckWipedThenFree));
        ASSERT_TRUE(hook.Hooked());
        GenerateFiveOfEight();
        SendMessageW(g_hwndeHesla, EM_SETSEL, 0, -1);
        SendMessageW(g_hwndeHesla, WM_COPY, 0, 0);
        SaveAs(In(L"hesla.txt"));
    }
    EXPECT_EQ(50u, ReadFileBytes(In(L"hesla.txt")).size());
    EXPECT_GE(g_nFreed, 5) << "the run's and the save's two buffers each, and the copy's";
    EXPECT_EQ(0, g_nNotWiped);
}

}  // namespace
