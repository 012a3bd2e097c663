#pragma once
// The marks of the fitness chart where the fitness changed meaning (robot
// mode switched, truth table or motor table changed): a dashed vertical line
// at the first generation scored the new way, with its note at the top (one
// line lower for each note it would overlap).
// Drawn as graphics items over the plot, not as series, so the chart's
// series and legend stay the three fitness curves.
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

class QChart;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QXYSeries;

struct FitnessMark {
    int32_t generation; // the first generation scored the new way
    QString note;
    bool operator==(const FitnessMark&) const = default;
};

class FitnessMarkLayer {
public:
    explicit FitnessMarkLayer(QChart* chart) : chart_(chart) {}

    void SetMarks(const std::vector<FitnessMark>& marks);
    // Puts the lines and notes where the chart now maps the generations of
    // `reference`; a mark outside the plotted generations [first, last] is hidden.
    void Place(const QXYSeries* reference, double first, double last, double bottom, double top);

    int VisibleCount() const;
    // Where the visible notes are, in the chart's scene.
    std::vector<QRectF> VisibleNoteRects() const;

private:
    QChart* chart_;
    std::vector<FitnessMark> marks_;
    std::vector<QGraphicsLineItem*> lines_;
    std::vector<QGraphicsSimpleTextItem*> notes_;
};
