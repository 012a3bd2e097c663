#include "tffitnessdisplay.h"

#include "console.h"
#include "fitnesschartview.h"
#include "elidedlabel.h"
#include "fitnessmarkers.h"
#include "fitnesstext.h"
#include "shortcuts.h"
#include "statisticsfile.h"
#include "tablefile.h"
#include "uiseam.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStringList>
#include <QLegend>
#include <QLocale>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
const char StopCaption[] = "Stop";
const char StoppingCaption[] = "Stopping\u2026";

struct SeriesStyle {
    const char* title;
    MarkerShape shape;
    QColor fill;
    QColor outline;
};

// In the chart's series order: Series1, Series3, Series2. The yellow is a
// golden one with a dark rim so that it stays readable on white.
const SeriesStyle kStyles[FitnessPlotModel::SeriesCount] = {
    {"Maximum", MarkerShape::Triangle, QColor(220, 30, 30), QColor(120, 0, 0)},
    {"Average", MarkerShape::Circle, QColor(245, 190, 0), QColor(130, 90, 0)},
    {"Minimum", MarkerShape::DownTriangle, QColor(30, 160, 50), QColor(0, 85, 20)},
};

// Marker side in pixels for a series of `points` points: dense series get
// small markers so that neighbouring generations stay apart.
int MarkerSizeFor(int points)
{
    if (points <= 100)
        return 9;
    if (points <= 1000)
        return 7;
    return 6;
}

// A tick step of 1, 2 or 5 times a power of ten giving about five intervals.
double NiceStep(double span, double smallest)
{
    const double rough = span / 5.0;
    if (!(rough > 0.0) || !std::isfinite(rough))
        return smallest > 0.0 ? smallest : 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    return std::max(step, smallest);
}
// The axis makes one graphics item per tick at once, so the range and the
// tick step change in the order that never asks for a flood of ticks (a jump
// from 0..1 to 0..100,000 at the old step of 1 would make 100,000 of them).
void SetAxis(QValueAxis* axis, double low, double high, double step)
{
    if (step >= axis->tickInterval()) {
        axis->setTickInterval(step);
        axis->setRange(low, high);
    } else {
        axis->setRange(low, high);
        axis->setTickInterval(step);
    }
}
} // namespace

TFFitnessDisplay::TFFitnessDisplay(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle("Evolution of average and maximum fitness");
    // A side window: it must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildChart();
    BuildLayout();
    resize(720, 500);

    refreshTimer_.setSingleShot(true);
    connect(&refreshTimer_, &QTimer::timeout, this, &TFFitnessDisplay::RefreshChartNow);
    connect(BStop, &QPushButton::clicked, this, &TFFitnessDisplay::BStopClick);
    connect(BClose, &QPushButton::clicked, this, &TFFitnessDisplay::BCloseClick);
    connect(BSave, &QPushButton::clicked, this, &TFFitnessDisplay::BSaveClick);
    connect(BSaveStats, &QPushButton::clicked, this, &TFFitnessDisplay::BSaveStatsClick);
}

void TFFitnessDisplay::BuildChart()
{
    chart_ = new QChart;
    chart_->setTitle("Fitness");
    chart_->setBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->setAnimationOptions(QChart::NoAnimation);
    markLayer_ = FitnessMarkLayer(chart_);
    connect(chart_, &QChart::plotAreaChanged, this, &TFFitnessDisplay::PlaceMarks);

    Series1 = new QLineSeries;
    Series3 = new QLineSeries;
    Series2 = new QLineSeries;
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        QLineSeries* series = SeriesAt(s);
        series->setName(kStyles[s].title);
        series->setColor(kStyles[s].fill);
        // Points only: the line between generations is not drawn.
        QPen pen(kStyles[s].fill);
        pen.setStyle(Qt::NoPen);
        series->setPen(pen);
        series->setPointsVisible(true);
        chart_->addSeries(series);
    }
    UpdateMarkers(MarkerSizeFor(0));

    axisX_ = new QValueAxis;
    axisX_->setTitleText("Generations");
    axisX_->setLabelFormat("%.0f"); // "1000000", not "1e+06"
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0.0);
    axisY_ = new QValueAxis;
    axisY_->setTitleText("Fitness");
    axisY_->setLabelFormat("%g");
    axisY_->setTickType(QValueAxis::TicksDynamic);
    axisY_->setTickAnchor(0.0);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        SeriesAt(s)->attachAxis(axisX_);
        SeriesAt(s)->attachAxis(axisY_);
    }
    UpdateAxes();

    chart_->legend()->setVisible(true);
    // Below the plot, so that a window narrowed to the room beside the main
    // window keeps its width for the curves.
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    auto* view = new FitnessChartView(chart_);
    view->onZoom = [this](double centre, double factor) { ZoomAbout(centre, factor); };
    view->onPan = [this](double generations) { PanBy(generations); };
    view->onShowAll = [this] { ShowAllGenerations(); };
    Chart1 = view;
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setBackgroundBrush(Qt::white);
    Chart1->setMinimumSize(360, 240);
}

