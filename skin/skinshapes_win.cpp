#include <cstdio>
#include <cstring>
#include <memory>

#include "core/scoped_win.h"
#include "skin/pngbitmap.h"
#include "skin/skin.h"
#include "skin/skindocument.h"
#include "skin/skinscale.h"

namespace {

// Skin coordinates are untrusted: sums that leave 32 bits stick at the ends instead of
// wrapping (GDI refuses such shapes anyway).
int32_t clampedSum(int64_t a, int64_t b, int64_t c = 0)
{
    const int64_t sum = a + b + c;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// A sum of 96-DPI coordinates placed at the skin's scale.
int32_t scaledSum(int64_t a, int64_t b, int64_t c = 0) { return scaleToDpi(clampedSum(a, b, c), skin.dpi); }

// Unites a shape's region into the element's outline; the first shape becomes the outline.
void uniteShape(uint32_t element, ScopedRegion shape)
{
    if (shape.get() == nullptr)
        return;
    if (skin.regions[element] == nullptr) {
        skin.regions[element] = shape.release();
        return;
    }
    CombineRgn(skin.regions[element], skin.regions[element], shape.get(), RGN_OR);
}

// The shape's box moved from the region element's corner into the window's 96-DPI layout.
RECT shapeBox(IXMLDOMNode* shape, POINT corner)
{
    RECT box;
    char type[kSkinTextLength];
    uint32_t format = 0;
    readBox(shape, &box, type, &format);
    return RECT { clampedSum(box.left, corner.x), clampedSum(box.top, corner.y), clampedSum(box.right, corner.x),
        clampedSum(box.bottom, corner.y) };
}

} // namespace

void buildElementShapes(IXMLDOMNode* region, uint32_t element, POINT corner)
{
    if (skin.regions[element] != nullptr) {
        DeleteObject(skin.regions[element]);
        skin.regions[element] = nullptr;
    }
    forEachChild(region, [element, corner](IXMLDOMNode* child, const char* name) {
        if (strcmp(name, "image") == 0)
            loadButtonImage(child, element, corner);
        else if (strcmp(name, "ellipse") == 0)
            addEllipse(child, element, corner);
        else if (strcmp(name, "rectangle") == 0)
            addRectangle(child, element, corner);
        else if (strcmp(name, "polyline") == 0)
            addPolyline(child, element, corner);
    });
}

void loadButtonImage(IXMLDOMNode* image, uint32_t element, POINT corner)
{
    uint32_t state = kButtonEnabled;
    char name[kSkinTextLength] = "";
    forEachAttribute(image, [&](const char* attributeName, const char* value) {
        if (strcmp(attributeName, "type") == 0)
            state = buttonStateOfType(value);
        else if (strcmp(attributeName, "name") == 0)
            memcpy(name, value, kSkinTextLength);
    });

    HBITMAP& slot = skin.images[element][state];
    if (slot != nullptr) {
        DeleteObject(slot);
        slot = nullptr;
    }
    forgetDeferredSkinPicture(element, state);
    if (name[0] == '\0')
        return;
    char path[260];
    if (snprintf(path, sizeof path, "%s%s", skin.folder, name) >= static_cast<int>(sizeof path))
        return; // a cut name would name another file
    deferSkinPicture(element, state, path, corner);
}

void loadSkinPicture(uint32_t element, uint32_t state, const char* path, POINT corner)
{
    // The screen's device context: the bitmaps only have to match the display, and the main
    // window may not exist yet.
    const ScopedWindowDc screen(nullptr);
    skin.images[element][state] = loadScaledPngFile(path, screen.get(), corner.x, corner.y, skin.dpi);
}

void addRectangle(IXMLDOMNode* shape, uint32_t element, POINT corner)
{
    const RECT box = shapeBox(shape, corner);
    // Both edges are inside: width 9 covers 10 columns, the 10 pixels up to the edge after them.
    uniteShape(element,
        ScopedRegion(CreateRectRgn(
            scaledSum(box.left, 0), scaledSum(box.top, 0), scaledSum(box.right, 1), scaledSum(box.bottom, 1))));
}

void addEllipse(IXMLDOMNode* shape, uint32_t element, POINT corner)
{
    const RECT box = shapeBox(shape, corner);
    uniteShape(element,
        ScopedRegion(CreateEllipticRgn(
            scaledSum(box.left, 0), scaledSum(box.top, 0), scaledSum(box.right, 0), scaledSum(box.bottom, 0))));
}

void addPolyline(IXMLDOMNode* shape, uint32_t element, POINT corner)
{
    RECT origin;
    char type[kSkinTextLength];
    uint32_t format = 0;
    readBox(shape, &origin, type, &format);
    // The whole text: rimcutter writes up to 4096 points, far more than a fixed buffer
    // would hold, and a text cut inside a number would move a point.
    size_t length = 0;
    std::unique_ptr<char[]> text(nodeWholeText(shape, &length));

    static OutlinePoint read[kMaxOutlinePoints];
    static POINT points[kMaxOutlinePoints];
    const uint32_t count = parsePointText(text.get(), length, read, kMaxOutlinePoints);
    if (count < 3)
        return;
    // The points lie on the pixels' edges: a polygon scaled by its corners covers the scaled
    // pixels.
    for (uint32_t i = 0; i < count; ++i) {
        points[i].x = scaledSum(corner.x, origin.left, read[i].x);
        points[i].y = scaledSum(corner.y, origin.top, read[i].y);
    }
    uniteShape(element, ScopedRegion(CreatePolygonRgn(points, static_cast<int>(count), WINDING)));
}
