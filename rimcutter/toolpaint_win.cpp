#include "rimcutter/toolpaint_win.h"

#include "core/scoped_win.h"
#include "rimcutter/regiontool.h"

namespace {

bool canvasShowsNow(const ToolCanvas& canvas, const RECT& client)
{
    return canvas.zoomed != nullptr && canvas.picture == regionTool.picture
        && canvas.imageWidth == regionTool.imageWidth && canvas.imageHeight == regionTool.imageHeight
        && canvas.zoom == regionTool.zoom && canvas.scrollX == regionTool.scrollX
        && canvas.scrollY == regionTool.scrollY && canvas.clientWidth == client.right
        && canvas.clientHeight == client.bottom;
}

// Makes the zoomed copy: the device pixels from the client's corner to the picture's far
// corner, cut to the client area; the margin black, the picture scaled into place.
bool makeCanvas(HDC dc, const RECT& client, ToolCanvas* canvas)
{
    discardToolCanvas(canvas);
    POINT farCorner { kPictureMargin + regionTool.imageWidth, kPictureMargin + regionTool.imageHeight };
    LPtoDP(dc, &farCorner, 1);
    const int width = farCorner.x < client.right ? farCorner.x : client.right;
    const int height = farCorner.y < client.bottom ? farCorner.y : client.bottom;
    if (width <= 0 || height <= 0)
        return false;
    canvas->zoomed = CreateCompatibleBitmap(dc, width, height);
    canvas->composition = CreateCompatibleBitmap(dc, width, height);
    if (canvas->zoomed == nullptr || canvas->composition == nullptr) {
        discardToolCanvas(canvas);
        return false;
    }
    canvas->width = width;
    canvas->height = height;
    canvas->picture = regionTool.picture;
    canvas->imageWidth = regionTool.imageWidth;
    canvas->imageHeight = regionTool.imageHeight;
    canvas->zoom = regionTool.zoom;
    canvas->scrollX = regionTool.scrollX;
    canvas->scrollY = regionTool.scrollY;
    canvas->clientWidth = client.right;
    canvas->clientHeight = client.bottom;

    const ScopedBitmapDc zoomed(dc, canvas->zoomed);
    PatBlt(zoomed.get(), 0, 0, width, height, BLACKNESS);
    if (regionTool.picture != nullptr) {
        const ScopedBitmapDc picture(dc, static_cast<HBITMAP>(regionTool.picture));
        applyZoom(zoomed.get(), client);
        SetStretchBltMode(zoomed.get(), COLORONCOLOR);
        StretchBlt(zoomed.get(), kPictureMargin, kPictureMargin, regionTool.imageWidth, regionTool.imageHeight,
            picture.get(), 0, 0, regionTool.imageWidth, regionTool.imageHeight, SRCCOPY);
    }
    return true;
}

void drawShape(HDC dc, const RegionShape& shape, uint32_t count)
{
    const auto* points = reinterpret_cast<const POINT*>(shape.points);
    if (shape.kind == kShapePolyline) {
        Polyline(dc, points, static_cast<int>(count));
        return;
    }
    if (count < 2)
        return;
    // Both clicked corner pixels lie inside the outline.
    const LONG left = points[0].x < points[1].x ? points[0].x : points[1].x;
    const LONG top = points[0].y < points[1].y ? points[0].y : points[1].y;
    const LONG right = (points[0].x > points[1].x ? points[0].x : points[1].x) + 1;
    const LONG bottom = (points[0].y > points[1].y ? points[0].y : points[1].y) + 1;
    if (shape.kind == kShapeEllipse)
        Ellipse(dc, left, top, right, bottom);
    else
        Rectangle(dc, left, top, right, bottom);
}

// The shapes in picture coordinates: the picture's corner is the margin's far side.
void drawShapes(HDC dc)
{
    POINT origin;
    OffsetWindowOrgEx(dc, -kPictureMargin, -kPictureMargin, &origin);
    {
        const ScopedPen dotted(CreatePen(PS_DOT, 0, RGB(0, 0, 0)));
        const ScopedSelection pen(dc, dotted.get());
        const ScopedSelection brush(dc, GetStockObject(HOLLOW_BRUSH));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(255, 255, 255));

        for (uint32_t i = 0; i < regionTool.shapeCount; ++i)
            drawShape(dc, regionTool.shapes[i], regionTool.shapes[i].count);
        const RegionShape& pending = regionTool.pending;
        if (regionTool.placingCopy) {
            moveCopyToCursor();
            drawShape(dc, pending, pending.count);
        } else if (pending.kind != kNoShape && pending.count >= 1) {
            drawShape(dc, pending, pending.count + 1);
        }
    }
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
}