void TFFitnessDisplay::BuildLayout()
{
    // Cut rather than widen the window when a text is long, so that the
    // window keeps the place it was given on the screen.
    EMaxFitness = new ElidedLabel;
    // The label changes once per generation; painting its own background
    // spares a repaint of the window behind it each time.
    EMaxFitness->setAutoFillBackground(true);
    BSave = new QPushButton("Save figure...");
    BSaveStats = new QPushButton("Save statistics...");
    BStop = new QPushButton(StopCaption);
    BStop->setEnabled(false);
    GiveApplicationShortcut(BStop, Shortcuts::Stop, "Stop after the generation under way");
    BClose = new QPushButton("Close");
    LMaxReached = new ElidedLabel;
    LMaxReached->hide(); // shown while it has something to say
    LMarks = new QLabel;
    LMarks->setWordWrap(true);
    LMarks->hide();
    CBLines = new QCheckBox("Lines");
    CBLines->setToolTip("Join the points of each curve with lines");
    connect(CBLines, &QCheckBox::toggled, this, &TFFitnessDisplay::SetLines);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSave);
    buttons->addWidget(BSaveStats);
    buttons->addStretch(1);
    buttons->addWidget(BStop);
    buttons->addWidget(BClose);

    auto* layout = new QVBoxLayout(this);
    // What the chart shows beyond its curves, between it and the buttons.
    auto* notes = new QHBoxLayout;
    notes->addWidget(EMaxFitness, 1);
    notes->addWidget(CBLines);

    layout->addWidget(Chart1, 1);
    layout->addWidget(LMarks);
    layout->addLayout(notes);
    layout->addWidget(LMaxReached);
    layout->addLayout(buttons);
}

QLineSeries* TFFitnessDisplay::SeriesAt(int index) const
{
    switch (index) {
    case 0: return Series1;
    case 1: return Series3;
    default: return Series2;
    }
}

void TFFitnessDisplay::PlotFitInfo(const std::vector<GAFitInfo>& history)
{
    lastChange_ = model_.Update(history);
    Plotted(history);
}

void TFFitnessDisplay::PlotFitInfo(const std::vector<GAFitInfo>& history, std::uint64_t revision)
{
    lastChange_ = model_.Update(history, revision);
    Plotted(history);
}

void TFFitnessDisplay::ClearPlot()
{
    model_.Clear();
    lastChange_ = FitnessPlotModel::Change::Rebuilt;
    view_.reset();
    EMaxFitness->clear();
    ClearMarks();
    reachTarget_.reset();
    UpdateReach();
    ScheduleRefresh();
}

void TFFitnessDisplay::AddMark(int32_t generation, const QString& note)
{
    marks_.push_back({generation, note});
    markLayer_.SetMarks(marks_);
    QStringList lines;
    for (const FitnessMark& mark : marks_)
        lines << QString("Generation %1: %2.").arg(mark.generation).arg(mark.note);
    LMarks->setText("The fitness changed meaning (dashed line). " + lines.join(' '));
    LMarks->show();
    PlaceMarks();
}

void TFFitnessDisplay::ClearMarks()
{
    marks_.clear();
    markLayer_.SetMarks(marks_);
    LMarks->clear();
    LMarks->hide();
}

