// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Zefmor's benchmark: start-up against the floor of its design (floor_window.exe: the same DLLs,
// manifest, menu and controls, nothing more), generation speed, program sizes, and steadiness of
// the font, colour, standard-look and generate commands over long use. Prints a Markdown table of
// measure, value, target and whether the target is met.
//
//   benchmark [--zefmor EXE] [--floor EXE] [--size-x86 EXE] [--size-x64 EXE] [--quick]
//             [--only startup|generation|size|steadiness]
//
// Without paths, Zefmor.exe and floor_window.exe are taken from the benchmark's own folder and the
// sizes from ..\x86\Zefmor.exe and ..\x64\Zefmor.exe. --quick runs fewer rounds, for trying it out;
// --only runs one part. (--control N is how the benchmark starts its comparison process.)
#include <windows.h>
#include <commdlg.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>
#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app_driver.h"
#include "app_state.h"
#include "floor_window.h"
#include "generator.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"

namespace {

// ---- Small helpers -------------------------------------------------------------------------

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Fastest(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// The median, and the fastest beside it: on a busy machine the fastest shows the cost undisturbed.
std::string Timing(const std::vector<double>& ms)
{
    return Format("%.2f ms (fastest %.2f ms)", Median(ms), Fastest(ms));
}

std::string Narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, NULL, NULL);
    out.resize(strlen(out.c_str()));
    return out;
}

void Progress(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fputc('\n', stderr);
    fflush(stderr);
}

bool IsDialogClass(HWND hwnd)
{
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, ARRAYSIZE(cls));
    return lstrcmpW(cls, L"#32770") == 0;
}

// The counts and all four classes, as a user sets them before pressing Generuj.
void SetInputs(HWND main, int hesel, int znaku)
{
    SetDlgItemTextW(main, IDC_POCETHESEL, std::to_wstring(hesel).c_str());
    SetDlgItemTextW(main, IDC_POCETZNAKU, std::to_wstring(znaku).c_str());
    for (int id = IDC_VPISMO; id <= IDC_SYMBOLY; ++id)
        SendDlgItemMessageW(main, id, BM_SETCHECK, BST_CHECKED, 0);
}

// ---- The report ----------------------------------------------------------------------------

enum Verdict { kNoTarget, kMet, kMissed };

struct Row {
    std::string measure, value, target;
    Verdict verdict;
};

std::vector<Row> g_rows;
std::vector<Row> g_breakdown;

void AddRow(const std::string& measure, const std::string& value, const std::string& target = "—",
            Verdict verdict = kNoTarget)
{
    g_rows.push_back({measure, value, target, verdict});
}

Verdict Judge(bool met)
{
    return met ? kMet : kMissed;
}

// ---- Another process's window --------------------------------------------------------------

struct Search {
    DWORD pid;
    int children;   // the window counts as ready only with at least this many child windows
    HWND found;
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

BOOL CALLBACK FindReadyWindow(HWND hwnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd))
        return TRUE;
    int children = 0;
    EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&children));
    if (children < search->children)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct Running {
    PROCESS_INFORMATION pi = {};
    HWND window = NULL;
    double startMs = 0;   // from CreateProcess to the window shown, complete and idle
};

