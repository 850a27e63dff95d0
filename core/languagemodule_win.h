#pragma once
// The loaded language module (english.dll or deutsch.dll), whose texts the platform seam reads;
// null while none is loaded. Defined with the seam, set by loadLanguage.
#include <windows.h>

extern HMODULE LanguageModule;
