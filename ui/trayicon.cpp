#include "ui/trayicon.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "meter/monthtotals.h"
#include "monitor/dialling.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "res/resource.h"
#include "ui/alertnotice.h"
#include "ui/dialogs/money_win.h"
#include "ui/formatters.h"
#include "ui/hovertips.h"
#include "ui/menulists.h"
#include "ui/popupmenu.h"
#include "ui/statusline.h"
#include "ui/trayballoon.h"
#include "ui/views.h"

namespace {

// The notification area's icon size, 16 pixels at 100 % and 24 at 150 %: the 32-pixel picture
// shrunk is sharper than the 16-pixel one stretched.
HICON trayIcon(const MainWindowState* state, bool online)
{
    return HICON(LoadImageA(state->host->instance, MAKEINTRESOURCEA(online ? IDI_ONLINE : IDI_OFFLINE), IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

bool addTrayIcon(MainWindowState* state)
{
    state->tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Shell_NotifyIconA(NIM_ADD, &state->tray);
}

void modifyTrayIcon(MainWindowState* state)
{
    state->tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Shell_NotifyIconA(NIM_MODIFY, &state->tray);
}

// A dial that failed says so where the user looks: a balloon at the icon and the status line,
// with the system's own text for the error where it has one.
void showDialFailure(MainWindowState* state, const char* name, uint32_t error)
{
    char reason[256], number[16], pattern[256], text[768], title[64];
    if (!remoteAccessErrorText(error, reason, sizeof reason)) {
        snprintf(number, sizeof number, "%u", error);
        languageString(IDS_DIAL_ERROR_NUMBER, pattern, sizeof pattern);
        const char* inserts[] = { number };
        fillInserts(pattern, inserts, 1, reason, sizeof reason);
    }
    languageString(IDS_DIAL_FAILED, pattern, sizeof pattern);
    const char* inserts[] = { name, reason };
    fillInserts(pattern, inserts, 2, text, sizeof text);
    languageString(IDS_DIAL_FAILED_TITLE, title, sizeof title);
    showTrayBalloon(state, title, text, true);
    showStatusMessage(state, text);
}

} // namespace

bool createTrayIcon(MainWindowState* state)
{
    NOTIFYICONDATAA& tray = state->tray;
    tray.cbSize = sizeof tray;
    tray.hWnd = state->window;
    tray.uID = 0;
    tray.uCallbackMessage = WM_TRAY_CALLBACK;
    tray.hIcon = trayIcon(state, liveConnectionCount() != 0);
    tray.szTip[0] = '\0';
    return addTrayIcon(state);
}

UINT taskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void restoreTrayIcon(MainWindowState* state) { addTrayIcon(state); }

void updateTrayIcon(MainWindowState* state)
{
    state->tray.hIcon = trayIcon(state, liveConnectionCount() != 0);
    modifyTrayIcon(state);
}

void updateTrayTip(MainWindowState* state)
{
    // The 128 characters of the notification area since Windows 2000: the first running
    // connection on a line of its own, then the month.
    constexpr size_t size = 128;
    static_assert(sizeof state->tray.szTip >= size);
    char month[size];
    TrayTipFigures figures;
    if (trayTipFigures(figures)) {
        char volume[kFormattedValueSize], duration[kFormattedValueSize];
        formatVolume(figures.volume, volume);
        formatDuration(figures.onlineSeconds, duration);
        snprintf(month, size, "%s, %s, ", volume, duration);
        const size_t used = strlen(month);
        formatTariffMoney(figures.cost, month + used, int(size - used));
    } else {
        snprintf(month, size, ", ");
    }
    // The tip speaks of the current month throughout, its free units too.
    appendFreeUnitsLeft(0, month, size);
    char tip[size] = "";
    char connection[sizeof state->statusText];
    // A long name is cut: the month's line always shows whole.
    if (runningConnectionText(0, IDS_TRAY_CONNECTION, connection, sizeof connection))
        snprintf(tip, size - strlen(month) - 1, "%s", connection);
    const size_t used = strlen(tip);
    snprintf(tip + used, size - used, "%s%s", used != 0 ? "\n" : "", month);
    // The notification area is another process: it is told only of a text that changed.
    if (strcmp(tip, state->tray.szTip) == 0)
        return;
    memcpy(state->tray.szTip, tip, sizeof tip);
    modifyTrayIcon(state);
}

void removeTrayIcon(MainWindowState* state) { Shell_NotifyIconA(NIM_DELETE, &state->tray); }

UINT openTrayMenu(MainWindowState* state)
{
    PhoneBookEntryName entries[kMaxPhoneBookEntries];
    uint32_t count = 0;
    if (!listPhoneBookEntries(entries, count))
        return 0;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return 0;
    // Each entry says what choosing it does: dial it, or hang up a connected one.
    for (uint32_t i = 0; i < count; ++i) {
        char name[2 * sizeof entries[i].name], pattern[256], text[sizeof name + sizeof pattern];
        menuItemText(entries[i].name, name, sizeof name);
        const bool connected = isEntryConnected(entries[i].name);
        if (!languageString(connected ? IDS_TRAY_HANG_UP : IDS_TRAY_DIAL, pattern, sizeof pattern))
            snprintf(pattern, sizeof pattern, "%%1");
        const char* inserts[] = { name };
        fillInserts(pattern, inserts, 1, text, sizeof text);
        AppendMenuA(menu, MF_STRING | (connected ? MF_CHECKED : 0), IDM_PHONEBOOK_FIRST + i, text);
    }
    // The watched adapters that are up, ticked like a connection; nothing to dial or hang up.
    bool adapters = false;
    for (uint32_t i = 0; i < liveConnectionCount(); ++i) {
        const LiveConnection* connection = liveConnectionAt(i);
        if (!connection->isAdapter)
            continue;
        char name[2 * sizeof connection->entryName], pattern[256], text[sizeof name + sizeof pattern];
        menuItemText(connection->entryName, name, sizeof name);
        if (!languageString(IDS_TRAY_ADAPTER, pattern, sizeof pattern))
            snprintf(pattern, sizeof pattern, "%%1");
        const char* inserts[] = { name };
        fillInserts(pattern, inserts, 1, text, sizeof text);
        AppendMenuA(menu, MF_STRING | MF_CHECKED | MF_GRAYED, 0, text);
        adapters = true;
    }
    if (count != 0 || adapters)
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const struct {
        uint32_t text;
        UINT command;
    } items[] = { { IDS_TRAY_SHOW, IDM_SHOW_WINDOW }, { IDS_TRAY_OPTIONS, IDM_OPTIONS }, { IDS_TRAY_HELP, IDM_HELP },
        { IDS_TRAY_EXIT, IDM_EXIT } };
    for (const auto& item : items) {
        char text[256];
        languageString(item.text, text, sizeof text);
        AppendMenuA(menu, MF_STRING, item.command, text);
    }
    SetMenuDefaultItem(menu, IDM_SHOW_WINDOW, FALSE);

    hideHoverTip(state);
    const POINT cursor = cursorOnScreen();
    const UINT chosen = trackPopupMenu(
        state->window, menu, TPM_RETURNCMD | TPM_BOTTOMALIGN | TPM_RIGHTALIGN, { cursor.x + 1, cursor.y + 1 });
    DestroyMenu(menu);
    if (chosen >= IDM_PHONEBOOK_FIRST && chosen - IDM_PHONEBOOK_FIRST < count) {
        const char* name = entries[chosen - IDM_PHONEBOOK_FIRST].name;
        if (const uint32_t error = dialOrHangUp(name))
            showDialFailure(state, name, error);
        return 0;
    }
    return chosen;
}
