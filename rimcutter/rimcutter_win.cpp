// rimcutter: traces the outline of a skin picture and writes it as region text for skin.xml.
#include <windows.h>
#include <commctrl.h>

#include "rimcutter/toolwindow_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls { sizeof controls, ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);
    if (!registerToolWindowClass(instance))
        return 0;
    HWND window = createToolWindow(instance);
    if (window == nullptr)
        return 0;
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
