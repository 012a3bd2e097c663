#include "tffitnessdisplay.h"

#include "console.h"
#include "uiseam.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QMouseEvent>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct RecordingSink : ConsoleSink {
    std::string text;
    void Write(const char* data, std::size_t length) override { text.append(data, length); }
};

// Answers the save dialog with a fixed path and records messages.
struct FakeUi : UiSeam {
    QString savePath;
    FileDialogRequest lastRequest;
    int saveDialogs = 0;
    QStringList messages;
    QString SaveFileName(QWidget*, const FileDialogRequest& request) override
    {
        ++saveDialogs;
        lastRequest = request;
        return savePath;
    }
    void Message(QWidget*, const QString& caption, const QString& text) override
    {
        messages << caption + ": " + text;
    }
};

// What a user's click and key press deliver (a disabled widget ignores them).
void Click(QWidget* widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

class FitnessDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUiSeam(&ui);
        SetConsoleSink(&log);
    }
    void TearDown() override
    {
        SetConsoleSink(nullptr);
        SetUiSeam(nullptr);
    }

    QList<QPointF> Drawn(int series)
    {
        window.RefreshChartNow();
        const QLineSeries* s[] = {window.Series1, window.Series3, window.Series2};
        return s[series]->points();
    }
    QValueAxis* Axis(Qt::Orientation orientation)
    {
        return qobject_cast<QValueAxis*>(window.Chart1->chart()->axes(orientation).first());
    }

    FakeUi ui;
    RecordingSink log;
    TFFitnessDisplay window;
};

std::vector<GAFitInfo> Rising(int count)
{
    std::vector<GAFitInfo> history;
    for (int g = 0; g < count; ++g)
        history.push_back({10.0 + g, 5.0 + g * 0.5, 1.0 + g * 0.25, g});
    return history;
}
} // namespace

TEST_F(FitnessDisplay, StartsHiddenWithItsControls)
{
    EXPECT_EQ(window.windowTitle(), "Evolution of average and maximum fitness");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.StopRequested);
    EXPECT_FALSE(window.BStop->isEnabled());
    EXPECT_TRUE(window.BClose->isEnabled());
    EXPECT_EQ(window.BStop->text(), "Stop");
    EXPECT_EQ(window.BClose->text(), "Close");
    EXPECT_EQ(window.BSave->text(), "Save figure...");
    EXPECT_TRUE(window.EMaxFitness->text().isEmpty());

    QChart* chart = window.Chart1->chart();
    EXPECT_EQ(chart->title(), "Fitness");
    EXPECT_EQ(Axis(Qt::Vertical)->titleText(), "Fitness");
    EXPECT_EQ(Axis(Qt::Horizontal)->titleText(), "Generations");
    EXPECT_TRUE(chart->legend()->isVisible());
    ASSERT_EQ(chart->series().size(), 3);
    EXPECT_EQ(chart->series()[0], window.Series1);
    EXPECT_EQ(chart->series()[1], window.Series3);
    EXPECT_EQ(chart->series()[2], window.Series2);
    EXPECT_EQ(window.Series1->name(), "Maximum");
    EXPECT_EQ(window.Series3->name(), "Average");
    EXPECT_EQ(window.Series2->name(), "Minimum");
    for (QLineSeries* series : {window.Series1, window.Series2, window.Series3}) {
        EXPECT_TRUE(series->pointsVisible());
        EXPECT_FALSE(series->lightMarker().isNull());
    }
}

TEST_F(FitnessDisplay, ThreeRecordsGiveThreePointsPerSeriesAndLogTheSize)
{
    const std::vector<GAFitInfo> history = {{5, 3, 1, 0}, {6, 4, 2, 1}, {8, 5, 2, 2}};
    window.PlotFitInfo(history);
    EXPECT_EQ(log.text, "PlotFitInfo\nSize: 3\n");
    for (int s = 0; s < 3; ++s) {
        const QList<QPointF> points = Drawn(s);
        ASSERT_EQ(points.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(points[i].x(), history[i].generation);
            EXPECT_EQ(points[i].y(), FitnessPlotModel::Value(history[i], s));
        }
    }
}

