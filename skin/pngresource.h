#pragma once
// telvane's own pictures: PNG resources of type 256 and the image lists made from them.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "res/resource.h"

// The pictures of the options sheet's help toggle: 0 while the help panel is open, 1 closed.
// Null until the first options sheet makes them.
extern HIMAGELIST helpToggleImages;

// Resource `id` decoded in place; null with AppError set.
HBITMAP loadPngResource(HDC dc, uint32_t id);
// The same for a window at `dpi`, resampled smoothly to that scale.
HBITMAP loadScaledPngResource(HDC dc, uint32_t id, uint32_t dpi);

// A picture strip resource cut into square pictures (height x height); null with AppError set.
HIMAGELIST loadImageList(HDC dc, uint32_t id);

// The display as start-up finds it (the main window follows its changes), read by
// refreshHelpToggleImages.
extern uint32_t displayColorDepth; // bits per pixel of the screen
extern bool dropShadowAvailable; // the tip window may cast a shadow

// The resource of the help toggle pictures for a display: 4-bit palette pictures up to 8 bits
// per pixel, alpha pictures where drop shadows are available, 8-bit palette pictures otherwise.
uint32_t helpToggleResource(uint32_t colorDepth, bool dropShadow);

// Rebuilds helpToggleImages for the display's colour depth; reports a failure at once.
void refreshHelpToggleImages();
