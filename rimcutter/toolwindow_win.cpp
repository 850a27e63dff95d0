#include "rimcutter/toolwindow_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "core/dpi_win.h"
#include "core/scoped_win.h"
#include "rimcutter/menuids.h"
#include "rimcutter/regiontool.h"
#include "rimcutter/regiontoolwindow.h"
#include "rimcutter/toolpaint_win.h"
#include "skin/pngbitmap.h"
#include "skin/skinscale.h"

static_assert(sizeof(ShapePoint) == sizeof(POINT) && offsetof(ShapePoint, y) == offsetof(POINT, y));

const char kToolWindowClass[] = "Vek_QZ_MWC";

namespace {

const char kWindowTitle[] = "Rimcutter 0.1";
constexpr int kStatusBarId = 1;
constexpr int kHorizontalBarId = 2;
constexpr int kVerticalBarId = 3;
// Sizes at 96 DPI, scaled to the window's screen: the window before it is maximized, the room
// left for the size grip of a window that is not maximized, the coordinates' part of the
// status bar, and the pixels a scroll-bar arrow, an arrow key or a third of a wheel notch
// moves the picture.
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kSizeGripGap = 20;
constexpr int kCoordinatePartWidth = 250;
constexpr int kScrollLine = 16;
constexpr int kWheelLines = 3;

HWND toolWindow;
HWND statusBar;
// The scroll bars are controls of their own, so they sit above the status bar, not below it.
HWND horizontalBar;
HWND verticalBar;
HFONT statusFont; // the status bar's, at the window's scale
ToolCanvas canvas;

int scaled(HWND window, int length) { return scaleToDpi(length, windowDpi(window)); }

// The mouse message's client position in picture-logical units. The mapping is set afresh
// from the current zoom rather than taken from the last paint, so a click that arrives
// between a zoom change and its repaint lands where the new zoom puts it.
ShapePoint toLogical(HWND window, LPARAM position)
{
    POINT point { LOWORD(position), HIWORD(position) };
    RECT client;
    GetClientRect(window, &client);
    const ScopedWindowDc dc(window);
    applyZoom(dc.get(), client);
    DPtoLP(dc.get(), &point, 1);
    return ShapePoint { point.x, point.y };
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
// replaced in between. Null when it cannot be read or is no PNG picture.
HBITMAP loadPicture(const char* path, HDC dc, uint32_t* transparent, uint32_t* depth, uint32_t* width, uint32_t* height)
{
    const ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return nullptr;
    LARGE_INTEGER size {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart >= 0x100000000LL)
        return nullptr;
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    const std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[length > 0 ? length : 1]);
    DWORD read = 0;
    static const uint8_t signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    if (!data || !ReadFile(file.get(), data.get(), length, &read, nullptr) || read != length || length < 8
        || memcmp(data.get(), signature, 8) != 0)
        return nullptr;
    return decodePng(data.get(), length, dc, transparent, depth, width, height);
}

// The file dialog's record for `window`, choosing a path into `path`.
OPENFILENAMEA fileDialog(HWND window, const char* filter, char (&path)[MAX_PATH], DWORD flags)
{
    OPENFILENAMEA dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = flags;
    return dialog;
}

// ---- scrolling ----

// Device pixels of the picture and its margins at the zoom; fitting to the window never scrolls.
SIZE contentSize()
{
    const int32_t zoom = regionTool.zoom;
    if (zoom == 0 || regionTool.imageWidth <= 0 || regionTool.imageHeight <= 0)
        return { 0, 0 };
    return { (regionTool.imageWidth + 2 * kPictureMargin) * zoom,
        (regionTool.imageHeight + 2 * kPictureMargin) * zoom };
}

// Which scroll bars the picture needs in the client area above the status bar: a bar takes
// room from the other direction, which may then need its bar too.
struct BarsNeeded {
    bool horizontal;
    bool vertical;
};
BarsNeeded barsNeeded(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const SIZE content = contentSize();
    LONG width = client.right, height = client.bottom - regionTool.statusHeight;
    BarsNeeded needed { content.cx > width, content.cy > height };
    for (int pass = 0; pass < 2; ++pass) {
        const LONG viewWidth = width - (needed.vertical ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        const LONG viewHeight = height - (needed.horizontal ? GetSystemMetrics(SM_CYHSCROLL) : 0);
        needed = { content.cx > viewWidth, content.cy > viewHeight };
    }
    return needed;
}

// The area the picture shows in: the client area above the status bar and left of and above
// the scroll bars that show.
SIZE viewSize(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const BarsNeeded bars = barsNeeded(window);
    const LONG width = client.right - (bars.vertical ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const LONG height
        = client.bottom - regionTool.statusHeight - (bars.horizontal ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    return { width > 0 ? width : 0, height > 0 ? height : 0 };
}

// Places the scroll bars along the view's right and bottom edges, the status bar below them.
void placeScrollBars(HWND window)
{
    const BarsNeeded bars = barsNeeded(window);
    const SIZE view = viewSize(window);
    SetWindowPos(horizontalBar, nullptr, 0, view.cy, view.cx, GetSystemMetrics(SM_CYHSCROLL),
        SWP_NOZORDER | SWP_NOACTIVATE | (bars.horizontal ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    SetWindowPos(verticalBar, nullptr, view.cx, 0, GetSystemMetrics(SM_CXVSCROLL), view.cy,
        SWP_NOZORDER | SWP_NOACTIVATE | (bars.vertical ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

int32_t clampScroll(int32_t position, LONG content, LONG view)
{
    const int32_t largest = content > view ? int32_t(content - view) : 0;
    return position < 0 ? 0 : position > largest ? largest : position;
}

// Keeps the scroll position inside the picture and the scroll bars showing where the view is.
// A bar shows only while the picture is larger than the view.
void updateScrollBars(HWND window)
{
    const SIZE content = contentSize();
    const SIZE view = viewSize(window);
    regionTool.scrollX = clampScroll(regionTool.scrollX, content.cx, view.cx);
    regionTool.scrollY = clampScroll(regionTool.scrollY, content.cy, view.cy);
    SCROLLINFO bar {};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.nMax = content.cx > 0 ? int(content.cx - 1) : 0;
    bar.nPage = UINT(view.cx > 0 ? view.cx : 0);
    bar.nPos = regionTool.scrollX;
    SetScrollInfo(horizontalBar, SB_CTL, &bar, TRUE);
    bar.nMax = content.cy > 0 ? int(content.cy - 1) : 0;
    bar.nPage = UINT(view.cy > 0 ? view.cy : 0);
    bar.nPos = regionTool.scrollY;
    SetScrollInfo(verticalBar, SB_CTL, &bar, TRUE);
    placeScrollBars(window);
}

// The pointer stands still while the picture moves under it (zoom, scroll): the cross-hair and
// the coordinates follow at once rather than at the next mouse move.
void followCursor(HWND window)
{
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    const SIZE view = viewSize(window);
    if (pointer.x < 0 || pointer.y < 0 || pointer.x >= view.cx || pointer.y >= view.cy)
        return;
    trackCursor(toLogical(window, MAKELPARAM(pointer.x, pointer.y)));
}

void scrollTo(HWND window, int32_t x, int32_t y)
{
    if (x == regionTool.scrollX && y == regionTool.scrollY)
        return;
    regionTool.scrollX = x;
    regionTool.scrollY = y;
    updateScrollBars(window);
    InvalidateRect(window, nullptr, TRUE);
    followCursor(window);
}

// The new position of one scroll bar after a scroll-bar action.
int32_t scrolledPosition(HWND window, HWND bar, WORD action, int32_t position, LONG view)
{
    SCROLLINFO info {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    switch (action) {
    case SB_LINEUP:
        return position - scaled(window, kScrollLine);
    case SB_LINEDOWN:
        return position + scaled(window, kScrollLine);
    case SB_PAGEUP:
        return position - view;
    case SB_PAGEDOWN:
        return position + view;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return position;
    }
}

void onScroll(HWND window, int bar, WORD action)
{
    const SIZE view = viewSize(window);
    if (bar == SB_HORZ)
        scrollTo(
            window, scrolledPosition(window, horizontalBar, action, regionTool.scrollX, view.cx), regionTool.scrollY);
    else
        scrollTo(
            window, regionTool.scrollX, scrolledPosition(window, verticalBar, action, regionTool.scrollY, view.cy));
}

void onWheel(HWND window, WPARAM wParam)
{
    const int lines = -GET_WHEEL_DELTA_WPARAM(wParam) * kWheelLines / WHEEL_DELTA;
    const int line = scaled(window, kScrollLine);
    // With Shift the wheel moves the picture sideways.
    if (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT)
        scrollTo(window, regionTool.scrollX + lines * line, regionTool.scrollY);
    else
        scrollTo(window, regionTool.scrollX, regionTool.scrollY + lines * line);
}

// The arrow keys move the picture a line, the page keys a view.
bool scrollByKey(HWND window, WPARAM key)
{
    const SIZE view = viewSize(window);
    const int line = scaled(window, kScrollLine);
    int32_t x = regionTool.scrollX, y = regionTool.scrollY;
    switch (key) {
    case VK_LEFT:
        x -= line;
        break;
    case VK_RIGHT:
        x += line;
        break;
    case VK_UP:
        y -= line;
        break;
    case VK_DOWN:
        y += line;
        break;
    case VK_PRIOR:
        y -= view.cy;
        break;
    case VK_NEXT:
        y += view.cy;
        break;
    default:
        return false;
    }
    const SIZE content = contentSize();
    scrollTo(window, clampScroll(x, content.cx, view.cx), clampScroll(y, content.cy, view.cy));
    return true;
}

// ---- commands ----

void showPictureName(HWND window, const char* path)
{
    const char* name = strrchr(path, '\\');
    name = name != nullptr ? name + 1 : path;
    char title[MAX_PATH + 32];
    snprintf(title, sizeof title, "%s - %s", name, kWindowTitle);
    SetWindowTextA(window, title);
}

// A picture that cannot be opened is said so; the picture shown and its name stay.
void openPicture(HWND window)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = fileDialog(window, "Image files (*.png)\0*.png\0", path, OFN_FILEMUSTEXIST);
    if (!GetOpenFileNameA(&dialog))
        return;

    uint32_t transparent = 0, depth = 0, width = 0, height = 0;
    HBITMAP picture = nullptr;
    {
        const ScopedWindowDc dc(window);
        picture = loadPicture(path, dc.get(), &transparent, &depth, &width, &height);
    }
    if (picture == nullptr) {
        const char* name = strrchr(path, '\\');
        char text[MAX_PATH + 128];
        snprintf(text, sizeof text, "%s could not be opened: it is not a PNG picture, or it cannot be read.",
            name != nullptr ? name + 1 : path);
        MessageBoxA(window, text, kWindowTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    discardToolCanvas(&canvas);
    if (regionTool.picture != nullptr)
        DeleteObject(static_cast<HBITMAP>(regionTool.picture));
    regionTool.picture = picture;
    regionTool.pictureTransparent = transparent;
    regionTool.pictureDepth = depth;
    regionTool.imageWidth = static_cast<int32_t>(width);
    regionTool.imageHeight = static_cast<int32_t>(height);
    showPictureName(window, path);
    updateScrollBars(window);
    // The hint of the empty canvas goes with it.
    InvalidateRect(window, nullptr, TRUE);
}

void saveRegion(HWND window)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = fileDialog(window, "Region text (*.txt)\0*.txt\0", path, OFN_PATHMUSTEXIST);
    dialog.lpstrDefExt = "txt";
    if (GetSaveFileNameA(&dialog))
        saveRegionText(path);
}

// The Zoom menu ticks the zoom in use.
void tickZoom(HWND window)
{
    const struct {
        int command;
        int32_t zoom;
    } items[] = { { kCommandZoom100, 1 }, { kCommandZoom200, 2 }, { kCommandZoom400, 4 }, { kCommandZoomFit, 0 } };
    for (const auto& item : items)
        CheckMenuItem(GetMenu(window), UINT(item.command),
            MF_BYCOMMAND | (item.zoom == regionTool.zoom ? MF_CHECKED : MF_UNCHECKED));
}

void setZoom(HWND window, int32_t zoom)
{
    regionTool.zoom = zoom;
    tickZoom(window);
    updateScrollBars(window);
    InvalidateRect(window, nullptr, TRUE);
    followCursor(window);
}

void closeWindow(HWND window)
{
    if (mayDiscardShapes(kAskExit))
        DestroyWindow(window);
}

void onCommand(HWND window, int command)
{
    switch (command) {
    case kCommandRemoveLast:
        removeLastShape();
        break;
    case kCommandDeleteAll:
        deleteAllShapes();
        break;
    case kCommandOpenPicture:
        openPicture(window);
        break;
    case kCommandSaveRegion:
        saveRegion(window);
        break;
    case kCommandCopyRegion:
        copyRegionText();
        break;
    case kCommandExit:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case kCommandZoom100:
        setZoom(window, 1);
        break;
    case kCommandZoom200:
        setZoom(window, 2);
        break;
    case kCommandZoom400:
        setZoom(window, 4);
        break;
    case kCommandZoomFit:
        setZoom(window, 0);
        break;
    case kCommandPolyline:
        beginShape(kShapePolyline);
        break;
    case kCommandEllipse:
        beginShape(kShapeEllipse);
        break;
    case kCommandRectangle:
        beginShape(kShapeRectangle);
        break;
    case kCommandCopyOfLast:
        beginCopyOfLast();
        break;
    default:
        break;
    }
}

// The menu's shortcut keys, taken in the key-down handling: there is no accelerator table. The
// letters alone and the usual Ctrl keys of opening, saving and undoing do the same.
int commandOfKey(WPARAM key, bool control)
{
    if (control) {
        switch (key) {
        case 'O':
            return kCommandOpenPicture;
        case 'S':
            return kCommandSaveRegion;
        case 'Z':
            return kCommandRemoveLast;
        default:
            return 0;
        }
    }
    switch (key) {
    case 'U':
        return kCommandRemoveLast;
    case 'D':
    case VK_DELETE:
        return kCommandDeleteAll;
    case 'O':
        return kCommandOpenPicture;
    case 'S':
        return kCommandSaveRegion;
    case VK_RETURN:
        return kCommandCopyRegion;
    case '1':
        return kCommandZoom100;
    case '2':
        return kCommandZoom200;
    case '4':
        return kCommandZoom400;
    case 'F':
        return kCommandZoomFit;
    case 'P':
        return kCommandPolyline;
    case 'E':
        return kCommandEllipse;
    case 'R':
        return kCommandRectangle;
    case 'C':
        return kCommandCopyOfLast;
    default:
        return 0;
    }
}

// The status bar's two parts: the coordinates' part at the right, before the size grip.
void setStatusParts(HWND window, int width, bool maximized)
{
    const int gap = maximized ? 0 : scaled(window, kSizeGripGap);
    int edges[2] = { width - gap - scaled(window, kCoordinatePartWidth), width - gap };
    SendMessageA(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

// The status bar's text at the window's scale, and the bar as high as that text needs.
void fitStatusBar(HWND window)
{
    HFONT font = createStatusFont(windowDpi(window));
    if (font != nullptr) {
        SendMessageA(statusBar, WM_SETFONT, WPARAM(font), TRUE);
        if (statusFont != nullptr)
            DeleteObject(statusFont);
        statusFont = font;
    }
    // A status bar takes its height from its font when it is told its parent's size.
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    RECT bar {};
    GetWindowRect(statusBar, &bar);
    regionTool.statusHeight = bar.bottom - bar.top;
}

void onCreate(HWND window)
{
    resetRegionTool();
    toolWindow = window;
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), GetModuleHandleA(nullptr), nullptr);
    fitStatusBar(window);
    horizontalBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, 0, 0, 0, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHorizontalBarId)), GetModuleHandleA(nullptr), nullptr);
    verticalBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kVerticalBarId)), GetModuleHandleA(nullptr), nullptr);
    tickZoom(window);
}

void onSize(HWND window, UINT message, WPARAM kind, LPARAM size)
{
    SendMessageA(statusBar, message, kind, size);
    setStatusParts(window, LOWORD(size), kind == SIZE_MAXIMIZED);
    updateScrollBars(window);
}

// The window moved to a screen of another scale: it takes the place and size the system
// suggests, and its status bar the new scale's font.
void onDpiChanged(HWND window, const RECT& suggested)
{
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fitStatusBar(window);
    RECT client;
    GetClientRect(window, &client);
    setStatusParts(window, client.right, IsZoomed(window) != FALSE);
    updateScrollBars(window);
    InvalidateRect(window, nullptr, TRUE);
}

void onDestroy()
{
    discardToolCanvas(&canvas);
    if (regionTool.picture != nullptr)
        DeleteObject(static_cast<HBITMAP>(regionTool.picture));
    regionTool.picture = nullptr;
    toolWindow = nullptr;
    statusBar = nullptr;
    horizontalBar = nullptr;
    verticalBar = nullptr;
    if (statusFont != nullptr)
        DeleteObject(statusFont);
    statusFont = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        break;
    case WM_SIZE:
        onSize(window, message, wParam, lParam);
        break;
    case WM_DPICHANGED:
        onDpiChanged(window, *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_PAINT:
        onPaint(window);
        break;
    case WM_CLOSE:
        closeWindow(window);
        return 0;
    case WM_DESTROY:
        onDestroy();
        break;
    case WM_KEYDOWN:
        if (const int command = commandOfKey(wParam, GetKeyState(VK_CONTROL) < 0))
            SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
        else
            scrollByKey(window, wParam);
        break;
    case WM_HSCROLL:
        onScroll(window, SB_HORZ, LOWORD(wParam));
        break;
    case WM_VSCROLL:
        onScroll(window, SB_VERT, LOWORD(wParam));
        break;
    case WM_MOUSEWHEEL:
        onWheel(window, wParam);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        break;
    case WM_MOUSEMOVE:
        trackCursor(toLogical(window, lParam));
        break;
    case WM_LBUTTONDOWN:
        clickPoint(toLogical(window, lParam), true);
        break;
    case WM_LBUTTONUP:
        clickPoint(toLogical(window, lParam), false);
        break;
    case WM_RBUTTONDOWN:
        endPolyline(true);
        break;
    case WM_RBUTTONUP:
        endPolyline(false);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool registerToolWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass {};
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
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const uint32_t dpi
        = monitorDpi(MonitorFromPoint(POINT { screenWidth / 2, screenHeight / 2 }, MONITOR_DEFAULTTOPRIMARY));
    const int width = scaleToDpi(kWindowWidth, dpi);
    const int height = scaleToDpi(kWindowHeight, dpi);
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
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

bool putTextOnClipboard(const char* text, size_t length)
{
    if (!OpenClipboard(toolWindow))
        return false;
    EmptyClipboard();
    bool placed = false;
    if (text != nullptr) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length + 1);
        auto* copy = memory != nullptr ? static_cast<char*>(GlobalLock(memory)) : nullptr;
        if (copy != nullptr) {
            memcpy(copy, text, length);
            copy[length] = '\0';
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory) != nullptr) {
                memory = nullptr; // the clipboard owns it now
                placed = true;
            }
        }
        if (memory != nullptr)
            GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

void showToolMessage(const char* text) { MessageBoxA(toolWindow, text, nullptr, MB_OK); }

bool askToolQuestion(const char* text)
{
    return MessageBoxA(toolWindow, text, kWindowTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