void TFFitnessDisplay::SetReachTarget(std::optional<double> target, int32_t fromGeneration)
{
    if (target == reachTarget_ && fromGeneration == reachFrom_)
        return;
    reachTarget_ = target;
    reachFrom_ = fromGeneration;
    reachedAt_.reset();
    reachScanned_ = 0;
    UpdateReach();
}

void TFFitnessDisplay::UpdateReach()
{
    const std::vector<GAFitInfo>& records = model_.Records();
    if (lastChange_ == FitnessPlotModel::Change::Rebuilt || reachScanned_ > records.size()) {
        reachedAt_.reset();
        reachScanned_ = 0;
    }
    if (reachTarget_ && !reachedAt_) {
        for (std::size_t k = reachScanned_; k < records.size(); ++k) {
            if (records[k].generation >= reachFrom_ && records[k].max >= *reachTarget_) {
                reachedAt_ = records[k].generation;
                // A loaded history holds only the generations that were
                // saved: the maximum may have come earlier, after the record
                // before.
                const int32_t before = k > 0 ? records[k - 1].generation : -1;
                reachUnknownFrom_ = std::max(before + 1, reachFrom_);
                break;
            }
        }
    }
    reachScanned_ = records.size();
    QString text;
    if (reachTarget_ && reachedAt_) {
        const QString target = FitnessText(*reachTarget_);
        if (reachUnknownFrom_ >= *reachedAt_)
            text = QString("Maximum %1 first reached at generation %2").arg(target).arg(*reachedAt_);
        else if (reachUnknownFrom_ + 1 == *reachedAt_)
            text = QString("Maximum %1 reached by generation %2 (generation %3 is not in the history)")
                       .arg(target).arg(*reachedAt_).arg(reachUnknownFrom_);
        else
            text = QString("Maximum %1 reached by generation %2 (generations %3 to %4 are not in the history)")
                       .arg(target).arg(*reachedAt_).arg(reachUnknownFrom_).arg(*reachedAt_ - 1);
    }
    LMaxReached->setText(text);
    LMaxReached->setVisible(!text.isEmpty());
}

void TFFitnessDisplay::SetLines(bool lines)
{
    lines_ = lines;
    if (CBLines->isChecked() != lines)
        CBLines->setChecked(lines);
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        QLineSeries* series = SeriesAt(s);
        QPen pen(kStyles[s].fill, 1.5);
        pen.setStyle(lines ? Qt::SolidLine : Qt::NoPen);
        series->setPen(pen);
        series->setPointsVisible(!lines);
    }
    UpdateMarkers(markerSize_);
}

void TFFitnessDisplay::Plotted(const std::vector<GAFitInfo>& history)
{
    ConsolePrintf("PlotFitInfo\n");
    ConsolePrintf("Size: %d\n", static_cast<int>(history.size()));
    if (!history.empty()) {
        EMaxFitness->setText("Current maximum fitness: " + FitnessText(history.back().max));
    }
    UpdateReach();
    if (lastChange_ == FitnessPlotModel::Change::Rebuilt)
        view_.reset(); // another history: all of it
    if (lastChange_ != FitnessPlotModel::Change::None)
        ScheduleRefresh();
}

void TFFitnessDisplay::ScheduleRefresh()
{
    chartStale_ = true;
    if (!isVisible())
        return; // caught up when shown
    const qint64 waited = sinceRefresh_.isValid() ? sinceRefresh_.elapsed() : refreshIntervalMs_;
    if (waited >= refreshIntervalMs_)
        RefreshChartNow();
    else if (!refreshTimer_.isActive())
        refreshTimer_.start(refreshIntervalMs_ - static_cast<int>(waited));
}

void TFFitnessDisplay::RefreshChartNow()
{
    refreshTimer_.stop();
    QElapsedTimer cost;
    cost.start();
    SyncSeries();
    UpdateAxes();
    chartStale_ = false;
    // Refresh about 20 times as seldom as a refresh takes (repaint not
    // counted), so a fast run spends only a few percent of its time on it.
    refreshIntervalMs_ = static_cast<int>(
        std::clamp<qint64>(20 * cost.elapsed(), MinRefreshIntervalMs, MaxRefreshIntervalMs));
    sinceRefresh_.start();
}