// Starts the program and waits until its visible window has its controls and its message loop
// answers; false (and nothing left running) when that does not happen within ten seconds.
bool Start(const std::wstring& exe, int children, Running* run)
{
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    const double start = NowMs();
    if (!CreateProcessW(exe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &run->pi))
        return false;
    WaitForInputIdle(run->pi.hProcess, 10000);
    while (NowMs() - start < 10000) {
        Search search = {run->pi.dwProcessId, children, NULL};
        EnumWindows(FindReadyWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            run->window = search.found;
            break;
        }
        if (WaitForSingleObject(run->pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    // A sent message is handled only once the program's thread takes messages: its loop runs.
    DWORD_PTR answer;
    if (run->window &&
        SendMessageTimeoutW(run->window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) {
        run->startMs = NowMs() - start;
        return true;
    }
    TerminateProcess(run->pi.hProcess, 99);
    CloseHandle(run->pi.hThread);
    CloseHandle(run->pi.hProcess);
    return false;
}

// Closes the window as the user does; true when the program then exits with 0.
bool Close(Running* run)
{
    PostMessageW(run->window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    if (WaitForSingleObject(run->pi.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(run->pi.hProcess, &code);
    else
        TerminateProcess(run->pi.hProcess, 99);
    CloseHandle(run->pi.hThread);
    CloseHandle(run->pi.hProcess);
    return code == 0;
}

// ---- Start-up ------------------------------------------------------------------------------

// The DLLs a program imports, in lower case and sorted, joined by commas; empty when unreadable.
std::string ImportList(const std::wstring& exe);

const int kMainControls = 15;
const double kStartupRatioTarget = 1.10;

void MeasureStartup(const std::wstring& zefmor, const std::wstring& floorExe, int runs)
{
    std::vector<double> zefmorMs, floorMs;
    int failures = 0;
    // One start of each first, not counted: it fills the file cache. The two programs alternate
    // so that any disturbance from other work on the machine falls on both alike.
    for (int i = -1; i < runs; ++i) {
        Running z, f;
        DeleteSettingsKey();
        // Each start finds the system at rest, as a double-click does, not busy with the last exit.
        Sleep(250);
        if (Start(zefmor, kMainControls, &z)) {
            if (!Close(&z))
                ++failures;
            if (i >= 0)
                zefmorMs.push_back(z.startMs);
        } else {
            ++failures;
        }
        Sleep(250);
        if (Start(floorExe, kMainControls, &f)) {
            if (!Close(&f))
                ++failures;
            if (i >= 0)
                floorMs.push_back(f.startMs);
        } else {
            ++failures;
        }
    }
    DeleteSettingsKey();
    // The comparison holds only while the loader does the same work for both.
    const std::string zefmorDlls = ImportList(zefmor), floorDlls = ImportList(floorExe);
    const bool sameDlls = !zefmorDlls.empty() && zefmorDlls == floorDlls;
    const double z = Median(zefmorMs), f = Median(floorMs);
    const double zFast = Fastest(zefmorMs), fFast = Fastest(floorMs);
    Progress("start-up: Zefmor %.1f ms, floor %.1f ms, %d failed starts or exits, %s DLLs", z, f, failures,
             sameDlls ? "same" : "different");
    AddRow(Format("Start-up of Zefmor.exe to its window shown with its controls and idle (median of %d)", runs),
           Timing(zefmorMs));
    AddRow(Format("Start-up of floor_window.exe, the floor of the design: the same DLLs, manifest, menu and "
                  "fifteen controls, no settings and no COM (median of %d)", runs),
           Timing(floorMs));
    const bool valid = failures == 0 && f > 0 && sameDlls;
    const double ratio = valid ? z / f : 0;
    std::string value;
    if (!sameDlls)
        value = "failed: the floor imports " + floorDlls + ", Zefmor " + zefmorDlls;
    else if (failures)
        value = Format("failed: %d starts or exits went wrong", failures);
    else
        value = Format("%.2f (fastest to fastest %.2f)", ratio, fFast > 0 ? zFast / fFast : 0);
    AddRow("Start-up ratio, Zefmor / floor of the design (medians)", value, Format("≤ %.2f", kStartupRatioTarget),
           Judge(valid && ratio <= kStartupRatioTarget));
}

// ---- Generation ----------------------------------------------------------------------------

HWND FindPane(HWND main)
{
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"";
        GetClassNameW(child, cls, ARRAYSIZE(cls));
        if (lstrcmpiW(cls, L"Edit") == 0 && (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE))
            return child;
    }
    return NULL;
}

// The times of generate commands sent from this process; none when the pane did not get the
// expected text.
std::vector<double> TimeGenerate(HWND main, HWND pane, int hesel, int znaku, int runs)
{
    SetInputs(main, hesel, znaku);
    SendMessageW(main, WM_COMMAND, ID_AKCE_GENERUJ, 0);
    std::vector<double> times;
    // GetWindowTextLength reads another process's edit from the window's caption, not its text.
    if (SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0) != hesel * (znaku + 2))
        return times;
    for (int i = 0; i < runs; ++i) {
        // The program paints the previous run's text and comes to rest before the next command.
        Sleep(50);
        const double start = NowMs();
        SendMessageW(main, WM_COMMAND, ID_AKCE_GENERUJ, 0);
        times.push_back(NowMs() - start);
    }
    return times;
}

void MeasureGeneration(const std::wstring& zefmor, int runs)
{
    DeleteSettingsKey();
    Running z;
    if (!Start(zefmor, kMainControls, &z)) {
        AddRow("Generate 100 × 20, all classes", "failed: Zefmor did not start", "≤ 20 ms", kMissed);
        return;
    }
    HWND pane = FindPane(z.window);
    const std::vector<double> big = TimeGenerate(z.window, pane, 100, 20, runs);
    const std::vector<double> narrow = TimeGenerate(z.window, pane, 100, 1, runs);
    const std::vector<double> few = TimeGenerate(z.window, pane, 10, 20, runs);
    Close(&z);
    DeleteSettingsKey();
    Progress("generation: 100x20 %.1f ms, 100x1 %.1f ms, 10x20 %.1f ms", Median(big), Median(narrow), Median(few));

    const char* wrong = "failed: the pane did not get the passwords";
    AddRow(Format("Generate 100 × 20, all classes: one command sent from another process (median of %d)", runs),
           big.empty() ? wrong : Timing(big), "≤ 20 ms", Judge(!big.empty() && Median(big) <= 20));
    AddRow(Format("Generate 100 × 1, all classes (median of %d)", runs), narrow.empty() ? wrong : Timing(narrow));
    AddRow(Format("Generate 10 × 20, all classes (median of %d)", runs), few.empty() ? wrong : Timing(few));
}

// ---- Size ----------------------------------------------------------------------------------

bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>* data)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (64 << 20);
    if (ok) {
        data->resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = data->empty() || (ReadFile(file, data->data(), static_cast<DWORD>(data->size()), &got, NULL) &&
                               got == data->size());
    }
    CloseHandle(file);
    return ok;
}

// Copies a structure out of the file's bytes; false when it would run past the end.
template <typename T>
bool At(const std::vector<BYTE>& data, size_t offset, T* out)
{
    if (offset > data.size() || data.size() - offset < sizeof(T))
        return false;
    memcpy(out, data.data() + offset, sizeof(T));
    return true;
}

// The names of the DLLs a PE image imports, for PE32 and PE32+ alike.
bool ImportedDlls(const std::vector<BYTE>& image, std::vector<std::string>* names)
{
    IMAGE_DOS_HEADER dos;
    DWORD signature;
    IMAGE_FILE_HEADER header;
    WORD magic;
    if (!At(image, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0)
        return false;
    const size_t nt = static_cast<size_t>(dos.e_lfanew);
    const size_t optional = nt + sizeof signature + sizeof header;
    if (!At(image, nt, &signature) || signature != IMAGE_NT_SIGNATURE || !At(image, nt + sizeof signature, &header) ||
        !At(image, optional, &magic))
        return false;

    IMAGE_DATA_DIRECTORY imports = {};
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        IMAGE_OPTIONAL_HEADER32 opt;
        if (!At(image, optional, &opt) || opt.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
            return false;
        imports = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        IMAGE_OPTIONAL_HEADER64 opt;
        if (!At(image, optional, &opt) || opt.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
            return false;
        imports = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else {
        return false;
    }

    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!At(image, optional + header.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER), &sections[i]))
            return false;
    }
    auto fileOffset = [&sections](DWORD rva, size_t* offset) {
        for (const IMAGE_SECTION_HEADER& s : sections) {
            const DWORD extent = s.Misc.VirtualSize > s.SizeOfRawData ? s.Misc.VirtualSize : s.SizeOfRawData;
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < extent) {
                *offset = s.PointerToRawData + (rva - s.VirtualAddress);
                return true;
            }
        }
        return false;
    };

    size_t offset;
    if (!imports.VirtualAddress || !fileOffset(imports.VirtualAddress, &offset))
        return false;
    for (IMAGE_IMPORT_DESCRIPTOR entry; At(image, offset, &entry) && entry.Name; offset += sizeof entry) {
        size_t name;
        if (!fileOffset(entry.Name, &name) || name >= image.size())
            return false;
        const char* text = reinterpret_cast<const char*>(image.data() + name);
        names->push_back(std::string(text, strnlen(text, image.size() - name)));
    }
    return !names->empty();
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); });
    return text;
}

