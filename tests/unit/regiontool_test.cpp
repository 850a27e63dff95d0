#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "fakes/fakeplatform.h"
#include "fakes/fakeregiontoolwindow.h"
#include "rimcutter/regiontool.h"
#include "support.h"

namespace {

// Clicks and moves are given in window-logical units; the picture sits 5 units in, so
// picture pixel (x, y) is clicked at (x + 5, y + 5).
ShapePoint at(int32_t x, int32_t y) { return ShapePoint { x + 5, y + 5 }; }

class RegionTool : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetFakeToolWindow();
        resetRegionTool();
        regionTool.imageWidth = 200;
        regionTool.imageHeight = 100;
    }
    void TearDown() override { resetRegionTool(); }

    static void click(int32_t x, int32_t y)
    {
        clickPoint(at(x, y), true);
        clickPoint(at(x, y), false);
    }
    static void rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, ShapeKind kind = kShapeRectangle)
    {
        beginShape(kind);
        click(x1, y1);
        click(x2, y2);
    }
    static std::string text()
    {
        RegionText text;
        const size_t length = formatRegionText(text);
        EXPECT_EQ(length, strlen(text.data()));
        return std::string(text.data(), length);
    }
};

const char kOpening[] = "<region type=\"\" x=\"\" y=\"\" width=\"200\" height=\"100\">\r\n";

TEST_F(RegionTool, PointsClampToThePictureAfterTheMargin)
{
    struct Case {
        int32_t width, height;
        ShapePoint in, out;
    } cases[] = {
        { 0, 0, { 0, 0 }, { 0, 0 } }, // no picture: everything is (0, 0)
        { 0, 0, { 300, 250 }, { 0, 0 } },
        { 0, 0, { 65535, 3 }, { 0, 0 } },
        { 200, 100, { 4, 2 }, { 0, 0 } }, // inside the margin
        { 200, 100, { 5, 5 }, { 0, 0 } },
        { 200, 100, { 35, 45 }, { 30, 40 } },
        { 200, 100, { 205, 105 }, { 200, 100 } }, // one beyond the last pixel is still allowed
        { 200, 100, { 206, 106 }, { 200, 100 } },
        { 200, 100, { 65535, 65535 }, { 200, 100 } },
    };
    for (const Case& c : cases) {
        regionTool.imageWidth = c.width;
        regionTool.imageHeight = c.height;
        const ShapePoint p = clampToImage(c.in);
        EXPECT_EQ(p.x, c.out.x) << c.in.x << "," << c.in.y << " in " << c.width;
        EXPECT_EQ(p.y, c.out.y) << c.in.x << "," << c.in.y << " in " << c.width;
    }
}

TEST_F(RegionTool, NormalizeBoxCountsBothCorners)
{
    struct Case {
        ShapePoint a, b;
        int32_t x, y, width, height;
    } cases[] = {
        { { 30, 40 }, { 10, 20 }, 10, 20, 21, 21 },
        { { 10, 20 }, { 30, 40 }, 10, 20, 21, 21 },
        { { 10, 40 }, { 30, 20 }, 10, 20, 21, 21 },
        { { 7, 7 }, { 7, 7 }, 7, 7, 1, 1 },
    };
    for (const Case& c : cases) {
        const ShapeBox box = normalizeBox(c.a, c.b);
        EXPECT_EQ(box.x, c.x);
        EXPECT_EQ(box.y, c.y);
        EXPECT_EQ(box.width, c.width);
        EXPECT_EQ(box.height, c.height);
    }
}

TEST_F(RegionTool, ALoneRectangleIsWrittenAsTheRegionItself)
{
    rectangle(30, 40, 10, 20);
    EXPECT_EQ(text(), "\t<region type=\"\" x=\"10\" y=\"20\" width=\"21\" height=\"21\" />\r\n\t");
}

