#pragma once
// The portable rules of skin.xml: names of element, font and state slots, numbers, colours,
// text alignment and the point text of outlines.
#include <cstddef>
#include <cstdint>

enum SkinElement : uint32_t {
    kElementMainWindow = 0,
    kElementHeading = 1,
    kElementData = 2,
    kElementDataText = 3,
    kElementDataSummary = 4,
    kElementTime = 5,
    kElementTimeText = 6,
    kElementTimeSummary = 7,
    kElementLog = 8,
    kElementLogText = 9,
    kElementSummary = 10,
    kElementMenuButton = 11,
    kElementMinimizeButton = 12,
    kElementCloseButton = 13,
    kElementTariffButton = 14,
    kElementUnnamed = 15, // keeps the numbers around it; no type selects it
    kElementStatusText = 16,
    // The year at a glance: a chart of the twelve months' volume, online time and cost each,
    // and a line of the year's totals. A skin that places none of them gets a plain layout.
    kElementYearData = 17,
    kElementYearTime = 18,
    kElementYearCost = 19,
    kElementYearSummary = 20,
    // Labels and hints a skin may place, or leave out: the window then goes without them.
    kElementSummaryColumns = 21, // the Summary's column headings, over its columns
    kElementSummaryRows = 22, // the Summary's row names, beside its rows
    kElementLogColumns = 23, // the connection list's column headings, over its columns
    kElementLogScroll = 24, // a thin bar showing which part of a longer list is shown
    kSkinElementCount = 25,
};

enum SkinFont : uint32_t {
    kFontHeading = 0,
    kFontText = 1,
    kFontSent = 2,
    kFontReceived = 3,
    kFontSummary = 4,
    kFontData = 5,
    kFontTime = 6,
    kSkinFontCount = 7,
};

enum ButtonState : uint32_t {
    kButtonEnabled = 0,
    kButtonDisabled = 1,
    kButtonHilight = 2,
    kButtonPressed = 3,
    kButtonStateCount = 4,
};

constexpr uint32_t kSkinTextLength = 260; // names, values and paths: at most 259 bytes
constexpr uint32_t kMaxOutlinePoints = 4096;
constexpr uint32_t kNoSkinSlot = 0xFFFFFFFF;

constexpr uint32_t kTextFormatDefault = 0x820; // DT_SINGLELINE | DT_NOPREFIX

// Slot of an element type name, or kNoSkinSlot.
uint32_t skinElementOfType(const char* type);
// Slot of a font type name, or kNoSkinSlot.
uint32_t skinFontOfType(const char* type);
// State of an image type name; every unknown name is "enabled".
uint32_t buttonStateOfType(const char* type);

// A decimal attribute as the C library's atoi reads it; no digits give 0. Values far outside
// 32 bits saturate instead of overflowing.
int32_t readSkinInteger(const char* text);
// A hexadecimal colour as "%x" reads it (optional 0x); unreadable gives 0.
uint32_t readSkinColor(const char* text);
// Alignment bits of a textalign value, added to kTextFormatDefault.
uint32_t textFormatOfAlign(const char* textalign);

// An element's rectangle, laid out as the platform's: right and bottom edges exclusive.
struct SkinRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// A skin that places none of the year's elements gets them over the area of its month figures
// (the charts, the Summary and the list), or the window less a margin without those: the three
// charts one above the other and the totals' line below them, left-aligned and centred upright.
// The rectangles and the window are at the skin's `dpi`, and so are the margins and the line.
void placeYearElements(SkinRect* rects, uint32_t* textFormats, int32_t windowWidth, int32_t windowHeight, uint32_t dpi);

struct OutlinePoint {
    int32_t x;
    int32_t y;
};

// Reads the number pairs of a point text of `length` bytes (never past it) into `points`
// (room for `capacity`, at most kMaxOutlinePoints are used) and returns their count. An odd
// count of numbers gives the last point y 0.
uint32_t parsePointText(const char* text, size_t length, OutlinePoint* points, uint32_t capacity);
