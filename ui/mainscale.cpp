// The main window's size and outline from the skin, at the scale of the screen it is on: a move
// to a screen of another scale reloads the skin for that scale.
#include "ui/mainwindowhandlers.h"

#include "core/apperror.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "tariff/settings.h"
#include "ui/hovertips.h"

void applySkinShape(MainWindowState* state, const POINT* at)
{
    hideHoverTip(state);
    deleteBackBuffer(state);
    const UINT keepPlace = at == nullptr ? SWP_NOMOVE : 0;
    SetWindowPos(state->window, nullptr, at != nullptr ? at->x : 0, at != nullptr ? at->y : 0, skin.windowWidth,
        skin.windowHeight, keepPlace | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the copy of the outline from here on; none leaves it rectangular.
    SetWindowRgn(state->window, copyWindowRegion(), TRUE);
    createBackBuffer(state);
}

bool onGetDpiScaledSize(uint32_t dpi, SIZE* size)
{
    size->cx = scaleToDpi(skin.designWidth, dpi);
    size->cy = scaleToDpi(skin.designHeight, dpi);
    return true;
}

void onDpiChanged(MainWindowState* state, uint32_t dpi, const RECT& suggested)
{
    // The skin is read again for the new scale, its pictures resampled once for it; a skin
    // that no longer loads is replaced as at start-up.
    if (dpi != skin.dpi && !loadStartSkin(settings.skinName, dpi))
        reportError(0);
    const POINT at = { suggested.left, suggested.top };
    applySkinShape(state, &at);
    invalidateAll(state, true);
}
