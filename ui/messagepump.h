#pragma once
// The one message pump of telvane's loops, the main loop and the options sheet's. It waits for
// window messages and for the connection event, hands the event to the main window as
// WM_CONNECTION_SIGNAL, and shows every mouse move to the tip window so it can follow the
// pointer. Each loop adds its own look at the messages.
#include <windows.h>

#include <functional>

struct MessagePump {
    HANDLE connectionEvent; // null when there is none: the pump waits for messages alone
    HWND signalled; // the main window, sent WM_CONNECTION_SIGNAL; none when null
    // The loop's own look at a message before it is translated and dispatched (accelerators,
    // a dialog's keys); true when it has handled the message. May be empty.
    std::function<bool(MSG& message)> takeMessage;
    // Asked after each message; true ends the loop. May be empty.
    std::function<bool()> finished;
};

// How the pump ended: on the quit message (`quit`, with its exit code), or because the loop
// finished or the wait failed.
struct PumpEnd {
    bool quit;
    int exitCode;
};

PumpEnd pumpMessages(const MessagePump& pump);
