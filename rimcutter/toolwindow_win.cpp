#include "rimcutter/toolwindow_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>
#include <memory>
#include <new>

#include "core/scoped_win.h"
#include "rimcutter/menuids.h"
#include "rimcutter/regiontool.h"
#include "rimcutter/regiontoolwindow.h"
#include "rimcutter/toolpaint_win.h"
#include "skin/pngbitmap.h"

static_assert(sizeof(ShapePoint) == sizeof(POINT) && offsetof(ShapePoint, y) == offsetof(POINT, y));

const char kToolWindowClass[] = "Vek_QZ_MWC";

namespace {

const char kWindowTitle[] = "Rimcutter 0.1";
constexpr int kStatusBarId = 1;
// Room left for the size grip of a window that is not maximized.
constexpr int kSizeGripGap = 20;
constexpr int kCoordinatePartWidth = 250;

HWND toolWindow;
HWND statusBar;
ToolCanvas canvas;

// The mouse message's client position in picture-logical units. The mapping is set afresh
// from the current zoom rather than taken from the last paint, so a click that arrives
// between a zoom change and its repaint lands where the new zoom puts it.
ShapePoint toLogical(HWND window, LPARAM position)
{
    POINT point{LOWORD(position), HIWORD(position)};
    RECT client;
    GetClientRect(window, &client);
    const ScopedWindowDc dc(window);
    applyZoom(dc.get(), client);
    DPtoLP(dc.get(), &point, 1);
    return ShapePoint{point.x, point.y};
}

void onPaint(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paintRegionTool(dc, client, &canvas);
    EndPaint(window, &paint);
}

// Reads the whole file and decodes it while the file is still open, so it cannot be
// replaced in between. No message: the tool simply keeps no picture.
HBITMAP loadPicture(const char* path, HDC dc, uint32_t* transparent, uint32_t* depth, uint32_t* width,
                    uint32_t* height)
{
    const ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart >= 0x100000000LL)
        return nullptr;
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    const std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[length > 0 ? length : 1]);
    DWORD read = 0;
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!data || !ReadFile(file.get(), data.get(), length, &read, nullptr) || read != length || length < 8 ||
        memcmp(data.get(), signature, 8) != 0)
        return nullptr;
    return decodePng(data.get(), length, dc, transparent, depth, width, height);
}

// The file dialog's record for `window`, choosing a path into `path`.
OPENFILENAMEA fileDialog(HWND window, const char* filter, char (&path)[MAX_PATH], DWORD flags)
{
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = flags;
    return dialog;
}

void openPicture(HWND window)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = fileDialog(window, "Image files (*.png)\0*.png\0", path, OFN_FILEMUSTEXIST);
    if (!GetOpenFileNameA(&dialog))
        return;

    const ScopedWindowDc dc(window);
    discardToolCanvas(&canvas);
    if (regionTool.picture != nullptr)
        DeleteObject(static_cast<HBITMAP>(regionTool.picture));
    uint32_t transparent = 0, depth = 0, width = 0, height = 0;
    HBITMAP picture = loadPicture(path, dc.get(), &transparent, &depth, &width, &height);
    regionTool.picture = picture;
    if (picture != nullptr) {
        regionTool.pictureTransparent = transparent;
        regionTool.pictureDepth = depth;
        regionTool.imageWidth = static_cast<int32_t>(width);
        regionTool.imageHeight = static_cast<int32_t>(height);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void saveRegion(HWND window)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = fileDialog(window, "Image files (*.txt)\0*.txt\0", path, OFN_PATHMUSTEXIST);
    dialog.lpstrDefExt = "txt";
    if (GetSaveFileNameA(&dialog))
        saveRegionText(path);
}

void setZoom(HWND window, int32_t zoom)
{
    regionTool.zoom = zoom;
    InvalidateRect(window, nullptr, TRUE);
}

