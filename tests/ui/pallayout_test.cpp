#include "pallayout.h"

#include <gtest/gtest.h>

namespace {
// The picture sizes of the worked example: input 35 x 40, AND 30 x 20,
// OR 25 x 30, output 40 x 30, fuse 7 x 7.
PalPictureSizes ExampleSizes()
{
    return {QSize(35, 40), QSize(30, 20), QSize(25, 30), QSize(40, 30), QSize(7, 7)};
}

constexpr int TextWidth = 31; // any width of "O000"
const QSize PaintBoxSize(777, 673);

PalLayout Example(int n = 4, int k = 2, int m = 3, QSize minimum = PaintBoxSize)
{
    return PalLayout(ExampleSizes(), n, k, m, TextWidth, minimum);
}
} // namespace

TEST(PalLayout, WorkedExampleFourTwoThree)
{
    const PalLayout layout = Example();
    EXPECT_EQ(layout.ColumnPitch(), 36);
    EXPECT_EQ(layout.InputsWidth(), 144);
    EXPECT_EQ(layout.RowPitch(), 22);
    EXPECT_EQ(layout.BlockPitch(), 62);
    EXPECT_EQ(layout.LineLength(), 146);

    EXPECT_EQ(layout.RowY(0, 0), 60);
    EXPECT_EQ(layout.RowY(2, 0), 184);
    EXPECT_EQ(layout.RowY(2, 1), 206);
    EXPECT_EQ(layout.InputLineTop(), 60);
    EXPECT_EQ(layout.InputLineBottom(), 206); // the lines end at the last AND row
    EXPECT_EQ(layout.OutputCentreY(1), 133);

    EXPECT_EQ(layout.AndX(), 153);
    EXPECT_EQ(layout.AndPicturePos(2, 1), QPoint(153, 196));
    for (int o = 0; o < 3; ++o) {
        const QRect box = layout.OrBox(o);
        EXPECT_EQ(box.left(), 193);
        EXPECT_EQ(box.right() + 1, 228); // the frame covers x = 193 .. 227
        EXPECT_EQ(box.top(), layout.RowY(o, 0) - 10);
        EXPECT_EQ(box.bottom() + 1, layout.RowY(o, 1) + 10);
    }
    EXPECT_EQ(layout.OrPicturePos(1), QPoint(198, 118));
    EXPECT_EQ(layout.OutputX(), 228);
    EXPECT_EQ(layout.OutputPicturePos(1), QPoint(228, 118));
    EXPECT_EQ(layout.OutputValuePos(1), QPoint(246, 119));
    EXPECT_EQ(layout.OutputTitlePos(1, 15), QPoint(273, 126));
    EXPECT_EQ(layout.InputTitlePos(3), QPoint(108, 0));
    EXPECT_EQ(layout.InputPicturePos(3), QPoint(108, 20));
    EXPECT_EQ(layout.InputValuePos(3), QPoint(109, 21));

    EXPECT_EQ(layout.ComputedCanvas(), QSize(273 + TextWidth, 226));
    EXPECT_EQ(layout.Canvas(), PaintBoxSize); // clamped up to the paint box
}

TEST(PalLayout, CanvasIsClampedUpEachDimensionSeparately)
{
    struct Case {
        int n, k, m;
        QSize minimum;
        QSize expected;
    };
    // Largest PAL: L = 40 x 9 + 39 x 22 x 10 = 8940, height 20 + 40 + 8940 + 20.
    const Case cases[] = {
        {4, 2, 3, PaintBoxSize, PaintBoxSize},
        {4, 2, 3, QSize(0, 0), QSize(273 + TextWidth, 226)},
        {4, 2, 3, QSize(1000, 10), QSize(1000, 226)},
        {4, 2, 3, QSize(10, 1000), QSize(273 + TextWidth, 1000)},
        {10, 40, 10, PaintBoxSize, QSize(777, 9020)},
        {10, 40, 10, QSize(0, 0), QSize(9 + 360 + 30 + 25 + 40 + TextWidth + 25, 9020)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << "/" << c.k << "/" << c.m);
        EXPECT_EQ(Example(c.n, c.k, c.m, c.minimum).Canvas(), c.expected);
    }
}

