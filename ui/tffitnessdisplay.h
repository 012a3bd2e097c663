#pragma once
// The fitness plot window: maximum, average and minimum fitness of every
// recorded generation, the "Stop" button of an evolution run,
// "Save figure..." and "Save statistics..." (the plotted history as a
// statistics file, statisticsfile.h).
//
// PlotFitInfo is called once per generation with the whole history; the
// window takes only what is new (FitnessPlotModel) and, while it is shown,
// brings the chart's series up to date at most every MinRefreshIntervalMs (more
// seldom when a refresh gets costly, never more seldom than MaxRefreshIntervalMs),
// so the cost of a generation does not grow with the length of the run.
#include "fitnessmarklayer.h"
#include "fitnessplotmodel.h"
#include "gadata.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

class TFFitnessDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinRefreshIntervalMs = 50;
    static constexpr int MaxRefreshIntervalMs = 500;

    explicit TFFitnessDisplay(QWidget* parent = nullptr);

    // Shows `history` (one record per generation, in order) in place of what
    // the chart showed, and the last record's maximum in EMaxFitness. An empty
    // history empties the chart and leaves the label as it is.
    void PlotFitInfo(const std::vector<GAFitInfo>& history);
    // The same for revision `revision` of a GA's history (GA::HistoryRevision):
    // while the revision stays, only the records added since the last call are
    // looked at, so a long run costs the same per generation at its end as at
    // its start. The one-argument form compares the whole history instead.
    void PlotFitInfo(const std::vector<GAFitInfo>& history, std::uint64_t revision);
    // Empties the chart, its marks and the maximum label: the history they
    // showed is gone.
    void ClearPlot();

    // Marks the generation from which the fitness means something else
    // (fitnessmarklayer.h); the notes are also listed in LMarks.
    void AddMark(int32_t generation, const QString& note);
    void ClearMarks();
    const std::vector<FitnessMark>& Marks() const { return marks_; }
    int VisibleMarkCount() const { return markLayer_.VisibleCount(); }
    std::vector<QRectF> VisibleMarkNotes() const { return markLayer_.VisibleNoteRects(); }
    // The best fitness there is (a truth table's), or none (robot runs):
    // LMaxReached tells the first generation from `fromGeneration` on whose
    // maximum reached it.
    void SetReachTarget(std::optional<double> target, int32_t fromGeneration);
    std::optional<int32_t> MaximumReachedAt() const { return reachedAt_; }
    // Points only (the default) or the points joined by lines without markers.
    void SetLines(bool lines);

    // The generations the chart shows: all of them (following a run as it
    // grows), or the range [first, last] that the mouse wheel, a drag or
    // ZoomGenerations chose (kept within the history, at least
    // MinZoomGenerations wide); a double click or ShowAllGenerations goes
    // back to all. A new history shows all again.
    void ZoomGenerations(double first, double last);
    void ShowAllGenerations();
    std::optional<std::pair<double, double>> GenerationView() const { return view_; }
    static constexpr double MinZoomGenerations = 5.0;

    // Brings the drawn series and axes up to date now instead of at the next
    // refresh tick (used before saving the figure; tests use it too).
    void RefreshChartNow();

    // What the last PlotFitInfo took: nothing, appending the new records, or a rebuild.
    FitnessPlotModel::Change LastPlotChange() const { return lastChange_; }
    const FitnessPlotModel& PlotModel() const { return model_; }
    // Side of the point markers in pixels; shrinks as the points get dense.
    int MarkerSizePx() const { return markerSize_; }

    // Sets StopRequested. While a run is under way ("Stop" enabled) it also
    // shows at once that the stop was taken: "Stop" is disabled and reads
    // "Stopping…", and StopTaken is emitted.
    void BStopClick();
    void BCloseClick();
    void BSaveClick();
    void BSaveStatsClick();

    // The buttons of a run under way ("Close" disabled, "Stop" enabled) or of
    // none ("Close" enabled, "Stop" disabled); "Stop" gets its caption back.
    void SetRunning(bool running);

    // Set by "Stop" (and by closing the window while "Stop" is enabled); read
    // and cleared by the evolution driver, cleared by "Show fitness plot".
    bool StopRequested = false;

    QChartView* Chart1 = nullptr;
    QLineSeries* Series1 = nullptr; // "Maximum"
    QLineSeries* Series3 = nullptr; // "Average"
    QLineSeries* Series2 = nullptr; // "Minimum"
    QLabel* EMaxFitness = nullptr;
    QPushButton* BClose = nullptr;
    QPushButton* BStop = nullptr;
    QPushButton* BSave = nullptr;
    QPushButton* BSaveStats = nullptr;
    QLabel* LMaxReached = nullptr; // "Maximum 44 first reached at generation 17"
    QLabel* LMarks = nullptr;      // the marks' notes, hidden while there are none
    QCheckBox* CBLines = nullptr;  // "Lines"

signals:
    // The stop of a run under way was asked for (by "Stop" or by closing the window).
    void StopTaken();
    // "Save figure..." or "Save statistics..." wrote a file: `note` says where.
    void FileWritten(const QString& note);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildChart();
    void BuildLayout();
    void Plotted(const std::vector<GAFitInfo>& history);
    void ScheduleRefresh();
    void SyncSeries();
    void UpdateAxes();
    void UpdateMarkers(int sizePx);
    QLineSeries* SeriesAt(int index) const;
    void UpdateReach();
    void PlaceMarks();
    // The generation axis when every generation is shown, with a little room
    // at both ends.
    std::pair<double, double> AllGenerations() const;
    void ZoomAbout(double centre, double factor);
    void PanBy(double generations);

    QChart* chart_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;

    FitnessPlotModel model_;
    FitnessPlotModel::Change lastChange_ = FitnessPlotModel::Change::None;

    // What the series show: the model's layout and bucket count at the last sync.
    std::uint64_t syncedLayout_ = ~std::uint64_t{0};
    int syncedBuckets_ = 0;
    bool syncedLastOpen_ = false;
    bool chartStale_ = false;
    int markerSize_ = 0;
    bool lines_ = false;

    std::optional<std::pair<double, double>> view_;
    FitnessPlotModel::View zoomed_; // what the zoomed view shows, at the last refresh

    std::vector<FitnessMark> marks_;
    FitnessMarkLayer markLayer_{nullptr};
    std::optional<double> reachTarget_;
    int32_t reachFrom_ = 0;
    std::optional<int32_t> reachedAt_;
    int32_t reachUnknownFrom_ = 0; // the first generation before reachedAt_ that may have reached it
    std::size_t reachScanned_ = 0; // records already looked at for reachedAt_

    int refreshIntervalMs_ = MinRefreshIntervalMs;
    QTimer refreshTimer_;
    QElapsedTimer sinceRefresh_;
};