TEST_F(FitnessDisplay, PlottingTheSameHistoryTwiceShowsEachPointOnce)
{
    const auto history = Rising(4);
    window.PlotFitInfo(history);
    window.RefreshChartNow();
    window.PlotFitInfo(history);
    EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::None);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(Drawn(s).size(), 4);
}

TEST_F(FitnessDisplay, GrowingHistoryAppendsOnlyTheNewPoints)
{
    window.PlotFitInfo(Rising(3));
    window.RefreshChartNow();
    int replaced = 0;
    int removed = 0;
    int added = 0;
    QObject::connect(window.Series1, &QXYSeries::pointsReplaced, [&] { ++replaced; });
    QObject::connect(window.Series1, &QXYSeries::pointsRemoved, [&] { ++removed; });
    QObject::connect(window.Series1, &QXYSeries::pointAdded, [&] { ++added; });

    // One generation more, as in an evolution run: one point appended.
    window.PlotFitInfo(Rising(4));
    EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::Appended);
    EXPECT_EQ(window.PlotModel().RecordCount(), 4);
    QList<QPointF> points = Drawn(0);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(added, 1);
    ASSERT_EQ(points.size(), 4);

    // Several at once (the window was hidden meanwhile): the model still only
    // appends; the series take the new list in one change.
    const auto grown = Rising(9);
    window.PlotFitInfo(grown);
    EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::Appended);
    points = Drawn(0);
    EXPECT_EQ(replaced + removed + added, 2);
    ASSERT_EQ(points.size(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(points[i], QPointF(i, grown[static_cast<std::size_t>(i)].max));
}

TEST_F(FitnessDisplay, AShrunkOrDifferentHistoryRebuildsTheChart)
{
    auto different = Rising(6);
    different[0].max = 99.0;
    const std::vector<std::vector<GAFitInfo>> nextHistories = {Rising(2), different, {}};
    for (const auto& next : nextHistories) {
        SCOPED_TRACE(next.size());
        window.PlotFitInfo(Rising(6));
        window.RefreshChartNow();
        window.PlotFitInfo(next);
        EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::Rebuilt);
        const QList<QPointF> points = Drawn(0);
        ASSERT_EQ(points.size(), static_cast<qsizetype>(next.size()));
        for (std::size_t i = 0; i < next.size(); ++i)
            EXPECT_EQ(points[static_cast<qsizetype>(i)], QPointF(next[i].generation, next[i].max));
    }
}

TEST_F(FitnessDisplay, ARevisedHistoryIsDrawnAfreshAndClearPlotEmptiesEverything)
{
    window.PlotFitInfo(Rising(3), 1);
    window.PlotFitInfo(Rising(4), 1);
    EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::Appended);
    auto other = Rising(5);
    other[1].max = 99.0;
    window.PlotFitInfo(other, 2);
    EXPECT_EQ(window.LastPlotChange(), FitnessPlotModel::Change::Rebuilt);
    window.RefreshChartNow();
    ASSERT_EQ(Drawn(0).size(), 5);
    EXPECT_EQ(Drawn(0)[1], QPointF(1, 99.0));

    window.ClearPlot();
    window.RefreshChartNow();
    EXPECT_EQ(window.PlotModel().RecordCount(), 0);
    for (int s = 0; s < 3; ++s)
        EXPECT_TRUE(Drawn(s).isEmpty());
    EXPECT_TRUE(window.EMaxFitness->text().isEmpty());
}

