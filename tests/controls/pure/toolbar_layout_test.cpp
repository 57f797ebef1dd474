#include "controls/pure/toolbar_layout.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

ToolbarGridInput Input(int w, int h, int count) {
    ToolbarGridInput in;
    in.width = w;
    in.height = h;
    in.buttonCount = count;
    return in;
}

} // namespace

TEST(ToolbarGrid, AutoSizeTakesColumnsFromWidthAndStretchesRows) {
    auto in = Input(200, 400, 8);
    in.warpSize = false;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 2); // 200 / 90
    EXPECT_EQ(g.rows, 4);
    EXPECT_EQ(g.columnWidth, 100); // fewer columns than buttons, no WarpSize: width / columns
    EXPECT_EQ(g.rowHeight, 100);   // 400 / 4
    EXPECT_EQ(g.width, 200);
    EXPECT_EQ(g.height, 400);
}

TEST(ToolbarGrid, AutoSizeRowHeightNeverBelowButtonsHeight) {
    auto in = Input(137, 200, 8);
    in.warpSize = false;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 1);
    EXPECT_EQ(g.rows, 8);
    EXPECT_EQ(g.columnWidth, 137);
    EXPECT_EQ(g.rowHeight, 40);
}

TEST(ToolbarGrid, AutoSizeNarrowerThanOneButtonStillHasOneColumn) {
    auto in = Input(30, 100, 3);
    in.warpSize = false;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 1);
    EXPECT_EQ(g.rows, 3);
}

TEST(ToolbarGrid, ColumnWidthIsButtonsWidthWhenAllButtonsFitInOneRow) {
    auto in = Input(400, 50, 3);
    in.warpSize = false;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 4);
    EXPECT_EQ(g.columnWidth, 90);
    EXPECT_EQ(g.rows, 1);
}

TEST(ToolbarGrid, WarpSizeWrapsTheControlAroundItsButtons) {
    auto in = Input(200, 400, 5); // AutoSize and WarpSize both on (the defaults)
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 2);
    EXPECT_EQ(g.columnWidth, 90);
    EXPECT_EQ(g.width, 180);
    EXPECT_EQ(g.height, 120); // 3 rows x 40

    in.dockedLeftOrRight = true; // keeps its height
    g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.width, 180);
    EXPECT_EQ(g.height, 400);

    in.dockedLeftOrRight = false;
    in.dockedTopOrBottom = true; // keeps its width
    g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.width, 200);
    EXPECT_EQ(g.height, 120);
}

TEST(ToolbarGrid, WarpSizeWidensToAtLeastOneButtonWhenDockedTopOrBottom) {
    auto in = Input(50, 100, 2);
    in.dockedTopOrBottom = true;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.width, 90);
}

TEST(ToolbarGrid, FixedLayoutWithoutAutoSize) {
    auto in = Input(500, 500, 7);
    in.autoSize = false;
    in.warpSize = false;
    in.buttonsPerRow = 3;
    auto g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.buttonsPerRow, 3);
    EXPECT_EQ(g.rows, 3);
    EXPECT_EQ(g.columnWidth, 90);
    EXPECT_EQ(g.rowHeight, 40);
    in.warpSize = true;
    g = ComputeToolbarGrid(in);
    EXPECT_EQ(g.width, 270);
    EXPECT_EQ(g.height, 120);
}

TEST(ToolbarHitTest, IndexFromRowAndColumn) {
    ToolbarGrid g;
    g.buttonsPerRow = 3;
    g.rows = 2;
    g.columnWidth = 90;
    g.rowHeight = 40;
    std::vector<bool> enabled(5, true);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 0, 0), 0);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 89, 39), 0);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 90, 0), 1);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 200, 10), 2);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 100, 45), 4);
    // Beyond the last button, right of the last column, outside.
    EXPECT_EQ(ToolbarHitTest(g, enabled, 200, 45), -1);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 270, 10), -1);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 10, 200), -1);
    EXPECT_EQ(ToolbarHitTest(g, enabled, -1, 10), -1);
    // A disabled button is never hit.
    enabled[1] = false;
    EXPECT_EQ(ToolbarHitTest(g, enabled, 100, 10), -1);
}

TEST(ToolbarHitTest, WholeWidthOfStretchedColumnsAnswers) {
    // AutoSize with cells wider than ButtonsWidth: the right part of the last
    // column belongs to its button.
    auto in = Input(137, 320, 8);
    in.warpSize = false;
    auto g = ComputeToolbarGrid(in);
    std::vector<bool> enabled(8, true);
    EXPECT_EQ(ToolbarHitTest(g, enabled, 130, 45), 1);
}

TEST(ToolbarCell, CellsRunRowByRow) {
    ToolbarGrid g;
    g.buttonsPerRow = 2;
    g.columnWidth = 50;
    g.rowHeight = 30;
    EXPECT_EQ(ToolbarCell(g, 0), (Rect{0, 0, 50, 30}));
    EXPECT_EQ(ToolbarCell(g, 3), (Rect{50, 30, 100, 60}));
}

