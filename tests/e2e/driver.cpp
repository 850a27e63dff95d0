// Drives a running telvane from outside, as a user would: finds its window, reads what the
// window shows about itself, closes it and answers the confirmation.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lang/ids.h"
#include "ui/mainwindow.h"

namespace {

constexpr int kStepMs = 100;

HWND findWindow(int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kStepMs) {
        if (HWND window = FindWindowA(kMainWindowClass, nullptr))
            return window;
        Sleep(kStepMs);
    }
    return nullptr;
}

// The main window's own record, read out of the program's memory.
bool readState(HWND window, MainWindowState& state)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    const LONG_PTR address = GetWindowLongPtrA(window, GWLP_USERDATA);
    SIZE_T read = 0;
    const bool ok = address != 0
        && ReadProcessMemory(process, reinterpret_cast<void*>(address), &state, sizeof state, &read)
        && read == sizeof state;
    CloseHandle(process);
    return ok;
}

// Whether telvane's process has the library `name` loaded.
bool hasModule(HWND window, const char* name)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    HMODULE modules[512];
    DWORD size = 0;
    bool found = false;
    if (K32EnumProcessModules(process, modules, sizeof modules, &size)) {
        for (DWORD i = 0; i < size / sizeof(HMODULE) && i < 512 && !found; ++i) {
            char base[MAX_PATH];
            found = K32GetModuleBaseNameA(process, modules[i], base, sizeof base) != 0 && _stricmp(base, name) == 0;
        }
    }
    CloseHandle(process);
    return found;
}

// The main window once start-up is over: the first timer tick, which only the main loop
// delivers, has written the tray tip. Start-up has then placed, shown or hidden the window.
HWND waitForWindow(int timeoutMs)
{
    HWND window = findWindow(timeoutMs);
    for (int waited = 0; window != nullptr && waited <= timeoutMs; waited += kStepMs) {
        MainWindowState state;
        if (readState(window, state) && state.tray.szTip[0] != '\0')
            return window;
        Sleep(kStepMs);
    }
    return window;
}

struct DialogSearch {
    HWND owner;
    HWND dialog;
};

BOOL CALLBACK findOwnedDialog(HWND candidate, LPARAM context)
{
    auto* search = reinterpret_cast<DialogSearch*>(context);
    char className[16];
    GetClassNameA(candidate, className, sizeof className);
    if (strcmp(className, "#32770") == 0
        && (search->owner == nullptr || GetWindow(candidate, GW_OWNER) == search->owner)
        && IsWindowVisible(candidate)) {
        search->dialog = candidate;
        return FALSE;
    }
    return TRUE;
}

HWND waitForDialog(HWND owner, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kStepMs) {
        DialogSearch search { owner, nullptr };
        EnumWindows(findOwnedDialog, LPARAM(&search));
        if (search.dialog != nullptr)
            return search.dialog;
        Sleep(kStepMs);
    }
    return nullptr;
}

struct BoxCount {
    DWORD processId;
    int count;
};

BOOL CALLBACK countBox(HWND candidate, LPARAM context)
{
    auto* boxes = reinterpret_cast<BoxCount*>(context);
    char className[16];
    GetClassNameA(candidate, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(candidate, &processId);
    if (strcmp(className, "#32770") == 0 && processId == boxes->processId && IsWindowVisible(candidate))
        ++boxes->count;
    return TRUE;
}

// The dialog windows telvane shows at the moment: message boxes stack up when one is opened
// from inside another's loop.
int countBoxes(HWND window)
{
    BoxCount boxes { 0, 0 };
    GetWindowThreadProcessId(window, &boxes.processId);
    EnumWindows(countBox, LPARAM(&boxes));
    return boxes.count;
}

struct TrayWatch {
    HWND program;
    bool added;
};

// What a notification area receives: the shell hands each icon call to the window of class
// "Shell_TrayWnd" as WM_COPYDATA, the call (NIM_ADD, NIM_MODIFY, ...) as its dwData and the
// icon's window as wParam.
LRESULT CALLBACK trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        auto* watch = reinterpret_cast<TrayWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (watch != nullptr && data->dwData == NIM_ADD && HWND(wParam) == watch->program)
            watch->added = true;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Plays an Explorer that has just started: a notification area of its own, placed where the
// shell looks first, and the "TaskbarCreated" message to telvane's window. True when telvane
// adds its icon to the new area within five seconds.
bool playNewTaskbar(HWND program)
{
    WNDCLASSA windowClass {};
    windowClass.lpfnWndProc = trayWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&windowClass);
    HWND tray = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0,
        nullptr, nullptr, windowClass.hInstance, nullptr);
    if (tray == nullptr)
        return false;
    TrayWatch watch { program, false };
    SetWindowLongPtrA(tray, GWLP_USERDATA, LONG_PTR(&watch));
    PostMessageA(program, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    for (int waited = 0; waited <= 5000 && !watch.added; waited += 10) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
    DestroyWindow(tray);
    printf("%d\n", watch.added ? 1 : 0);
    return watch.added;
}

