// The skin loader under Wine: document rules, rectangles, fonts, outlines checked pixel by
// pixel, and the pictures of a skin folder.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/apperror.h"
#include "core/messagebox_win.h"
#include "core/programdirectory.h"
#include "skin/skin.h"
#include "skin/skinscale.h"

namespace {

// A skin folder of its own per test, under a fresh program directory in the temp folder.
class SkinFolder {
public:
    SkinFolder()
    {
        // Start-up initialises COM for the program's thread; the tests do it here.
        CoInitialize(nullptr);
        memcpy(savedDirectory_, programDirectory, sizeof savedDirectory_);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        snprintf(root_, sizeof root_, "%stelvane-skin-%lu-%d\\", temp, GetCurrentProcessId(), counter_++);
        CreateDirectoryA(root_, nullptr);
        snprintf(programDirectory, sizeof programDirectory, "%s", root_);
        programDirectoryLength = static_cast<uint32_t>(strlen(programDirectory));
        CreateDirectoryA((std::string(root_) + "s").c_str(), nullptr);
    }
    ~SkinFolder()
    {
        releaseSkin();
        memcpy(programDirectory, savedDirectory_, sizeof savedDirectory_);
        programDirectoryLength = static_cast<uint32_t>(strlen(programDirectory));
    }
    void write(const std::string& name, const std::string& content) const
    {
        FILE* file = fopen((std::string(root_) + "s\\" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
    void writeSkin(const std::string& body) const
    {
        write("skin.xml", "<?xml version=\"1.0\"?>\n<skin>\n" + body + "</skin>\n");
    }
    // A skin.xml in another folder of the program directory, made when missing.
    void writeIn(const std::string& folder, const std::string& content) const
    {
        CreateDirectoryA((std::string(root_) + folder).c_str(), nullptr);
        FILE* file = fopen((std::string(root_) + folder + "\\skin.xml").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
    void copyPicture(const char* from, const std::string& to) const
    {
        CopyFileA(
            (std::string(TELVANE_DIST_DIR) + "\\" + from).c_str(), (std::string(root_) + "s\\" + to).c_str(), FALSE);
    }

private:
    char root_[MAX_PATH];
    char savedDirectory_[sizeof programDirectory];
    static int counter_;
};
int SkinFolder::counter_ = 0;

// What a report showed: the code and inserts pending while its box was up.
struct Report {
    bool shown = false;
    int count = 0;
    uint32_t code = 0;
    uint32_t number1 = 0;
    uint32_t number2 = 0;
    std::string text1;
    std::string text2;
};

Report lastReport;

int WINAPI recordReport(HWND, LPCSTR, LPCSTR, UINT)
{
    lastReport.shown = true;
    ++lastReport.count;
    lastReport.code = AppError;
    lastReport.number1 = MessageArguments.number1;
    lastReport.number2 = MessageArguments.number2;
    lastReport.text1 = MessageArguments.text1;
    lastReport.text2 = MessageArguments.text2;
    return IDOK;
}

// Runs `load` with message boxes recorded instead of shown.
template <typename Load> Report watchReports(Load load)
{
    lastReport = Report {};
    const MessageBoxFunction saved = messageBoxFunction;
    messageBoxFunction = recordReport;
    load();
    messageBoxFunction = saved;
    return lastReport;
}

// No picture, outline or font, and no size: what a failed load leaves (the folder text and
// the scale of the failed skin may stay).
bool skinHoldsNothing()
{
    Skin held = skin;
    memset(held.folder, 0, sizeof held.folder);
    held.dpi = 0;
    static const Skin empty {};
    return memcmp(&held, &empty, sizeof held) == 0;
}

// Pixels of `region` within the box, as rows of '#' and '.'.
std::string coverage(HRGN region, int left, int top, int right, int bottom)
{
    std::string rows;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            rows += region != nullptr && PtInRegion(region, x, y) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

std::string coverageOfRect(int left, int top, int right, int bottom, int l, int t, int r, int b)
{
    std::string rows;
    for (int y = t; y < b; ++y) {
        for (int x = l; x < r; ++x)
            rows += x >= left && x < right && y >= top && y < bottom ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

TEST(SkinShapes, RectangleCoversBothEdges)
{
    SkinFolder folder;
    folder.writeSkin("<region type=\"MainWindow\" width=\"200\" height=\"100\">"
                     "<rectangle x=\"0\" y=\"0\" width=\"9\" height=\"9\"/></region>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    // Columns and rows 0..9: exactly 10 x 10 pixels.
    EXPECT_EQ(coverage(skin.regions[kElementMainWindow], -2, -2, 13, 13), coverageOfRect(0, 0, 10, 10, -2, -2, 13, 13));
    EXPECT_EQ(skin.windowWidth, 200);
    EXPECT_EQ(skin.windowHeight, 100);
    HRGN copy = copyWindowRegion();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, skin.regions[kElementMainWindow]);
    EXPECT_TRUE(EqualRgn(copy, skin.regions[kElementMainWindow]));
    DeleteObject(copy);
}

TEST(SkinShapes, EllipseIsInscribedInItsBoxMovedByTheRegionCorner)
{
    SkinFolder folder;
    folder.writeSkin("<region type=\"Heading\" x=\"10\" y=\"20\" width=\"50\" height=\"50\">"
                     "<ellipse x=\"5\" y=\"5\" width=\"30\" height=\"30\" mode=\"subtract\"/></region>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    HRGN expected = CreateEllipticRgn(15, 25, 45, 55);
    EXPECT_EQ(coverage(skin.regions[kElementHeading], 10, 20, 50, 60), coverage(expected, 10, 20, 50, 60));
    DeleteObject(expected);
    HRGN outline = skin.regions[kElementHeading];
    EXPECT_TRUE(PtInRegion(outline, 30, 40)); // the centre
    EXPECT_TRUE(PtInRegion(outline, 16, 40)); // left and top ends of the middle lines
    EXPECT_TRUE(PtInRegion(outline, 30, 26));
    EXPECT_FALSE(PtInRegion(outline, 14, 40));
    EXPECT_FALSE(PtInRegion(outline, 45, 40)); // right box edge excluded
    EXPECT_FALSE(PtInRegion(outline, 30, 55)); // bottom box edge excluded
    EXPECT_FALSE(PtInRegion(outline, 16, 26)); // box corner
    const RECT rect = skin.rects[kElementHeading];
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 60);
    EXPECT_EQ(rect.bottom, 70);
}

TEST(SkinShapes, PolylinePointTexts)
{
    struct Case {
        const char* name;
        const char* shape;
        int left, top, right, bottom; // the expected pixels, a rectangle
    };
    const Case cases[] = {
        { "spaces", "<polyline x=\"2\" y=\"3\" mode=\"add\">0 0 100 0 100 50 0 50</polyline>", 2, 3, 102, 53 },
        { "tab, line breaks and trailing white space",
            "<polyline x=\"2\" y=\"3\">\n\t0 0\t100 0\r\n100 50\n0\t50 \t\r\n  </polyline>", 2, 3, 102, 53 },
        { "region corner moves the points", "<polyline>0 0 10 0 10 10 0 10</polyline>", 0, 0, 10, 10 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFolder folder;
        const bool moved = strcmp(c.name, "region corner moves the points") == 0;
        folder.writeSkin(std::string("<region type=\"Data\" x=\"") + (moved ? "30" : "0") + "\" y=\""
            + (moved ? "40" : "0") + "\" width=\"120\" height=\"60\">" + c.shape + "</region>\n");
        ASSERT_TRUE(loadSkin("s", kDesignDpi));
        const int dx = moved ? 30 : 0;
        const int dy = moved ? 40 : 0;
        // A winding polygon region leaves out its right and bottom edges.
        EXPECT_EQ(coverage(skin.regions[kElementData], dx - 1, dy - 1, dx + 104, dy + 56),
            coverageOfRect(c.left + dx, c.top + dy, c.right + dx, c.bottom + dy, dx - 1, dy - 1, dx + 104, dy + 56));
    }
}

TEST(SkinShapes, OddNumberCountEndsWithYZeroAndShortListsAddNothing)
{
    SkinFolder folder;
    // 10 0, 20 20, 0 (0): the triangle (10,0) (20,20) (0,0).
    folder.writeSkin("<region type=\"Data\"><polyline>10 0 20 20 0</polyline></region>\n"
                     "<region type=\"Time\"><polyline>10 20 30</polyline></region>\n"
                     "<region type=\"Log\"><polyline>   </polyline><polyline/></region>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    HRGN triangle = skin.regions[kElementData];
    ASSERT_NE(triangle, nullptr);
    EXPECT_TRUE(PtInRegion(triangle, 12, 8));
    EXPECT_TRUE(PtInRegion(triangle, 9, 3));
    EXPECT_FALSE(PtInRegion(triangle, 5, 10)); // left of the closing edge back to (0,0)
    EXPECT_FALSE(PtInRegion(triangle, 18, 4)); // right of the edge (10,0)-(20,20)
    // Two points, (10,20) and (30,0), make no polygon; nor do empty texts.
    EXPECT_EQ(skin.regions[kElementTime], nullptr);
    EXPECT_EQ(skin.regions[kElementLog], nullptr);
}

TEST(SkinShapes, RepeatedRegionReplacesOutlineAndKeepsUnnamedStates)
{
    SkinFolder folder;
    folder.copyPicture("default\\close_hilight.png", "a.png");
    folder.copyPicture("default\\close_pressed.png", "b.png");
    folder.writeSkin("<region type=\"CloseButton\" x=\"0\" y=\"0\" width=\"10\" height=\"10\">"
                     "<rectangle width=\"9\" height=\"9\"/>"
                     "<image type=\"enabled\" name=\"a.png\"/><image type=\"hilight\" name=\"a.png\"/>"
                     "<image type=\"disabled\" name=\"a.png\"/></region>\n"
                     "<region type=\"CloseButton\" x=\"100\" y=\"100\" width=\"20\" height=\"20\" textalign=\"rb\">"
                     "<rectangle x=\"5\" y=\"5\" width=\"4\" height=\"4\"/>"
                     "<image type=\"pressed\" name=\"b.png\"/><image type=\"disabled\"/></region>\n");
    // A picture is decoded when it is first asked for; the same ones.
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    EXPECT_EQ(skin.images[kElementCloseButton][kButtonEnabled], nullptr); // not decoded yet
    HRGN outline = skin.regions[kElementCloseButton];
    EXPECT_FALSE(PtInRegion(outline, 5, 5));
    EXPECT_TRUE(PtInRegion(outline, 105, 105));
    EXPECT_TRUE(PtInRegion(outline, 109, 109));
    EXPECT_FALSE(PtInRegion(outline, 110, 110));
    EXPECT_EQ(skin.rects[kElementCloseButton].left, 100);
    EXPECT_EQ(skin.textFormats[kElementCloseButton], 0x82Au);
    EXPECT_NE(skinPicture(kElementCloseButton, kButtonEnabled), nullptr);
    EXPECT_NE(skinPicture(kElementCloseButton, kButtonHilight), nullptr);
    EXPECT_NE(skinPicture(kElementCloseButton, kButtonPressed), nullptr);
    EXPECT_EQ(skinPicture(kElementCloseButton, kButtonDisabled), nullptr); // emptied by an image without name
}

TEST(SkinShapes, EveryPartScalesWithTheWindow)
{
    SkinFolder folder;
    folder.copyPicture("default\\background.png", "back.png"); // 434 x 334
    folder.writeSkin("<region type=\"MainWindow\" width=\"434\" height=\"334\"><image name=\"back.png\"/>"
                     "<rectangle x=\"0\" y=\"0\" width=\"9\" height=\"9\"/></region>\n"
                     "<region type=\"Heading\" x=\"10\" y=\"20\" width=\"50\" height=\"50\">"
                     "<ellipse x=\"5\" y=\"5\" width=\"30\" height=\"30\"/></region>\n"
                     "<region type=\"Data\" x=\"2\" y=\"3\" width=\"120\" height=\"60\">"
                     "<polyline>0 0 100 0 100 50 0 50</polyline></region>\n"
                     "<fonts><font type=\"Text\" face=\"Tahoma\" size=\"11\"/></fonts>\n");
    // At 150 % every place and size is half as large again, halves rounded up.
    ASSERT_TRUE(loadSkin("s", 144));
    EXPECT_EQ(skin.dpi, 144u);
    EXPECT_EQ(skin.windowWidth, 651);
    EXPECT_EQ(skin.windowHeight, 501);
    // The 10 x 10 pixels of the rectangle are 15 x 15.
    EXPECT_EQ(coverage(skin.regions[kElementMainWindow], -2, -2, 20, 20), coverageOfRect(0, 0, 15, 15, -2, -2, 20, 20));
    const RECT heading = skin.rects[kElementHeading];
    EXPECT_EQ(heading.left, 15);
    EXPECT_EQ(heading.top, 30);
    EXPECT_EQ(heading.right, 90);
    EXPECT_EQ(heading.bottom, 105);
    // The ellipse's box (15, 25)-(45, 55) at 96 DPI is (22.5, 37.5)-(67.5, 82.5).
    HRGN ellipse = CreateEllipticRgn(23, 38, 68, 83);
    EXPECT_EQ(coverage(skin.regions[kElementHeading], 15, 30, 90, 105), coverage(ellipse, 15, 30, 90, 105));
    DeleteObject(ellipse);
    // The polygon (2, 3)-(102, 53) is (3, 4.5)-(153, 79.5).
    EXPECT_EQ(coverage(skin.regions[kElementData], 0, 0, 160, 90), coverageOfRect(3, 5, 153, 80, 0, 0, 160, 90));
    BITMAP picture {};
    ASSERT_NE(skinPicture(kElementMainWindow, kButtonEnabled), nullptr);
    GetObjectA(skinPicture(kElementMainWindow, kButtonEnabled), sizeof picture, &picture);
    EXPECT_EQ(picture.bmWidth, 651);
    EXPECT_EQ(picture.bmHeight, 501);
    LOGFONTA font {};
    ASSERT_NE(skin.fonts[kFontText], nullptr);
    GetObjectA(skin.fonts[kFontText], sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -17); // 16.5
}

TEST(SkinShapes, UnknownImageTypeReplacesTheEnabledPicture)
{
    SkinFolder folder;
    folder.copyPicture("default\\close_hilight.png", "small.png");
    folder.copyPicture("default\\background.png", "big.png");
    folder.writeSkin("<region type=\"MenuButton\"><image name=\"small.png\"/>"
                     "<image type=\"glowing\" name=\"big.png\"/><image type=\"pressed\" name=\"missing.png\"/>"
                     "</region>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    BITMAP picture {};
    ASSERT_NE(skinPicture(kElementMenuButton, kButtonEnabled), nullptr);
    GetObjectA(skinPicture(kElementMenuButton, kButtonEnabled), sizeof picture, &picture);
    EXPECT_GT(picture.bmWidth, 100); // the big picture won
    EXPECT_EQ(skinPicture(kElementMenuButton, kButtonPressed), nullptr);
}

TEST(SkinDocument, RectanglesAndTextFormats)
{
    struct Case {
        const char* attributes;
        uint32_t format;
        RECT rect;
    };
    const Case cases[] = {
        { "textalign=\"cc\"", 0x825, { 0, 0, 0, 0 } },
        { "textalign=\"x\"", 0x820, { 0, 0, 0, 0 } },
        { "textalign=\"rb\"", 0x82A, { 0, 0, 0, 0 } },
        { "textalign=\"rc\"", 0x826, { 0, 0, 0, 0 } },
        { "textalign=\"cbx\"", 0x829, { 0, 0, 0, 0 } },
        { "textalign=\"lt\"", 0x820, { 0, 0, 0, 0 } },
        { "", 0x820, { 0, 0, 0, 0 } },
        { "height=\"20\" width=\"30\" y=\"5\" x=\"7\"", 0x820, { 7, 5, 37, 25 } },
        { "x=\" 12px\" y=\"-4\" width=\"abc\" height=\"+6\"", 0x820, { 12, -4, 12, 2 } },
        { "x=\"50\" width=\"-20\"", 0x820, { 50, 0, 30, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        SkinFolder folder;
        folder.writeSkin(std::string("<region type=\"Summary\" ") + c.attributes + "/>\n");
        ASSERT_TRUE(loadSkin("s", kDesignDpi));
        EXPECT_EQ(skin.textFormats[kElementSummary], c.format);
        const RECT& r = skin.rects[kElementSummary];
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom);
    }
}

// The labels and the list's bar are placed by skins that have them; an older skin without them
// loads as it did, their rectangles empty, which the window takes as "not placed".
TEST(SkinDocument, LabelsAndTheListBarAreOptional)
{
    const struct {
        uint32_t slot;
        const char* type;
        RECT rect;
    } placed[] = {
        { kElementSummaryColumns, "SummaryColumns", { 60, 115, 394, 127 } },
        { kElementSummaryRows, "SummaryRows", { 34, 128, 96, 167 } },
        { kElementLogColumns, "LogColumns", { 40, 172, 394, 184 } },
        { kElementLogScroll, "LogScroll", { 416, 185, 420, 301 } },
    };
    std::string withLabels = "<region type=\"Summary\" x=\"60\" y=\"128\" width=\"334\" height=\"39\"/>\n";
    for (const auto& element : placed) {
        char region[160];
        snprintf(region, sizeof region, "<region type=\"%s\" x=\"%ld\" y=\"%ld\" width=\"%ld\" height=\"%ld\"/>\n",
            element.type, element.rect.left, element.rect.top, element.rect.right - element.rect.left,
            element.rect.bottom - element.rect.top);
        withLabels += region;
    }
    SkinFolder folder;
    folder.writeSkin(withLabels);
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    for (const auto& element : placed) {
        SCOPED_TRACE(element.type);
        EXPECT_TRUE(EqualRect(&skin.rects[element.slot], &element.rect));
        EXPECT_EQ(skin.textFormats[element.slot], 0x820u);
    }

    folder.writeSkin("<region type=\"Summary\" x=\"40\" y=\"115\" width=\"354\" height=\"40\"/>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    EXPECT_EQ(skin.rects[kElementSummary].bottom, 155);
    for (const auto& element : placed)
        EXPECT_TRUE(IsRectEmpty(&skin.rects[element.slot])) << element.type;
}

TEST(SkinDocument, NamesAreLocalAndCaseSensitive)
{
    SkinFolder folder;
    folder.writeSkin(
        "<Region type=\"Heading\" x=\"1\" width=\"5\"/>\n"
        "<s:region xmlns:s=\"urn:skin\" s:type=\"Log\" x=\"40\" y=\"157\" s:width=\"354\" height=\"116\"/>\n"
        "<region type=\"heading\" x=\"3\"/>\n"
        "<region x=\"9\" width=\"9\"><rectangle width=\"5\" height=\"5\"/></region>\n"
        "<!-- a comment inside is only skipped -->\n"
        "<region Type=\"Data\" x=\"2\"/>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    const RECT& log = skin.rects[kElementLog];
    EXPECT_EQ(log.left, 40);
    EXPECT_EQ(log.top, 157);
    EXPECT_EQ(log.right, 394);
    EXPECT_EQ(log.bottom, 273);
    EXPECT_EQ(skin.rects[kElementHeading].left, 0); // neither Region nor type "heading" counted
    EXPECT_EQ(skin.rects[kElementData].left, 0); // Type is not type
    for (uint32_t element = 0; element < kSkinElementCount; ++element)
        EXPECT_EQ(skin.regions[element], nullptr) << element; // the untyped region was skipped whole
    // No MainWindow: a window of 0 x 0 without outline, and still a skin.
    EXPECT_EQ(skin.windowWidth, 0);
    EXPECT_EQ(skin.windowHeight, 0);
}

TEST(SkinDocument, Fonts)
{
    SkinFolder folder;
    folder.writeSkin("<fonts>\n"
                     "<font type=\"Heading\" color=\"ff\" face=\"Tahoma\"/>\n"
                     "<font type=\"Text\" face=\"Tahoma\" size=\"11\" color=\"0xff00\"/>\n"
                     "<font type=\"Sent\" face=\"Tahoma\" size=\"12\" bold=\"true\" color=\"FF0000\"/>\n"
                     "<font type=\"Received\" face=\"Tahoma\" size=\"12\" bold=\"TRUE\" color=\"zz\"/>\n"
                     "<font type=\"Summary\" size=\"13\" bold=\"true \" color=\"123456\"/>\n"
                     "<font type=\"Nothing\" size=\"13\" color=\"abcdef\"/>\n"
                     "<note type=\"Time\" size=\"9\"/>\n"
                     "</fonts>\n"
                     "<fonts><font type=\"Summary\" size=\"14\" color=\"654321\"/></fonts>\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    // Heading: colour red, no size, so no font (painting falls back to Text).
    EXPECT_EQ(skin.fonts[kFontHeading], nullptr);
    EXPECT_EQ(skin.fontColors[kFontHeading], 0x0000FFu);
    struct Expected {
        uint32_t slot;
        LONG height;
        LONG weight;
        uint32_t color;
    };
    const Expected expected[] = {
        { kFontText, -11, FW_NORMAL, 0x00FF00 }, { kFontSent, -12, FW_BOLD, 0xFF0000 },
        { kFontReceived, -12, FW_NORMAL, 0 }, // bold only for exactly "true"; "zz" reads as black
        { kFontSummary, -14, FW_NORMAL, 0x654321 }, // the later fonts element replaced the first
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.slot);
        ASSERT_NE(skin.fonts[e.slot], nullptr);
        LOGFONTA font {};
        ASSERT_EQ(GetObjectA(skin.fonts[e.slot], sizeof font, &font), int(sizeof font));
        EXPECT_EQ(font.lfHeight, e.height);
        EXPECT_EQ(font.lfWidth, 0);
        EXPECT_EQ(font.lfWeight, e.weight);
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(font.lfItalic);
        EXPECT_EQ(skin.fontColors[e.slot], e.color);
    }
    EXPECT_EQ(skin.fonts[kFontTime], nullptr);
    EXPECT_EQ(skin.fontColors[kFontData], 0u);
}

TEST(SkinDocument, RejectedDocumentsLeaveAnEmptySkin)
{
    struct Case {
        const char* name;
        const char* content; // null: no file at all
        uint32_t code;
    };
    const Case cases[] = {
        { "no declaration", "<skin><region type=\"MainWindow\" width=\"10\" height=\"10\"/></skin>\n", kErrorSkinRoot },
        { "comment between declaration and root", "<?xml version=\"1.0\"?>\n<!-- c -->\n<skin/>\n", kErrorSkinRoot },
        { "other root", "<?xml version=\"1.0\"?>\n<skins/>\n", kErrorSkinRoot },
        { "not well-formed", "<?xml version=\"1.0\"?>\n<skin><region>\n</skin>\n", kErrorSkinParse },
        { "missing file", nullptr, kErrorSkinParse },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFolder folder;
        // A skin loaded before must not survive the failed load.
        folder.write("skin.xml",
            "<?xml version=\"1.0\"?><skin><region type=\"MainWindow\" width=\"5\" height=\"5\">"
            "<rectangle width=\"4\" height=\"4\"/></region>"
            "<fonts><font type=\"Text\" size=\"10\"/></fonts></skin>");
        ASSERT_TRUE(loadSkin("s", kDesignDpi));
        ASSERT_NE(skin.fonts[kFontText], nullptr);
        if (c.content != nullptr)
            folder.write("skin.xml", c.content);
        else
            DeleteFileA((std::string(programDirectory) + "s\\skin.xml").c_str());
        bool loaded = true;
        const Report report = watchReports([&] { loaded = loadSkin("s", kDesignDpi); });
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(report.shown);
        EXPECT_EQ(report.code, c.code);
        if (c.code == kErrorSkinParse) {
            EXPECT_EQ(report.text1, "skin.xml");
            EXPECT_FALSE(report.text2.empty()); // the parser's reason
        }
        EXPECT_EQ(AppError, kNothingPending); // reported at once
        EXPECT_TRUE(skinHoldsNothing());
    }
}

TEST(SkinDocument, DeclarationAndWhiteSpaceBeforeRootAreAccepted)
{
    SkinFolder folder;
    folder.write("skin.xml",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n\r\n  <skin>"
        "<region type=\"StatusText\" x=\"14\"/></skin>\r\n");
    ASSERT_TRUE(loadSkin("s", kDesignDpi));
    EXPECT_EQ(skin.rects[kElementStatusText].left, 14);
    EXPECT_EQ(strcmp(skin.folder, (std::string(programDirectory) + "s\\").c_str()), 0);
}

TEST(SkinChoice, StartUpTriesTheStoredSkinThenDefaultThenTheOtherFolders)
{
    const std::string broken = "<?xml version=\"1.0\"?>\n<skin><region>\n</skin>\n";
    const auto sized = [](int width) {
        return "<?xml version=\"1.0\"?>\n<skin><region type=\"MainWindow\" width=\"" + std::to_string(width)
            + "\" height=\"10\"/></skin>\n";
    };
    struct Case {
        const char* name;
        const char* stored;
        bool defaultLoads;
        bool otherLoads;
        const char* loaded; // null: none loads
        int width;
        int reports;
    };
    const Case cases[] = {
        { "the stored skin", "s", true, true, "s", 100, 0 },
        { "stored skin gone: default", "gone", true, true, "default", 200, 1 },
        { "stored skin gone, default broken: the other folder", "gone", false, true, "other", 300, 2 },
        { "default stored and broken: the other folder", "default", false, true, "other", 300, 1 },
        { "none loads", "gone", false, false, nullptr, 0, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFolder folder;
        const std::string root = programDirectory;
        if (strcmp(c.stored, "s") == 0)
            folder.writeSkin("<region type=\"MainWindow\" width=\"100\" height=\"10\"/>\n");
        else
            RemoveDirectoryA((root + "s").c_str());
        folder.writeIn("default", c.defaultLoads ? sized(200) : broken);
        folder.writeIn("other", c.otherLoads ? sized(300) : broken);
        FILE* file = fopen((root + "notes.txt").c_str(), "wb"); // a file, not a skin
        ASSERT_NE(file, nullptr);
        fclose(file);

        char name[260];
        snprintf(name, sizeof name, "%s", c.stored);
        bool loaded = false;
        const Report report = watchReports([&] { loaded = loadStartSkin(name, kDesignDpi); });
        EXPECT_EQ(loaded, c.loaded != nullptr);
        EXPECT_STREQ(name, c.loaded != nullptr ? c.loaded : c.stored);
        EXPECT_EQ(skin.windowWidth, c.width);
        EXPECT_EQ(report.count, c.reports);
    }
}

} // namespace
