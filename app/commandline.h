#pragma once
// What telvane does when started with a command, without any window.

// What runCommandLine returns for a command line that asks for no command.
constexpr int kNoCommand = -1;

// Runs `/export YYYY-MM FILE [/days] [/local]` without a window and without writing any file of the
// program's own: reads the settings, the tariffs and the month's log, writes the CSV and returns
// the export's exit code. A failure is told in one line on standard error instead of a message
// box. Returns kNoCommand for any other command line.
int runCommandLine(const char* commandLine);
