#pragma once
// What telvane does when started with a command, without any window, and its usage.

// What runCommandLine returns for a command line that asks for no command.
constexpr int kNoCommand = -1;

// Runs `/export YYYY-MM FILE [/days] [/local]`, `/export YYYY FILE [/local]` or `/compare YYYY-MM
// FILE [/local]` without a window and without writing any file of the program's own: reads the
// settings, the tariffs and the month logs, writes the CSV and returns the export's exit code. A
// failure is told in one line on standard error instead of a message box. `/?` (or -?, /h, /help,
// --help) shows the usage on standard output and returns 0; any other word starting with a slash
// or a hyphen shows it on standard error and returns 1; without an output to the caller (started
// from Explorer or the Run box) the usage shows in a box. Returns kNoCommand for any other command
// line, an empty one among them.
int runCommandLine(const char* commandLine);
