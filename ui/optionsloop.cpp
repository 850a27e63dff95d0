#include "ui/optionsloop.h"

#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/optionspages.h"
#include "ui/messagepump.h"

int runOptionsSheet(HWND owner, HANDLE connectionEvent, uint32_t shownMonth)
{
    HWND sheet = createOptionsSheet(owner, shownMonth);
    if (sheet == nullptr)
        return -1;
    if (owner)
        EnableWindow(owner, FALSE);

    MessagePump pump;
    pump.connectionEvent = connectionEvent;
    pump.signalled = owner;
    pump.takeMessage = [sheet](MSG& message) { return takeOptionsSheetMessage(sheet, message); };
    // OK and Cancel leave the modeless sheet without a page; looking after each message ends the
    // loop without waiting for another one to arrive.
    pump.finished = [sheet] { return isOptionsSheetClosed(sheet); };
    const PumpEnd end = pumpMessages(pump);
    // Not ours to take: the main loop ends on it once the sheet is gone.
    if (end.quit)
        PostQuitMessage(end.exitCode);
    closeOptionsSheet(sheet, owner);
    return 0;
}
