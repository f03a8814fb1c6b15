// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Start-up: the window class, the fixed main window, the exit codes and the start colours.
#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <thread>

#include "app_fixture.h"
#include "app_state.h"
#include "main_window.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

class StartupTest : public MainWindowTest {};

TEST_F(StartupTest, ClassIsRegisteredAsDesigned)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(NULL), L"Zefmor", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(MainWndProc), wc.lpfnWndProc);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0, wc.cbWndExtra);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), wc.hbrBackground);
    EXPECT_EQ(MAKEINTRESOURCEW(IDR_MAIN_MENU), wc.lpszMenuName);
    EXPECT_EQ(LoadCursorW(NULL, IDC_ARROW), wc.hCursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(wc.hIcon, &info));
    BITMAP bm = {};
    GetObjectW(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(32, bm.bmWidth);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

TEST_F(StartupTest, MainWindowIsFixedInSizeAndPlace)
{
    FrameMetrics classic;
    ASSERT_TRUE(classic.Set());
    ResetAppState();
    ASSERT_TRUE(StartMainWindow());
    EXPECT_EQ(L"Zefmor", TextOf(g_hwndwMain));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(g_hwndwMain, GWL_STYLE));
    for (DWORD bit : {DWORD(WS_CAPTION), DWORD(WS_SYSMENU), DWORD(WS_MINIMIZEBOX), DWORD(WS_VISIBLE)})
        EXPECT_EQ(bit, style & bit) << std::hex << bit;
    for (DWORD bit : {DWORD(WS_THICKFRAME), DWORD(WS_MAXIMIZEBOX), DWORD(WS_CHILD), DWORD(WS_POPUP)})
        EXPECT_EQ(0u, style & bit) << std::hex << bit;
    RECT rc;
    GetWindowRect(g_hwndwMain, &rc);
    EXPECT_EQ(280, rc.left);
    EXPECT_EQ(100, rc.top);
    EXPECT_EQ(315, rc.right - rc.left);
    EXPECT_EQ(210, rc.bottom - rc.top);
    EXPECT_EQ(nullptr, GetParent(g_hwndwMain));
    HMENU menu = GetMenu(g_hwndwMain);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(4, GetMenuItemCount(menu));
}

