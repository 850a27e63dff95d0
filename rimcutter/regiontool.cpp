#include "rimcutter/regiontool.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/platform.h"
#include "rimcutter/regiontoolwindow.h"

RegionToolState regionTool;

const char kAskDeleteAll[] = "The regions have not been saved or copied. Delete them all?";
const char kAskExit[] = "The regions have not been saved or copied. Exit and lose them?";

namespace {

// Room for the usual outline in one allocation; larger texts double it as they go.
constexpr size_t kInitialTextCapacity = 256 * 1024;

const char kPolylinePrompt[] = "Press left mouse button to add a point, right button to end.";
const char kBoxPrompt[] = "Press left mouse button to select top/left, then bottom/right.";
const char kCopyPrompt[] = "Press left mouse button to place copy.";
const char kWriteFailed[] = "Failed to write to the file.";
const char kCopied[] = "The region text is on the clipboard: paste it into skin.xml.";

void freeShape(RegionShape& shape)
{
    free(shape.points);
    shape = RegionShape {};
}

void discardPending()
{
    freeShape(regionTool.pending);
    regionTool.pendingCapacity = 0;
    regionTool.placingCopy = false;
}

bool pendingIsIncomplete()
{
    return regionTool.pending.kind != kNoShape && regionTool.pending.count < regionTool.pendingCapacity;
}

int32_t clampTo(int32_t value, int32_t high)
{
    if (value < 0)
        return 0;
    return value > high ? high : value;
}

void appendBox(RegionText& text, const char* element, ShapeBox box)
{
    text.append("\t<%s x=\"%i\" y=\"%i\" width=\"%i\" height=\"%i\" mode=\"add\" />\r\n", element, box.x, box.y,
        box.width, box.height);
}

void appendPolyline(RegionText& text, const RegionShape& shape)
{
    // The origin is the smallest coordinate actually present, so the relative points are
    // never negative, whatever the picture's size.
    ShapePoint low = shape.points[0];
    ShapePoint high = shape.points[0];
    for (uint32_t i = 1; i < shape.count; ++i) {
        const ShapePoint p = shape.points[i];
        low.x = p.x < low.x ? p.x : low.x;
        low.y = p.y < low.y ? p.y : low.y;
        high.x = p.x > high.x ? p.x : high.x;
        high.y = p.y > high.y ? p.y : high.y;
    }
    text.append("\t<polyline x=\"%i\" y=\"%i\" width=\"%i\" height=\"%i\" mode=\"add\">", low.x, low.y,
        high.x - low.x + 1, high.y - low.y + 1);
    for (uint32_t i = 0; i < shape.count; ++i) {
        if (i % 4 == 0)
            text.append("\r\n\t");
        text.append("\t%i\t%i", shape.points[i].x - low.x, shape.points[i].y - low.y);
    }
    text.append("\r\n\t</polyline>\r\n");
}

enum class SaveOutcome { written, failed, noTemporary };

// Writes beside the target and moves the text over it only when complete, so a failed save
// keeps the previous file whole.
SaveOutcome writeThroughTemporary(const char* path, const RegionText& text)
{
    char temporary[300];
    const int named = snprintf(temporary, sizeof temporary, "%s.tmp", path);
    if (named <= 0 || size_t(named) >= sizeof temporary)
        return SaveOutcome::noTemporary;
    FILE* file = fopen(temporary, "wb");
    if (file == nullptr)
        return SaveOutcome::noTemporary;
    const bool written = fwrite(text.data(), 1, text.length(), file) == text.length();
    const bool closed = fclose(file) == 0;
    if (written && closed && replaceFile(temporary, path))
        return SaveOutcome::written;
    remove(temporary);
    return SaveOutcome::failed;
}

// Where no temporary name can be had beside the target (a name at the length limit), the
// target itself is written, as it would be without the temporary step.
bool writeDirectly(const char* path, const RegionText& text)
{
    FILE* file = fopen(path, "wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(text.data(), 1, text.length(), file) == text.length();
    return fclose(file) == 0 && written;
}

} // namespace

void resetRegionTool()
{
    for (RegionShape& shape : regionTool.shapes)
        free(shape.points);
    free(regionTool.pending.points);
    memset(&regionTool, 0, sizeof regionTool);
}

ShapePoint clampToImage(ShapePoint position)
{
    return ShapePoint { clampTo(position.x - kPictureMargin, regionTool.imageWidth),
        clampTo(position.y - kPictureMargin, regionTool.imageHeight) };
}

void trackCursor(ShapePoint position)
{
    const ShapePoint cursor = clampToImage(position);
    regionTool.cursorX = cursor.x;
    regionTool.cursorY = cursor.y;

    char text[96];
    int length = snprintf(text, sizeof text, "x = %i, y = %i", cursor.x, cursor.y);
    RegionShape& pending = regionTool.pending;
    if (pending.count >= 1 && pendingIsIncomplete()) {
        pending.points[pending.count] = cursor;
        const ShapePoint last = pending.points[pending.count - 1];
        snprintf(
            text + length, sizeof text - size_t(length), ", dx = %i, dy = %i", cursor.x - last.x, cursor.y - last.y);
    }
    setToolStatusText(1, text);
    repaintToolWindow();
}

void clickPoint(ShapePoint position, bool pressed)
{
    if (!pressed)
        return;
    const ShapePoint point = clampToImage(position);
    RegionShape& pending = regionTool.pending;
    if (pending.kind == kNoShape)
        return;
    if (pending.count < regionTool.pendingCapacity)
        pending.points[pending.count++] = point;
    if (pending.count == regionTool.pendingCapacity)
        commitPending();
    else
        pending.points[pending.count] = point;
    repaintToolWindow();
}

void endPolyline(bool pressed)
{
    if (pressed && regionTool.pending.kind == kShapePolyline && regionTool.pending.count >= 2)
        commitPending();
}

void commitPending()
{
    RegionShape& pending = regionTool.pending;
    if (regionTool.shapeCount < kMaxRegionShapes && pending.count > 0) {
        // The list takes the pending array over, trimmed to the points placed (a polyline's
        // array holds 4096); when trimming fails the longer array serves as well.
        auto* points = static_cast<ShapePoint*>(realloc(pending.points, pending.count * sizeof(ShapePoint)));
        if (points == nullptr)
            points = pending.points;
        regionTool.shapes[regionTool.shapeCount++] = RegionShape { pending.kind, pending.count, points };
        pending.points = nullptr;
        regionTool.shapesUnsaved = true;
    }
    discardPending();
    setToolStatusText(0, "");
    repaintToolWindow();
}

void beginShape(ShapeKind kind)
{
    discardPending();
    const uint32_t capacity = kind == kShapePolyline ? kPolylineCapacity : 2;
    setToolStatusText(0, kind == kShapePolyline ? kPolylinePrompt : kBoxPrompt);
    auto* points = static_cast<ShapePoint*>(calloc(capacity, sizeof(ShapePoint)));
    if (points == nullptr)
        return;
    regionTool.pending = RegionShape { kind, 0, points };
    regionTool.pendingCapacity = capacity;
}

void beginCopyOfLast()
{
    if (regionTool.shapeCount == 0)
        return;
    discardPending();
    setToolStatusText(0, kCopyPrompt);
    const RegionShape& last = regionTool.shapes[regionTool.shapeCount - 1];
    auto* points = static_cast<ShapePoint*>(malloc(last.count * sizeof(ShapePoint)));
    if (points == nullptr)
        return;
    memcpy(points, last.points, last.count * sizeof(ShapePoint));
    regionTool.pending = RegionShape { last.kind, last.count, points };
    regionTool.pendingCapacity = last.count;
    regionTool.placingCopy = true;
}

void removeLastShape()
{
    if (regionTool.shapeCount == 0)
        return;
    freeShape(regionTool.shapes[--regionTool.shapeCount]);
    regionTool.shapesUnsaved = true;
    repaintToolWindow();
}

void clearShapes()
{
    for (uint32_t i = 0; i < regionTool.shapeCount; ++i)
        freeShape(regionTool.shapes[i]);
    // Nothing is left that could be lost.
    regionTool.shapesUnsaved = false;
    regionTool.shapeCount = 0;
    discardPending();
    repaintToolWindow();
}

ShapeBox normalizeBox(ShapePoint a, ShapePoint b)
{
    return ShapeBox { a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, abs(a.x - b.x) + 1, abs(a.y - b.y) + 1 };
}

void moveCopyToCursor()
{
    RegionShape& copy = regionTool.pending;
    if (!regionTool.placingCopy || copy.count == 0)
        return;
    ShapePoint low = copy.points[0];
    for (uint32_t i = 1; i < copy.count; ++i) {
        low.x = copy.points[i].x < low.x ? copy.points[i].x : low.x;
        low.y = copy.points[i].y < low.y ? copy.points[i].y : low.y;
    }
    for (uint32_t i = 0; i < copy.count; ++i) {
        copy.points[i].x += regionTool.cursorX - low.x;
        copy.points[i].y += regionTool.cursorY - low.y;
    }
}

RegionText::~RegionText() { free(data_); }

void RegionText::clear()
{
    length_ = 0;
    failed_ = false;
    if (data_ != nullptr)
        data_[0] = '\0';
}

bool RegionText::reserve(size_t needed)
{
    if (needed <= capacity_)
        return true;
    size_t capacity = capacity_ != 0 ? capacity_ : kInitialTextCapacity;
    while (capacity < needed)
        capacity *= 2;
    char* grown = static_cast<char*>(realloc(data_, capacity));
    if (grown == nullptr)
        return false;
    data_ = grown;
    capacity_ = capacity;
    return true;
}

void RegionText::append(const char* format, ...)
{
    if (failed_)
        return;
    for (;;) {
        if (!reserve(length_ + 1)) {
            failed_ = true;
            break;
        }
        va_list arguments;
        va_start(arguments, format);
        const int written = vsnprintf(data_ + length_, capacity_ - length_, format, arguments);
        va_end(arguments);
        if (written < 0) {
            failed_ = true;
            break;
        }
        if (size_t(written) < capacity_ - length_) {
            length_ += size_t(written);
            return;
        }
        if (!reserve(length_ + size_t(written) + 1)) {
            failed_ = true;
            break;
        }
    }
    length_ = 0;
    if (data_ != nullptr)
        data_[0] = '\0';
}

size_t formatRegionText(RegionText& text)
{
    text.clear();
    if (regionTool.shapeCount == 1 && regionTool.shapes[0].kind == kShapeRectangle) {
        const ShapeBox box = normalizeBox(regionTool.shapes[0].points[0], regionTool.shapes[0].points[1]);
        text.append("\t<region type=\"\" x=\"%i\" y=\"%i\" width=\"%i\" height=\"%i\" />\r\n\t", box.x, box.y,
            box.width, box.height);
        return text.length();
    }
    text.append("<region type=\"\" x=\"\" y=\"\" width=\"%i\" height=\"%i\">\r\n", regionTool.imageWidth,
        regionTool.imageHeight);
    for (uint32_t i = 0; i < regionTool.shapeCount; ++i) {
        const RegionShape& shape = regionTool.shapes[i];
        switch (shape.kind) {
        case kShapePolyline:
            appendPolyline(text, shape);
            break;
        case kShapeEllipse:
            appendBox(text, "ellipse", normalizeBox(shape.points[0], shape.points[1]));
            break;
        case kShapeRectangle: {
            // The skin loader's rectangle covers both its edges, width + 1 columns, so the
            // box is written one short to come back as exactly the pixels that were traced.
            ShapeBox box = normalizeBox(shape.points[0], shape.points[1]);
            box.width -= 1;
            box.height -= 1;
            appendBox(text, "rectangle", box);
            break;
        }
        case kNoShape:
            break;
        }
    }
    text.append("</region>\r\n");
    return text.length();
}

bool mayDiscardShapes(const char* question)
{
    return !regionTool.shapesUnsaved || regionTool.shapeCount == 0 || askToolQuestion(question);
}

void deleteAllShapes()
{
    if (mayDiscardShapes(kAskDeleteAll))
        clearShapes();
}

void copyRegionText()
{
    RegionText text;
    formatRegionText(text);
    if (text.failed()) {
        putTextOnClipboard(nullptr, 0);
        return;
    }
    if (!putTextOnClipboard(text.data(), text.length()))
        return;
    regionTool.shapesUnsaved = false;
    setToolStatusText(0, kCopied);
}

void saveRegionText(const char* path)
{
    RegionText text;
    formatRegionText(text);
    const SaveOutcome outcome = text.failed() ? SaveOutcome::failed : writeThroughTemporary(path, text);
    if (outcome == SaveOutcome::failed || (outcome == SaveOutcome::noTemporary && !writeDirectly(path, text)))
        showToolMessage(kWriteFailed);
    else
        regionTool.shapesUnsaved = false;
}
