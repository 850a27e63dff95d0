#pragma once
// telvane's own pictures: PNG resources of type 256 and the image lists made from them.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

constexpr uint32_t kPngResourceType = 256;

// The pictures of the options sheet's help toggle: 0 while the help panel is open, 1 closed.
extern HIMAGELIST helpToggleImages;

// Resource `id` decoded in place; null with AppError set.
HBITMAP loadPngResource(HDC dc, uint32_t id);

// A picture strip resource cut into square pictures (height x height); null with AppError set.
HIMAGELIST loadImageList(HDC dc, uint32_t id);

// Rebuilds helpToggleImages for the display's colour depth; reports a failure at once.
void refreshHelpToggleImages();