TEST(PalLayout, FusesSitOnTheCrossingsOfInputLinesAndRows)
{
    const PalLayout layout = Example();
    EXPECT_EQ(layout.FuseCentre(0, 0, 0, 0), QPoint(9, 60));
    EXPECT_EQ(layout.FuseCentre(0, 1, 0, 0), QPoint(26, 60));
    EXPECT_EQ(layout.FuseCentre(2, 1, 1, 1), QPoint(2 * 36 + 26, 62 + 60 + 22));
    EXPECT_EQ(layout.FuseCentre(3, 0, 2, 1), QPoint(3 * 36 + 9, 206));
    // The 7 x 7 fuse picture is centred on its crossing.
    EXPECT_EQ(layout.FuseRect(0, 0, 0, 0), QRect(6, 57, 7, 7));
    EXPECT_EQ(layout.FuseRect(0, 0, 0, 0).center(), QPoint(9, 60));
}

TEST(PalLayout, SingleAndTermCentresOrAndOutputOnItsRow)
{
    const PalLayout layout = Example(4, 1, 3);
    EXPECT_EQ(layout.BlockPitch(), 40);
    for (int o = 0; o < 3; ++o) {
        const int y = layout.RowY(o, 0);
        EXPECT_EQ(layout.OutputCentreY(o), y);
        EXPECT_EQ(layout.OrBox(o).height(), 20); // exactly one AND picture high
        EXPECT_EQ(layout.OrBox(o).top(), y - 10);
        EXPECT_EQ(layout.OrPicturePos(o).y(), y - 15);
        EXPECT_EQ(layout.OutputPicturePos(o).y(), y - 15);
    }
}

TEST(PalLayout, NearestInputHitsWithinFifteenPixels)
{
    // Reference point of input i: (i x 36 + 5, 25); input 2's is (77, 25).
    struct Case {
        const char* what;
        int n;
        int x, y;
        int expected;
    };
    const Case cases[] = {
        {"on input 2's reference point", 4, 77, 25, 2},
        {"9 right, 12 below input 2: exactly 15", 4, 86, 37, 2},
        {"15 right, 1 below input 2: about 15.03", 4, 92, 26, -1},
        {"12 left, 9 above input 0: exactly 15", 4, -7, 16, 0},
        {"on input 3", 4, 113, 25, 3},
        {"far below every input", 4, 77, 200, -1},
        {"one input: where input 1 would be", 1, 41, 25, -1},
        {"one input: 15 right of input 0", 1, 20, 25, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Example(c.n, 2, 3).NearestInput(c.x, c.y), c.expected);
    }
}

TEST(PalLayout, NearestInputTiesGoToTheLowerIndex)
{
    // A 19-pixel input picture gives a pitch of 20: references at x = 5, 25, 45.
    PalPictureSizes sizes = ExampleSizes();
    sizes.input = QSize(19, 40);
    const PalLayout layout(sizes, 3, 2, 3, TextWidth, PaintBoxSize);
    EXPECT_EQ(layout.NearestInput(35, 30), 1); // equidistant from inputs 1 and 2
    EXPECT_EQ(layout.NearestInput(15, 25), 0); // equidistant from inputs 0 and 1
    EXPECT_EQ(layout.NearestInput(36, 30), 2);
}

TEST(PalLayout, ZeroSizedPicturesCollapseConsistently)
{
    const PalLayout layout(PalPictureSizes{}, 4, 2, 3, TextWidth, QSize(0, 0));
    EXPECT_EQ(layout.ColumnPitch(), 1);
    EXPECT_EQ(layout.InputsWidth(), 4);
    EXPECT_EQ(layout.RowPitch(), 2);
    EXPECT_EQ(layout.BlockPitch(), 22);
    EXPECT_EQ(layout.LineLength(), 20 * 2 + 2 * 3);
    EXPECT_EQ(layout.RowY(2, 1), layout.InputLineBottom());
    EXPECT_EQ(layout.Canvas(), QSize(9 + 4 + TextWidth + 25, 46 + 20));
    EXPECT_EQ(layout.FuseRect(1, 1, 2, 1), QRect(QPoint(1 + 26, layout.RowY(2, 1)), QSize(0, 0)));
    EXPECT_EQ(layout.NearestInput(5, 25), 0);
    EXPECT_EQ(layout.NearestInput(8, 25), 3); // references 1 pixel apart: x = 5 .. 8
}

TEST(PalLayout, EmptyLayoutHasNoInputs)
{
    const PalLayout layout;
    EXPECT_EQ(layout.Canvas(), QSize(0, 0));
    EXPECT_EQ(layout.NearestInput(5, 25), -1);
}
