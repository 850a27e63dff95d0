#include "ui/trayballoon.h"

#include <shellapi.h>

#include <cstdio>

void showTrayBalloon(const MainWindowState* state, const char* title, const char* text, bool warning)
{
    NOTIFYICONDATAA balloon {};
    // The smallest record that carries a balloon, which every shell since Windows 2000 takes.
    balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    balloon.hWnd = state->window;
    balloon.uID = state->tray.uID;
    balloon.uFlags = NIF_INFO;
    snprintf(balloon.szInfo, sizeof balloon.szInfo, "%s", text);
    snprintf(balloon.szInfoTitle, sizeof balloon.szInfoTitle, "%s", title);
    balloon.uTimeout = 15000;
    balloon.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &balloon);
}
