// Start-up, the main loop and shut-down.
#include "app/startup.h"

#include <ole2.h>
#include <ras.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/languageswap.h"
#include "app/singleinstance.h"
#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/dpi_win.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "meter/counting.h"
#include "monitor/adapterchanges_win.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "skin/pngresource.h"
#include "skin/skin.h"
#include "tariff/alerts.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/mainwindow.h"
#include "ui/messagepump.h"

// The settings check stored show commands without the platform's header.
static_assert(kLastShowCommand == SW_MAX);

HINSTANCE ownInstance;
HANDLE connectionEvent;
HWND mainWindow;

namespace {

// What the main window asks of the program: set up before the window is created.
MainWindowHost mainWindowHost;

// Asks the remote-access service to signal the connection event on every change, and the system
// to do so on every change of the network adapters.
void registerForConnectionSignals()
{
    if (connectionEvent == nullptr
        || RasConnectionNotificationA(
               HRASCONN(INVALID_HANDLE_VALUE), connectionEvent, RASCN_Connection | RASCN_Disconnection)
            != 0)
        reportError(kErrorConnectionNotification);
    // Without the system's reports the timer tick looks at the watched adapters itself.
    if (connectionEvent != nullptr)
        startAdapterChangeNotifications(connectionEvent);
}

// Calls `take` with the name of every file beside the program that matches `pattern`.
template <typename Take> void forEachFileBeside(const char* pattern, Take take)
{
    char path[MAX_PATH];
    if (!buildPathBeside(pattern, path, sizeof path))
        return;
    ScopedFind search(path);
    if (!search.isOpen())
        return;
    do {
        if ((search.found().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            take(search.found().cFileName);
    } while (search.next());
}

// A write interrupted before its rename leaves "<file>.tmp" beside the file it was to replace
// (a pending month's too); the file itself is whole, and the leftover is never read.
void removeLeftoverTemporaryFiles()
{
    for (const char* pattern : { "*.zip.tmp", "*.zip.pending.tmp" })
        forEachFileBeside(pattern, [](const char* name) {
            char path[MAX_PATH];
            if (buildPathBeside(name, path, sizeof path))
                DeleteFileA(path);
        });
}

// The months whose records the last exit could only set aside beside their logs.
std::vector<uint32_t> pendingMonths()
{
    std::vector<uint32_t> keys;
    forEachFileBeside("log_*.zip.pending", [&keys](const char* name) {
        uint32_t key = 0;
        if (pendingMonthKey(name, key))
            keys.push_back(key);
    });
    return keys;
}

// A placement on a screen that is no longer there (or read from a damaged file) would open the
// window where nobody sees it: it then opens centred.
void forgetOffScreenPlacement()
{
    const Placement& placement = settings.windowPlacement;
    const RECT normal = { placement.normalLeft, placement.normalTop, placement.normalRight, placement.normalBottom };
    if (placement.length != 0 && MonitorFromRect(&normal, MONITOR_DEFAULTTONULL) == nullptr)
        memset(&settings.windowPlacement, 0, sizeof settings.windowPlacement);
}

// The scale of the screen the window opens on: the one of its stored place, else the one of
// the desktop's middle, where it opens centred.
uint32_t openingDpi(const RECT& desktop)
{
    const Placement& placement = settings.windowPlacement;
    if (placement.length != 0) {
        const RECT normal
            = { placement.normalLeft, placement.normalTop, placement.normalRight, placement.normalBottom };
        return monitorDpi(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST));
    }
    const POINT middle = { (desktop.left + desktop.right) / 2, (desktop.top + desktop.bottom) / 2 };
    return monitorDpi(MonitorFromPoint(middle, MONITOR_DEFAULTTOPRIMARY));
}

bool registerMainWindowClass()
{
    WNDCLASSEXA mainClass {};
    mainClass.cbSize = sizeof mainClass;
    mainClass.style = CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
    mainClass.lpfnWndProc = mainWindowProc;
    mainClass.hInstance = ownInstance;
    mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mainClass.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    mainClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&mainClass) != 0;
}

// The part of start-up that the first paint does not need, run by the main window from its queue
// once it has been painted: the window's icon, the alerts and watched adapters, and the
// connection signals. The skin's other pictures, the common controls and the tip window wait
// until something needs them.
void finishStartUp()
{
    // The icon the task switcher shows for the window.
    if (HANDLE icon
        = LoadImageA(ownInstance, MAKEINTRESOURCEA(IDI_OFFLINE), IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE))
        SetClassLongPtrA(mainWindow, GCLP_HICON, LONG_PTR(icon));
    if (const ScopedWindowDc screen(nullptr); screen.get() != nullptr)
        displayColorDepth = uint32_t(GetDeviceCaps(screen.get(), BITSPIXEL));
    if (!loadAlerts())
        reportError(0);
    if (!loadWatchedAdapters())
        reportError(0);
    registerForConnectionSignals();
}

} // namespace