// A compiler runtime that would have to be shipped beside the program.
bool IsRuntimeDll(const std::string& dll)
{
    const std::string name = Lower(dll);
    const char* const prefixes[] = {"libstdc++", "libgcc", "libwinpthread", "msvcp", "vcruntime", "ucrtbase", "api-ms-win-crt"};
    for (const char* prefix : prefixes) {
        if (name.compare(0, strlen(prefix), prefix) == 0)
            return true;
    }
    return false;
}

std::string ImportList(const std::wstring& exe)
{
    std::vector<BYTE> image;
    std::vector<std::string> dlls;
    if (!ReadWholeFile(exe, &image) || !ImportedDlls(image, &dlls))
        return "";
    for (std::string& dll : dlls)
        dll = Lower(dll);
    std::sort(dlls.begin(), dlls.end());
    std::string list;
    for (const std::string& dll : dlls)
        list += (list.empty() ? "" : ", ") + dll;
    return list;
}

void MeasureSize(const char* arch, const std::wstring& path)
{
    const std::string measure = Format("Size of Zefmor.exe, %s", arch);
    std::vector<BYTE> image;
    if (!ReadWholeFile(path, &image)) {
        AddRow(measure, "not found: " + Narrow(path), "≤ 100 KiB", kMissed);
        return;
    }
    std::vector<std::string> dlls;
    const bool parsed = ImportedDlls(image, &dlls);
    std::string runtimes;
    for (const std::string& dll : dlls) {
        if (IsRuntimeDll(dll))
            runtimes += (runtimes.empty() ? "" : ", ") + dll;
    }
    const bool selfContained = parsed && runtimes.empty();
    const double kib = image.size() / 1024.0;
    std::string value = Format("%.1f KiB (%u bytes); ", kib, static_cast<unsigned>(image.size()));
    value += !parsed ? "imports unreadable"
             : selfContained ? Format("runtime linked statically: imports only %u system DLLs", static_cast<unsigned>(dlls.size()))
                             : "needs " + runtimes;
    Progress("size %s: %.1f KiB, %s", arch, kib, selfContained ? "self-contained" : "NOT self-contained");
    AddRow(measure, value, "≤ 100 KiB, runtime static", Judge(kib <= 100 && selfContained));
}

