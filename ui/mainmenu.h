#pragma once
// The main menu's run-time parts: language check marks, log months, skins, shortcut texts.
#include <windows.h>

#include "ui/mainwindowstate.h"

void buildMainMenu(MainWindowState* state, HMENU popup);

// Appends each accelerator's key text to the menu item of its command. False with AppError
// set when the table, the menu or the key-name table is missing.
bool addAcceleratorTexts(HACCEL accelerators, HMENU menu);

void fillLogMonthMenu(HMENU popup);
void fillSkinMenu(HMENU popup);
