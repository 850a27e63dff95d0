#pragma once
// telvane.exe /?: the command line's usage, for a user at a console or at the Run box.

// What runUsageCommand returns for a command line it leaves to the program.
constexpr int kNoUsageCommand = -1;

// `/?` (or -?, /h, /help, --help) shows the usage on standard output and returns 0; any other
// word that starts with a slash or a hyphen shows it on standard error and returns 1. Without
// an output to the caller (started from Explorer or the Run box) the usage shows in a box.
// Returns kNoUsageCommand for every other command line, an empty one among them.
int runUsageCommand(const char* commandLine);