TEST(ButtonPlacement, FourAlignments) {
    const Rect cell{0, 0, 100, 80};
    // 0: picture above, caption at the bottom.
    auto p = PlaceButtonContent(cell, 0, 32, 32, 14);
    EXPECT_TRUE(p.hasPicture);
    EXPECT_EQ(p.caption.bottom, 75);
    EXPECT_LE(p.pictureY + 32, p.caption.top);
    EXPECT_EQ(p.pictureX, 34);
    // 1: caption at the top, picture below it.
    p = PlaceButtonContent(cell, 1, 32, 32, 14);
    EXPECT_EQ(p.caption.top, 5);
    EXPECT_GE(p.pictureY, p.caption.bottom);
    EXPECT_LE(p.pictureY + 32, 80);
    // 2: picture left, caption right of it, both centred vertically.
    p = PlaceButtonContent(cell, 2, 32, 32, 14);
    EXPECT_LT(p.pictureX + 32, p.caption.left);
    EXPECT_EQ(p.pictureY, 24);
    EXPECT_EQ(p.caption.top, 33);
    EXPECT_EQ(p.captionAlign, 0);
    // 3: picture right, caption left of it.
    p = PlaceButtonContent(cell, 3, 32, 32, 14);
    EXPECT_GT(p.pictureX, p.caption.right);
    EXPECT_LE(p.pictureX + 32, 100);
    EXPECT_EQ(p.captionAlign, 2);
}

TEST(ButtonPlacement, CaptionCentredWithoutPicture) {
    const Rect cell{10, 40, 110, 120};
    for (int a : {0, 1}) {
        auto p = PlaceButtonContent(cell, a, 0, 0, 20);
        EXPECT_FALSE(p.hasPicture);
        EXPECT_EQ(p.caption.top, 70) << a;
        EXPECT_EQ(p.caption.bottom, 90) << a;
    }
}

TEST(CaptionWrapWidth, PictureWidthCountsOnlyBesideTheCaption) {
    EXPECT_EQ(CaptionWrapWidth(90, 0, 32), 80);
    EXPECT_EQ(CaptionWrapWidth(90, 1, 32), 80);
    EXPECT_EQ(CaptionWrapWidth(90, 2, 32), 48);
    EXPECT_EQ(CaptionWrapWidth(90, 3, 32), 48);
}

namespace {
std::uint32_t Rgb(int r, int g, int b) {
    return std::uint32_t(r) | (g << 8) | (b << 16);
}
std::uint32_t Dib(int r, int g, int b) {
    return std::uint32_t(b) | (g << 8) | (r << 16);
}
} // namespace

TEST(Gradient, TypeZeroAndUnknownTypesPaintNothing) {
    std::vector<std::uint32_t> px(12, 7);
    EXPECT_FALSE(FillGradient(px, 4, 3, 0, Rgb(255, 0, 0), Rgb(0, 0, 255)));
    EXPECT_FALSE(FillGradient(px, 4, 3, 7, Rgb(255, 0, 0), Rgb(0, 0, 255)));
    EXPECT_EQ(px, std::vector<std::uint32_t>(12, 7));
}

TEST(Gradient, HorizontalRunsLeftToRightPerChannel) {
    std::vector<std::uint32_t> px;
    ASSERT_TRUE(FillGradient(px, 5, 2, 1, Rgb(0, 0, 0), Rgb(200, 100, 40)));
    EXPECT_EQ(px[0], Dib(0, 0, 0));
    EXPECT_EQ(px[2], Dib(100, 50, 20));
    EXPECT_EQ(px[4], Dib(200, 100, 40));
    EXPECT_EQ(px[5 + 4], Dib(200, 100, 40)); // every row the same
}

TEST(Gradient, MirroredHalvesAreReversed) {
    std::vector<std::uint32_t> px;
    ASSERT_TRUE(FillGradient(px, 6, 1, 2, Rgb(0, 0, 0), Rgb(250, 250, 250)));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(px[size_t(i)], px[size_t(5 - i)]) << i;
    EXPECT_EQ(px[0], Dib(0, 0, 0));
    EXPECT_EQ(px[2], Dib(250, 250, 250));

    ASSERT_TRUE(FillGradient(px, 1, 6, 4, Rgb(0, 0, 0), Rgb(250, 250, 250)));
    EXPECT_EQ(px[0], px[5]);
    EXPECT_EQ(px[2], Dib(250, 250, 250));
}

TEST(Gradient, VerticalAndDiagonals) {
    std::vector<std::uint32_t> px;
    ASSERT_TRUE(FillGradient(px, 2, 3, 3, Rgb(0, 0, 0), Rgb(0, 200, 0)));
    EXPECT_EQ(px[0], Dib(0, 0, 0));
    EXPECT_EQ(px[1], Dib(0, 0, 0));
    EXPECT_EQ(px[4], Dib(0, 200, 0));

    ASSERT_TRUE(FillGradient(px, 3, 3, 5, Rgb(0, 0, 0), Rgb(0, 0, 200)));
    EXPECT_EQ(px[0], Dib(0, 0, 0));   // top-left starts
    EXPECT_EQ(px[8], Dib(0, 0, 200)); // bottom-right ends
    EXPECT_EQ(px[2], px[6]);          // same anti-diagonal

    ASSERT_TRUE(FillGradient(px, 3, 3, 6, Rgb(0, 0, 0), Rgb(0, 0, 200)));
    EXPECT_EQ(px[6], Dib(0, 0, 0));   // bottom-left starts
    EXPECT_EQ(px[2], Dib(0, 0, 200)); // top-right ends
    EXPECT_EQ(px[0], px[8]);
}
