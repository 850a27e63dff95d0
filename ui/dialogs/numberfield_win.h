#pragma once
// The number fields of the option pages: what each takes, read as the user's locale writes its
// kind of number. A field that holds no such number keeps its text; a balloon on it says what is
// wanted, range included, and the page stays until it is mended.
#include <windows.h>

enum class NumberKind { whole, decimal, money };

struct NumberField {
    int id;
    NumberKind kind;
    double minimum;
    double maximum;
    int places; // the most decimal places it takes; 0 for a whole number
    double example; // shown in the balloon of a decimal or money field
};

// The number in the field; false, with nothing shown, when it holds none the field takes.
bool readNumberField(HWND page, const NumberField& field, double& value);

// The same; when it fails, the field gets the focus with its text selected, and the balloon.
bool takeNumberField(HWND page, const NumberField& field, double& value);

// The balloon alone, when the field holds no number it takes; the focus stays where it is.
void explainNumberField(HWND page, const NumberField& field);

// A warning balloon on a control: the edit control's own where the common controls give one (a
// program with their version 6), otherwise a balloon tip window of ours below the control. One
// shows at a time; it goes when the next shows, after 10 seconds, or with hideFieldBalloon.
void showFieldBalloon(HWND control, const char* title, const char* text);
void hideFieldBalloon();

// The number as the user's locale writes it, with `places` decimals and its digits grouped.
void formatLocaleNumber(double value, int places, char* text, size_t size);