void TFFitnessDisplay::SyncSeries()
{
    if (view_) {
        // Zoomed: the records in view, grouped afresh for that range.
        zoomed_ = model_.PointsBetween(view_->first, view_->second);
        for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s)
            SeriesAt(s)->replace(zoomed_.points[s]);
        syncedLayout_ = ~std::uint64_t{0}; // the whole history is drawn afresh when shown again
        const int size = MarkerSizeFor(Series1->count());
        if (size != markerSize_)
            UpdateMarkers(size);
        return;
    }
    const bool rebuild = model_.Layout() != syncedLayout_;
    // The bucket that was still filling at the last sync may have new extremes.
    const int firstDirty = rebuild ? 0 : syncedBuckets_ - (syncedLastOpen_ ? 1 : 0);
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        QLineSeries* series = SeriesAt(s);
        // Every change signal makes a series recompute the geometry of all its
        // points, and appending a list signals once per point. So each sync
        // makes one change per series: a single new point is appended,
        // anything else replaces the whole list (at most 2 * MaxBuckets points).
        if (!rebuild && model_.PointCountBefore(s, firstDirty) == series->count()) {
            const QList<QPointF> added = model_.Points(s, firstDirty);
            if (added.size() <= 1) {
                if (!added.isEmpty())
                    series->append(added.first());
                continue;
            }
        }
        series->replace(model_.Points(s));
    }
    syncedLayout_ = model_.Layout();
    syncedBuckets_ = model_.BucketCount();
    syncedLastOpen_ = model_.LastBucketOpen();

    const int size = MarkerSizeFor(Series1->count());
    if (size != markerSize_)
        UpdateMarkers(size);
}

void TFFitnessDisplay::UpdateMarkers(int sizePx)
{
    markerSize_ = sizePx;
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        QLineSeries* series = SeriesAt(s);
        // The maximum a little larger: where the average equals it, its
        // triangle still shows around the average's circle.
        const int size = s == 0 ? sizePx + 2 : sizePx;
        series->setMarkerSize(size);
        const SeriesStyle& style = kStyles[s];
        series->setLightMarker(lines_ ? QImage() : MakeMarkerImage(style.shape, style.fill, style.outline, size));
    }
}

std::pair<double, double> TFFitnessDisplay::AllGenerations() const
{
    if (model_.RecordCount() == 0)
        return {0.0, 1.0};
    const double x0 = model_.MinGeneration();
    const double x1 = model_.MaxGeneration();
    // A little room at both ends so the first and last markers show whole.
    const double pad = std::max(0.5, 0.015 * (x1 - x0));
    return {x0 - pad, x1 + pad};
}

void TFFitnessDisplay::ZoomGenerations(double first, double last)
{
    const auto [all0, all1] = AllGenerations();
    if (!(last - first >= MinZoomGenerations)) {
        const double centre = (first + last) / 2;
        first = centre - MinZoomGenerations / 2;
        last = centre + MinZoomGenerations / 2;
    }
    if (last - first >= all1 - all0) {
        ShowAllGenerations();
        return;
    }
    // Moved back inside the history, keeping its width.
    const double shift = first < all0 ? all0 - first : (last > all1 ? all1 - last : 0.0);
    view_ = std::pair{first + shift, last + shift};
    RefreshChartNow();
}

void TFFitnessDisplay::ShowAllGenerations()
{
    if (!view_)
        return;
    view_.reset();
    RefreshChartNow();
}

void TFFitnessDisplay::ZoomAbout(double centre, double factor)
{
    const auto [first, last] = view_ ? *view_ : AllGenerations();
    ZoomGenerations(centre - (centre - first) * factor, centre + (last - centre) * factor);
}

void TFFitnessDisplay::PanBy(double generations)
{
    if (view_)
        ZoomGenerations(view_->first + generations, view_->second + generations);
}

