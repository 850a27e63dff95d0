#pragma once
// A balloon at the notification-area icon: the usage alerts and a dial that failed.
#include "ui/mainwindowstate.h"

// A warning or a note at the icon; the icon's own record is left as it is.
void showTrayBalloon(const MainWindowState* state, const char* title, const char* text, bool warning);
