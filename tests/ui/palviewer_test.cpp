#include "palviewer.h"

#include "console.h"
#include "palpaintbox.h"
#include "palpicturefiles.h"
#include "uiseam.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {
struct RecordingSink : ConsoleSink {
    std::string text;
    void Write(const char* data, std::size_t length) override { text.append(data, length); }
};

struct FakeUi : UiSeam {
    int messages = 0;
    QString caption;
    QString text;
    void Message(QWidget*, const QString& c, const QString& t) override
    {
        ++messages;
        caption = c;
        text = t;
    }
};

// A paint box wired to a viewer the way the main window does it, with the
// worked example's pictures (all white except a solid black fuse picture).
class ViewerTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetUiSeam(&ui);
        ASSERT_TRUE(pictures.isValid());
        ASSERT_TRUE(WriteTestPictures(pictures.path()));
    }
    void TearDown() override
    {
        SetConsoleSink(nullptr);
        SetUiSeam(nullptr);
    }

    PALViewer& Make(int n, int k, int m, QStringList directories = {})
    {
        if (directories.isEmpty())
            directories = {pictures.path()};
        viewer = std::make_unique<PALViewer>(&box, n, k, m, directories);
        QObject::connect(&box, &PalPaintBox::OnPaint,
                         [this](QPainter& painter, const QRect& exposed) { viewer->Paint(painter, exposed); });
        return *viewer;
    }

    // Renders `region` of the paint box; the image's (0, 0) is region's top-left.
    QImage Render(QRect region = {})
    {
        if (region.isNull())
            region = box.rect();
        QImage image(region.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        box.render(&image, QPoint(0, 0), QRegion(region));
        return image;
    }

    static bool IsBlack(const QImage& image, QPoint at) { return qGray(image.pixel(at)) < 64; }
    static bool IsWhite(const QImage& image, QPoint at) { return image.pixel(at) == qRgb(255, 255, 255); }

    FakeUi ui;
    RecordingSink sink;
    QTemporaryDir pictures;
    PalPaintBox box;
    std::unique_ptr<PALViewer> viewer;
};

int FuseBit(int n, int k, int i, int f, int o, int t) { return ((o * k + t) * n + i) * 2 + f; }
} // namespace

TEST_F(ViewerTest, ConstructionLaysOutFromThePicturesAndLogs)
{
    SetConsoleSink(&sink);
    PALViewer& v = Make(4, 2, 3);
    EXPECT_EQ(ui.messages, 0);
    EXPECT_EQ(v.MinimumCanvas(), QSize(777, 673));
    EXPECT_EQ(v.Layout().ColumnPitch(), 36);
    EXPECT_EQ(v.Layout().RowY(2, 1), 206);
    EXPECT_EQ(v.Layout().OutputX(), 228);
    EXPECT_EQ(v.Layout().ComputedCanvas(),
              QSize(273 + box.fontMetrics().horizontalAdvance("O000"), 226));
    EXPECT_EQ(box.size(), QSize(777, 673));
    EXPECT_EQ(v.Background().deviceIndependentSize().toSize(), QSize(777, 673));
    EXPECT_EQ(sink.text, "PALViewer::Init. 777 673\nCanvas size: 777;673\n");
    EXPECT_EQ(v.Fuses.Size(), 48u);
}

TEST_F(ViewerTest, ReallocateResizesTheCanvasButKeepsTheFirstMinimum)
{
    PALViewer& v = Make(4, 2, 3);
    SetConsoleSink(&sink);
    v.Reallocate(10, 40, 10);
    EXPECT_EQ(box.size(), QSize(777, 9020));
    EXPECT_EQ(v.Background().deviceIndependentSize().toSize(), QSize(777, 9020));
    EXPECT_EQ(v.Fuses.Size(), 8000u);
    // "reallocating", the value array's address, then Init's two lines.
    const std::string prefix = "reallocating\n";
    ASSERT_EQ(sink.text.compare(0, prefix.size(), prefix), 0) << sink.text;
    const std::size_t addressEnd = sink.text.find('\n', prefix.size());
    ASSERT_NE(addressEnd, std::string::npos);
    EXPECT_GT(addressEnd, prefix.size());
    EXPECT_EQ(sink.text.substr(addressEnd + 1), "PALViewer::Init. 777 9020\nCanvas size: 777;9020\n");

    // Shrinking goes back to the size the box had at construction, not the grown one.
    v.Reallocate(1, 1, 1);
    EXPECT_EQ(box.size(), QSize(777, 673));
    EXPECT_EQ(v.MinimumCanvas(), QSize(777, 673));
    EXPECT_EQ(v.NearestInput(5, 25), 0);
    EXPECT_EQ(v.NearestInput(41, 25), -1);
}