void TFFitnessDisplay::UpdateAxes()
{
    double y0 = 0.0, y1 = 1.0;
    const auto [x0, x1] = view_ ? *view_ : AllGenerations();
    const bool hasValues = view_ ? zoomed_.hasValueExtent : model_.HasValueExtent();
    if (model_.RecordCount() > 0 && hasValues) {
        // The fitness axis fits what is shown.
        y0 = view_ ? zoomed_.minValue : model_.MinValue();
        y1 = view_ ? zoomed_.maxValue : model_.MaxValue();
        // A margin so the extreme markers are not cut at the plot's edges,
        // and more headroom on top so that a maximum that stays put does
        // not run along the plot's upper border.
        const double span = y1 - y0;
        const double margin = span > 0.0 ? 0.05 * span : std::max(1.0, 0.05 * std::abs(y0));
        y0 -= margin;
        y1 += span > 0.0 ? 0.08 * span : margin;
    }
    SetAxis(axisX_, x0, x1, NiceStep(x1 - x0, 1.0));
    SetAxis(axisY_, y0, y1, NiceStep(y1 - y0, 0.0));
    PlaceMarks();
}

void TFFitnessDisplay::PlaceMarks()
{
    if (marks_.empty())
        return;
    double first = model_.RecordCount() > 0 ? model_.MinGeneration() : 0.0;
    double last = model_.RecordCount() > 0 ? model_.MaxGeneration() : -1.0;
    if (view_) {
        first = std::max(first, view_->first);
        last = std::min(last, view_->second);
    }
    markLayer_.Place(Series1, first, last, axisY_->min(), axisY_->max());
}

void TFFitnessDisplay::BStopClick()
{
    StopRequested = true;
    if (!BStop->isEnabled())
        return;
    BStop->setEnabled(false);
    BStop->setText(QString::fromUtf8(StoppingCaption));
    emit StopTaken();
}

void TFFitnessDisplay::SetRunning(bool running)
{
    BClose->setEnabled(!running);
    BStop->setEnabled(running);
    BStop->setText(StopCaption);
}

void TFFitnessDisplay::BCloseClick() { hide(); }

void TFFitnessDisplay::BSaveClick()
{
    FileDialogRequest request;
    request.defaultName = "fitness.bmp";
    request.defaultSuffix = "bmp";
    request.filter = "Bitmap files (*.bmp)";
    // The dialog starts in its default folder, which has no name of its own.
    ConsolePrintf("InitialDir: %s\n", "");
    const QString path = Ui().SaveFileName(this, request);
    if (path.isEmpty())
        return;
    ConsolePrintf("We got da filename: %s\n", path.toUtf8().constData());

    RefreshChartNow();
    const char* format = path.endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP";
    if (!Chart1->grab().save(path, format))
        Ui().Message(this, "Error", QString("Could not write the figure to %1.").arg(path));
    else
        emit FileWritten("Figure written to " + ShownPath(path));
}

void TFFitnessDisplay::BSaveStatsClick()
{
    FileDialogRequest request;
    request.caption = "Save statistics";
    request.defaultName = "fitness.csv";
    request.defaultSuffix = "csv";
    request.filter = "Statistics files (*.csv)";
    const QString path = Ui().SaveFileName(this, request);
    if (path.isEmpty())
        return;
    // Every record the chart holds, also those it thins out when drawing.
    const std::string text = StatisticsFile::ForHistory(model_.Records());
    if (!WriteTextFile(path, QByteArray::fromStdString(text)))
        Ui().Message(this, "Error", QString("Could not write the statistics to %1.").arg(path));
    else
        emit FileWritten("Statistics written to " + ShownPath(path));
}

void TFFitnessDisplay::closeEvent(QCloseEvent* event)
{
    // While evolution runs, the title-bar box is the way out of the run: it
    // asks for the stop like "Stop" does (the generation under way completes).
    if (BStop->isEnabled())
        BStopClick();
    event->accept();
}

void TFFitnessDisplay::keyPressEvent(QKeyEvent* event)
{
    // "Close" is the cancel button; a disabled one ignores Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (BClose->isEnabled())
            BCloseClick();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFFitnessDisplay::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (chartStale_)
        RefreshChartNow();
}
