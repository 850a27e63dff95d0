#pragma once
// The loaded skin: window size, pictures, outlines, text areas, fonts and colours, read from a
// skin folder's skin.xml and made for one scale: every size and place in the record is in
// pixels at `dpi`, while skin.xml gives them at 96 DPI.
#include <windows.h>

#include <cstdint>

#include "skin/skinrules.h"

struct Skin {
    char folder[260]; // the skin folder, ending in a backslash
    int32_t windowWidth;
    int32_t windowHeight;
    int32_t designWidth; // the window's size as skin.xml gives it, at 96 DPI
    int32_t designHeight;
    HBITMAP images[kSkinElementCount][kButtonStateCount];
    HRGN regions[kSkinElementCount];
    RECT rects[kSkinElementCount];
    uint32_t textFormats[kSkinElementCount];
    HFONT fonts[kSkinFontCount];
    COLORREF fontColors[kSkinFontCount];
    uint32_t dpi; // the scale the sizes, outlines, pictures and fonts are made for
};

extern Skin skin;

// Discards the current skin, then reads skin `name` (a folder of the program directory) for a
// window at `dpi`. False leaves the record empty, an error reported or pending, and the caller
// loads another.
bool loadSkin(const char* name, uint32_t dpi);

// Start-up's skin: `name` (the stored skin, 260 bytes), else "default", else the other skin
// folders in the order the file system lists them, each failure reported as loadSkin reports
// it; without an XML document object it tries no further. The name of the skin that loaded is
// written to `name`; false when none loads.
bool loadStartSkin(char* name, uint32_t dpi);

// Has the system's XML library loaded on a thread of its own while the rest of start-up goes on:
// making the first document is the largest part of reading a skin. Called once, before loadSkin.
void prepareSkinReader();

// The picture of `element` in button state `state` (the main window's: enabled when active,
// disabled when not), decoded when first asked for and kept in the record: loadSkin only notes
// where each picture is, so a window that is hidden or never inactive never decodes the rest.
// Null when the skin has none or it cannot be decoded (reported then).
HBITMAP skinPicture(uint32_t element, uint32_t state);

// Deletes every font, region and picture the record holds and zeroes it.
void releaseSkin();

// A new region equal to the outline of slot 0, for SetWindowRgn (the window owns it from then
// on, so the skin can be released or replaced while the window keeps its shape); null when
// the skin has no outline.
HRGN copyWindowRegion();
