#pragma once
// The system's reports of network adapter changes. They come on a thread of the system's: each
// only signals the connection event, whose wait in the message pump has the main window scan the
// connections and adapters on its own thread.
#include <windows.h>

// Asks for reports of interface and address changes, each to signal `event`. False when the
// system refuses; the timer tick then looks at the adapters, as it does until the first report.
bool startAdapterChangeNotifications(HANDLE event);

// Stops the reports; a report under way has ended when this returns.
void stopAdapterChangeNotifications();
