// rimcutter's picture area, painted into a memory device context of a client area's size:
// the picture comes from one zoomed copy that lasts from paint to paint.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "rimcutter/regiontool.h"
#include "rimcutter/toolpaint_win.h"

namespace {

// Picture pixel (x, y) has the colour red x, green y, blue 100 (x and y below 256).
COLORREF pictureColour(int x, int y) { return RGB(x % 256, y % 256, 100); }

class ToolPaint : public testing::Test {
protected:
    void SetUp() override
    {
        resetRegionTool();
        screen_ = GetDC(nullptr);
        window_ = CreateCompatibleDC(screen_);
        client_ = RECT { 0, 0, 400, 300 };
        windowBitmap_ = CreateCompatibleBitmap(screen_, client_.right, client_.bottom);
        oldWindowBitmap_ = SelectObject(window_, windowBitmap_);

        // Far larger than the client area: 1000 x 800, made through a 32-bit description.
        regionTool.imageWidth = 1000;
        regionTool.imageHeight = 800;
        std::vector<uint32_t> pixels(size_t(regionTool.imageWidth) * size_t(regionTool.imageHeight));
        for (int y = 0; y < regionTool.imageHeight; ++y)
            for (int x = 0; x < regionTool.imageWidth; ++x) {
                const COLORREF c = pictureColour(x, y);
                pixels[size_t(y) * size_t(regionTool.imageWidth) + size_t(x)]
                    = uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
            }
        BITMAPINFO description {};
        description.bmiHeader.biSize = sizeof description.bmiHeader;
        description.bmiHeader.biWidth = regionTool.imageWidth;
        description.bmiHeader.biHeight = -regionTool.imageHeight; // top-down
        description.bmiHeader.biPlanes = 1;
        description.bmiHeader.biBitCount = 32;
        HBITMAP picture = CreateCompatibleBitmap(screen_, regionTool.imageWidth, regionTool.imageHeight);
        SetDIBits(screen_, picture, 0, UINT(regionTool.imageHeight), pixels.data(), &description, DIB_RGB_COLORS);
        regionTool.picture = picture;
    }
    void TearDown() override
    {
        discardToolCanvas(&canvas_);
        DeleteObject(static_cast<HBITMAP>(regionTool.picture));
        regionTool.picture = nullptr;
        resetRegionTool();
        SelectObject(window_, oldWindowBitmap_);
        DeleteObject(windowBitmap_);
        DeleteDC(window_);
        ReleaseDC(nullptr, screen_);
    }

    void paint() { paintRegionTool(window_, client_, &canvas_); }

    // The colour at device pixel (x, y), read with the mapping that painting left.
    COLORREF pixel(int x, int y)
    {
        SaveDC(window_);
        SetMapMode(window_, MM_TEXT);
        const COLORREF colour = GetPixel(window_, x, y);
        RestoreDC(window_, -1);
        return colour;
    }

    // Every picture pixel of the samples covers its zoom x zoom block, 5 units in.
    void expectPictureAt(int zoom)
    {
        for (POINT p : { POINT { 10, 10 }, POINT { 40, 25 }, POINT { 70, 52 } })
            for (int dx : { 0, zoom - 1 })
                for (int dy : { 0, zoom - 1 })
                    EXPECT_EQ(pixel((5 + p.x) * zoom + dx, (5 + p.y) * zoom + dy), pictureColour(p.x, p.y))
                        << "zoom " << zoom << ", picture pixel " << p.x << "," << p.y;
    }

