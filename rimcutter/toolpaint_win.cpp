#include "rimcutter/toolpaint_win.h"

#include <utility>

#include "core/scoped_win.h"
#include "rimcutter/regiontool.h"

const char kEmptyCanvasHint[] = "Open a PNG picture with Ctrl+O to trace its outline.";

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

// The traced outlines: a bright line on a dark edge, so they show on light and dark pictures
// alike; the shape being drawn in a colour of its own.
constexpr COLORREF kOutlineEdge = RGB(0, 0, 0);
constexpr COLORREF kOutlineDone = RGB(255, 214, 0);
constexpr COLORREF kOutlinePending = RGB(0, 224, 255);
constexpr int kOutlineEdgeWidth = 3;

// One logical unit a device pixel, from the device context's corner: what copying and
// inverting in device pixels need, whatever the zoom and the scroll position.
void useDevicePixels(HDC dc)
{
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

// A shape in device pixels, through the middle of the picture pixels it runs along, so the line
// and its edge are as wide at every zoom.
void drawShape(HDC dc, const RegionShape& shape, uint32_t count, COLORREF colour)
{
    if (count == 0 || (shape.kind != kShapePolyline && count < 2))
        return;
    static POINT device[kPolylineCapacity + 1];
    POINT half[2] = { { 0, 0 }, { 1, 1 } };
    LPtoDP(dc, half, 2);
    const LONG halfX = (half[1].x - half[0].x) / 2, halfY = (half[1].y - half[0].y) / 2;
    uint32_t used = 0;
    if (shape.kind == kShapePolyline) {
        used = count < kPolylineCapacity + 1 ? count : kPolylineCapacity + 1;
        for (uint32_t i = 0; i < used; ++i)
            device[i] = { shape.points[i].x, shape.points[i].y };
    } else {
        // The box of the two corners; both clicked corner pixels lie on the outline.
        const ShapePoint* points = shape.points;
        device[0] = { points[0].x < points[1].x ? points[0].x : points[1].x,
            points[0].y < points[1].y ? points[0].y : points[1].y };
        device[1] = { points[0].x > points[1].x ? points[0].x : points[1].x,
            points[0].y > points[1].y ? points[0].y : points[1].y };
        used = 2;
    }
    LPtoDP(dc, device, int(used));
    for (uint32_t i = 0; i < used; ++i)
        device[i] = { device[i].x + halfX, device[i].y + halfY };

    SaveDC(dc);
    useDevicePixels(dc);
    {
        const ScopedSelection brush(dc, GetStockObject(HOLLOW_BRUSH));
        for (const auto& [penColour, width] :
            { std::pair { kOutlineEdge, kOutlineEdgeWidth }, std::pair { colour, 1 } }) {
            const ScopedPen pen(CreatePen(PS_SOLID, width, penColour));
            const ScopedSelection selected(dc, pen.get());
            if (shape.kind == kShapePolyline)
                Polyline(dc, device, int(used));
            else if (shape.kind == kShapeEllipse)
                Ellipse(dc, device[0].x, device[0].y, device[1].x + 1, device[1].y + 1);
            else
                Rectangle(dc, device[0].x, device[0].y, device[1].x + 1, device[1].y + 1);
        }
    }
    RestoreDC(dc, -1);
}

// The shapes in picture coordinates: the picture's corner is the margin's far side.
void drawShapes(HDC dc)
{
    POINT origin;
    OffsetWindowOrgEx(dc, -kPictureMargin, -kPictureMargin, &origin);
    for (uint32_t i = 0; i < regionTool.shapeCount; ++i)
        drawShape(dc, regionTool.shapes[i], regionTool.shapes[i].count, kOutlineDone);
    const RegionShape& pending = regionTool.pending;
    if (regionTool.placingCopy) {
        moveCopyToCursor();
        drawShape(dc, pending, pending.count, kOutlinePending);
    } else if (pending.kind != kNoShape && pending.count >= 1) {
        drawShape(dc, pending, pending.count + 1, kOutlinePending);
    }
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
}

// Before any picture: one line that says how to begin, in the middle of the picture area.
void drawEmptyHint(HDC dc, const RECT& client)
{
    // The system's message font, which the status bar below shows too.
    NONCLIENTMETRICSA metrics {};
    metrics.cbSize = sizeof metrics;
    const ScopedFont font(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
            ? CreateFontIndirectA(&metrics.lfMessageFont)
            : nullptr);
    SaveDC(dc);
    useDevicePixels(dc);
    SelectObject(dc, font.get() != nullptr ? HGDIOBJ(font.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 200, 200));
    RECT area = { 0, 0, client.right, client.bottom - regionTool.statusHeight };
    DrawTextA(dc, kEmptyCanvasHint, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, -1);
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
    if (regionTool.imageWidth <= 0 || regionTool.imageHeight <= 0) {
        drawEmptyHint(dc, client);
        return;
    }
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
