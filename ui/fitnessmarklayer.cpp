#include "fitnessmarklayer.h"

#include <QBrush>
#include <QChart>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <QXYSeries>

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
        notes_[k]->setPos(left, high.y() + 2 + (text.height() + 2) * static_cast<double>(k % 2));
    }
}

int FitnessMarkLayer::VisibleCount() const
{
    int visible = 0;
    for (const QGraphicsLineItem* line : lines_)
        visible += line->isVisible() ? 1 : 0;
    return visible;
}
