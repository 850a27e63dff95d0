// The pointer over the main window: the lit element, dragging the window, scrolling the list and
// the hover tips.
#include "ui/mainwindowhandlers.h"

#include <windowsx.h>

#include <algorithm>

#include "core/deferredreports.h"
#include "core/platform.h"
#include "monitor/liveconnections.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "ui/hovertips.h"
#include "ui/mainwindow.h"
#include "ui/popupmenu.h"
#include "ui/viewmath.h"

namespace {

constexpr int kWheelRows = 3; // list rows per notch of the mouse wheel
constexpr int kScrollPixelsPerRow = 6; // pointer travel that scrolls the list by one row, at 96 DPI

// The press point on the screen: where the cursor was when the button went down, even when
// the press is handled only after the cursor has moved on.
POINT pressOnScreen(const MainWindowState* state, POINT point)
{
    ClientToScreen(state->window, &point);
    return point;
}

bool isButtonSlot(int32_t slot)
{
    return slot == kElementMenuButton || slot == kElementMinimizeButton || slot == kElementCloseButton
        || slot == kElementTariffButton;
}

void startScrolling(MainWindowState* state, POINT point)
{
    state->scrolling = 1;
    state->scrollLastY = pressOnScreen(state, point).y;
    SetCapture(state->window);
}

} // namespace

// The skin slot under a client point, 0 when only the window itself (or nothing) is there.
// Later slots lie on top of earlier ones; the other view's elements are not there. Labels only
// name the figures beside them: the pointer finds what lies under them.
int32_t hitTest(const MainWindowState* state, POINT point)
{
    for (int32_t slot = kSkinElementCount - 1; slot >= 0; --slot) {
        if (!slotInView(uint32_t(slot), state->year.shown) || slot == kElementSummaryColumns
            || slot == kElementSummaryRows || slot == kElementLogColumns)
            continue;
        if (skin.regions[slot] != nullptr) {
            if (PtInRegion(skin.regions[slot], point.x, point.y))
                return slot;
        } else if (PtInRect(&skin.rects[slot], point)) {
            return slot;
        }
    }
    return -1;
}

void onMouseMove(MainWindowState* state, POINT point)
{
    // A tip can read another month, whose damage is reported once the move is handled.
    const DeferredReports reading;
    const int32_t hit = hitTest(state, point);
    if (hit >= 0 && uint32_t(hit) != state->hotElement) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonHilight;
        invalidateElement(state, state->hotElement);
    }
    if (state->dragging) {
        const POINT cursor = cursorOnScreen();
        POINT origin = { 0, 0 };
        ClientToScreen(state->window, &origin);
        SetWindowPos(state->window, HWND_TOP, origin.x + cursor.x - state->dragStart.x,
            origin.y + cursor.y - state->dragStart.y, 0, 0, SWP_NOSIZE);
        state->dragStart = cursor;
    } else if (state->scrolling) {
        const POINT cursor = cursorOnScreen();
        const int32_t travel = scaleToDpi(kScrollPixelsPerRow, skin.dpi);
        const int32_t rows = (cursor.y - state->scrollLastY) / travel;
        if (rows != 0) {
            state->listScroll = std::max(0, state->listScroll + rows);
            state->scrollLastY += rows * travel;
            invalidateAll(state, true);
        }
    } else {
        // The list can be dragged to scroll; say so over it and its bar.
        const bool overList = !state->year.shown && liveConnectionCount() == 0
            && (PtInRect(&skin.rects[kElementLog], point) || PtInRect(&skin.rects[kElementLogScroll], point));
        HCURSOR cursor = LoadCursorA(nullptr, overList ? IDC_SIZENS : IDC_ARROW);
        SetClassLongPtrA(state->window, GCLP_HCURSOR, LONG_PTR(cursor));
        SetCursor(cursor);
        updateHoverTip(state, point, hit);
    }
}

void onButtonDown(MainWindowState* state, POINT point)
{
    hideHoverTip(state);
    state->hotElement = 0;
    const int32_t hit = hitTest(state, point);
    const bool onList = liveConnectionCount() == 0 && (hit == kElementLog || hit == kElementLogScroll);
    const bool onYearMonth = hit >= int32_t(kElementYearData) && hit <= int32_t(kElementYearCost);
    // Only the buttons, the list and the year's months answer a press; the title and the figures
    // move the window as its background does.
    if (onList || onYearMonth || isButtonSlot(hit)) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonPressed;
        invalidateElement(state, state->hotElement);
    }
    if (onList) {
        // Pressing on the list or its bar and dragging scrolls it until the button is released.
        startScrolling(state, point);
    } else if (state->hotElement == 0) {
        state->dragging = 1;
        state->dragStart = pressOnScreen(state, point);
        SetCapture(state->window);
    }
}

void onButtonUp(MainWindowState* state, POINT point)
{
    const bool wasScrolling = state->scrolling;
    const bool wasDragging = state->dragging;
    const int32_t hit = hitTest(state, point);
    // The release that ends a drag of the window is no click on what it ends over.
    if (hit >= 0 && !wasDragging) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonEnabled;
        // The release that ends a scroll is not a click on the list.
        if (!(wasScrolling && (hit == kElementLog || hit == kElementLogScroll)))
            elementAction(state, state->hotElement);
        invalidateElement(state, state->hotElement);
        // A month of the year's charts shows that month.
        if (uint32_t(hit) >= kElementYearData && uint32_t(hit) <= kElementYearCost)
            openYearMonth(state, uint32_t(hit), point);
    }
    state->dragging = 0;
    state->scrolling = 0;
    if (GetCapture() == state->window)
        ReleaseCapture();
}

void onMouseWheel(MainWindowState* state, WPARAM wParam, LPARAM lParam)
{
    POINT point = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ScreenToClient(state->window, &point);
    if (state->year.shown || liveConnectionCount() != 0 || !PtInRect(&skin.rects[kElementLog], point))
        return;
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    state->listScroll = std::max(0, state->listScroll - notches * kWheelRows);
    invalidateAll(state, true);
}