TEST_F(RegionTool, EveryOtherListIsWrittenAsShapesInARegion)
{
    // No shapes at all.
    EXPECT_EQ(text(), std::string(kOpening) + "</region>\r\n");

    // One ellipse.
    rectangle(30, 40, 10, 20, kShapeEllipse);
    EXPECT_EQ(text(),
        std::string(kOpening)
            + "\t<ellipse x=\"10\" y=\"20\" width=\"21\" height=\"21\" mode=\"add\" />\r\n"
              "</region>\r\n");

    // A rectangle and another shape, in the order finished. A rectangle element covers
    // width + 1 columns and height + 1 rows when loaded, so the traced 10 x 5 pixels are
    // written as width 9, height 4.
    clearShapes();
    rectangle(0, 0, 9, 4);
    rectangle(199, 99, 150, 60, kShapeEllipse);
    EXPECT_EQ(text(),
        std::string(kOpening)
            + "\t<rectangle x=\"0\" y=\"0\" width=\"9\" height=\"4\" mode=\"add\" />\r\n"
              "\t<ellipse x=\"150\" y=\"60\" width=\"50\" height=\"40\" mode=\"add\" />\r\n"
              "</region>\r\n");

    // Two rectangles are no longer form A either.
    clearShapes();
    rectangle(1, 2, 3, 4);
    rectangle(1, 2, 3, 4);
    EXPECT_EQ(text(),
        std::string(kOpening)
            + "\t<rectangle x=\"1\" y=\"2\" width=\"2\" height=\"2\" mode=\"add\" />\r\n"
              "\t<rectangle x=\"1\" y=\"2\" width=\"2\" height=\"2\" mode=\"add\" />\r\n"
              "</region>\r\n");
}

TEST_F(RegionTool, PolylinePointsAreRelativeToTheirBoundingBox)
{
    beginShape(kShapePolyline);
    click(100, 50);
    click(120, 50);
    click(110, 70);
    endPolyline(true);
    EXPECT_EQ(text(),
        std::string(kOpening)
            + "\t<polyline x=\"100\" y=\"50\" width=\"21\" height=\"21\" mode=\"add\">"
              "\r\n\t\t0\t0\t20\t0\t10\t20"
              "\r\n\t</polyline>\r\n"
              "</region>\r\n");
}

TEST_F(RegionTool, PolylineLinesHoldFourPoints)
{
    beginShape(kShapePolyline);
    for (int i = 0; i < 5; ++i)
        click(10 + i, 20 + 2 * i);
    endPolyline(true);
    EXPECT_EQ(text(),
        std::string(kOpening)
            + "\t<polyline x=\"10\" y=\"20\" width=\"5\" height=\"9\" mode=\"add\">"
              "\r\n\t\t0\t0\t1\t2\t2\t4\t3\t6"
              "\r\n\t\t4\t8"
              "\r\n\t</polyline>\r\n"
              "</region>\r\n");
}

TEST_F(RegionTool, RightClickEndsAPolylineOfTwoPointsOrMore)
{
    beginShape(kShapePolyline);
    click(10, 10);
    endPolyline(false);
    endPolyline(true); // one fixed point: the polyline goes on
    EXPECT_EQ(regionTool.shapeCount, 0u);
    EXPECT_EQ(regionTool.pending.kind, kShapePolyline);
    EXPECT_EQ(fakeToolWindow.status[0], "Press left mouse button to add a point, right button to end.");

    trackCursor(at(40, 30)); // the rubber band is not stored
    click(20, 15);
    endPolyline(false);
    EXPECT_EQ(regionTool.shapeCount, 0u); // only the press ends it
    endPolyline(true);
    ASSERT_EQ(regionTool.shapeCount, 1u);
    const RegionShape& shape = regionTool.shapes[0];
    EXPECT_EQ(shape.kind, kShapePolyline);
    ASSERT_EQ(shape.count, 2u);
    EXPECT_EQ(shape.points[0].x, 10);
    EXPECT_EQ(shape.points[1].x, 20);
    EXPECT_EQ(shape.points[1].y, 15);
    EXPECT_EQ(regionTool.pending.kind, kNoShape);
    EXPECT_EQ(fakeToolWindow.status[0], "");

    // A right click ends nothing but a polyline.
    rectangle(1, 1, 1, 1);
    beginShape(kShapeRectangle);
    click(3, 3);
    endPolyline(true);
    EXPECT_EQ(regionTool.shapeCount, 2u);
    EXPECT_EQ(regionTool.pending.count, 1u);
}