TEST_F(FitnessDisplay, LabelShowsTheLastRecordsMaximumAsAPersonReadsIt)
{
    struct Row {
        double lastMax;
        const char* text;
    } rows[] = {{12.0, "Current maximum fitness: 12"},
                {12.5, "Current maximum fitness: 12.5"},
                {0.1, "Current maximum fitness: 0.1"},
                {0.9799120234604106, "Current maximum fitness: 0.9799"},
                {-3.0, "Current maximum fitness: -3"}};
    for (const Row& row : rows) {
        // An earlier, larger maximum must not show: the label is the last record's.
        window.PlotFitInfo({{40.0, 1.0, 0.0, 0}, {row.lastMax, 1.0, 0.0, 1}});
        EXPECT_EQ(window.EMaxFitness->text(), row.text);
    }
    window.PlotFitInfo({});
    EXPECT_EQ(window.EMaxFitness->text(), "Current maximum fitness: -3");
}

TEST_F(FitnessDisplay, AxesFollowTheData)
{
    window.PlotFitInfo({{10, 5, 0, 3}, {48, 20, 2, 40}});
    window.RefreshChartNow();
    // From the first to the last generation, with a little room at the ends.
    EXPECT_LT(Axis(Qt::Horizontal)->min(), 3.0);
    EXPECT_GT(Axis(Qt::Horizontal)->min(), 2.0);
    EXPECT_GT(Axis(Qt::Horizontal)->max(), 40.0);
    EXPECT_LT(Axis(Qt::Horizontal)->max(), 41.0);
    EXPECT_LT(Axis(Qt::Vertical)->min(), 0.0);
    EXPECT_GT(Axis(Qt::Vertical)->max(), 48.0);
    EXPECT_LT(Axis(Qt::Vertical)->max(), 52.0);
}

// "Stop" sets the flag and shows at once that it was taken; the run under
// way ends later, by itself.
TEST_F(FitnessDisplay, StopOnlySetsTheFlag)
{
    window.show();
    Click(window.BStop); // disabled: nothing
    EXPECT_FALSE(window.StopRequested);
    window.SetRunning(true);
    int taken = 0;
    QObject::connect(&window, &TFFitnessDisplay::StopTaken, [&taken] { ++taken; });
    Click(window.BStop);
    EXPECT_TRUE(window.StopRequested);
    EXPECT_EQ(taken, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.BStop->isEnabled());
    EXPECT_EQ(window.BStop->text(), QString::fromUtf8("Stopping\u2026"));
    EXPECT_FALSE(window.BClose->isEnabled());
    window.SetRunning(false);
    EXPECT_EQ(window.BStop->text(), "Stop");
    EXPECT_TRUE(window.BClose->isEnabled());
}

TEST_F(FitnessDisplay, CloseHidesTheWindowAndKeepsThePoints)
{
    window.PlotFitInfo(Rising(3));
    window.show();
    Click(window.BClose);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Drawn(0).size(), 3);
}

TEST_F(FitnessDisplay, TitleBarCloseRequestsTheStopOnlyDuringEvolution)
{
    for (bool evolving : {true, false}) {
        SCOPED_TRACE(evolving);
        window.StopRequested = false;
        window.BStop->setEnabled(evolving);
        window.BClose->setEnabled(!evolving);
        window.show();
        EXPECT_TRUE(window.close());
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.StopRequested, evolving);
    }
}

