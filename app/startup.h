#pragma once
// The program's spine: start-up, the main loop and shut-down, and the program-wide state
// they set up.
#include <windows.h>

#include <cstdint>

extern HINSTANCE ownInstance; // the executable: icons 100 and 101, pictures, file names
extern HANDLE connectionEvent; // signalled by the remote-access service on every change
extern HWND mainWindow;

// Sets up what the first paint needs, creates the main window and paints it; null with AppError
// set when the program cannot run. The window sets up the rest from its queue (finishStartUp).
HWND startUp();

// Waits for window messages and the connection signal until the quit message; returns its
// exit code.
int runMainLoop(HWND window);

// Logs the running connections' slices until now and writes every file the program keeps:
// the month logs (a failed one is tried once more), the tariffs and the settings. Failures are
// shown when `reportFailures` is set, and otherwise stay pending.
void storeEverything(bool reportFailures);

// The Windows session ends: everything is stored as at exit, without any box, and the running
// connections are not logged a second time should the program still reach its exit.
void storeForSessionEnd();

// Stores everything (unless the session end already did) and frees the rest.
void shutDown();