TEST_F(ViewerTest, ReallocateClearsFusesAndValues)
{
    PALViewer& v = Make(4, 2, 3);
    for (uint32_t b = 0; b < v.Fuses.Size(); ++b)
        v.Fuses[b] = 1;
    for (int i = 0; i < 4; ++i)
        v.SetInput(i, 1);
    for (int o = 0; o < 3; ++o)
        v.SetOutput(o, 1);

    v.Reallocate(3, 4, 5);
    ASSERT_EQ(v.Fuses.Size(), 120u);
    for (uint32_t b = 0; b < v.Fuses.Size(); ++b)
        EXPECT_EQ(v.Fuses[b], 0) << "bit " << b;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(v.InputValue(i), 0);
    for (int o = 0; o < 5; ++o)
        EXPECT_EQ(v.OutputValue(o), 0);

    // Nothing set, so no fuse is drawn anywhere.
    const QImage image = Render();
    for (int o = 0; o < 5; ++o)
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < 3; ++i)
                for (int f = 0; f < 2; ++f)
                    EXPECT_TRUE(IsWhite(image, v.Layout().FuseCentre(i, f, o, t) + QPoint(2, 2)));
}

TEST_F(ViewerTest, SetInputAndSetOutputStoreValuesAndRedrawTheirLabels)
{
    PALViewer& v = Make(4, 2, 3);
    const QRect inputLabel(v.Layout().InputValuePos(2), QSize(12, box.fontMetrics().height()));
    const QRect outputLabel(v.Layout().OutputValuePos(1), QSize(12, box.fontMetrics().height()));
    const QImage before = Render();

    v.SetInput(2, 1);
    v.SetOutput(1, 1);
    v.SetInput(4, 1);  // out of range: ignored
    v.SetOutput(-1, 1);
    EXPECT_EQ(v.InputValue(2), 1);
    EXPECT_EQ(v.InputValue(3), 0);
    EXPECT_EQ(v.OutputValue(1), 1);
    EXPECT_EQ(v.OutputValue(0), 0);

    const QImage after = Render();
    EXPECT_NE(before.copy(inputLabel), after.copy(inputLabel));
    EXPECT_NE(before.copy(outputLabel), after.copy(outputLabel));
    const QRect otherInput(v.Layout().InputValuePos(1), inputLabel.size());
    EXPECT_EQ(before.copy(otherInput), after.copy(otherInput));

    v.SetInput(2, 0);
    v.SetOutput(1, 0);
    EXPECT_EQ(Render(), before);
}

TEST_F(ViewerTest, SetFusesAreDrawnCentredOnTheirCrossings)
{
    PALViewer& v = Make(4, 2, 3);
    v.Fuses[FuseBit(4, 2, 0, 0, 0, 0)] = 1;
    v.Fuses[FuseBit(4, 2, 2, 1, 1, 1)] = 1;
    v.Fuses[FuseBit(4, 2, 3, 0, 2, 1)] = 1;
    const QImage image = Render();
    const PalLayout& layout = v.Layout();

    // The solid 7 x 7 fuse picture covers 3 pixels around the centre; away
    // from the two crossing lines only a drawn fuse is black.
    for (QPoint corner : {QPoint(-3, -3), QPoint(3, 3), QPoint(2, -2)}) {
        EXPECT_TRUE(IsBlack(image, QPoint(9, 60) + corner));
        EXPECT_TRUE(IsBlack(image, layout.FuseCentre(2, 1, 1, 1) + corner));
        EXPECT_TRUE(IsBlack(image, layout.FuseCentre(3, 0, 2, 1) + corner));
        EXPECT_TRUE(IsWhite(image, QPoint(26, 60) + corner));            // fuse 1 of the same input
        EXPECT_TRUE(IsWhite(image, layout.FuseCentre(2, 0, 1, 1) + corner));
        EXPECT_TRUE(IsWhite(image, layout.FuseCentre(3, 0, 2, 0) + corner));
    }
    EXPECT_TRUE(IsWhite(image, QPoint(9 + 4, 60 + 4)));                  // just outside the dot
    EXPECT_TRUE(IsBlack(image, QPoint(9, 60 + 20)));                     // the input line itself
}

