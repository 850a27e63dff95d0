// The adapters page: the machine's network adapters, each with a box that has telvane watch it
// like a remote-access connection while it is up.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "monitor/remoteaccess.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/optionspages.h"

namespace {

// The adapters present, then the ticked ones that are not there now (a stick unplugged), which
// stay ticked unless the user unticks them.
constexpr int kMaxRows = 128;

// The page's state while its window lives.
struct AdaptersPage {
    int rowCount;
    WatchedAdapter rows[kMaxRows]; // each row's id and the name it is kept under
};

// The columns share the list's width (less a vertical scroll bar), in percent, with room to
// spare: a list filled to the last pixel scrolls sideways.
void addColumns(HWND list)
{
    const struct {
        uint32_t heading;
        int percent;
    } columns[] = { { IDS_ADAPTER_COLUMN_NAME, 22 }, { IDS_ADAPTER_COLUMN_DESCRIPTION, 27 },
        { IDS_ADAPTER_COLUMN_ADDRESSES, 31 }, { IDS_ADAPTER_COLUMN_STATE, 16 } };
    RECT client;
    GetClientRect(list, &client);
    const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    int index = 0;
    for (const auto& c : columns) {
        char heading[128] = "";
        languageString(c.heading, heading, sizeof heading);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = heading;
        column.cx = width * c.percent / 100;
        SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index++), LPARAM(&column));
    }
}

void addRow(HWND list, AdaptersPage* state, const char* id, const char* name, const char* texts[3], bool ticked)
{
    if (state->rowCount == kMaxRows)
        return;
    WatchedAdapter& row = state->rows[state->rowCount];
    snprintf(row.id, sizeof row.id, "%s", id);
    snprintf(row.name, sizeof row.name, "%s", name);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = state->rowCount;
    item.pszText = const_cast<char*>(name);
    item.lParam = state->rowCount;
    const int inserted = int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item)));
    if (inserted < 0)
        return;
    ++state->rowCount;
    for (int column = 1; column <= 3; ++column) {
        LVITEMA text = {};
        text.iSubItem = column;
        text.pszText = const_cast<char*>(texts[column - 1]);
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(inserted), LPARAM(&text));
    }
    ListView_SetCheckState(list, inserted, ticked);
}

void openPage(HWND page, AdaptersPage* pageState)
{
    HWND list = GetDlgItem(page, IDC_ADAPTER_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    addColumns(list);
    char up[64] = "", down[64] = "", absent[64] = "", dialUp[64] = "";
    languageString(IDS_ADAPTER_UP, up, sizeof up);
    languageString(IDS_ADAPTER_DOWN, down, sizeof down);
    languageString(IDS_ADAPTER_ABSENT, absent, sizeof absent);
    languageString(IDS_ADAPTER_DIAL_UP, dialUp, sizeof dialUp);
    std::vector<NetworkAdapter> adapters;
    listNetworkAdapters(adapters);
    char note[1024] = "";
    for (const NetworkAdapter& adapter : adapters) {
        // The interface of a running dial-up connection is counted once, as that connection; the
        // note below the list says so.
        const char* connection = remoteConnectionOnAdapter(adapter);
        if (connection != nullptr && note[0] == '\0') {
            const char* inserts[2] = { adapter.name, connection };
            appendLanguageLine(note, sizeof note, IDS_ADAPTER_SHARED_NOTE, inserts, 2);
        }
        const char* texts[3] = { adapter.description, adapter.addresses,
            connection != nullptr ? dialUp
                : adapter.up      ? up
                                  : down };
        addRow(list, pageState, adapter.id, adapter.name, texts, findWatchedAdapter(adapter.id) != nullptr);
    }
    SetDlgItemTextA(page, IDC_ADAPTER_SHARED_NOTE, note);
    for (uint32_t i = 0; i < watchedAdapters.count; ++i) {
        const WatchedAdapter& watched = watchedAdapters.adapters[i];
        bool present = false;
        for (const NetworkAdapter& adapter : adapters)
            present = present || strcmp(adapter.id, watched.id) == 0;
        const char* texts[3] = { "", "", absent };
        if (!present)
            addRow(list, pageState, watched.id, watched.name, texts, true);
    }
    if (pageState->rowCount != 0)
        ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void apply(HWND page, const AdaptersPage* state)
{
    HWND list = GetDlgItem(page, IDC_ADAPTER_LIST);
    watchedAdapters = WatchedAdapterList {};
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (!SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item)) || item.lParam < 0 || item.lParam >= state->rowCount)
            continue;
        const WatchedAdapter& row = state->rows[item.lParam];
        if (ListView_GetCheckState(list, i))
            watchAdapter(row.id, row.name);
    }
}

} // namespace

INT_PTR CALLBACK adaptersPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    AdaptersPage* state = dialogState<AdaptersPage>(page);
    switch (message) {
    case WM_INITDIALOG:
        // Without its state the page shows nothing and changes nothing.
        if ((state = createDialogState<AdaptersPage>(page)) != nullptr)
            openPage(page, state);
        return TRUE;
    case WM_DESTROY:
        freeDialogState<AdaptersPage>(page);
        return 0;
    case WM_NOTIFY:
        if (isApplyNotification(lParam) && state != nullptr) {
            apply(page, state);
            return acceptApply(page);
        }
        return 0;
    }
    return 0;
}
