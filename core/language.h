#pragma once
// The language module (english.dll or deutsch.dll): every user-visible text of the program.
#include <windows.h>

#include <cstdint>

#include "core/languagemodule_win.h"

// The program string (1 english.dll, 2 deutsch.dll) of a module that could not be loaded while
// none was loaded yet, and for which the other module, or the built-in texts when that failed
// too, now stand in; 0 while nothing stands in. Start-up asks for the stored language twice
// and the main window once more: the stand-in answers them, so the user is told once.
extern uint32_t LanguageStandInFor;

// Loads the module for `languageId` (7 German, any other English), keeping the old module until
// the new one has loaded. When none is loaded yet and it fails, the other module is loaded in
// its stead and the failure left pending all the same. True when the language's own module
// serves it, or already a stand-in does.
bool loadLanguage(uint16_t languageId);

// True when a stand-in serves `languageId`: its module failed while none was loaded.
bool isStandingIn(uint16_t languageId);