// ---- Timing steps in this process ----------------------------------------------------------

// A step's median and fastest time, for the table of where the time goes.
void AddStep(const std::string& step, const std::vector<double>& times)
{
    g_breakdown.push_back({step, Timing(times), "", kNoTarget});
}

// Each timed step starts with the program at rest, as a user's click finds it: under Wine a window
// operation right after another one can take several times as long.
void Settle()
{
    PumpMessages();
    Sleep(100);
    PumpMessages();
}

template <typename Prepare, typename Step>
std::vector<double> TimeStep(int runs, Prepare prepare, Step step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        Settle();
        const double start = NowMs();
        step();
        times.push_back(NowMs() - start);
    }
    PumpMessages();
    return times;
}

// A run's worth of pane text, drawn the way a run draws it from the classes in the state.
std::wstring RunText(int hesel, int znaku)
{
    std::string codes;
    for (int i = 0; i < hesel; ++i) {
        for (int j = 0; j < znaku; ++j)
            codes += static_cast<char>(GenerateChar());
        codes += "\r\n";
    }
    std::wstring text(codes.size(), L'\0');
    MultiByteToWideChar(ZEFMOR_CODE_PAGE, 0, codes.data(), static_cast<int>(codes.size()), &text[0],
                        static_cast<int>(text.size()));
    SecureZeroMemory(&codes[0], codes.size());
    return text;
}

// A bare multi-line edit of the pane's size, style and font, in a window of its own.
HWND CreateBareEdit(HWND* frame)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    *frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL, instance, NULL);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE,
                                0, 2, 149, 159, *frame, NULL, instance, NULL);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return edit;
}

// ---- Where start-up time goes: building the windows, in this process ------------------------

// Builds the floor's window and then Zefmor's, each `runs` times, timing each from class
// registration to the painted window; Zefmor's last window stays open. The DLLs are loaded and
// the process's first window already made, so what is timed is each program's own work.
bool MeasureWindowBuilding(int runs)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    DestroyWindow(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, instance, NULL));
    std::vector<double> floorMs, zefmorMs;
    for (int i = -1; i < runs; ++i) {
        Settle();
        double start = NowMs();
        HWND floorWindow = CreateFloorWindow(instance);
        if (!floorWindow)
            return false;
        PumpMessages();
        if (i >= 0)
            floorMs.push_back(NowMs() - start);
        DestroyWindow(floorWindow);
        UnregisterClassW(kFloorClassName, instance);
        // The floor's window ends its loop when destroyed; this process has none to end.
        MSG quit;
        while (PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }

        DeleteSettingsKey();
        g_hwndhInstance = instance;
        Settle();
        start = NowMs();
        if (!InitInstance())
            return false;
        PumpMessages();
        if (i >= 0)
            zefmorMs.push_back(NowMs() - start);
        if (i + 1 == runs)
            break;
        // Down again without WM_CLOSE, so nothing is stored.
        ResetAppState();
    }
    AddStep(Format("Start-up: Zefmor's window, controls and settings built, DLLs already loaded (median of %d)", runs),
            zefmorMs);
    AddStep(Format("Start-up: the floor's window and controls built, DLLs already loaded (median of %d)", runs),
            floorMs);
    return true;
}

