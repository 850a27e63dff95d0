// Text drawing shared by the statistics views and the log area.
#include <algorithm>
#include <cstring>

#include "skin/skin.h"
#include "ui/views.h"

void useUserNumberFormat()
{
    char separator[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 0)
        setDecimalSeparator(separator);
}

void selectSkinFont(HDC dc, uint32_t slot)
{
    HFONT font = skin.fonts[slot] != nullptr ? skin.fonts[slot] : skin.fonts[kFontText];
    if (font != nullptr)
        SelectObject(dc, font);
}

SIZE zeroSize(HDC dc)
{
    SIZE size { 0, 0 };
    GetTextExtentPoint32A(dc, "0", 1, &size);
    return size;
}

SYSTEMTIME systemTimeOf(const LocalTime& time)
{
    SYSTEMTIME converted;
    static_assert(sizeof converted == sizeof time);
    memcpy(&converted, &time, sizeof converted);
    return converted;
}

void drawNumberLabel(HDC dc, const char* text, int numberLength, const RECT& column, LONG top)
{
    char number[kFormattedValueSize];
    numberOf(text, numberLength, number);
    RECT box = { column.left, top, column.right, column.bottom };
    DrawTextA(dc, number, -1, &box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

LONG drawScaleLabels(
    HDC dc, const RECT& labels, LONG chartTop, int32_t lineHeight, int64_t largest, ValueFormatter format)
{
    char scale[kFormattedValueSize];
    const int scaleNumber = formatScale(format, largest, scale);
    RECT unitBox = labels;
    DrawTextA(dc, unitOf(scale, scaleNumber), -1, &unitBox, DT_SINGLELINE | DT_CENTER | DT_TOP | DT_NOPREFIX);
    const LONG scaleTop = std::max<LONG>(chartTop - lineHeight / 2, labels.top + lineHeight);
    drawNumberLabel(dc, scale, scaleNumber, labels, scaleTop);
    return scaleTop;
}