TEST_F(FitnessDisplay, EscapeClosesOnlyWhileCloseIsEnabled)
{
    window.show();
    window.BClose->setEnabled(false);
    PressKey(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    window.BClose->setEnabled(true);
    PressKey(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.StopRequested);
}

TEST_F(FitnessDisplay, SaveFigureWritesAReadableImage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    window.PlotFitInfo(Rising(30));
    struct Row {
        const char* name;
        QByteArray format;
    } rows[] = {{"fitness.bmp", "bmp"}, {"figure.png", "png"}, {"FIGURE.PNG", "png"}, {"plain", "bmp"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.savePath = dir.filePath(row.name);
        log.text.clear();
        window.BSaveClick();
        EXPECT_EQ(log.text, "InitialDir: \nWe got da filename: " + ui.savePath.toStdString() + "\n");
        QImageReader reader(ui.savePath);
        EXPECT_EQ(reader.format(), row.format);
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(image.width(), 300);
        EXPECT_GE(image.height(), 200);
    }
    EXPECT_EQ(ui.lastRequest.defaultName, "fitness.bmp");
    EXPECT_EQ(ui.lastRequest.defaultSuffix, "bmp");
    EXPECT_EQ(ui.lastRequest.filter, "Bitmap files (*.bmp)");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(FitnessDisplay, SaveFigureCancelledWritesNothing)
{
    ui.savePath.clear();
    window.BSaveClick();
    EXPECT_EQ(ui.saveDialogs, 1);
    EXPECT_EQ(log.text, "InitialDir: \n");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(FitnessDisplay, SaveFigureFailureShowsAnError)
{
    QTemporaryDir dir;
    ui.savePath = dir.filePath("no/such/folder/fitness.bmp");
    window.BSaveClick();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Error: ")) << ui.messages[0].toStdString();
}

// "Save statistics..." writes every plotted record, also those the chart
// thins out, in the batch tool's statistics format: run 0, no seed.
TEST_F(FitnessDisplay, SaveStatisticsWritesEveryPlottedRecord)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<GAFitInfo> history = Rising(3000);
    history[1] = {48, 23.45, -0.5, 1};
    window.PlotFitInfo(history);
    ui.savePath = dir.filePath("fitness.csv");
    window.BSaveStats->click();

    EXPECT_EQ(window.BSaveStats->text(), "Save statistics...");
    EXPECT_EQ(ui.lastRequest.defaultName, "fitness.csv");
    EXPECT_EQ(ui.lastRequest.defaultSuffix, "csv");
    EXPECT_TRUE(ui.messages.isEmpty());
    QFile file(ui.savePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3002); // header, 3000 rows, nothing after the last line end
    EXPECT_EQ(lines[0], "run,seed,generation,max,average,min");
    EXPECT_EQ(lines[1], "0,,0,10,5,1");
    EXPECT_EQ(lines[2], "0,,1,48,23.45,-0.5");
    EXPECT_EQ(lines[3000], "0,,2999,3009,1504.5,750.75");
    EXPECT_EQ(lines[3001], "");
}

TEST_F(FitnessDisplay, SaveStatisticsCancelledOrFailedWritesNothing)
{
    QTemporaryDir dir;
    window.PlotFitInfo(Rising(3));
    ui.savePath.clear();
    window.BSaveStatsClick();
    EXPECT_EQ(ui.saveDialogs, 1);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    ui.savePath = dir.filePath("no/such/folder/fitness.csv");
    window.BSaveStatsClick();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0], "Error: Could not write the statistics to " + ui.savePath + ".");
}

// Growing in uneven steps across the regroupings of the buckets, the drawn
// series must always be exactly what the model says, and stay small.
TEST_F(FitnessDisplay, DrawnSeriesFollowAGrowingLongHistory)
{
    SetConsoleSink(nullptr);
    std::vector<GAFitInfo> history;
    int step = 1;
    while (history.size() < 3 * FitnessPlotModel::MaxBuckets + 500) {
        for (int i = 0; i < step; ++i) {
            const int g = static_cast<int>(history.size());
            const double wobble = (g * 7919 % 13) / 4.0;
            history.push_back({20.0 + wobble, 10.0 + wobble / 2.0, wobble / 3.0, g});
        }
        step = step * 5 % 97 + 1;
        window.PlotFitInfo(history);
        window.RefreshChartNow();
        for (int s = 0; s < 3; ++s)
            ASSERT_EQ(Drawn(s), window.PlotModel().Points(s)) << "at " << history.size();
    }
}

TEST_F(FitnessDisplay, HundredThousandGenerationsStayReadable)
{
    SetConsoleSink(nullptr);
    window.show(); // a shown chart lays out its axes at once
    window.PlotFitInfo(Rising(2));
    const int count = 100000;
    std::vector<GAFitInfo> history;
    for (int g = 0; g < count; ++g)
        history.push_back({48.0 * g / count + (g % 3), 24.0, (g % 5) - 2.0, g});
    window.PlotFitInfo(history);
    for (int s = 0; s < 3; ++s)
        EXPECT_LE(Drawn(s).size(), 2 * FitnessPlotModel::MaxBuckets);
    EXPECT_LE(window.MarkerSizePx(), 6);
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QValueAxis* axis = Axis(orientation);
        const double intervals = (axis->max() - axis->min()) / axis->tickInterval();
        EXPECT_GE(intervals, 2.0);
        EXPECT_LE(intervals, 12.0);
    }
    EXPECT_LE(Axis(Qt::Horizontal)->min(), 0.0);
    EXPECT_GT(Axis(Qt::Horizontal)->min(), -0.05 * count);
    EXPECT_GE(Axis(Qt::Horizontal)->max(), count - 1.0);
    EXPECT_LT(Axis(Qt::Horizontal)->max(), 1.05 * count);
    EXPECT_EQ(window.EMaxFitness->text(), "Current maximum fitness: 47.9995");
}

