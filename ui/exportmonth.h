#pragma once
// A month's log as CSV: from the main menu through a save dialog, and from the command line,
// without a window, for scripts.
#include "ui/mainwindowstate.h"

// Writes the month the window shows to a file the user picks, one row per record or, with the
// dialog's second file type, one per day; the status line says where.
void exportShownMonth(MainWindowState* state);

// What runExportCommand returns for a command line that asks for no export.
constexpr int kNoExportCommand = -1;
// Exit codes of the export: written, the command line is not `/export YYYY-MM FILE [/days]`, the month
// has no log, a file it needs is damaged (the month log, the tariffs or the settings), the file
// cannot be written.
constexpr int kExportDone = 0;
constexpr int kExportMalformed = 1;
constexpr int kExportNoMonth = 2;
constexpr int kExportDamaged = 3;
constexpr int kExportNotWritten = 4;

// Runs `/export YYYY-MM FILE [/days]` without a window and without writing any file of the program's
// own: reads the settings, the tariffs and the month's log, writes the CSV and returns the exit
// code. A failure is told in one line on standard error instead of a message box. Returns
// kNoExportCommand for any other command line.
int runExportCommand(const char* commandLine);
