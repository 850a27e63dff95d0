#pragma once
// "Start with Windows": the value telvane under the user's Run key, which Windows starts at
// sign-in. Only the current user's key: telvane needs no administrator for it.

// Whether the value names the running program, quoted or not, in any letter case.
bool startsWithWindows();

// Makes the value name the running program (quoted), or deletes it when it names the running
// program; a value that names another copy of telvane is left to that copy when clearing. False
// with AppError set, and the registry's error as the system error, when the registry refuses.
bool setStartWithWindows(bool start);
