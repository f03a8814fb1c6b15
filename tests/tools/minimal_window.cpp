// The least a windowed program can do: one window and its message loop. Its start-up time is the
// yardstick Zefmor's own start-up is compared with.
#include <windows.h>

namespace {

const wchar_t kClassName[] = L"ZefmorBenchmarkMinimal";

LRESULT CALLBACK MinimalWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    // WM_CLOSE takes the default path: the window is destroyed and the loop ends with 0.
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MinimalWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc))
        return 1;

    // The same size and place as Zefmor's window.
    HWND hwnd = CreateWindowExW(0, kClassName, L"Minimal", WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                                280, 100, 315, 210, NULL, NULL, hInstance, NULL);
    if (!hwnd)
        return 1;
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
