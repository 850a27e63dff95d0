#pragma once
// The language swap: the language module, the language stored in the settings and the main
// window's shortcuts kept in step.
#include <cstdint>

struct MainWindowState;

// Loads the module for `languageId` (7 German, 9 English, 0 the stored language loaded afresh,
// any other English) and stores the language in the settings. The language already shown keeps
// its module. With a window state the window reloads its shortcuts and redraws. False with
// AppError set when the module could not be loaded; a language whose module failed while none
// was loaded (another stands in) is stored all the same, so the next start tries it again.
bool swapLanguage(MainWindowState* state, uint16_t languageId);
