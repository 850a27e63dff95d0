#pragma once
// The language module (english.dll or deutsch.dll): every user-visible text of the program.
#include <windows.h>

#include <cstdint>

struct MainWindowState;

extern HMODULE LanguageModule;

// Loads the module for `languageId` (7 German, 9 English, 0 the stored language, any other
// English), keeping the old module until the new one has loaded. With a window state it
// also loads the accelerator table into it and redraws the window.
bool loadLanguage(MainWindowState* state, uint16_t languageId);