// ---- Where the generation time goes, in this process ---------------------------------------

void MeasureBreakdown(int runs)
{
    SetInputs(g_hwndwMain, 100, 20);
    ReadControls();
    const std::wstring text = RunText(100, 20);
    auto nothing = [] {};
    auto fillPane = [] { Command(ID_AKCE_GENERUJ); };

    AddStep("Generate 100 × 20: the whole command, sent within the process",
            TimeStep(runs, fillPane, [] { Command(ID_AKCE_GENERUJ); }));
    AddStep("Generate 100 × 20: clearing the full pane (the command's first step)", TimeStep(runs, fillPane, [] { OnClear(); }));
    AddStep("Generate 100 × 20: drawing 2,000 characters and converting them (the run's own work)",
            TimeStep(runs, nothing, [] {
                ReadControls();
                RunText(100, 20);
            }));
    AddStep("Generate 100 × 20: appending the 2,200-character text to the empty pane (the pane update)",
            TimeStep(runs, [] { OnClear(); }, [&text] { AppendOutput(text.c_str()); }));

    HWND frame;
    HWND edit = CreateBareEdit(&frame);
    AddStep("Generate 100 × 20: the same text into a bare multi-line edit (EM_REPLACESEL)",
            TimeStep(runs, [edit] { SetWindowTextW(edit, L""); },
                     [edit, &text] { SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str())); }));
    AddStep("Generate 100 × 20: the same text into a bare multi-line edit (WM_SETTEXT)",
            TimeStep(runs, [edit] { SetWindowTextW(edit, L""); }, [edit, &text] { SetWindowTextW(edit, text.c_str()); }));
    DestroyWindow(frame);
}

// ---- Steadiness, in this process -----------------------------------------------------------

// The common dialogs are accepted as soon as they are activated: a thread-local CBT hook posts
// IDOK to the next dialog once armed. A watchdog cancels any dialog that stays open, so a
// refused choice shows up in the counts instead of hanging the benchmark.
HHOOK g_hook;
bool g_armed;
std::atomic<long> g_progress(0);
std::atomic<bool> g_finished(false);
std::atomic<bool> g_stalled(false);