void onCommand(HWND window, int command)
{
    switch (command) {
    case kCommandRemoveLast: removeLastShape(); break;
    case kCommandDeleteAll: clearShapes(); break;
    case kCommandOpenPicture: openPicture(window); break;
    case kCommandSaveRegion: saveRegion(window); break;
    case kCommandCopyRegion: copyRegionText(); break;
    case kCommandExit: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case kCommandZoom100: setZoom(window, 1); break;
    case kCommandZoom200: setZoom(window, 2); break;
    case kCommandZoom400: setZoom(window, 4); break;
    case kCommandZoomFit: setZoom(window, 0); break;
    case kCommandPolyline: beginShape(kShapePolyline); break;
    case kCommandEllipse: beginShape(kShapeEllipse); break;
    case kCommandRectangle: beginShape(kShapeRectangle); break;
    case kCommandCopyOfLast: beginCopyOfLast(); break;
    default: break;
    }
}

// The menu's shortcut keys, taken in the key-down handling: there is no accelerator table.
int commandOfKey(WPARAM key)
{
    switch (key) {
    case 'U': return kCommandRemoveLast;
    case 'D': return kCommandDeleteAll;
    case 'O': return kCommandOpenPicture;
    case 'S': return kCommandSaveRegion;
    case VK_RETURN: return kCommandCopyRegion;
    case '1': return kCommandZoom100;
    case '2': return kCommandZoom200;
    case '4': return kCommandZoom400;
    case 'F': return kCommandZoomFit;
    case 'P': return kCommandPolyline;
    case 'E': return kCommandEllipse;
    case 'R': return kCommandRectangle;
    case 'C': return kCommandCopyOfLast;
    default: return 0;
    }
}

void onCreate(HWND window)
{
    resetRegionTool();
    toolWindow = window;
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                                GetModuleHandleA(nullptr), nullptr);
    RECT bar{};
    GetWindowRect(statusBar, &bar);
    regionTool.statusHeight = bar.bottom - bar.top;
}

void onSize(UINT message, WPARAM kind, LPARAM size)
{
    SendMessageA(statusBar, message, kind, size);
    const int width = LOWORD(size);
    const int gap = kind == SIZE_MAXIMIZED ? 0 : kSizeGripGap;
    int edges[2] = {width - gap - kCoordinatePartWidth, width - gap};
    SendMessageA(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void onDestroy()
{
    discardToolCanvas(&canvas);
    if (regionTool.picture != nullptr)
        DeleteObject(static_cast<HBITMAP>(regionTool.picture));
    regionTool.picture = nullptr;
    toolWindow = nullptr;
    statusBar = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: onCreate(window); break;
    case WM_SIZE: onSize(message, wParam, lParam); break;
    case WM_PAINT: onPaint(window); break;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: onDestroy(); break;
    case WM_KEYDOWN:
        if (const int command = commandOfKey(wParam))
            SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
        break;
    case WM_COMMAND: onCommand(window, LOWORD(wParam)); break;
    case WM_MOUSEMOVE: trackCursor(toLogical(window, lParam)); break;
    case WM_LBUTTONDOWN: clickPoint(toLogical(window, lParam), true); break;
    case WM_LBUTTONUP: clickPoint(toLogical(window, lParam), false); break;
    case WM_RBUTTONDOWN: endPolyline(true); break;
    case WM_RBUTTONUP: endPolyline(false); break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool registerToolWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // The class device context keeps the mapping mode that painting sets.
    windowClass.style = CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = toolWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_CROSS);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(kRegionToolMenu);
    windowClass.lpszClassName = kToolWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createToolWindow(HINSTANCE instance)
{
    const int width = 800;
    const int height = 600;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return CreateWindowExA(0, kToolWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           left, top, width, height, nullptr, nullptr, instance, nullptr);
}

void setToolStatusText(int part, const char* text)
{
    if (statusBar != nullptr)
        SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

void repaintToolWindow()
{
    if (toolWindow != nullptr)
        InvalidateRect(toolWindow, nullptr, FALSE);
}

void putTextOnClipboard(const char* text, size_t length)
{
    if (!OpenClipboard(toolWindow))
        return;
    EmptyClipboard();
    if (text != nullptr) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length + 1);
        auto* copy = memory != nullptr ? static_cast<char*>(GlobalLock(memory)) : nullptr;
        if (copy != nullptr) {
            memcpy(copy, text, length);
            copy[length] = '\0';
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory) != nullptr)
                memory = nullptr;  // the clipboard owns it now
        }
        if (memory != nullptr)
            GlobalFree(memory);
    }
    CloseClipboard();
}

void showToolMessage(const char* text) { MessageBoxA(toolWindow, text, nullptr, MB_OK); }
