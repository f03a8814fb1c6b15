// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// A watcher thread that finds this process's visible dialogs and works them like a user.
#include "dialog_driver.h"

#include <dlgs.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

struct Search {
    DWORD thread;
    const std::set<HWND>* done;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, ARRAYSIZE(cls));
    if (GetWindowThreadProcessId(hwnd, NULL) == search->thread && IsWindowVisible(hwnd) &&
        lstrcmpW(cls, L"#32770") == 0 && !search->done->count(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND NextDialog(DWORD thread, const std::set<HWND>& done)
{
    Search search = {thread, &done, NULL};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

DriveResult DriveDialogs(const std::vector<DialogStep>& steps, const std::function<void()>& modal,
                         DWORD timeoutMs)
{
    DriveResult result;
    std::atomic<bool> finished(false);
    const DWORD guiThread = GetCurrentThreadId();

    std::thread watcher([&] {
        std::set<HWND> done;
        const DWORD start = GetTickCount();
        while (!finished) {
            HWND dialog = NextDialog(guiThread, done);
            if (dialog) {
                // Give the dialog time to finish its initialisation before it is worked.
                Sleep(100);
                wchar_t caption[256] = L"";
                GetWindowTextW(dialog, caption, ARRAYSIZE(caption));
                result.captions.push_back(caption);
                done.insert(dialog);
                if (result.dialogsSeen < static_cast<int>(steps.size())) {
                    steps[result.dialogsSeen++](dialog);
                } else {
                    ++result.dialogsSeen;
                    result.timedOut = true;
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                }
            } else if (GetTickCount() - start > timeoutMs) {
                result.timedOut = true;
                std::set<HWND> none;
                while (HWND open = NextDialog(guiThread, none)) {
                    PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                    none.insert(open);
                }
                Sleep(200);
            }
            Sleep(20);
        }
    });
    modal();
    finished = true;
    watcher.join();
    return result;
}

std::wstring DialogText(HWND dialog, int id)
{
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, id, text, ARRAYSIZE(text));
    return text;
}

void SetDialogText(HWND dialog, int id, const wchar_t* text)
{
    SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void PressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FileNameField(HWND dialog)
{
    HWND name = GetDlgItem(dialog, cmb13);
    HWND edit = name ? FindWindowExW(name, NULL, L"Edit", NULL) : GetDlgItem(dialog, edt1);
    return edit ? edit : name;
}

void AcceptFileName(HWND dialog, const wchar_t* path)
{
    SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PressButton(dialog, IDOK);
}

std::wstring MessageBoxText(HWND dialog)
{
    // The message's static control; the icon's static has no text.
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = L"", text[512] = L"";
        GetClassNameW(child, cls, ARRAYSIZE(cls));
        GetWindowTextW(child, text, ARRAYSIZE(text));
        if (lstrcmpiW(cls, L"Static") == 0 && text[0])
            return text;
    }
    return L"";
}