HWND startUp()
{
    prepareSkinReader();
    CoInitialize(nullptr);
    // The message inserts are fixed buffers of MessageArguments: nothing to allocate.

    removeLeftoverTemporaryFiles();
    resetSettings();
    if (!swapLanguage(nullptr, 0))
        reportError(0);
    if (!loadSettings())
        reportError(0);
    if (!swapLanguage(nullptr, 0))
        reportError(0);

    // The loops wait on the event from the start; the services are asked to signal it once the
    // window has been painted (finishStartUp), and the scan made then sees what came up before.
    connectionEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    setRunningSliceSource(runningSliceRecord);
    // What the last exit could not place in a month's log is taken in before anything writes.
    const std::vector<uint32_t> pending = pendingMonths();
    if (!startCounting(pending.data(), pending.size()))
        reportError(0);
    showDeferredReports();

    if (!registerMainWindowClass()) {
        failWith(kErrorWindowClass);
        return nullptr;
    }

    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    char title[1024];
    if (!languageString(IDS_MAIN_TITLE, title, sizeof title))
        strcpy(title, "telvane");

    forgetOffScreenPlacement();
    const bool skinLoaded = loadStartSkin(settings.skinName, openingDpi(desktop));
    if (!skinLoaded) {
        // A skin that failed for a reason of its own was reported as it failed; the end of
        // start-up still needs its word.
        if (AppError == kNothingPending) {
            snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", programDirectory);
            setLastSystemError(0);
            failWith(kErrorNoSkin);
        }
        return nullptr;
    }

    // Halved as unsigned 32-bit differences: a skin wider than the screen lands far right,
    // where the stored placement (or the user) moves it.
    const uint32_t x = (uint32_t(desktop.right - desktop.left) - uint32_t(skin.windowWidth)) / 2;
    const uint32_t y = (uint32_t(desktop.bottom - desktop.top) - uint32_t(skin.windowHeight)) / 2;
    mainWindowHost = { ownInstance, connectionEvent, swapLanguage, storeForSessionEnd, finishStartUp };
    mainWindow = CreateWindowExA(0, kMainWindowClass, title, WS_POPUP | WS_CLIPCHILDREN, int(x), int(y),
        skin.windowWidth, skin.windowHeight, nullptr, nullptr, ownInstance, &mainWindowHost);
    if (mainWindow == nullptr) {
        failWith(kErrorMainWindow);
        return nullptr;
    }

    publishMainWindow(mainWindow);

    Placement& placement = settings.windowPlacement;
    if (settings.startHidden)
        placement.showCmd = SW_HIDE;
    placement.normalRight = placement.normalLeft + skin.windowWidth;
    placement.normalBottom = placement.normalTop + skin.windowHeight;

    if (HRGN outline = copyWindowRegion())
        SetWindowRgn(mainWindow, outline, TRUE);

    WINDOWPLACEMENT stored;
    static_assert(sizeof stored == sizeof placement);
    memcpy(&stored, &placement, sizeof stored);
    if (!SetWindowPlacement(mainWindow, &stored))
        ShowWindow(mainWindow, SW_SHOW);
    if (settings.startHidden)
        ShowWindow(mainWindow, SW_HIDE);
    // Painted now, before the rest of start-up, which waits in the window's queue.
    UpdateWindow(mainWindow);
    return mainWindow;
}

int runMainLoop(HWND window)
{
    MessagePump pump;
    pump.connectionEvent = connectionEvent;
    pump.signalled = window;
    pump.takeMessage = [window](MSG& message) {
        // The state goes with the window; after its destruction only the quit message is left.
        const MainWindowState* state = mainWindowState(window);
        return state != nullptr && state->accelerators != nullptr
            && TranslateAcceleratorA(window, state->accelerators, &message);
    };
    const PumpEnd end = pumpMessages(pump);
    return end.quit ? end.exitCode : 0;
}

namespace {
// Set once everything has been stored for a session that ends: the process may be ended at
// any moment after, and nothing is stored twice.
bool sessionStored;
} // namespace

void storeEverything(bool reportFailures)
{
    // A month log that cannot be written is tried once more; what still cannot is set aside
    // beside it and taken in at the next start.
    const bool counted = stopCounting(localTimeNow());
    if (reportFailures) {
        showDeferredReports();
        if (!counted)
            reportError(0);
    }
    if (!saveSettings() && reportFailures)
        reportError(0);
}

void storeForSessionEnd()
{
    if (sessionStored)
        return;
    // Nobody is there to answer a message box while the session ends.
    storeEverything(false);
    // The slices have been logged up to now: the connections are not logged again at exit.
    memset(&liveConnections, 0, sizeof liveConnections);
    sessionStored = true;
}

void shutDown()
{
    if (!sessionStored)
        storeEverything(true);
    clearMonthCache();
    releaseSkin();
    freeTariffs();
    stopAdapterChangeNotifications();
    if (connectionEvent != nullptr)
        CloseHandle(connectionEvent);
    connectionEvent = nullptr;
    CoUninitialize();
}