TEST_F(RegionTool, The4096thPointFinishesThePolyline)
{
    regionTool.imageWidth = 5000;
    beginShape(kShapePolyline);
    for (int i = 0; i < 4095; ++i)
        click(i, i % 2);
    EXPECT_EQ(regionTool.shapeCount, 0u);
    EXPECT_EQ(regionTool.pending.count, 4095u);
    click(4095, 7);
    ASSERT_EQ(regionTool.shapeCount, 1u);
    EXPECT_EQ(regionTool.shapes[0].count, 4096u);
    EXPECT_EQ(regionTool.shapes[0].points[4095].x, 4095);
    EXPECT_EQ(regionTool.shapes[0].points[4095].y, 7);
    EXPECT_EQ(regionTool.pending.kind, kNoShape);
    click(1, 1); // nothing in progress any more
    EXPECT_EQ(regionTool.shapeCount, 1u);
}

TEST_F(RegionTool, The257thShapeIsDropped)
{
    for (int i = 0; i < 256; ++i)
        rectangle(i % 200, 0, 0, 1);
    ASSERT_EQ(regionTool.shapeCount, 256u);
    rectangle(5, 6, 7, 8, kShapeEllipse);
    EXPECT_EQ(regionTool.shapeCount, 256u);
    EXPECT_EQ(regionTool.shapes[255].kind, kShapeRectangle);
    EXPECT_EQ(regionTool.shapes[255].points[0].x, 55);
    EXPECT_EQ(regionTool.pending.kind, kNoShape); // the dropped shape is finished all the same
    EXPECT_TRUE(fakeToolWindow.messages.empty());
}

TEST_F(RegionTool, CursorStatusShowsTheDistanceFromTheLastPoint)
{
    struct Step {
        const char* action; // "move", "click", "ellipse", "polyline", "right"
        int32_t x, y;
        const char* status1;
    } steps[] = {
        { "move", 12, 13, "x = 12, y = 13" },
        { "polyline", 0, 0, "x = 12, y = 13" },
        { "move", 30, 40, "x = 30, y = 40" }, // no fixed point yet
        { "click", 30, 40, "x = 30, y = 40" },
        { "move", 25, 50, "x = 25, y = 50, dx = -5, dy = 10" },
        { "click", 25, 50, "x = 25, y = 50, dx = -5, dy = 10" },
        { "move", 0, 0, "x = 0, y = 0, dx = -25, dy = -50" },
        { "right", 0, 0, "x = 0, y = 0, dx = -25, dy = -50" },
        { "move", 1, 1, "x = 1, y = 1" }, // finished
        { "ellipse", 0, 0, "x = 1, y = 1" },
        { "click", 100, 60, "x = 1, y = 1" },
        { "move", 250, 90, "x = 200, y = 90, dx = 100, dy = 30" },
    };
    for (const Step& s : steps) {
        const std::string action = s.action;
        if (action == "move")
            trackCursor(at(s.x, s.y));
        else if (action == "click")
            click(s.x, s.y);
        else if (action == "polyline")
            beginShape(kShapePolyline);
        else if (action == "ellipse")
            beginShape(kShapeEllipse);
        else
            endPolyline(true);
        EXPECT_EQ(fakeToolWindow.status[1], s.status1) << action << " " << s.x << "," << s.y;
    }
    EXPECT_EQ(regionTool.cursorX, 200);
    EXPECT_EQ(regionTool.cursorY, 90);
    // The rubber band follows the cursor.
    EXPECT_EQ(regionTool.pending.points[1].x, 200);
    EXPECT_EQ(regionTool.pending.points[1].y, 90);
    EXPECT_EQ(fakeToolWindow.status[0], "Press left mouse button to select top/left, then bottom/right.");
}

TEST_F(RegionTool, ClicksWithoutAShapeInProgressChangeNothing)
{
    const int repaints = fakeToolWindow.repaints;
    click(10, 10);
    endPolyline(true);
    EXPECT_EQ(fakeToolWindow.repaints, repaints);
    EXPECT_EQ(regionTool.shapeCount, 0u);
}

