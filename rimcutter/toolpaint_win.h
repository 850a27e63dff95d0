#pragma once
// Painting rimcutter's picture area: the picture as the zoom shows it, the traced shapes and
// the cross-hair.
#include <windows.h>

#include <cstdint>

// Maps picture-logical units (the picture and its margin) to the client area for the current
// zoom and scroll position. Painting sets it; mouse positions are converted with the same
// mapping.
void applyZoom(HDC dc, const RECT& client);

// What painting keeps between paints: the part of the picture that the client area shows,
// scaled by the zoom, and a composition of the same size for the shapes and the cross-hair.
// Both are made again only when the picture, the zoom or the client area change, so a mouse
// move repaints from them without making a bitmap, however large the picture.
struct ToolCanvas {
    HBITMAP zoomed;
    HBITMAP composition;
    int width; // device pixels of both
    int height;
    // What the zoomed copy shows.
    void* picture;
    int32_t imageWidth;
    int32_t imageHeight;
    int32_t zoom;
    int32_t scrollX;
    int32_t scrollY;
    LONG clientWidth;
    LONG clientHeight;
};

// The line the picture area shows before a picture is open.
extern const char kEmptyCanvasHint[];

// Paints the picture area into `dc`, the window's device context or one of its size; before a
// picture is open, a hint how to begin.
void paintRegionTool(HDC dc, const RECT& client, ToolCanvas* canvas);

// Deletes the canvas's bitmaps: the next paint makes them from the picture anew. Called when
// the picture is replaced (a new bitmap may reuse the old handle) and when the window goes.
void discardToolCanvas(ToolCanvas* canvas);