// One logical unit a device pixel, from the device context's corner: what copying and
// inverting in device pixels need, whatever the zoom and the scroll position.
void useDevicePixels(HDC dc)
{
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

// Inverts a rectangle given in logical units at least one device pixel wide and high, so the
// cross-hair shows at every zoom.
void invertLogical(HDC dc, LONG left, LONG top, LONG right, LONG bottom)
{
    POINT corners[2] = { { left, top }, { right, bottom } };
    LPtoDP(dc, corners, 2);
    const int width = corners[1].x - corners[0].x > 0 ? corners[1].x - corners[0].x : 1;
    const int height = corners[1].y - corners[0].y > 0 ? corners[1].y - corners[0].y : 1;
    SaveDC(dc);
    useDevicePixels(dc);
    PatBlt(dc, corners[0].x, corners[0].y, width, height, DSTINVERT);
    RestoreDC(dc, -1);
}

} // namespace

void applyZoom(HDC dc, const RECT& client)
{
    switch (regionTool.zoom) {
    case 1:
        SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, -regionTool.scrollX, -regionTool.scrollY, nullptr);
        return;
    case 2:
    case 4:
        SetMapMode(dc, MM_ISOTROPIC);
        SetWindowExtEx(dc, 1, 1, nullptr);
        SetViewportExtEx(dc, regionTool.zoom, regionTool.zoom, nullptr);
        SetViewportOrgEx(dc, -regionTool.scrollX, -regionTool.scrollY, nullptr);
        return;
    default: {
        // Fit: the picture with a margin on each side fills the area above the status bar,
        // its aspect ratio kept. A window shrunk to nothing still gets a valid extent.
        const LONG width = client.right > 0 ? client.right : 1;
        const LONG height = client.bottom - regionTool.statusHeight > 0 ? client.bottom - regionTool.statusHeight : 1;
        SetMapMode(dc, MM_ISOTROPIC);
        SetWindowExtEx(
            dc, regionTool.imageWidth + 2 * kPictureMargin, regionTool.imageHeight + 2 * kPictureMargin, nullptr);
        SetViewportExtEx(dc, width, height, nullptr);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        return;
    }
    }
}

void paintRegionTool(HDC dc, const RECT& client, ToolCanvas* canvas)
{
    applyZoom(dc, client);
    if (regionTool.imageWidth <= 0 || regionTool.imageHeight <= 0)
        return;
    if (!canvasShowsNow(*canvas, client) && !makeCanvas(dc, client, canvas))
        return;

    const ScopedBitmapDc zoomed(dc, canvas->zoomed);
    const ScopedBitmapDc composition(dc, canvas->composition);
    if (zoomed.get() == nullptr || composition.get() == nullptr)
        return;
    BitBlt(composition.get(), 0, 0, canvas->width, canvas->height, zoomed.get(), 0, 0, SRCCOPY);
    applyZoom(composition.get(), client);
    drawShapes(composition.get());
    // Cross-hair: the cursor's column and row of the picture, inverted so it shows on any picture.
    // The cursor may stand one beyond the last column or row, where there is no picture.
    const LONG x = kPictureMargin + regionTool.cursorX;
    const LONG y = kPictureMargin + regionTool.cursorY;
    if (regionTool.cursorX < regionTool.imageWidth)
        invertLogical(composition.get(), x, kPictureMargin, x + 1, kPictureMargin + regionTool.imageHeight);
    if (regionTool.cursorY < regionTool.imageHeight)
        invertLogical(composition.get(), kPictureMargin, y, kPictureMargin + regionTool.imageWidth, y + 1);

    // Copied pixel for pixel; the window keeps the zoom's mapping for converting mouse positions.
    useDevicePixels(composition.get());
    SaveDC(dc);
    useDevicePixels(dc);
    BitBlt(dc, 0, 0, canvas->width, canvas->height, composition.get(), 0, 0, SRCCOPY);
    RestoreDC(dc, -1);
}

void discardToolCanvas(ToolCanvas* canvas)
{
    if (canvas->zoomed != nullptr)
        DeleteObject(canvas->zoomed);
    if (canvas->composition != nullptr)
        DeleteObject(canvas->composition);
    *canvas = ToolCanvas {};
}
