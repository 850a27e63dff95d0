#pragma once
// A month's log as CSV from the main menu, through a save dialog.
#include "ui/mainwindowstate.h"

// Writes the month the window shows to a file the user picks, one row per record or, with the
// dialog's second file type, one per day; the status line says where.
void exportShownMonth(MainWindowState* state);
