#include <gtest/gtest.h>

#include <string>

#include "skin/tooltip.h"

namespace {

class TipWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXA tipClass {};
        tipClass.cbSize = sizeof tipClass;
        tipClass.style = CS_SAVEBITS;
        tipClass.lpfnWndProc = tipWindowProc;
        tipClass.hInstance = GetModuleHandleA(nullptr);
        tipClass.lpszClassName = kTipWindowClass;
        RegisterClassExA(&tipClass);
    }
    void SetUp() override
    {
        if (GetSystemMetrics(SM_CXSCREEN) == 0)
            GTEST_SKIP() << "no display";
        window = ensureTipWindow(GetModuleHandleA(nullptr));
        if (window == nullptr)
            GTEST_SKIP() << "no top-level windows without a display";
        SetCursorPos(300, 400);
    }
    void TearDown() override
    {
        if (window != nullptr)
            DestroyWindow(window);
    }

    RECT rect() const
    {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    // The tip's frame: its window size minus its text rectangle.
    SIZE frame() const
    {
        RECT r = { 0, 0, 0, 0 };
        AdjustWindowRectEx(
            &r, DWORD(GetWindowLongA(window, GWL_STYLE)), FALSE, DWORD(GetWindowLongA(window, GWL_EXSTYLE)));
        return { r.right - r.left, r.bottom - r.top };
    }
    SIZE textSize(const char* text, int width) const
    {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(window, WM_GETFONT, 0, 0)));
        RECT r = { 0, 0, width, 0 };
        DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        return { r.right, r.bottom };
    }
    void setText(const char* text) { SendMessageA(window, WM_SETTEXT, 0, LPARAM(text)); }
    void show(uint32_t flags, int dx, int dy)
    {
        SendMessageA(window, WM_TIP_SHOW, flags, MAKELPARAM(uint16_t(int16_t(dx)), uint16_t(int16_t(dy))));
    }

    HWND window = nullptr;
};

TEST_F(TipWindow, OneLineTipIsTheTextPlusTwoPlusTheBorder)
{
    const char* text = "Short help";
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, LPARAM(text)), TRUE);
    const SIZE measured = textSize(text, 300);
    const RECT r = rect();
    EXPECT_EQ(r.right - r.left, measured.cx + 2 + frame().cx);
    EXPECT_EQ(r.bottom - r.top, measured.cy + 2 + frame().cy);
    EXPECT_FALSE(IsWindowVisible(window)); // setting the text does not show it
    EXPECT_EQ(GetWindowTextLengthA(window), 0); // nor is it the window's own text
}

TEST_F(TipWindow, LongTextWrapsWithin300PixelsAndALongWordWidensIt)
{
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "word ";
    setText(words.c_str());
    RECT r = rect();
    EXPECT_LE(r.right - r.left, 300 + 2 + frame().cx);
    EXPECT_GT(r.bottom - r.top, 2 * textSize("word", 300).cy); // more than one line

    const std::string longWord(120, 'W');
    setText(longWord.c_str());
    r = rect();
    EXPECT_GT(r.right - r.left, 300 + 2 + frame().cx);
}

TEST_F(TipWindow, ShowPlacesItAboveRightOfThePointerAndFollowsOnlyWhenAsked)
{
    setText("Help");
    POINT pointer;
    GetCursorPos(&pointer);
    show(TIP_SHOW, 5, -5);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT r = rect();
    EXPECT_EQ(r.left, pointer.x + 5);
    EXPECT_EQ(r.bottom, pointer.y - 5);

    // Not following: a pointer move leaves it.
    SendMessageA(window, WM_TIP_MOVE, 100, 200);
    EXPECT_EQ(rect().left, r.left);

    show(TIP_SHOW | TIP_FOLLOW, 5, -5);
    SendMessageA(window, WM_TIP_MOVE, 100, 200);
    r = rect();
    EXPECT_EQ(r.left, 105);
    EXPECT_EQ(r.bottom, 195);

    // A new text while shown re-sizes and re-places it without hiding it.
    setText("A somewhat longer help text");
    EXPECT_TRUE(IsWindowVisible(window));
    GetCursorPos(&pointer);
    EXPECT_EQ(rect().left, pointer.x + 5);

    show(0, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    const RECT hidden = rect();
    SendMessageA(window, WM_TIP_MOVE, 10, 20); // hidden: not moved
    EXPECT_EQ(rect().left, hidden.left);
}

// At the screen's edges the tip stays whole on the screen and off the pointer.
TEST_F(TipWindow, NearTheScreensEdgesTheTipStaysOnTheScreen)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    setText("A tip in the corner of the screen");
    const POINT corners[]
        = { { screenWidth - 3, 2 }, { 2, 2 }, { screenWidth - 3, screenHeight - 3 }, { 2, screenHeight - 3 } };
    for (const POINT& pointer : corners) {
        SetCursorPos(pointer.x, pointer.y);
        POINT at;
        GetCursorPos(&at);
        show(TIP_SHOW, 5, -5);
        const RECT r = rect();
        EXPECT_GE(r.left, 0) << at.x << "," << at.y;
        EXPECT_GE(r.top, 0) << at.x << "," << at.y;
        EXPECT_LE(r.right, screenWidth) << at.x << "," << at.y;
        EXPECT_LE(r.bottom, screenHeight) << at.x << "," << at.y;
        EXPECT_FALSE(PtInRect(&r, at)) << "covers the pointer at " << at.x << "," << at.y;
    }
    // Where there is room it keeps its place above and right of the pointer.
    SetCursorPos(500, 400);
    show(TIP_SHOW, 5, -5);
    EXPECT_EQ(rect().left, 505);
    EXPECT_EQ(rect().bottom, 395);
}

TEST_F(TipWindow, DelayedTipStaysHiddenAndStillUntilItsTimer)
{
    setText("Later");
    show(TIP_SHOW | TIP_FOLLOW | TIP_DELAYED, 5, -5);
    EXPECT_FALSE(IsWindowVisible(window));
    const RECT placed = rect();
    SendMessageA(window, WM_TIP_MOVE, 10, 20); // within the delay: not moved
    EXPECT_EQ(rect().left, placed.left);
    SendMessageA(window, WM_TIMER, 1, 0); // the delay ends
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageA(window, WM_TIP_MOVE, 10, 20); // now it follows
    EXPECT_EQ(rect().left, 15);

    // Hidden during the delay: the timer then shows nothing.
    show(TIP_SHOW | TIP_DELAYED, 5, -5);
    show(0, 0, 0);
    SendMessageA(window, WM_TIMER, 1, 0);
    EXPECT_FALSE(IsWindowVisible(window));
}

} // namespace