// A maximum that stays put is not hidden: it keeps clear of the plot's top
// and its marker shows around an average at the same value; "Lines" joins
// the points instead.
TEST_F(FitnessDisplay, AFlatMaximumStaysInSightAndLinesCanJoinThePoints)
{
    window.show();
    std::vector<GAFitInfo> history;
    for (int g = 0; g < 50; ++g)
        history.push_back({44.0, g < 10 ? 40.0 : 44.0, 30.0, g});
    window.PlotFitInfo(history);
    window.RefreshChartNow();
    EXPECT_GT(window.Series1->markerSize(), window.Series3->markerSize());
    EXPECT_GT(Axis(Qt::Vertical)->max() - 44.0, 0.075 * (44.0 - 30.0));

    for (const bool lines : {true, false}) {
        window.CBLines->click();
        EXPECT_EQ(window.CBLines->isChecked(), lines);
        for (QLineSeries* series : {window.Series1, window.Series2, window.Series3}) {
            EXPECT_EQ(series->pen().style(), lines ? Qt::SolidLine : Qt::NoPen);
            EXPECT_EQ(series->pointsVisible(), !lines);
            EXPECT_EQ(series->lightMarker().isNull(), lines);
        }
    }
}

TEST_F(FitnessDisplay, SaysWhenTheBestFitnessWasFirstReached)
{
    std::vector<GAFitInfo> history;
    for (int g = 0; g < 30; ++g)
        history.push_back({g < 17 ? 40.0 : 44.0, 38.0, 30.0, g});
    struct Case {
        std::optional<double> target;
        int32_t from;
        const char* text;
    } cases[] = {{44.0, 0, "Maximum 44 first reached at generation 17"},
                 {44.0, 20, "Maximum 44 first reached at generation 20"},
                 {45.0, 0, ""},
                 {std::nullopt, 0, ""}};
    window.PlotFitInfo(history);
    for (const Case& c : cases) {
        window.SetReachTarget(c.target, c.from);
        EXPECT_EQ(window.LMaxReached->text(), c.text);
    }
    // Reached only by a record plotted later.
    window.SetReachTarget(46.0, 0);
    history.push_back({46.0, 40.0, 30.0, 30});
    window.PlotFitInfo(history);
    EXPECT_EQ(window.LMaxReached->text(), "Maximum 46 first reached at generation 30");
    window.ClearPlot();
    EXPECT_EQ(window.LMaxReached->text(), "");
}

