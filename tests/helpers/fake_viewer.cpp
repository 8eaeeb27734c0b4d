// Stands in for the installed viewer: a visible window of class "Photarium"
// that lives until it is closed, or 60 seconds at most.
#include <windows.h>

namespace {
LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Photarium";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"Photarium", L"Photarium (test viewer)",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    SetTimer(window, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            DestroyWindow(window);
        DispatchMessageW(&msg);
    }
    return 0;
}