// What the system does for every window when the frame metrics change.
void RemeasureFrames()
{
    SetWindowPos(g_hwndwMain, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SendMessageW(g_hwndwMain, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
}

// Grown by just the client area's shortfall: the layout's 309 x 166 exactly, in the same place;
// wider than designed only when the side borders are.
void ExpectGrownToTheLayout(bool widerBorders = false)
{
    RECT outer, client;
    GetWindowRect(g_hwndwMain, &outer);
    GetClientRect(g_hwndwMain, &client);
    EXPECT_EQ(280, outer.left);
    EXPECT_EQ(100, outer.top);
    if (widerBorders) {
        EXPECT_GT(outer.right - outer.left, 315);
    } else {
        EXPECT_EQ(315, outer.right - outer.left);
    }
    EXPECT_GT(outer.bottom - outer.top, 210);
    EXPECT_EQ(309, client.right);
    EXPECT_EQ(166, client.bottom);
    // Every control but the frame, which is larger on purpose, shows whole.
    for (HWND child = GetWindow(g_hwndwMain, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(NULL, g_hwndwMain, reinterpret_cast<POINT*>(&rc), 2);
        if (rc.left >= 0) {
            EXPECT_TRUE(rc.right <= client.right && rc.bottom <= client.bottom) << GetDlgCtrlID(child);
        }
    }
}

// Back at the designed outer size once the frames are classic.
void ExpectDesignedSize()
{
    RECT outer;
    GetWindowRect(g_hwndwMain, &outer);
    EXPECT_EQ(315, outer.right - outer.left);
    EXPECT_EQ(210, outer.bottom - outer.top);
}

TEST_F(StartupTest, TallerCaptionGrowsTheWindowUntilTheLayoutFits)
{
    FrameMetrics classic;
    ASSERT_TRUE(classic.Set());
    {
        FrameMetrics caption(40);
        ASSERT_TRUE(caption.Set());
        RemeasureFrames();
        ExpectGrownToTheLayout();
        ResetAppState();
        ASSERT_TRUE(StartMainWindow());
        ExpectGrownToTheLayout();
    }
    RemeasureFrames();
    ExpectDesignedSize();
}

// A sizing border is wider than the fixed frame, as padded borders are on newer systems.
TEST_F(StartupTest, WiderBordersGrowTheWindowByTheShortfallAndNoMore)
{
    FrameMetrics classic;
    ASSERT_TRUE(classic.Set());
    const LONG fixed = GetWindowLongW(g_hwndwMain, GWL_STYLE);
    SetWindowLongW(g_hwndwMain, GWL_STYLE, fixed | WS_THICKFRAME);
    RemeasureFrames();
    ExpectGrownToTheLayout(true);
    SetWindowLongW(g_hwndwMain, GWL_STYLE, fixed);
    RemeasureFrames();
    ExpectDesignedSize();
}

// Blocks the creation of the n-th child of the main window (0: the main window itself).
int g_nBlock;
int g_nChildren;

LRESULT CALLBACK BlockCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        const bool isMain = !create->lpcs->hwndParent && !(create->lpcs->style & WS_CHILD) &&
                            !IS_INTRESOURCE(create->lpcs->lpszClass) &&
                            lstrcmpW(create->lpcs->lpszClass, L"Zefmor") == 0;
        if (isMain && g_nBlock == 0)
            return 1;
        if (g_hwndwMain && create->lpcs->hwndParent == g_hwndwMain && ++g_nChildren == g_nBlock)
            return 1;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST(StartupFailure, AnyCheckedWindowMissingEndsStartUpButTheFrameDoesNot)
{
    for (int block = 0; block <= 15; ++block) {
        SCOPED_TRACE(block);
        ResetAppState();
        DeleteSettingsKey();
        PutDword(L"Hesla", 7);
        g_nBlock = block;
        g_nChildren = 0;
        HHOOK hook = SetWindowsHookExW(WH_CBT, BlockCreation, NULL, GetCurrentThreadId());
        const bool started = StartMainWindow();
        UnhookWindowsHookEx(hook);
        if (block == 2) {
            // Without the client frame the window works unchanged.
            EXPECT_TRUE(started);
            EXPECT_EQ(L"7", TextOf(g_hwndePocetHesel));
            continue;
        }
        EXPECT_FALSE(started);
        if (block == 0)
            continue;
        // Nothing after the failed control is created, and the settings are not loaded.
        int children = 0;
        for (HWND c = GetWindow(g_hwndwMain, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            ++children;
        EXPECT_EQ(block - 1, children);
        EXPECT_NE(7, g_nPocetHesel);
    }
    ResetAppState();
    DeleteSettingsKey();
}

bool InSingleThreadedApartment()
{
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

TEST(StartupFailure, WinMainReturnsMinusOneWhenTheClassCannotBeRegistered)
{
    ResetAppState();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"Zefmor";
    ASSERT_TRUE(RegisterClassExW(&wc));
    EXPECT_EQ(-1, WinMain(GetModuleHandleW(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL));
    EXPECT_EQ(nullptr, g_hwndwMain);
    EXPECT_FALSE(InSingleThreadedApartment()) << "COM is left initialised";
    UnregisterClassW(L"Zefmor", GetModuleHandleW(NULL));
}

// Runs WinMain's loop here while a second thread ends it with the given message.
int RunAndEnd(UINT message, WPARAM wParam)
{
    ResetAppState();
    std::atomic<bool> done(false);
    std::thread closer([&] {
        for (int i = 0; i < 500 && !done; ++i) {
            HWND main = FindWindowW(L"Zefmor", NULL);
            if (main && IsWindowVisible(main) && GetDlgItem(main, 785)) {
                PostMessageW(main, message, wParam, 0);
                return;
            }
            Sleep(20);
        }
    });
    const int code = WinMain(GetModuleHandleW(NULL), NULL, const_cast<LPSTR>("ignored /args"), SW_SHOWNORMAL);
    done = true;
    closer.join();
    return code;
}

TEST(Exit, CloseBoxAndKonecBothEndTheLoopWithZeroAndSaveTheSettings)
{
    DeleteSettingsKey();
    EXPECT_EQ(0, RunAndEnd(WM_CLOSE, 0));
    EXPECT_FALSE(IsWindow(g_hwndwMain));
    DWORD type;
    std::vector<BYTE> data;
    EXPECT_TRUE(GetValue(L"Znaky", &type, &data));

    DeleteSettingsKey();
    EXPECT_EQ(0, RunAndEnd(WM_COMMAND, ID_SOUBOR_KONEC));
    EXPECT_FALSE(IsWindow(g_hwndwMain));
    EXPECT_TRUE(GetValue(L"Znaky", &type, &data));
    ResetAppState();
    DeleteSettingsKey();
}

// Whether this thread was a COM apartment when the main window was made.
bool g_bApartmentAtMainWindow;

LRESULT CALLBACK NoteApartment(int code, WPARAM wParam, LPARAM lParam)
{
    const CBT_CREATEWNDW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && !IS_INTRESOURCE(create->lpcs->lpszClass) &&
        lstrcmpW(create->lpcs->lpszClass, L"Zefmor") == 0)
        g_bApartmentAtMainWindow = InSingleThreadedApartment();
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST(Exit, ComIsASingleThreadedApartmentFromBeforeTheWindowToTheEnd)
{
    ASSERT_FALSE(InSingleThreadedApartment());
    g_bApartmentAtMainWindow = false;
    HHOOK hook = SetWindowsHookExW(WH_CBT, NoteApartment, NULL, GetCurrentThreadId());
    EXPECT_EQ(0, RunAndEnd(WM_CLOSE, 0));
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(g_bApartmentAtMainWindow);
    EXPECT_FALSE(InSingleThreadedApartment()) << "COM is left initialised";
    ResetAppState();
    DeleteSettingsKey();
}

}  // namespace
