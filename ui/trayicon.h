#pragma once
// The main window's notification-area icon: its picture tells whether a connection runs, its tip
// tells the current month's figures, and its menu holds the phone book and the window's commands.
#include <windows.h>

#include "ui/mainwindowstate.h"

// Fills the state's icon record for its window and adds the icon; false when the notification
// area refuses it.
bool createTrayIcon(MainWindowState* state);

// Broadcast to every top-level window when the notification area is created anew (Explorer
// restarted): the icons it held are gone. 0 when it could not be registered.
UINT taskbarCreatedMessage();

// Adds the icon again after the notification area was created anew.
void restoreTrayIcon(MainWindowState* state);

// The picture of a connection running or none, after the connections changed.
void updateTrayIcon(MainWindowState* state);

// The tip: the first running connection's name, time online and cost so far, then the current
// month's volume, time, total cost and free units left, whatever month the window shows.
void updateTrayTip(MainWindowState* state);

void removeTrayIcon(MainWindowState* state);

// The menu of a right click on the icon, at the pointer: every phone-book entry (ticked while it
// is connected) dials or hangs up by itself; the watched adapters that are up are shown ticked; the window's own
// commands (IDM_SHOW_WINDOW, IDM_OPTIONS, IDM_EXIT) are returned for the window to carry out. 0 when nothing is left to
// do.
UINT openTrayMenu(MainWindowState* state);
