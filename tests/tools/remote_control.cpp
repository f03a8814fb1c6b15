// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Works a running Zefmor from outside, one step per call, for the screenshot and package checks:
//   remote_control start <Zefmor.exe>   move the pointer out of the way, start it and wait for
//                                       its window
//   remote_control controls             list the controls that draw (all but the client frame),
//                                       one line each: "class x y width height", x and y from
//                                       the main window's top left corner; an up-down as its two
//                                       buttons, "<class>:button"
//   remote_control generate <n> <len> [mask]
//                                       tick the classes (mask of upper, lower, digits, symbols,
//                                       e.g. 0001; all by default), generate, check the pane
//   remote_control about | menu         open the About box / the "Soubor" menu
//   remote_control dismiss              close the About box or the menu
//   remote_control look                 store a non-default font and colours for the next start
//   remote_control close                close it; the exit code is Zefmor's
//   remote_control font <family>        whether the prefix has that font family: "present" or
//                                       "absent", such as the one Wine draws the caption buttons with
// Each step prints the main window's rectangle and its client origin: "x y width height cx cy".
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

HWND FindMain()
{
    for (int i = 0; i < 500; ++i) {
        HWND main = FindWindowW(L"Zefmor", L"Zefmor");
        if (main && IsWindowVisible(main) && GetDlgItem(main, 785))
            return main;
        Sleep(20);
    }
    return NULL;
}

HWND FindOwned(HWND main, const wchar_t* cls)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    for (int i = 0; i < 250; ++i) {
        for (HWND w = FindWindowExW(NULL, NULL, cls, NULL); w; w = FindWindowExW(NULL, w, cls, NULL)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w))
                return w;
        }
        Sleep(20);
    }
    return NULL;
}

void PrintPlace(HWND main)
{
    RECT rc;
    GetWindowRect(main, &rc);
    POINT client = {0, 0};
    ClientToScreen(main, &client);
    printf("%ld %ld %ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
           client.x - rc.left, client.y - rc.top);
}

// Lets the program finish painting before a picture is taken.
void Settle(HWND main)
{
    DWORD_PTR result;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    Sleep(300);
}

int Start(const wchar_t* program)
{
    // A control under the pointer draws itself hot, which would hide one that never drew at all.
    SetCursorPos(0, 0);
    wchar_t command[MAX_PATH + 2];
    swprintf(command, MAX_PATH + 2, L"\"%ls\"", program);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
        fprintf(stderr, "remote_control: cannot start %ls\n", program);
        return 2;
    }
    WaitForInputIdle(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    HWND main = FindMain();
    if (!main) {
        fprintf(stderr, "remote_control: no window appeared\n");
        return 2;
    }
    Settle(main);
    PrintPlace(main);
    return 0;
}

