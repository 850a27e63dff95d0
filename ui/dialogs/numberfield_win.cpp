#include "ui/dialogs/numberfield_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "core/textinserts.h"
#include "lang/ids.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/money_win.h"
#include "ui/dialogs/optionspages.h"

namespace {

constexpr UINT kBalloonMs = 10000;
constexpr int kBalloonWidth = 320;
// Apart from the tip window's own timers.
constexpr UINT_PTR kBalloonTimer = 0x7E1A;

HWND balloonWindow; // the balloon tip of ours that shows, or null

// The separators (and for money the symbol) the user's locale writes the field's kind with.
struct LocaleSeparators {
    char decimal[8];
    char group[8];
    char symbol[16];
};

void localeText(LCTYPE type, char* text, int size, const char* fallback)
{
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, size) == 0)
        snprintf(text, size_t(size), "%s", fallback);
}

LocaleSeparators separatorsFor(NumberKind kind)
{
    LocaleSeparators separators {};
    if (kind == NumberKind::money) {
        userMoneySeparators(separators.decimal, separators.group, sizeof separators.decimal);
        localeText(LOCALE_SCURRENCY, separators.symbol, sizeof separators.symbol, "");
    } else {
        localeText(LOCALE_SDECIMAL, separators.decimal, sizeof separators.decimal, ".");
        localeText(LOCALE_STHOUSAND, separators.group, sizeof separators.group, ",");
    }
    return separators;
}

TypedNumber readField(HWND page, const NumberField& field, double& value)
{
    char text[256];
    GetDlgItemTextA(page, field.id, text, sizeof text);
    const LocaleSeparators separators = separatorsFor(field.kind);
    const LocaleNumberFormat format { separators.decimal, separators.group, separators.symbol };
    return readTypedNumber(text, format, NumberLimits { field.minimum, field.maximum, field.places }, value);
}

void valueText(const NumberField& field, double value, int places, char* text, size_t size)
{
    if (field.kind != NumberKind::money || !formatMoney(value, places, text, size))
        formatLocaleNumber(value, places, text, size);
}

// What the field wants, as the balloon says it.
void wantedText(const NumberField& field, char* text, size_t size)
{
    const int places = field.kind == NumberKind::whole ? 0 : 2;
    char least[64], most[64], decimals[8], example[64], pattern[512];
    valueText(field, field.minimum, field.kind == NumberKind::money ? 2 : places, least, sizeof least);
    valueText(field, field.maximum, field.kind == NumberKind::money ? 2 : places, most, sizeof most);
    snprintf(decimals, sizeof decimals, "%d", field.places);
    valueText(field, field.example, field.kind == NumberKind::money ? 3 : places, example, sizeof example);
    const uint32_t id = field.kind == NumberKind::whole ? IDS_NUMBER_WANTED_WHOLE
        : field.kind == NumberKind::money               ? IDS_NUMBER_WANTED_MONEY
                                                        : IDS_NUMBER_WANTED_DECIMAL;
    loadLanguageText(id, pattern, sizeof pattern);
    const char* inserts[] = { least, most, decimals, example };
    fillInserts(pattern, inserts, 4, text, size);
}

void showWhatIsWanted(HWND control, const NumberField& field, TypedNumber reading)
{
    char title[128], text[512];
    loadLanguageText(reading == TypedNumber::outOfRange ? IDS_NUMBER_RANGE_TITLE
            : reading == TypedNumber::tooManyPlaces     ? IDS_NUMBER_PLACES_TITLE
                                                        : IDS_NUMBER_NOT_READ_TITLE,
        title, sizeof title);
    wantedText(field, text, sizeof text);
    showFieldBalloon(control, title, text);
}

void CALLBACK hideBalloonLater(HWND, UINT, UINT_PTR, DWORD) { hideFieldBalloon(); }

} // namespace

void formatLocaleNumber(double value, int places, char* text, size_t size)
{
    char number[64], grouping[16];
    snprintf(number, sizeof number, "%.*f", places, value);
    LocaleSeparators separators = separatorsFor(NumberKind::decimal);
    localeText(LOCALE_SGROUPING, grouping, sizeof grouping, "3;0");
    NUMBERFMTA format = {};
    format.NumDigits = UINT(places);
    format.LeadingZero = 1;
    // Explicit, as some systems group only the first thousands by default.
    format.Grouping = groupingFromLocaleText(grouping);
    format.lpDecimalSep = separators.decimal;
    format.lpThousandSep = separators.group;
    format.NegativeOrder = 1;
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, number, &format, text, int(size)) == 0)
        snprintf(text, size, "%s", number);
}

bool readNumberField(HWND page, const NumberField& field, double& value)
{
    return readField(page, field, value) == TypedNumber::valid;
}

bool takeNumberField(HWND page, const NumberField& field, double& value)
{
    const TypedNumber reading = readField(page, field, value);
    if (reading == TypedNumber::valid)
        return true;
    HWND control = GetDlgItem(page, field.id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
    showWhatIsWanted(control, field, reading);
    return false;
}

void explainNumberField(HWND page, const NumberField& field)
{
    double value = 0;
    const TypedNumber reading = readField(page, field, value);
    if (reading != TypedNumber::valid)
        showWhatIsWanted(GetDlgItem(page, field.id), field, reading);
}

void showFieldBalloon(HWND control, const char* title, const char* text)
{
    hideFieldBalloon();
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, WC_EDITA) == 0) {
        wchar_t wideTitle[128] = L"", wideText[512] = L"";
        MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, int(sizeof wideTitle / sizeof wideTitle[0]));
        MultiByteToWideChar(CP_ACP, 0, text, -1, wideText, int(sizeof wideText / sizeof wideText[0]));
        EDITBALLOONTIP balloon = { sizeof balloon, wideTitle, wideText, TTI_WARNING };
        // Version 6 of the common controls draws the edit's own; earlier ones do not know it.
        if (SendMessageW(control, EM_SHOWBALLOONTIP, 0, LPARAM(&balloon)))
            return;
    }
    HWND owner = GetAncestor(control, GA_ROOT);
    balloonWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
        WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr, GetModuleHandleA(nullptr),
        nullptr);
    if (balloonWindow == nullptr)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = UINT_PTR(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(balloonWindow, TTM_ADDTOOLA, 0, LPARAM(&tool));
    SendMessageA(balloonWindow, TTM_SETMAXTIPWIDTH, 0, kBalloonWidth);
    SendMessageA(balloonWindow, TTM_SETTITLEA, TTI_WARNING, LPARAM(title));
    RECT rect;
    GetWindowRect(control, &rect);
    // The stem points into the control, near its left end where the text begins.
    const LONG x = rect.left + (rect.right - rect.left < 40 ? (rect.right - rect.left) / 2 : 20);
    SendMessageA(balloonWindow, TTM_TRACKPOSITION, 0, MAKELPARAM(x, rect.bottom - 3));
    SendMessageA(balloonWindow, TTM_TRACKACTIVATE, TRUE, LPARAM(&tool));
    SetTimer(balloonWindow, kBalloonTimer, kBalloonMs, hideBalloonLater);
}

void hideFieldBalloon()
{
    if (balloonWindow != nullptr && IsWindow(balloonWindow))
        DestroyWindow(balloonWindow);
    balloonWindow = nullptr;
}
