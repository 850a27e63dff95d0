// The yardstick of `tools/bench startup` and `tools/bench idle`: a bare Win32 window of the size
// given on the command line, centred, shown and painted once, with a message loop and nothing
// else. What telvane costs beyond it is ours.
#include <windows.h>

#include <cstdlib>

namespace {

constexpr char kBareWindowClass[] = "TelvaneBenchBareWindow";

LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, HBRUSH(GetStockObject(GRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    char* rest = commandLine;
    const int width = int(strtol(rest, &rest, 10));
    const int height = int(strtol(rest, &rest, 10));
    WNDCLASSEXA windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = bareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kBareWindowClass;
    if (width <= 0 || height <= 0 || RegisterClassExA(&windowClass) == 0)
        return 2;
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    HWND window = CreateWindowExA(0, kBareWindowClass, "bare", WS_POPUP, (desktop.right - width) / 2,
        (desktop.bottom - height) / 2, width, height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
