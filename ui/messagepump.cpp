#include "ui/messagepump.h"

#include "skin/tooltip.h"
#include "ui/mainwindowstate.h"

PumpEnd pumpMessages(const MessagePump& pump)
{
    HANDLE event = pump.connectionEvent;
    const DWORD handleCount = event != nullptr ? 1 : 0;
    for (;;) {
        // Woken by input already in the queue as well, so none waits for the next message.
        const DWORD woken
            = MsgWaitForMultipleObjectsEx(handleCount, &event, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (handleCount == 1 && woken == WAIT_OBJECT_0) {
            if (pump.signalled != nullptr)
                SendMessageA(pump.signalled, WM_CONNECTION_SIGNAL, 0, 0);
            continue;
        }
        if (woken != WAIT_OBJECT_0 + handleCount)
            return { false, 0 };
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_MOUSEMOVE && tipWindow != nullptr)
                SendMessageA(tipWindow, WM_TIP_MOVE, WPARAM(message.pt.x), LPARAM(message.pt.y));
            if (message.message == WM_QUIT)
                return { true, int(message.wParam) };
            if (!pump.takeMessage || !pump.takeMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (pump.finished && pump.finished())
                return { false, 0 };
        }
    }
}
