// The region text that rimcutter writes, put into a skin, gives telvane's skin loader the
// outline that was traced.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/programdirectory.h"
#include "rimcutter/regiontool.h"
#include "skin/skin.h"
#include "skin/skinscale.h"

namespace {

// Picture pixel (x, y) as the tool window hands it over: 5 logical units of margin.
ShapePoint at(int x, int y) { return ShapePoint { x + 5, y + 5 }; }

void click(int x, int y) { clickPoint(at(x, y), true); }

class RegionRoundTrip : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        memcpy(savedDirectory_, programDirectory, sizeof savedDirectory_);
        savedLength_ = programDirectoryLength;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "rimcutter_roundtrip_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "traced").c_str(), nullptr);
        setProgramDirectoryFromPath((folder_ + "telvane.exe").c_str());
        resetRegionTool();
        regionTool.imageWidth = 200;
        regionTool.imageHeight = 150;
    }
    void TearDown() override
    {
        releaseSkin();
        resetRegionTool();
        DeleteFileA((folder_ + "traced\\skin.xml").c_str());
        RemoveDirectoryA((folder_ + "traced").c_str());
        RemoveDirectoryA(folder_.c_str());
        memcpy(programDirectory, savedDirectory_, sizeof savedDirectory_);
        programDirectoryLength = savedLength_;
        CoUninitialize();
    }

    // The tool's text with its type filled in, as the skin author pastes it, loaded as a skin.
    bool loadTraced()
    {
        RegionText text;
        formatRegionText(text);
        std::string region(text.data(), text.length());
        const size_t type = region.find("type=\"\"");
        if (type == std::string::npos)
            return false;
        region.insert(type + 6, "MainWindow");
        const std::string document
            = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<skin>\r\n" + region + "\r\n</skin>\r\n";
        FILE* file = fopen((folder_ + "traced\\skin.xml").c_str(), "wb");
        if (file == nullptr)
            return false;
        fwrite(document.data(), 1, document.size(), file);
        fclose(file);
        return loadSkin("traced", kDesignDpi);
    }

    char savedDirectory_[sizeof programDirectory];
    uint32_t savedLength_;
    std::string folder_;
};

// Every pixel of the picture area, compared one by one.
void expectSameCoverage(HRGN loaded, HRGN traced)
{
    int differing = 0;
    for (int y = -2; y < 152; ++y)
        for (int x = -2; x < 202; ++x)
            if (!PtInRegion(loaded, x, y) != !PtInRegion(traced, x, y) && differing++ < 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " loaded " << PtInRegion(loaded, x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(RegionRoundTrip, TracedShapesComeBackAsTheWindowOutline)
{
    // A polygon, an ellipse, a copy of it placed elsewhere, and a rectangle, apart from each
    // other so that no shape's edge hides under another.
    const POINT outline[] = { { 10, 10 }, { 90, 10 }, { 100, 40 }, { 60, 70 }, { 20, 60 } };
    beginShape(kShapePolyline);
    for (const POINT& p : outline)
        click(p.x, p.y);
    endPolyline(true);
    beginShape(kShapeEllipse);
    click(170, 60);
    click(120, 10);
    beginCopyOfLast();
    trackCursor(at(120, 95));
    moveCopyToCursor();
    click(0, 0);
    beginShape(kShapeRectangle);
    click(80, 130);
    click(20, 90);
    ASSERT_EQ(regionTool.shapeCount, 4u);

    ASSERT_TRUE(loadTraced());
    EXPECT_EQ(skin.windowWidth, 200);
    EXPECT_EQ(skin.windowHeight, 150);
    ASSERT_NE(skin.regions[0], nullptr);

    // What was traced, in window pixels: the polygon through the clicked points, the ellipses
    // in the boxes whose corner pixels were clicked, the rectangle's pixels 20..80 x 90..130.
    HRGN traced = CreatePolygonRgn(outline, 5, WINDING);
    const RECT boxes[] = { { 120, 10, 171, 61 }, { 120, 95, 171, 146 } };
    for (const RECT& box : boxes) {
        HRGN ellipse = CreateEllipticRgn(box.left, box.top, box.right, box.bottom);
        CombineRgn(traced, traced, ellipse, RGN_OR);
        DeleteObject(ellipse);
    }
    HRGN rectangle = CreateRectRgn(20, 90, 81, 131);
    CombineRgn(traced, traced, rectangle, RGN_OR);
    DeleteObject(rectangle);

    expectSameCoverage(skin.regions[0], traced);
    DeleteObject(traced);
}

TEST_F(RegionRoundTrip, AnOutlineOfHundredsOfPointsComesBackWhole)
{
    // A star of 300 vertices around the picture's centre: some 2,600 bytes of point text.
    std::vector<POINT> outline;
    for (int i = 0; i < 300; ++i) {
        const double angle = 2 * 3.141592653589793 * i / 300;
        const double radius = i % 2 == 0 ? 70 : 45;
        outline.push_back({ LONG(lround(100 + radius * cos(angle))), LONG(lround(75 + 0.95 * radius * sin(angle))) });
    }
    beginShape(kShapePolyline);
    for (const POINT& p : outline)
        click(p.x, p.y);
    endPolyline(true);
    ASSERT_EQ(regionTool.shapeCount, 1u);
    ASSERT_EQ(regionTool.shapes[0].count, 300u);
    RegionText text;
    ASSERT_GT(formatRegionText(text), 2000u);

    ASSERT_TRUE(loadTraced());
    ASSERT_NE(skin.regions[0], nullptr);
    HRGN traced = CreatePolygonRgn(outline.data(), int(outline.size()), WINDING);
    expectSameCoverage(skin.regions[0], traced);
    DeleteObject(traced);
}

TEST_F(RegionRoundTrip, ALoneRectangleBecomesTheElementRectangle)
{
    beginShape(kShapeRectangle);
    click(30, 40);
    click(10, 20);
    ASSERT_TRUE(loadTraced());
    // No shapes: the element is its rectangle, which holds exactly the traced pixels.
    EXPECT_EQ(skin.regions[0], nullptr);
    EXPECT_EQ(skin.rects[0].left, 10);
    EXPECT_EQ(skin.rects[0].top, 20);
    EXPECT_EQ(skin.rects[0].right, 31);
    EXPECT_EQ(skin.rects[0].bottom, 41);
    EXPECT_EQ(skin.windowWidth, 21);
    EXPECT_EQ(skin.windowHeight, 21);
}

} // namespace
