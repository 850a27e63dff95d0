// parsePointText over any bytes: never past the given length, never more points than room,
// and the same points whatever follows the length. The same bytes read as the vertices of a
// traced outline: the text rimcutter writes for up to 4096 of them, however long, comes back
// whole.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rimcutter/regiontool.h"
#include "skin/pngdecode.h"
#include "skin/skinrules.h"

namespace {

void checkAnyText(const uint8_t* data, size_t size)
{
    // The first byte picks the room; the rest is the text, in a buffer of exactly its length.
    const uint32_t capacity = data[0] * 20u;
    std::vector<char> text(data + 1, data + size);
    std::vector<OutlinePoint> points(capacity > 0 ? capacity : 1);
    const uint32_t count = parsePointText(text.data(), text.size(), points.data(), capacity);
    if (count > capacity || count > kMaxOutlinePoints)
        abort();

    // With a terminating zero after the text the result is the same.
    std::vector<char> terminated(text);
    terminated.push_back('\0');
    std::vector<OutlinePoint> again(points.size());
    if (parsePointText(terminated.data(), terminated.size(), again.data(), capacity) != count)
        abort();
    if (count > 0 && memcmp(points.data(), again.data(), count * sizeof(OutlinePoint)) != 0)
        abort();
}

// Every four bytes a vertex inside the largest picture, as the tool clamps them; the text of
// the polyline is what the skin loader reads between its tags.
void checkTracedOutline(const uint8_t* data, size_t size)
{
    uint32_t count = uint32_t(size / 4);
    if (count == 0)
        return;
    if (count > kPolylineCapacity)
        count = kPolylineCapacity;
    resetRegionTool();
    regionTool.imageWidth = int32_t(kMaxPictureSide);
    regionTool.imageHeight = int32_t(kMaxPictureSide);
    RegionShape& shape = regionTool.shapes[0];
    shape.kind = kShapePolyline;
    shape.count = count;
    shape.points = static_cast<ShapePoint*>(malloc(count * sizeof(ShapePoint)));
    ShapePoint low { INT32_MAX, INT32_MAX };
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* bytes = data + 4 * i;
        shape.points[i] = ShapePoint { int32_t((bytes[0] | bytes[1] << 8) % (kMaxPictureSide + 1)),
            int32_t((bytes[2] | bytes[3] << 8) % (kMaxPictureSide + 1)) };
        low.x = shape.points[i].x < low.x ? shape.points[i].x : low.x;
        low.y = shape.points[i].y < low.y ? shape.points[i].y : low.y;
    }
    regionTool.shapeCount = 1;

    RegionText region;
    formatRegionText(region);
    const std::string written(region.data(), region.length());
    const size_t begin = written.find('>', written.find("<polyline"));
    const size_t end = written.find("</polyline>");
    if (begin == std::string::npos || end == std::string::npos)
        abort();
    const std::string text = written.substr(begin + 1, end - begin - 1);

    std::vector<OutlinePoint> read(kMaxOutlinePoints);
    if (parsePointText(text.data(), text.size(), read.data(), kMaxOutlinePoints) != count)
        abort();
    for (uint32_t i = 0; i < count; ++i) {
        if (read[i].x != shape.points[i].x - low.x || read[i].y != shape.points[i].y - low.y)
            abort();
    }
    resetRegionTool();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    checkAnyText(data, size);
    checkTracedOutline(data, size);
    return 0;
}