TEST_F(ViewerTest, PartialRepaintDrawsOnlyWhatIsExposedAndGetsItRight)
{
    PALViewer& v = Make(10, 40, 10);
    const PalLayout& layout = v.Layout();
    v.Fuses[FuseBit(10, 40, 9, 1, 9, 39)] = 1; // the very last fuse
    v.Fuses[FuseBit(10, 40, 5, 0, 7, 20)] = 1;
    const QPoint last = layout.FuseCentre(9, 1, 9, 39);
    const QPoint middle = layout.FuseCentre(5, 0, 7, 20);

    // A viewport at the bottom of the canvas.
    const QRect bottom(0, box.height() - 400, box.width(), 400);
    QImage image = Render(bottom);
    EXPECT_TRUE(IsBlack(image, last + QPoint(2, 2) - bottom.topLeft()));

    // A band that exposes only the last row of a dot still draws that row.
    const QRect lastRowOfDot(0, middle.y() + 3, box.width(), 50);
    image = Render(lastRowOfDot);
    EXPECT_TRUE(IsBlack(image, middle + QPoint(2, 3) - lastRowOfDot.topLeft()));
    EXPECT_TRUE(IsWhite(image, middle + QPoint(2, 4) - lastRowOfDot.topLeft()));

    // The same pixels as a full rendering.
    const QImage full = Render();
    EXPECT_EQ(Render(bottom), full.copy(bottom));
}

TEST_F(ViewerTest, AShorterChromosomeShowsTheFusesItHas)
{
    PALViewer& v = Make(4, 2, 3);
    BitString shorter(10);
    shorter[0] = 1;
    v.Fuses = shorter;
    const QImage image = Render();
    EXPECT_TRUE(IsBlack(image, QPoint(9 + 2, 60 + 2)));
}

TEST_F(ViewerTest, MissingPicturesGiveOneMessageAndACollapsedLayout)
{
    QTemporaryDir empty1, empty2;
    PALViewer& v = Make(4, 2, 3, {empty1.path(), empty2.path()});
    EXPECT_EQ(ui.messages, 1);
    EXPECT_EQ(ui.caption, "Error");
    EXPECT_EQ(ui.text, "Error loading the bitmaps\n");

    EXPECT_EQ(v.Layout().ColumnPitch(), 1);
    EXPECT_EQ(v.Layout().RowPitch(), 2);
    EXPECT_EQ(box.size(), QSize(777, 673));
    EXPECT_EQ(v.NearestInput(5, 25), 0);
    v.Fuses[0] = 1;
    v.SetInput(0, 1);
    EXPECT_FALSE(Render().isNull());

    v.Reallocate(10, 40, 10); // no second message
    EXPECT_EQ(ui.messages, 1);
    EXPECT_EQ(box.size(), v.Layout().Canvas());
    EXPECT_EQ(box.height(), 20 * 9 + 39 * 2 * 10 + 20); // only the fixed offsets remain
}

TEST_F(ViewerTest, PaintBoxForwardsMousePresses)
{
    Make(4, 2, 3);
    int calls = 0;
    Qt::MouseButton button = Qt::NoButton;
    QPoint at;
    QObject::connect(&box, &PalPaintBox::OnMouseDown,
                     [&](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                         ++calls;
                         button = b;
                         at = QPoint(x, y);
                     });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(86, 37), box.mapToGlobal(QPointF(86, 37)),
                      Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&box, &press);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(button, Qt::RightButton);
    EXPECT_EQ(at, QPoint(86, 37));
    EXPECT_EQ(viewer->NearestInput(at.x(), at.y()), 2);
}
