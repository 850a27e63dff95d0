// Painting the main window: the skin's picture, the figures and the status line, drawn into a
// back buffer and copied to the screen in one go.
#include "ui/mainwindowhandlers.h"

#include <algorithm>

#include "core/deferredreports.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "skin/skin.h"
#include "ui/hovertips.h"
#include "ui/popupmenu.h"
#include "ui/statusline.h"
#include "ui/viewmath.h"
#include "ui/viewparts.h"
#include "ui/views.h"

namespace {

// The status line, cut after its last word that fits and ended with an ellipsis when it is too
// long for its box. Drawn in UTF-16, so the ellipsis is one whatever the code page.
void drawStatusLine(MainWindowState* state, HDC dc)
{
    wchar_t text[sizeof state->statusText + 1];
    int length = MultiByteToWideChar(CP_ACP, 0, state->statusText, -1, text, int(sizeof state->statusText)) - 1;
    if (length < 0)
        length = 0;
    RECT box = skin.rects[kElementStatusText];
    const int available = box.right - box.left;
    SIZE whole {}, ellipsis {};
    GetTextExtentPoint32W(dc, text, length, &whole);
    state->painted.statusCut = whole.cx > available;
    if (state->painted.statusCut) {
        GetTextExtentPoint32W(dc, L"\u2026", 1, &ellipsis);
        int fitting = 0;
        GetTextExtentExPointW(dc, text, length, std::max<int>(0, available - ellipsis.cx), &fitting, nullptr, &whole);
        length = int(cutAtWord(text, size_t(length), size_t(fitting)));
        text[length++] = L'\u2026';
    }
    DrawTextW(dc, text, length, &box, skin.textFormats[kElementStatusText]);
}

void copyBitmap(HDC target, HBITMAP bitmap, const RECT& to)
{
    const ScopedBitmapDc source(target, bitmap);
    if (source.get() != nullptr)
        BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, source.get(), 0, 0, SRCCOPY);
}

// The figures change with every tick; so does the tip of the figure the pointer rests on.
void refreshTipAtCursor(MainWindowState* state)
{
    POINT cursor = cursorOnScreen();
    if (WindowFromPoint(cursor) != state->window) {
        hideHoverTip(state);
        return;
    }
    ScreenToClient(state->window, &cursor);
    refreshHoverTip(state, cursor, hitTest(state, cursor));
}

} // namespace

// The window-sized picture every paint is drawn into first.
void createBackBuffer(MainWindowState* state)
{
    {
        const ScopedWindowDc windowDc(state->window);
        state->backBufferDc = CreateCompatibleDC(windowDc.get());
        state->backBuffer = CreateCompatibleBitmap(windowDc.get(), skin.windowWidth, skin.windowHeight);
    }
    if (state->backBufferDc != nullptr && state->backBuffer != nullptr)
        state->backBufferOld = HBITMAP(SelectObject(state->backBufferDc, state->backBuffer));
}

void deleteBackBuffer(MainWindowState* state)
{
    if (state->backBufferDc != nullptr) {
        if (state->backBufferOld != nullptr)
            SelectObject(state->backBufferDc, state->backBufferOld);
        DeleteDC(state->backBufferDc);
    }
    if (state->backBuffer != nullptr)
        DeleteObject(state->backBuffer);
    state->backBufferDc = nullptr;
    state->backBuffer = nullptr;
    state->backBufferOld = nullptr;
}

void onPaint(MainWindowState* state)
{
    // A month log with a format error is found by the paint that reads it: its report waits
    // until the paint is done.
    const DeferredReports painting;
    // Only what is invalid is drawn again: the back buffer keeps the rest from the paints before.
    const ScopedRegion invalid(CreateRectRgn(0, 0, 0, 0));
    const bool clipped = invalid.get() != nullptr && GetUpdateRgn(state->window, invalid.get(), FALSE) > NULLREGION;
    PAINTSTRUCT paint;
    HDC windowDc = BeginPaint(state->window, &paint);
    HDC buffer = state->backBufferDc;
    if (buffer != nullptr && state->backBuffer != nullptr && !state->painting) {
        state->painting = 1;
        // The painters select the skin's fonts and set colours and modes as they go; the buffer
        // gets its own back afterwards, so no skin font stays selected when the skin changes.
        const ScopedDcState restore(buffer);
        if (clipped)
            SelectClipRgn(buffer, invalid.get());
        const RECT whole = { 0, 0, skin.windowWidth, skin.windowHeight };
        const bool active = GetActiveWindow() == state->window;
        HBITMAP background = skinPicture(kElementMainWindow, active ? kButtonEnabled : kButtonDisabled);
        if (background == nullptr)
            background = skinPicture(kElementMainWindow, kButtonEnabled);
        if (background != nullptr)
            copyBitmap(buffer, background, whole);
        else
            FillRect(buffer, &whole, HBRUSH(GetStockObject(WHITE_BRUSH))); // no picture: no stale frame
        if (state->hotElement < kSkinElementCount && state->hotState < kButtonStateCount) {
            if (HBITMAP hot = skinPicture(state->hotElement, state->hotState))
                copyBitmap(buffer, hot, skin.rects[state->hotElement]);
        }
        if (state->year.shown)
            paintYearView(state, buffer);
        else
            paintStatistics(state, buffer);

        if (paintReaches(buffer, kRedrawStatusLine)) {
            refreshConnectionStatus(state);
            selectSkinFont(buffer, kFontText);
            SetTextColor(buffer, skin.fontColors[kFontText]);
            SetBkMode(buffer, TRANSPARENT);
            drawStatusLine(state, buffer);
        }
        const RECT& copied = paint.rcPaint;
        BitBlt(windowDc, copied.left, copied.top, copied.right - copied.left, copied.bottom - copied.top, buffer,
            copied.left, copied.top, SRCCOPY);
        state->painting = 0;
    }
    EndPaint(state->window, &paint);
    refreshTipAtCursor(state);
}