    HDC screen_ = nullptr;
    HDC window_ = nullptr;
    HBITMAP windowBitmap_ = nullptr;
    HGDIOBJ oldWindowBitmap_ = nullptr;
    RECT client_ {};
    ToolCanvas canvas_ {};
};

TEST_F(ToolPaint, MouseMovesRepaintFromOneZoomedCopyTheSizeOfTheClientArea)
{
    regionTool.zoom = 2;
    trackCursor(ShapePoint { 5 + 30, 5 + 20 });
    paint();
    ASSERT_NE(canvas_.zoomed, nullptr);
    // The picture at 200 % would be 2010 x 1610 pixels with its margin: only the client shows.
    EXPECT_EQ(canvas_.width, 400);
    EXPECT_EQ(canvas_.height, 300);
    expectPictureAt(2);
    EXPECT_EQ(pixel(1, 1), RGB(0, 0, 0)); // the margin
    // The cross-hair inverts the cursor's column and row.
    EXPECT_EQ(pixel((5 + 30) * 2, (5 + 60) * 2), RGB(255 - 30, 255 - 60, 255 - 100));
    EXPECT_EQ(pixel((5 + 70) * 2 + 1, (5 + 20) * 2 + 1), RGB(255 - 70, 255 - 20, 255 - 100));

    const HBITMAP zoomed = canvas_.zoomed;
    const HBITMAP composition = canvas_.composition;
    for (int step = 1; step <= 5; ++step) {
        trackCursor(ShapePoint { 5 + 30 + step, 5 + 20 });
        paint();
    }
    EXPECT_EQ(canvas_.zoomed, zoomed);
    EXPECT_EQ(canvas_.composition, composition);
    EXPECT_EQ(pixel((5 + 30) * 2, (5 + 60) * 2), pictureColour(30, 60)); // the old column is back
    EXPECT_EQ(pixel((5 + 35) * 2, (5 + 60) * 2), RGB(255 - 35, 255 - 60, 255 - 100));

    // Another zoom, or another picture in the same place, makes the copy anew.
    regionTool.zoom = 4;
    paint();
    EXPECT_EQ(canvas_.width, 400);
    expectPictureAt(4);
    regionTool.zoom = 1;
    paint();
    EXPECT_EQ(canvas_.width, 400);
    expectPictureAt(1);
    discardToolCanvas(&canvas_);
    EXPECT_EQ(canvas_.zoomed, nullptr);
    paint();
    EXPECT_NE(canvas_.zoomed, nullptr);
    expectPictureAt(1);
}

// A traced outline shows on any picture: a bright line one device pixel wide with a dark edge
// on both sides, through the middle of the picture pixels it runs along, at every zoom.
TEST_F(ToolPaint, OutlinesAreABrightLineOnADarkEdge)
{
    beginShape(kShapeRectangle);
    for (ShapePoint corner : { ShapePoint { 5 + 10, 5 + 10 }, ShapePoint { 5 + 30, 5 + 20 } }) {
        clickPoint(corner, true);
        clickPoint(corner, false);
    }
    ASSERT_EQ(regionTool.shapeCount, 1u);
    const COLORREF yellow = RGB(255, 214, 0), black = RGB(0, 0, 0);
    const struct {
        int zoom;
        int left, top, right; // device columns and row of the line: (5 + pixel) * zoom + zoom / 2
    } cases[] = {
        { 2, 31, 31, 71 },
        { 4, 62, 62, 142 },
        { 1, 15, 15, 35 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoom);
        regionTool.zoom = c.zoom;
        paint();
        const int middle = c.top + 3 * c.zoom; // a row of the left side, below the corner
        EXPECT_EQ(pixel(c.left, middle), yellow);
        EXPECT_EQ(pixel(c.left - 1, middle), black);
        EXPECT_EQ(pixel(c.left + 1, middle), black);
        EXPECT_EQ(pixel(c.right, middle), yellow);
        EXPECT_EQ(pixel(c.right + 1, middle), black);
        EXPECT_EQ(pixel(c.left + 3, c.top), yellow); // the top side
        EXPECT_EQ(pixel(c.left + 3, c.top - 1), black);
        // Two pixels in from the line the picture shows again.
        EXPECT_EQ(pixel(c.left + 2, middle), pictureColour((c.left + 2) / c.zoom - 5, middle / c.zoom - 5));
    }
}

// Before a picture is open the area is not merely black: one line in its middle says how to
// begin, above the status bar.
TEST_F(ToolPaint, TheEmptyAreaSaysHowToBegin)
{
    DeleteObject(static_cast<HBITMAP>(regionTool.picture));
    regionTool.picture = nullptr;
    regionTool.imageWidth = 0;
    regionTool.imageHeight = 0;
    regionTool.statusHeight = 20;
    RECT all = client_;
    FillRect(window_, &all, HBRUSH(GetStockObject(BLACK_BRUSH)));
    paint();
    int inkTop = 300, inkBottom = -1, inkLeft = 400, inkRight = -1;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (pixel(x, y) != RGB(0, 0, 0)) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    ASSERT_GE(inkBottom, 0) << "no hint";
    EXPECT_LT(inkBottom - inkTop, 20); // one line
    // In the middle of the 280 pixels above the bar; Wine measures the line a little wider than
    // it draws it, which moves it a few pixels left.
    EXPECT_LE(abs((inkTop + inkBottom) / 2 - 140), 3);
    EXPECT_LE(abs((inkLeft + inkRight) / 2 - 200), 16) << inkLeft << " to " << inkRight;
}

TEST_F(ToolPaint, ASmallPictureKeepsACopyOfItsOwnSize)
{
    regionTool.imageWidth = 100; // the top-left 100 x 80 of the picture
    regionTool.imageHeight = 80;
    regionTool.zoom = 2;
    paint();
    // From the client's corner to the picture's far corner, (5 + 100) x (5 + 80) units at 200 %.
    EXPECT_EQ(canvas_.width, 210);
    EXPECT_EQ(canvas_.height, 170);
    expectPictureAt(2);
}

} // namespace