TEST_F(RegionTool, ACopyOfTheLastShapeIsPlacedAtTheCursor)
{
    beginCopyOfLast(); // empty list: nothing
    EXPECT_FALSE(regionTool.placingCopy);
    EXPECT_EQ(fakeToolWindow.status[0], "");

    beginShape(kShapePolyline);
    click(100, 50);
    click(120, 50);
    click(110, 70);
    endPolyline(true);
    beginCopyOfLast();
    EXPECT_TRUE(regionTool.placingCopy);
    EXPECT_EQ(fakeToolWindow.status[0], "Press left mouse button to place copy.");
    EXPECT_EQ(regionTool.pendingCapacity, 3u);

    trackCursor(at(10, 20));
    moveCopyToCursor();
    trackCursor(at(30, 30)); // no dx/dy while placing a complete copy
    EXPECT_EQ(fakeToolWindow.status[1], "x = 30, y = 30");
    moveCopyToCursor();
    click(150, 90); // commits where it was last drawn, not where clicked
    ASSERT_EQ(regionTool.shapeCount, 2u);
    EXPECT_FALSE(regionTool.placingCopy);
    const ShapePoint expected[] = { { 30, 30 }, { 50, 30 }, { 40, 50 } };
    const RegionShape& copy = regionTool.shapes[1];
    ASSERT_EQ(copy.count, 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.points[i].x, expected[i].x) << i;
        EXPECT_EQ(copy.points[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(regionTool.shapes[0].points[0].x, 100); // the original stays

    // A copied polyline also ends with the right button.
    beginCopyOfLast();
    trackCursor(at(0, 0));
    moveCopyToCursor();
    endPolyline(true);
    EXPECT_EQ(regionTool.shapeCount, 3u);
    EXPECT_EQ(regionTool.shapes[2].points[1].x, 20);

    // Choosing a tool abandons the copy.
    beginCopyOfLast();
    beginShape(kShapeRectangle);
    EXPECT_FALSE(regionTool.placingCopy);
    EXPECT_EQ(regionTool.pending.count, 0u);
}

TEST_F(RegionTool, RemoveAndClear)
{
    removeLastShape(); // empty: nothing
    rectangle(1, 1, 2, 2);
    rectangle(3, 3, 4, 4, kShapeEllipse);
    beginShape(kShapePolyline);
    click(5, 5);
    removeLastShape(); // the shape in progress is not touched
    ASSERT_EQ(regionTool.shapeCount, 1u);
    EXPECT_EQ(regionTool.shapes[0].kind, kShapeRectangle);
    EXPECT_EQ(regionTool.shapes[1].kind, kNoShape);
    EXPECT_EQ(regionTool.pending.count, 1u);

    trackCursor(at(7, 8));
    clearShapes();
    EXPECT_EQ(regionTool.shapeCount, 0u);
    EXPECT_EQ(regionTool.pending.kind, kNoShape);
    EXPECT_EQ(regionTool.pendingCapacity, 0u);
    // The status line keeps its texts.
    EXPECT_EQ(fakeToolWindow.status[0], "Press left mouse button to add a point, right button to end.");
    EXPECT_EQ(fakeToolWindow.status[1], "x = 7, y = 8, dx = 2, dy = 3");
}

TEST_F(RegionTool, TheLargestTextIsWrittenWhole)
{
    // 256 polylines of 4096 points come to megabytes: far beyond the first 256 KiB.
    regionTool.imageWidth = 1000;
    regionTool.imageHeight = 1000;
    for (int shape = 0; shape < 256; ++shape) {
        beginShape(kShapePolyline);
        for (int i = 0; i < 4096; ++i)
            clickPoint(i % 2 == 0 ? at(10, 10) : at(999, 999), true);
    }
    ASSERT_EQ(regionTool.shapeCount, 256u);
    const std::string header = "\t<polyline x=\"10\" y=\"10\" width=\"990\" height=\"990\" mode=\"add\">";
    const std::string footer = "\r\n\t</polyline>\r\n";
    // Per polyline: 2048 points "\t0\t0" (4 bytes), 2048 points "\t989\t989" (8 bytes), and
    // 1024 line starts "\r\n\t" (3 bytes).
    const size_t points = 2048 * 4 + 2048 * 8 + 1024 * 3;
    const std::string opening = "<region type=\"\" x=\"\" y=\"\" width=\"1000\" height=\"1000\">\r\n";
    const std::string all = text();
    EXPECT_EQ(all.size(), opening.size() + 256 * (header.size() + points + footer.size()) + strlen("</region>\r\n"));
    const std::string ending = "\t989\t989" + footer + "</region>\r\n";
    EXPECT_EQ(all.substr(all.size() - ending.size()), ending);
    const std::string start = header + "\r\n\t\t0\t0\t989\t989\t0\t0";
    EXPECT_EQ(all.substr(opening.size(), start.size()), start);
}

TEST_F(RegionTool, ClipboardGetsTheText)
{
    rectangle(30, 40, 10, 20);
    copyRegionText();
    EXPECT_TRUE(fakeToolWindow.clipboardSet);
    EXPECT_EQ(fakeToolWindow.clipboard, "\t<region type=\"\" x=\"10\" y=\"20\" width=\"21\" height=\"21\" />\r\n\t");
}

// Shapes whose text was neither saved nor copied are only thrown away when the user agrees.
TEST_F(RegionTool, UnsavedShapesGoOnlyWhenTheUserAgrees)
{
    EXPECT_TRUE(mayDiscardShapes(kAskExit)); // nothing traced: nothing to lose
    rectangle(1, 1, 2, 2);
    deleteAllShapes();
    ASSERT_EQ(fakeToolWindow.questions.size(), 1u);
    EXPECT_EQ(fakeToolWindow.questions[0], kAskDeleteAll);
    EXPECT_EQ(regionTool.shapeCount, 1u); // answered No
    EXPECT_FALSE(mayDiscardShapes(kAskExit));
    EXPECT_EQ(fakeToolWindow.questions.back(), kAskExit);

    fakeToolWindow.clipboardFails = true; // a failed copy saves nothing and says nothing
    copyRegionText();
    EXPECT_EQ(fakeToolWindow.status[0], "");
    EXPECT_FALSE(mayDiscardShapes(kAskExit));
    fakeToolWindow.clipboardFails = false;
    copyRegionText();
    EXPECT_EQ(fakeToolWindow.status[0], "The region text is on the clipboard: paste it into skin.xml.");
    const size_t asked = fakeToolWindow.questions.size();
    EXPECT_TRUE(mayDiscardShapes(kAskExit));
    rectangle(3, 3, 4, 4); // a new shape is unsaved again, and so is a removal
    removeLastShape();
    EXPECT_FALSE(mayDiscardShapes(kAskExit));
    saveRegionText((scratchDirectory() + "outline.txt").c_str());
    EXPECT_TRUE(mayDiscardShapes(kAskExit));
    deleteAllShapes(); // saved: no question
    EXPECT_EQ(fakeToolWindow.questions.size(), asked + 1);
    EXPECT_EQ(regionTool.shapeCount, 0u);

    rectangle(1, 1, 2, 2);
    fakeToolWindow.answer = true;
    deleteAllShapes();
    EXPECT_EQ(regionTool.shapeCount, 0u);
    EXPECT_TRUE(mayDiscardShapes(kAskExit));
}

TEST_F(RegionTool, SavingWritesExactlyTheTextOrSaysItFailed)
{
    const std::string path = scratchDirectory() + "outline.txt";
    writePlainFile(path, "an older outline that is much longer than the new one");
    rectangle(30, 40, 10, 20, kShapeEllipse);
    saveRegionText(path.c_str());
    EXPECT_TRUE(fakeToolWindow.messages.empty());
    EXPECT_EQ(readPlainFile(path),
        std::string(kOpening)
            + "\t<ellipse x=\"10\" y=\"20\" width=\"21\" height=\"21\" mode=\"add\" />\r\n"
              "</region>\r\n");
    EXPECT_FALSE(fileExists(path + ".tmp"));

    const std::string missing = scratchDirectory() + "no such folder/outline.txt";
    saveRegionText(missing.c_str());
    ASSERT_EQ(fakeToolWindow.messages.size(), 1u);
    EXPECT_EQ(fakeToolWindow.messages[0], "Failed to write to the file.");
    EXPECT_FALSE(fileExists(missing));

    // A target that cannot be replaced (a folder) is reported, not passed over.
    const std::string folder = scratchDirectory() + "a folder";
    std::filesystem::create_directory(folder);
    saveRegionText(folder.c_str());
    EXPECT_EQ(fakeToolWindow.messages.size(), 2u);
    EXPECT_FALSE(fileExists(folder + ".tmp"));
}

} // namespace
