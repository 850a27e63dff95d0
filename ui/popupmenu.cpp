#include "ui/popupmenu.h"

POINT cursorOnScreen()
{
    POINT cursor;
    GetCursorPos(&cursor);
    return cursor;
}

UINT trackPopupMenu(HWND owner, HMENU menu, UINT flags, POINT at)
{
    SetForegroundWindow(owner);
    const UINT chosen = UINT(TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen;
}