int Controls(HWND main)
{
    RECT window;
    GetWindowRect(main, &window);
    for (HWND w = GetWindow(main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t cls[64];
        GetClassNameW(w, cls, 64);
        const LONG style = GetWindowLongW(w, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (!_wcsicmp(cls, L"Static") && (style & SS_TYPEMASK) == SS_BLACKFRAME))
            continue;
        RECT rc;
        GetWindowRect(w, &rc);
        OffsetRect(&rc, -window.left, -window.top);
        if (_wcsicmp(cls, UPDOWN_CLASSW)) {
            printf("%ls %ld %ld %ld %ld\n", cls, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
            continue;
        }
        // Side by side, or one above the other.
        const bool across = (style & UDS_HORZ) != 0;
        const LONG w2 = across ? (rc.right - rc.left) / 2 : rc.right - rc.left;
        const LONG h2 = across ? rc.bottom - rc.top : (rc.bottom - rc.top) / 2;
        for (int i = 0; i < 2; ++i)
            printf("%ls:button %ld %ld %ld %ld\n", cls, rc.left + (across ? i * w2 : 0),
                   rc.top + (across ? 0 : i * h2), w2, h2);
    }
    return 0;
}

HWND FindPane(HWND main)
{
    for (HWND w = FindWindowExW(main, NULL, L"Edit", NULL); w; w = FindWindowExW(main, w, L"Edit", NULL)) {
        if (GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE)
            return w;
    }
    return NULL;
}

// Fails when Zefmor stops answering or its pane does not hold the run: one line per password.
int Generate(HWND main, int passwords, int length, const wchar_t* mask)
{
    SetDlgItemInt(main, 786, passwords, FALSE);
    SetDlgItemInt(main, 785, length, FALSE);
    bool any = false;
    const size_t given = mask ? wcslen(mask) : 0;
    for (int i = 0; i < 4; ++i) {
        const bool on = !mask || (static_cast<size_t>(i) < given && mask[i] == L'1');
        SendDlgItemMessageW(main, 781 + i, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        any = any || on;
    }
    DWORD_PTR result;
    if (!SendMessageTimeoutW(main, WM_COMMAND, 40021, 0, SMTO_BLOCK, 10000, &result)) {
        fprintf(stderr, "remote_control: Zefmor does not answer\n");
        return 2;
    }
    Settle(main);
    const LRESULT expected = any ? passwords * (length + 2) : 0;
    const LRESULT held = SendMessageW(FindPane(main), WM_GETTEXTLENGTH, 0, 0);
    if (held != expected) {
        fprintf(stderr, "remote_control: the pane holds %ld characters, not %ld\n",
                static_cast<long>(held), static_cast<long>(expected));
        return 2;
    }
    PrintPlace(main);
    return 0;
}

int About(HWND main)
{
    PostMessageW(main, WM_COMMAND, 40018, 0);
    HWND box = FindOwned(main, L"#32770");
    if (!box)
        return 2;
    Settle(box);
    PrintPlace(main);
    return 0;
}

int Menu(HWND main)
{
    // The keyboard's way into the menu bar: F10 selects "Soubor", Down opens it.
    SetForegroundWindow(main);
    PostMessageW(main, WM_SYSKEYDOWN, VK_F10, 0);
    PostMessageW(main, WM_SYSKEYUP, VK_F10, 0xC0000000);
    Sleep(300);
    PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYUP, VK_DOWN, 0xC0000000);
    if (!FindOwned(main, L"#32768"))
        return 2;
    Sleep(300);
    PrintPlace(main);
    return 0;
}

int Dismiss(HWND main)
{
    if (HWND box = FindWindowW(L"#32770", L"Zefmor"))
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(main, WM_CANCELMODE, 0, 0);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    Settle(main);
    PrintPlace(main);
    return 0;
}

int Close(HWND main)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 3;
    if (process && WaitForSingleObject(process, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    if (process)
        CloseHandle(process);
    printf("exit code %ld\n", static_cast<long>(code));
    return static_cast<int>(code);
}

void Store(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

int Look()
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Ravolt\\Zefmor", 0, NULL, 0, KEY_WRITE, NULL, &key, NULL))
        return 2;
    LOGFONTA lf = {};
    lf.lfHeight = -15;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "DejaVu Sans Mono");
    const COLORREF text = RGB(0, 96, 0), back = RGB(255, 244, 192);
    const int on = 1, passwords = 10, length = 12;
    Store(key, L"BarvaPisma", REG_DWORD, &text, sizeof text);
    Store(key, L"BarvaPozadi", REG_DWORD, &back, sizeof back);
    Store(key, L"Pismo", REG_BINARY, &lf, sizeof lf);
    const wchar_t* const flags[] = {L"VPismo", L"MPismo", L"Cisla", L"Symboly"};
    for (const wchar_t* flag : flags)
        Store(key, flag, REG_BINARY, &on, sizeof on);
    Store(key, L"Hesla", REG_DWORD, &passwords, sizeof passwords);
    Store(key, L"Znaky", REG_DWORD, &length, sizeof length);
    RegCloseKey(key);
    printf("%06lx\n", static_cast<unsigned long>(back));
    return 0;
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

int HasFont(const wchar_t* family)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, family, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(NULL);
    EnumFontFamiliesExW(dc, &lf, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(NULL, dc);
    printf("%s\n", found ? "present" : "absent");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const wchar_t* step = argv[1];
    if (!wcscmp(step, L"start") && argc > 2)
        return Start(argv[2]);
    if (!wcscmp(step, L"look"))
        return Look();
    if (!wcscmp(step, L"font") && argc > 2)
        return HasFont(argv[2]);
    HWND main = FindMain();
    if (!main) {
        fprintf(stderr, "remote_control: Zefmor is not running\n");
        return 2;
    }
    if (!wcscmp(step, L"generate") && argc > 3)
        return Generate(main, _wtoi(argv[2]), _wtoi(argv[3]), argc > 4 ? argv[4] : NULL);
    if (!wcscmp(step, L"controls"))
        return Controls(main);
    if (!wcscmp(step, L"about"))
        return About(main);
    if (!wcscmp(step, L"menu"))
        return Menu(main);
    if (!wcscmp(step, L"dismiss"))
        return Dismiss(main);
    if (!wcscmp(step, L"close"))
        return Close(main);
    return 2;
}