// A loaded history holds only the saved generations: where the maximum may
// have come before the first record that has it, the label says so.
TEST_F(FitnessDisplay, ALoadedHistorySaysWhatItCannotKnow)
{
    const struct {
        std::vector<GAFitInfo> history;
        const char* text;
    } cases[] = {
        {{{48, 30, 10, 1584779}}, "Maximum 48 reached by generation 1584779 (generations 0 to 1584778 are not "
                                  "in the history)"},
        {{{40, 30, 10, 100}, {48, 30, 10, 2792}, {48, 40, 10, 1584779}},
         "Maximum 48 reached by generation 2792 (generations 101 to 2791 are not in the history)"},
        {{{40, 30, 10, 0}, {48, 30, 10, 2}}, "Maximum 48 reached by generation 2 (generation 1 is not in the history)"},
        {{{40, 30, 10, 0}, {48, 30, 10, 1}}, "Maximum 48 first reached at generation 1"},
    };
    window.SetReachTarget(48.0, 0);
    for (const auto& c : cases) {
        window.PlotFitInfo(c.history);
        EXPECT_EQ(window.LMaxReached->text(), c.text);
    }
}

// After a long run the climb is found by zooming into the generations: the
// wheel, a drag and a double click, through the chart's view.
TEST_F(FitnessDisplay, TheGenerationsZoomAndPanAndADoubleClickShowsThemAll)
{
    std::vector<GAFitInfo> history;
    for (int g = 0; g < 1000000; ++g) {
        const double max = 48.0 * std::min(g, 2792) / 2792;
        history.push_back({max, max / 2, 0.0, g});
    }
    window.resize(720, 500);
    window.show();
    window.PlotFitInfo(history);
    window.RefreshChartNow();
    EXPECT_FALSE(window.GenerationView());

    window.ZoomGenerations(0, 3000);
    const QList<QPointF> climb = Drawn(0);
    ASSERT_FALSE(climb.isEmpty());
    EXPECT_GE(climb.front().x(), 0.0);
    EXPECT_LE(climb.back().x(), 3000.0);
    EXPECT_GE(climb.size(), 2000); // every generation of it, or nearly
    EXPECT_LE(Axis(Qt::Vertical)->max(), 48.0 * 1.1);

    const QRectF plot = window.Chart1->chart()->plotArea();
    const QPoint centre = window.Chart1->mapFromScene(window.Chart1->chart()->mapToScene(plot.center()));
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, window.Chart1->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(window.Chart1->viewport(), &event);
    };
    const auto width = [&] { return window.GenerationView()->second - window.GenerationView()->first; };

    QWheelEvent notchIn(centre, window.Chart1->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.Chart1->viewport(), &notchIn);
    EXPECT_NEAR(width(), 0.8 * 3000, 1.0);
    const double before = window.GenerationView()->first;
    send(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, centre - QPoint(50, 0), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, centre - QPoint(50, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_GT(window.GenerationView()->first, before); // dragged left: later generations
    EXPECT_NEAR(width(), 0.8 * 3000, 1.0);
    send(QEvent::MouseButtonDblClick, centre, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(window.GenerationView());
    EXPECT_GE(Axis(Qt::Horizontal)->max(), 999999.0);
}

TEST_F(FitnessDisplay, NotesOfMarksCloseTogetherDoNotOverlap)
{
    window.resize(720, 500);
    window.show();
    window.PlotFitInfo(Rising(1000));
    for (int32_t g : {500, 505, 510, 515})
        window.AddMark(g, "simulated Khepera, the open arena, 3 % noise");
    window.RefreshChartNow();
    const std::vector<QRectF> notes = window.VisibleMarkNotes();
    ASSERT_EQ(notes.size(), 4u);
    for (std::size_t a = 0; a < notes.size(); ++a)
        for (std::size_t b = a + 1; b < notes.size(); ++b)
            EXPECT_FALSE(notes[a].intersects(notes[b])) << a << " and " << b;
}
