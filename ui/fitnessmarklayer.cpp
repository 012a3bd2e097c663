#include "fitnessmarklayer.h"

#include <QBrush>
#include <QChart>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <QXYSeries>

#include <algorithm>

void FitnessMarkLayer::SetMarks(const std::vector<FitnessMark>& marks)
{
    marks_ = marks;
    while (lines_.size() < marks_.size()) {
        auto* line = new QGraphicsLineItem(chart_);
        line->setPen(QPen(QColor(90, 90, 90), 1.5, Qt::DashLine));
        line->setZValue(10);
        auto* note = new QGraphicsSimpleTextItem(chart_);
        note->setBrush(QColor(60, 60, 60));
        note->setZValue(10);
        lines_.push_back(line);
        notes_.push_back(note);
    }
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        const bool used = k < marks_.size();
        lines_[k]->setVisible(false); // shown by Place
        notes_[k]->setVisible(false);
        notes_[k]->setText(used ? marks_[k].note : QString());
    }
}

void FitnessMarkLayer::Place(const QXYSeries* reference, double first, double last, double bottom, double top)
{
    // The notes placed so far: a note goes on the first line down from the
    // top where it overlaps none of them.
    std::vector<QRectF> taken;
    for (std::size_t k = 0; k < marks_.size(); ++k) {
        const double x = marks_[k].generation;
        const bool shown = x >= first && x <= last;
        lines_[k]->setVisible(shown);
        notes_[k]->setVisible(shown);
        if (!shown)
            continue;
        // The series may not be drawn yet; the mapping needs only the axes.
        const QPointF low = chart_->mapToPosition(QPointF(x, bottom), const_cast<QXYSeries*>(reference));
        const QPointF high = chart_->mapToPosition(QPointF(x, top), const_cast<QXYSeries*>(reference));
        lines_[k]->setLine(QLineF(low, high));
        // The note just right of the line, near the top, kept inside the plot.
        const QRectF plot = chart_->plotArea();
        const QRectF text = notes_[k]->boundingRect();
        double left = high.x() + 4;
        if (left + text.width() > plot.right())
            left = high.x() - 4 - text.width();
        QRectF place(QPointF(left, high.y() + 2), text.size());
        const auto overlaps = [&] {
            return std::any_of(taken.begin(), taken.end(), [&](const QRectF& other) { return other.intersects(place); });
        };
        while (overlaps() && place.bottom() < plot.bottom())
            place.translate(0, text.height() + 2);
        taken.push_back(place);
        notes_[k]->setPos(place.topLeft());
    }
}

std::vector<QRectF> FitnessMarkLayer::VisibleNoteRects() const
{
    std::vector<QRectF> rects;
    for (const QGraphicsSimpleTextItem* note : notes_)
        if (note->isVisible())
            rects.push_back(note->sceneBoundingRect());
    return rects;
}

int FitnessMarkLayer::VisibleCount() const
{
    int visible = 0;
    for (const QGraphicsLineItem* line : lines_)
        visible += line->isVisible() ? 1 : 0;
    return visible;
}