BOOL CALLBACK findBalloon(HWND candidate, LPARAM context)
{
    char className[32];
    GetClassNameA(candidate, className, sizeof className);
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(candidate)
        && (GetWindowLongA(candidate, GWL_STYLE) & TTS_BALLOON) != 0) {
        *reinterpret_cast<HWND*>(context) = candidate;
        return FALSE;
    }
    return TRUE;
}

// The balloon the notification area shows, whoever shows it; null when none shows in time.
HWND waitForBalloon(int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kStepMs) {
        HWND balloon = nullptr;
        EnumWindows(findBalloon, LPARAM(&balloon));
        if (balloon != nullptr)
            return balloon;
        Sleep(kStepMs);
    }
    return nullptr;
}

// A list view of another process, asked through a buffer in that process: its messages carry
// pointers, which only mean something there.
class RemoteList {
public:
    explicit RemoteList(HWND list)
        : list_(list)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(list, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr)
            buffer_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kBufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteList()
    {
        if (buffer_ != nullptr)
            VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
        if (process_ != nullptr)
            CloseHandle(process_);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    bool isOpen() const { return buffer_ != nullptr; }

    std::string text(int row, int column)
    {
        LVITEMA item {};
        item.iSubItem = column;
        item.pszText = buffer_ + sizeof item;
        item.cchTextMax = kBufferSize - int(sizeof item);
        WriteProcessMemory(process_, buffer_, &item, sizeof item, nullptr);
        SendMessageA(list_, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(buffer_));
        char text[256] = "";
        ReadProcessMemory(process_, buffer_ + sizeof item, text, sizeof text - 1, nullptr);
        return text;
    }

    // Ticks an unticked row, unticks a ticked one.
    void toggle(int row)
    {
        const UINT ticked = UINT(SendMessageA(list_, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK));
        LVITEMA item {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(ticked == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2);
        WriteProcessMemory(process_, buffer_, &item, sizeof item, nullptr);
        SendMessageA(list_, LVM_SETITEMSTATE, WPARAM(row), LPARAM(buffer_));
    }

private:
    static constexpr int kBufferSize = 4096;
    HWND list_;
    HANDLE process_ = nullptr;
    char* buffer_ = nullptr;
};

// Opens the options at the adapters page, ticks (or unticks) the adapter whose addresses include
// `address` and closes the sheet with OK. Prints the adapter's name.
bool toggleAdapter(HWND window, const char* address)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_OPTIONS, 0), 0);
    HWND sheet = waitForDialog(window, 10000);
    if (sheet == nullptr)
        return false;
    constexpr int kAdaptersPage = 4;
    SendMessageA(sheet, PSM_SETCURSEL, kAdaptersPage, 0);
    HWND page = HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND list = page != nullptr ? GetDlgItem(page, IDC_ADAPTER_LIST) : nullptr;
    if (list == nullptr)
        return false;
    RemoteList remote(list);
    const int rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    bool ticked = false;
    for (int row = 0; remote.isOpen() && row < rows && !ticked; ++row) {
        if (remote.text(row, 2).find(address) == std::string::npos)
            continue;
        remote.toggle(row);
        printf("%s\n", remote.text(row, 0).c_str());
        ticked = true;
    }
    // Left open for a picture when asked; closed with OK otherwise.
    if (getenv("E2E_KEEP_SHEET") == nullptr)
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return ticked;
}

