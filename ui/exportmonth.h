#pragma once
// A month's log as CSV from the main menu, through a save dialog.
#include "ui/mainwindowstate.h"

// Writes the month the window shows to a file the user picks, one row per record or one per
// day, in the standard form or that of this computer's spreadsheet, as the dialog's file type
// says; the status line says where.
void exportShownMonth(MainWindowState* state);