LRESULT CALLBACK AcceptDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_armed) {
        HWND activated = reinterpret_cast<HWND>(wParam);
        if (IsDialogClass(activated)) {
            g_armed = false;
            PostMessageW(activated, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    if (IsDialogClass(hwnd))
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void Watchdog(DWORD guiThread)
{
    long seen = -1;
    DWORD since = GetTickCount();
    while (!g_finished) {
        Sleep(100);
        const long now = g_progress;
        if (now != seen) {
            seen = now;
            since = GetTickCount();
        } else if (GetTickCount() - since > 15000) {
            g_stalled = true;
            EnumThreadWindows(guiThread, CancelDialog, 0);
            since = GetTickCount();
        }
    }
}

// The handles the program's font and brush take. A replaced handle must be gone the moment it is
// replaced. Wine hands a freed handle's value out again, so only the handles not yet seen deleted
// are kept: a value reused later by some other object cannot count as ours.
struct OwnGdiObjects {
    std::set<HGDIOBJ> held;
    HGDIOBJ font = NULL, brush = NULL;
    int replaced = 0;
    int replacedAlive = 0;

    void Track(HGDIOBJ now, HGDIOBJ* last)
    {
        if (now == *last)
            return;
        if (*last) {
            ++replaced;
            if (GetObjectType(*last))
                ++replacedAlive;
            else
                held.erase(*last);
        }
        *last = now;
        if (now)
            held.insert(now);
    }
    void Update()
    {
        Track(g_hfPismo, &font);
        Track(g_hbrPozadi, &brush);
    }
    int Live() const
    {
        int live = 0;
        for (HGDIOBJ h : held)
            live += GetObjectType(h) != 0;
        return live;
    }
    // Replaced handles alive now.
    int Leaked() const
    {
        int leaked = 0;
        for (HGDIOBJ h : held)
            leaked += h != g_hfPismo && h != g_hbrPozadi && GetObjectType(h) != 0;
        return leaked;
    }
};

// Committed private memory, added up region by region: what PrivateUsage counts on Windows.
SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    ULONG_PTR at = 0;
    while (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const ULONG_PTR next = reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// The process's private bytes; Wine leaves PrivateUsage at 0, and then the regions are counted.
SIZE_T PrivateBytes(bool* counted)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    *counted = counters.PrivateUsage == 0;
    return *counted ? CommittedPrivateBytes() : counters.PrivateUsage;
}

// The program's memory may grow by as much as the system's dialogs doing the same work, and a
// fifth more.
const double kMemoryGrowthAllowance = 1.2;

// Back to back, Wine's window operations take several times as long as after a short pause: the
// work the previous one left behind gets in the way (20 ms is enough to let it finish).
void Pause()
{
    PumpMessages();
    Sleep(20);
}

// The same iterations with nothing of the program's window: the system's font and colour
// dialogs accepted, the chosen font given to a bare edit and replaced by the stock font, and a
// run's text written in. The private memory growth in KiB over `iterations`, after ten to settle,
// as the program's is measured after its first round of ten.
double ControlGrowthKiB(int iterations)
{
    HWND frame;
    HWND edit = CreateBareEdit(&frame);
    g_bVPismo = g_bMPismo = g_bCisla = g_bSymboly = 1;
    HFONT font = NULL;
    COLORREF custom[16] = {};
    SIZE_T first = 0;
    bool counted;
    for (int i = -10; i < iterations && !g_stalled; ++i) {
        if (i == 0)
            first = PrivateBytes(&counted);
        LOGFONTA lf = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        CHOOSEFONTA cf = {};
        cf.lStructSize = sizeof cf;
        cf.hwndOwner = frame;
        cf.lpLogFont = &lf;
        cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
        Pause();
        g_armed = true;
        ChooseFontA(&cf);
        CHOOSECOLORA cc = {};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = frame;
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        Pause();
        g_armed = true;
        ChooseColorA(&cc);
        if (font)
            DeleteObject(font);
        font = CreateFontIndirectA(&lf);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        Pause();
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        Pause();
        const std::wstring text = RunText(100, 20);
        SetWindowTextW(edit, L"");
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        PumpMessages();
        ++g_progress;
    }
    const SIZE_T last = PrivateBytes(&counted);
    DestroyWindow(frame);
    DeleteObject(font);
    return (static_cast<double>(last) - static_cast<double>(first)) / 1024;
}

// The control on its own in this process (started with --control): prints the growth in KiB.
int RunControl(int iterations)
{
    g_hook = SetWindowsHookExW(WH_CBT, AcceptDialog, NULL, GetCurrentThreadId());
    std::thread watchdog(Watchdog, GetCurrentThreadId());
    const double kib = ControlGrowthKiB(iterations);
    g_finished = true;
    watchdog.join();
    UnhookWindowsHookEx(g_hook);
    printf("%.0f\n", kib);
    return g_stalled ? 1 : 0;
}

// Runs the control in a fresh process of this benchmark, so that neither heap serves the other
// from memory the other freed.
bool ControlGrowthInOwnProcessKiB(int iterations, double* kib)
{
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --control " + std::to_wstring(iterations);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    const bool started = CreateProcessW(self, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi) != FALSE;
    CloseHandle(writeEnd);
    std::string output;
    char buffer[256];
    DWORD got;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, NULL) && got)
        output.append(buffer, got);
    CloseHandle(readEnd);
    if (!started)
        return false;
    DWORD code = 1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    *kib = atof(output.c_str());
    return code == 0 && !output.empty();
}

// One command as the user gives it, the dialog it opens accepted; its time in milliseconds.
double TimeCommand(int command, bool opensDialog)
{
    Pause();
    const double start = NowMs();
    g_armed = opensDialog;
    Command(command);
    const double ms = NowMs() - start;
    g_armed = false;
    ++g_progress;
    return ms;
}

void MeasureSteadiness(int rounds, int perRound)
{
    const int total = rounds * perRound;
    // The program's growth is measured from after its first round to the end.
    const int measured = total - perRound;
    int fonts = 0, colours = 0, resets = 0, runs = 0;
    std::vector<double> fontMs, colourMs, resetMs, runMs;
    OwnGdiObjects gdi;
    int liveFirst = 0;
    SIZE_T memoryFirst = 0;
    bool counted = false;

    g_hook = SetWindowsHookExW(WH_CBT, AcceptDialog, NULL, GetCurrentThreadId());
    g_finished = false;
    std::thread watchdog(Watchdog, GetCurrentThreadId());
    const double start = NowMs();
    for (int round = 0; round < rounds && !g_stalled; ++round) {
        for (int i = 0; i < perRound && !g_stalled; ++i) {
            HGDIOBJ before = g_hfPismo;
            fontMs.push_back(TimeCommand(ID_NASTAVENI_PISMO, true));
            fonts += g_hfPismo != before && GetObjectType(g_hfPismo) == OBJ_FONT;
            gdi.Update();

            before = g_hbrPozadi;
            colourMs.push_back(TimeCommand(ID_NASTAVENI_POZADI, true));
            colours += g_hbrPozadi != before && GetObjectType(g_hbrPozadi) == OBJ_BRUSH;
            gdi.Update();

            before = g_hbrPozadi;
            resetMs.push_back(TimeCommand(ID_NASTAVENI_STANDARDNIHODNOTY, false));
            resets += g_hbrPozadi != before && GetObjectType(g_hbrPozadi) == OBJ_BRUSH;
            gdi.Update();

            runMs.push_back(TimeCommand(ID_AKCE_GENERUJ, false));
            runs += SendMessageW(g_hwndeHesla, WM_GETTEXTLENGTH, 0, 0) == 100 * 22;
        }
        if (round == 0) {
            liveFirst = gdi.Live();
            memoryFirst = PrivateBytes(&counted);
        }
        if ((round + 1) % 10 == 0)
            Progress("steadiness: round %d of %d", round + 1, rounds);
    }
    const double seconds = (NowMs() - start) / 1000;
    const int liveLast = gdi.Live();
    const int leaked = gdi.Leaked();
    const SIZE_T memoryLast = PrivateBytes(&counted);
    const bool currentAlive = GetObjectType(g_hfPismo) == OBJ_FONT && GetObjectType(g_hbrPozadi) == OBJ_BRUSH;
    g_finished = true;
    watchdog.join();
    UnhookWindowsHookEx(g_hook);
    g_armed = false;
    double controlKiB = 0;
    const bool controlled = ControlGrowthInOwnProcessKiB(measured, &controlKiB);
    Progress("steadiness: %.1f s; fonts %d, colours %d, resets %d, runs %d; live %d -> %d; memory %u -> %u; control %+.0f KiB",
             seconds, fonts, colours, resets, runs, liveFirst, liveLast, static_cast<unsigned>(memoryFirst),
             static_cast<unsigned>(memoryLast), controlKiB);

    AddRow("Accepted font choices / colour choices / standard looks / generate runs (100 × 20)",
           Format("%d / %d / %d / %d in %.0f s%s", fonts, colours, resets, runs, seconds,
                  g_stalled ? "; a dialog stayed open and was cancelled" : ""),
           Format("%d each", total), Judge(fonts == total && colours == total && resets == total && runs == total));
    AddRow(Format("Live own GDI objects (pane font and brush) after the first round of %d / after all %d", perRound, total),
           Format("%d / %d", liveFirst, liveLast), "same, at most 2",
           Judge(liveFirst == liveLast && liveLast <= 2 && currentAlive));
    AddRow("Replaced fonts and brushes deleted",
           Format("%d of %d (%d alive when replaced, %d alive at the end)", gdi.replaced - gdi.replacedAlive,
                  gdi.replaced, gdi.replacedAlive, leaked),
           "all", Judge(gdi.replaced > 0 && leaked == 0 && gdi.replacedAlive == 0));
    const double growth = (static_cast<double>(memoryLast) - static_cast<double>(memoryFirst)) / 1024;
    AddRow(Format("Private memory (%s) after the first round of %d / after all %d",
                  counted ? "committed private regions; PrivateUsage reads 0 under Wine" : "PrivateUsage", perRound, total),
           Format("%.0f KiB / %.0f KiB", memoryFirst / 1024.0, memoryLast / 1024.0));
    const double allowed = controlKiB * kMemoryGrowthAllowance;
    AddRow(Format("Private memory growth over the last %d iterations: the program / the system's font and colour "
                  "dialogs and a bare edit doing the same %d iterations in a process of their own", measured, measured),
           controlled ? Format("%+.0f KiB / %+.0f KiB", growth, controlKiB)
                      : Format("%+.0f KiB / failed", growth),
           controlled ? Format("≤ the dialogs' growth plus a fifth: %+.0f KiB", allowed)
                      : "≤ the dialogs' growth plus a fifth",
           Judge(memoryFirst > 0 && controlled && growth <= allowed));

    AddStep("Steadiness: one accepted font choice (the font dialog opened, accepted, font applied)", fontMs);
    AddStep("Steadiness: one accepted colour choice", colourMs);
    AddStep("Steadiness: one standard look", resetMs);
    AddStep("Steadiness: one generate run, 100 × 20", runMs);
}

void RunInProcess(int rounds, int perRound, int runs)
{
    if (!MeasureWindowBuilding(runs)) {
        AddRow("Steadiness in the benchmark's process", "failed: the main window did not open", "—", kMissed);
        return;
    }
    SetInputs(g_hwndwMain, 100, 20);
    MeasureSteadiness(rounds, perRound);
    MeasureBreakdown(runs);
    CloseMainWindow();
    DeleteSettingsKey();
}

// ---- Output --------------------------------------------------------------------------------

void PrintTable()
{
    printf("| Measure | Value | Target | Met |\n|---|---|---|---|\n");
    for (const Row& row : g_rows) {
        const char* verdict = row.verdict == kMet ? "met" : row.verdict == kMissed ? "**missed**" : "—";
        printf("| %s | %s | %s | %s |\n", row.measure.c_str(), row.value.c_str(), row.target.c_str(), verdict);
    }
    if (g_breakdown.empty())
        return;
    printf("\nWhere the time goes, measured in the benchmark's own process with the program's code:\n\n"
           "| Step | Time |\n|---|---|\n");
    for (const Row& row : g_breakdown)
        printf("| %s | %s |\n", row.measure.c_str(), row.value.c_str());
}

std::wstring Folder(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

int main()
{
    // Plain LF line ends: the table goes straight into a Markdown file.
    _setmode(_fileno(stdout), _O_BINARY);

    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, self, MAX_PATH);
    const std::wstring here = Folder(self);
    const std::wstring parent = Folder(here.substr(0, here.size() - 1));
    std::wstring zefmor = here + L"Zefmor.exe", floorExe = here + L"floor_window.exe";
    std::wstring sizeX86 = parent + L"x86\\Zefmor.exe", sizeX64 = parent + L"x64\\Zefmor.exe";
    bool quick = false;
    std::wstring only, control;

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        const std::wstring arg = argv[i];
        std::wstring* target = arg == L"--zefmor" ? &zefmor : arg == L"--floor" ? &floorExe
                               : arg == L"--size-x86" ? &sizeX86 : arg == L"--size-x64" ? &sizeX64
                               : arg == L"--only" ? &only : arg == L"--control" ? &control : NULL;
        if (target && i + 1 < argc) {
            *target = argv[++i];
        } else if (arg == L"--quick") {
            quick = true;
        } else {
            fprintf(stderr, "usage: benchmark [--zefmor EXE] [--floor EXE] [--size-x86 EXE] [--size-x64 EXE] [--quick]\n"
                            "                 [--only startup|generation|size|steadiness]\n");
            return 2;
        }
    }
    LocalFree(argv);
    if (!control.empty())
        return RunControl(_wtoi(control.c_str()));

    auto wanted = [&only](const wchar_t* part) { return only.empty() || only == part; };
    if (wanted(L"startup"))
        MeasureStartup(zefmor, floorExe, quick ? 3 : 11);
    if (wanted(L"generation"))
        MeasureGeneration(zefmor, quick ? 11 : 51);
    if (wanted(L"size")) {
        MeasureSize("x86", sizeX86);
        MeasureSize("x64", sizeX64);
    }
    if (wanted(L"steadiness"))
        RunInProcess(quick ? 3 : 100, 10, quick ? 11 : 51);

    PrintTable();
    int missed = 0;
    for (const Row& row : g_rows)
        missed += row.verdict == kMissed;
    return missed ? 1 : 0;
}