bool waitForExit(HWND window, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kStepMs) {
        if (!IsWindow(window))
            return true;
        Sleep(kStepMs);
    }
    return false;
}

int usage()
{
    fputs("usage: e2e_driver window           prints: visible X Y WIDTH HEIGHT\n"
          "       e2e_driver outline X Y ...  prints the outline's box (LEFT TOP RIGHT BOTTOM), then 1 or 0\n"
          "                                   for each client point inside the outline or not\n"
          "       e2e_driver icon             prints the tray icon handle\n"
          "       e2e_driver status           prints the status line\n"
          "       e2e_driver tip              prints the tray icon's tip, its lines joined by \" | \"\n"
          "       e2e_driver scroll           prints the rows the connection list is scrolled by\n"
          "       e2e_driver close yes|tick|silent   closes telvane and answers the question\n"
          "       e2e_driver exit yes|tick|silent    the same through the exit command\n"
          "       e2e_driver dismiss          answers a message box with OK; prints its text\n"
          "       e2e_driver region           prints the rectangles of the window's outline (0: none)\n"
          "       e2e_driver balloon          prints the text of the balloon the notification area shows\n"
          "       e2e_driver tray-right-click opens the phone-book menu of the tray icon\n"
          "       e2e_driver command ID       sends the menu command ID\n"
          "       e2e_driver options-ok       opens the options sheet and closes it with OK\n"
          "       e2e_driver loaded NAME.DLL  prints 1 when telvane has the library loaded, else 0\n"
          "       e2e_driver toggle-adapter ADDRESS  ticks or unticks the adapter with ADDRESS on the\n"
          "                                   options' adapters page, then OK; prints its name\n"
          "       e2e_driver boxes            prints how many dialog windows telvane shows\n"
          "       e2e_driver taskbar-created  plays a new notification area: prints 1 when telvane\n"
          "                                   adds its icon to it again\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    if (strcmp(argv[1], "dismiss") == 0) {
        // A message box (no owner) shown during start-up: read its text, then OK.
        HWND box = waitForDialog(nullptr, 15000);
        if (box == nullptr) {
            fputs("e2e_driver: no message box\n", stderr);
            return 1;
        }
        // A message box's text is its one static control with the id 0xFFFF.
        char text[2048] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        for (char* c = text; *c != '\0'; ++c)
            if (*c == '\r' || *c == '\n')
                *c = ' ';
        printf("%s\n", text);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    if (strcmp(argv[1], "balloon") == 0) {
        // The notification area's balloon belongs to the shell, not to telvane: its text comes
        // through the window message, which crosses processes.
        HWND balloon = waitForBalloon(15000);
        if (balloon == nullptr) {
            fputs("e2e_driver: no balloon\n", stderr);
            return 1;
        }
        char text[1024] = "";
        SendMessageA(balloon, WM_GETTEXT, sizeof text, LPARAM(text));
        printf("%s\n", text);
        return 0;
    }
    HWND window = waitForWindow(15000);
    if (window == nullptr) {
        fputs("e2e_driver: no telvane window\n", stderr);
        return 1;
    }
    const char* command = argv[1];
    if (strcmp(command, "window") == 0) {
        RECT rect;
        GetWindowRect(window, &rect);
        printf("%d %ld %ld %ld %ld\n", IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top);
        return 0;
    }
    if (strcmp(command, "region") == 0) {
        HRGN outline = CreateRectRgn(0, 0, 0, 0);
        const int type = GetWindowRgn(window, outline);
        const DWORD size = type == ERROR ? 0 : GetRegionData(outline, 0, nullptr);
        DWORD rectangles = 0;
        if (size >= sizeof(RGNDATAHEADER)) {
            auto* data = static_cast<RGNDATA*>(malloc(size));
            if (data != nullptr && GetRegionData(outline, size, data) == size)
                rectangles = data->rdh.nCount;
            free(data);
        }
        DeleteObject(outline);
        printf("%lu\n", static_cast<unsigned long>(rectangles));
        return 0;
    }
    if (strcmp(command, "outline") == 0) {
        HRGN outline = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(window, outline) == ERROR) {
            DeleteObject(outline);
            fputs("e2e_driver: the window has no outline\n", stderr);
            return 1;
        }
        RECT box;
        GetRgnBox(outline, &box);
        printf("%ld %ld %ld %ld", box.left, box.top, box.right, box.bottom);
        for (int i = 2; i + 1 < argc; i += 2)
            printf(" %d", PtInRegion(outline, atoi(argv[i]), atoi(argv[i + 1])) ? 1 : 0);
        printf("\n");
        DeleteObject(outline);
        return 0;
    }
    if (strcmp(command, "icon") == 0 || strcmp(command, "status") == 0 || strcmp(command, "scroll") == 0
        || strcmp(command, "tip") == 0) {
        MainWindowState state;
        if (!readState(window, state)) {
            fputs("e2e_driver: cannot read the window's state\n", stderr);
            return 1;
        }
        if (command[0] == 'i')
            printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(state.tray.hIcon)));
        else if (command[1] == 'c')
            printf("%d\n", int(state.listScroll));
        else if (command[0] == 't') {
            std::string tip(state.tray.szTip, strnlen(state.tray.szTip, sizeof state.tray.szTip));
            for (size_t at; (at = tip.find('\n')) != std::string::npos;)
                tip.replace(at, 1, " | ");
            printf("%s\n", tip.c_str());
        } else
            printf("%.*s\n", int(sizeof state.statusText), state.statusText);
        return 0;
    }
    if (strcmp(command, "loaded") == 0 && argc == 3) {
        printf("%d\n", hasModule(window, argv[2]) ? 1 : 0);
        return 0;
    }
    if (strcmp(command, "command") == 0 && argc == 3) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(WORD(atoi(argv[2])), 0), 0);
        return 0;
    }
    if (strcmp(command, "options-ok") == 0) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_OPTIONS, 0), 0);
        HWND sheet = waitForDialog(window, 10000);
        if (sheet == nullptr) {
            fputs("e2e_driver: no options sheet appeared\n", stderr);
            return 1;
        }
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return 0;
    }
    if (strcmp(command, "toggle-adapter") == 0 && argc == 3)
        return toggleAdapter(window, argv[2]) ? 0 : 1;
    if (strcmp(command, "boxes") == 0) {
        printf("%d\n", countBoxes(window));
        return 0;
    }
    if (strcmp(command, "taskbar-created") == 0)
        return playNewTaskbar(window) ? 0 : 1;
    if (strcmp(command, "tray-right-click") == 0) {
        // What the notification area sends for a right click on the icon.
        PostMessageA(window, WM_USER + 1, 0, WM_RBUTTONDOWN);
        return 0;
    }
    if ((strcmp(command, "close") == 0 || strcmp(command, "exit") == 0) && argc == 3) {
        const char* answer = argv[2];
        // "exit" is the menu's exit command (also Ctrl+Q), which closes from inside the
        // command handler; "close" is what the close button and the system send.
        if (command[0] == 'e')
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (strcmp(answer, "silent") == 0) {
            if (waitForExit(window, 10000))
                return 0;
            fputs("e2e_driver: telvane did not close without asking\n", stderr);
            return 1;
        }
        HWND dialog = waitForDialog(window, 10000);
        if (dialog == nullptr) {
            fputs("e2e_driver: no confirmation appeared\n", stderr);
            return 1;
        }
        if (strcmp(answer, "tick") == 0)
            SendMessageA(GetDlgItem(dialog, 1090), BM_SETCHECK, BST_CHECKED, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDYES)));
        if (waitForExit(window, 10000))
            return 0;
        fputs("e2e_driver: telvane did not close after Yes\n", stderr);
        return 1;
    }
    return usage();
}
