#include "skin/skinrules.h"

#include <cstring>

#include "skin/skinscale.h"

namespace {

const char* const kElementTypes[kSkinElementCount] = {
    "MainWindow",
    "Heading",
    "Data",
    "DataText",
    "DataSummary",
    "Time",
    "TimeText",
    "TimeSummary",
    "Log",
    "LogText",
    "Summary",
    "MenuButton",
    "MinimizeButton",
    "CloseButton",
    "TariffButton",
    nullptr,
    "StatusText",
    "YearData",
    "YearTime",
    "YearCost",
    "YearSummary",
    "SummaryColumns",
    "SummaryRows",
    "LogColumns",
    "LogScroll",
};

const char* const kFontTypes[kSkinFontCount] = { "Heading", "Text", "Sent", "Received", "Summary", "Data", "Time" };

const char* const kStateTypes[kButtonStateCount] = { "enabled", "disabled", "hilight", "pressed" };

uint32_t slotOfName(const char* const* names, uint32_t count, const char* name)
{
    for (uint32_t slot = 0; slot < count; ++slot) {
        if (names[slot] != nullptr && strcmp(names[slot], name) == 0)
            return slot;
    }
    return kNoSkinSlot;
}

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A byte of a point text that separates numbers (the control characters and space).
bool isSeparator(uint8_t byte) { return byte >= 1 && byte <= 32; }

// atoi over at most `end` - `text` bytes; returns the value and leaves `text` untouched.
int32_t readBoundedInteger(const char* text, const char* end)
{
    while (text < end && isCSpace(*text))
        ++text;
    bool negative = false;
    if (text < end && (*text == '+' || *text == '-')) {
        negative = *text == '-';
        ++text;
    }
    int64_t value = 0;
    while (text < end && *text >= '0' && *text <= '9') {
        if (value <= 0x80000000LL)
            value = value * 10 + (*text - '0');
        ++text;
    }
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFFLL)
        return 0x7FFFFFFF;
    if (value < -0x80000000LL)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

} // namespace

uint32_t skinElementOfType(const char* type) { return slotOfName(kElementTypes, kSkinElementCount, type); }

uint32_t skinFontOfType(const char* type) { return slotOfName(kFontTypes, kSkinFontCount, type); }

uint32_t buttonStateOfType(const char* type)
{
    const uint32_t state = slotOfName(kStateTypes, kButtonStateCount, type);
    return state == kNoSkinSlot ? kButtonEnabled : state;
}

int32_t readSkinInteger(const char* text) { return readBoundedInteger(text, text + strlen(text)); }

uint32_t readSkinColor(const char* text)
{
    while (isCSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && hexDigit(text[2]) >= 0)
        text += 2;
    uint64_t value = 0;
    for (; hexDigit(*text) >= 0; ++text) {
        value = value * 16 + static_cast<uint64_t>(hexDigit(*text));
        if (value > 0xFFFFFFFFu)
            value = 0x100000000u; // beyond 32 bits the reading saturates
    }
    if (value > 0xFFFFFFFFu)
        return 0xFFFFFFFFu;
    const uint32_t color = static_cast<uint32_t>(value);
    return negative ? 0u - color : color;
}

uint32_t textFormatOfAlign(const char* textalign)
{
    uint32_t format = kTextFormatDefault;
    if (textalign[0] == '\0')
        return format;
    if (textalign[0] == 'c')
        format |= 0x1; // DT_CENTER
    else if (textalign[0] == 'r')
        format |= 0x2; // DT_RIGHT
    if (textalign[1] == 'c')
        format |= 0x4; // DT_VCENTER
    else if (textalign[1] == 'b')
        format |= 0x8; // DT_BOTTOM
    return format;
}

void placeYearElements(SkinRect* rects, uint32_t* textFormats, int32_t windowWidth, int32_t windowHeight, uint32_t dpi)
{
    auto isEmpty = [](const SkinRect& r) { return r.right <= r.left || r.bottom <= r.top; };
    for (uint32_t slot = kElementYearData; slot <= kElementYearSummary; ++slot)
        if (!isEmpty(rects[slot]))
            return;
    SkinRect area { INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN };
    for (uint32_t slot = kElementData; slot <= kElementSummary; ++slot) {
        const SkinRect& r = rects[slot];
        if (isEmpty(r))
            continue;
        area = { r.left < area.left ? r.left : area.left, r.top < area.top ? r.top : area.top,
            r.right > area.right ? r.right : area.right, r.bottom > area.bottom ? r.bottom : area.bottom };
    }
    const int32_t kMargin = scaleToDpi(8, dpi), kSummaryHeight = scaleToDpi(16, dpi), kGap = scaleToDpi(3, dpi);
    if (isEmpty(area))
        area = { kMargin, kMargin, windowWidth - kMargin, windowHeight - kMargin };
    const int32_t chartHeight = (area.bottom - kSummaryHeight - area.top) / 3;
    for (uint32_t chart = 0; chart < 3; ++chart) {
        const int32_t top = area.top + int32_t(chart) * chartHeight;
        rects[kElementYearData + chart] = { area.left, top, area.right, top + chartHeight - kGap };
        textFormats[kElementYearData + chart] = kTextFormatDefault;
    }
    rects[kElementYearSummary] = { area.left, area.bottom - kSummaryHeight, area.right, area.bottom };
    textFormats[kElementYearSummary] = kTextFormatDefault | 0x4; // DT_VCENTER
}

uint32_t parsePointText(const char* text, size_t length, OutlinePoint* points, uint32_t capacity)
{
    if (capacity > kMaxOutlinePoints)
        capacity = kMaxOutlinePoints;
    if (text == nullptr || length == 0)
        return 0;
    // A terminating zero ends the text as well as its length does.
    const char* end = static_cast<const char*>(memchr(text, 0, length));
    if (end == nullptr)
        end = text + length;
    auto skipSeparators = [&](const char* at) {
        while (at < end && isSeparator(static_cast<uint8_t>(*at)))
            ++at;
        return at;
    };
    auto skipNumber = [&](const char* at) {
        while (at<end&& static_cast<uint8_t>(*at)> 32)
            ++at;
        return at;
    };

    uint32_t count = 0;
    const char* at = skipSeparators(text);
    // Separators are skipped before each point, so trailing white space adds no point.
    while (at < end && count < capacity) {
        const int32_t x = readBoundedInteger(at, end);
        at = skipSeparators(skipNumber(at));
        const int32_t y = readBoundedInteger(at, end);
        at = skipSeparators(skipNumber(at));
        points[count++] = OutlinePoint { x, y };
    }
    return count;
}
