#pragma once
// The usage alerts as the user meets them: a balloon at the notification-area icon, the status
// line while the window shows, and the free units left in the tray tip.
#include <cstddef>
#include <cstdint>

#include "ui/mainwindowstate.h"

// Checks the alerts (each timer tick) and shows those that fire.
void checkUsageAlerts(MainWindowState* state);

// Appends ", " and the free units of the active tariff left in `monthKey` to the tip text
// (`size` bytes in all); nothing when the tariff has none.
void appendFreeUnitsLeft(uint32_t monthKey, char* tip, size_t size);
