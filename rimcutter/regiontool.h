#pragma once
// The region tool's model: the traced shapes over a picture, the shape being drawn, the
// cursor, and the region text that a skin's skin.xml takes. Portable; it reaches the tool
// window only through rimcutter/regiontoolwindow.h.
#include <cstddef>
#include <cstdint>

enum ShapeKind : int32_t {
    kNoShape = 0,
    kShapePolyline = 1,
    kShapeEllipse = 2,
    kShapeRectangle = 3,
};

struct ShapePoint {
    int32_t x;
    int32_t y;
};

// An ellipse or rectangle holds two opposite corners in the order clicked; a polyline its
// vertices. `points` is owned.
struct RegionShape {
    ShapeKind kind;
    uint32_t count;
    ShapePoint* points;
};

constexpr uint32_t kMaxRegionShapes = 256;
constexpr uint32_t kPolylineCapacity = 4096;
// The picture is drawn this many logical units from the window's corner.
constexpr int32_t kPictureMargin = 5;

struct RegionToolState {
    void* picture; // the tool window's bitmap of the loaded picture, or null
    int32_t imageWidth;
    int32_t imageHeight;
    uint32_t pictureDepth;
    uint32_t pictureTransparent;
    int32_t zoom; // 1, 2, 4, or 0 for fit to window
    int32_t statusHeight;
    int32_t cursorX;
    int32_t cursorY;
    bool placingCopy;
    uint32_t shapeCount;
    uint32_t pendingCapacity;
    // While not complete, `pending.points` has one slot beyond `count`: the rubber-band
    // point that follows the cursor.
    RegionShape pending;
    RegionShape shapes[kMaxRegionShapes];
    // The finished shapes changed since their text was last saved or copied.
    bool shapesUnsaved;
    // Device pixels of the zoomed picture scrolled out of view to the left and above.
    int32_t scrollX;
    int32_t scrollY;
};

extern RegionToolState regionTool;

struct ShapeBox {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// Frees every point array and zeroes the whole record (the tool window's creation state).
void resetRegionTool();

ShapePoint clampToImage(ShapePoint position);
void trackCursor(ShapePoint position);
void clickPoint(ShapePoint position, bool pressed);
void endPolyline(bool pressed);
void commitPending();
void beginShape(ShapeKind kind);
void beginCopyOfLast();
void removeLastShape();
void clearShapes();

// The finished shapes may go: true when their text was saved or copied since they last
// changed, or when the user answers `question` with Yes.
bool mayDiscardShapes(const char* question);
// The D command: deletes every shape, once the user agrees when they were not saved.
void deleteAllShapes();
extern const char kAskDeleteAll[];
extern const char kAskExit[];
ShapeBox normalizeBox(ShapePoint a, ShapePoint b);

// Moves the copy being placed so that the top-left corner of its bounding box lies on the
// cursor; the painting calls it before drawing the copy.
void moveCopyToCursor();

// The region text grows as it needs; it is never cut. A failed allocation leaves it empty
// with `failed` set.
class RegionText {
public:
    RegionText() = default;
    ~RegionText();
    RegionText(const RegionText&) = delete;
    RegionText& operator=(const RegionText&) = delete;

    const char* data() const { return data_ != nullptr ? data_ : ""; }
    size_t length() const { return length_; }
    bool failed() const { return failed_; }

    void clear();
    void append(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    bool reserve(size_t needed);

    char* data_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
    bool failed_ = false;
};

// Writes the region text of the finished shapes; returns its length (0 when the memory for
// it could not be had).
size_t formatRegionText(RegionText& text);
// Puts the region text on the clipboard and says so in the status line.
void copyRegionText();
void saveRegionText(const char* path);
