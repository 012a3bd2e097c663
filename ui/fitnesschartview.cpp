#include "fitnesschartview.h"

#include <QChart>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace {
// One notch of the wheel (120 eighths of a degree) shows 80 % of the range.
constexpr double ZoomPerNotch = 0.8;
} // namespace

FitnessChartView::FitnessChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setToolTip("Mouse wheel: zoom the generations; drag: move along them; double-click: every generation");
}

double FitnessChartView::GenerationAt(QPointF position) const
{
    const QPointF inChart = chart()->mapFromScene(mapToScene(position.toPoint()));
    return chart()->mapToValue(inChart).x();
}

void FitnessChartView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || !onZoom) {
        QChartView::wheelEvent(event);
        return;
    }
    onZoom(GenerationAt(event->position()), std::pow(ZoomPerNotch, delta / 120.0));
    event->accept();
}

void FitnessChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && chart()->plotArea().contains(event->position())) {
        dragging_ = true;
        dragFrom_ = event->position().x();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void FitnessChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && onPan) {
        const double x = event->position().x();
        // Dragging to the right brings earlier generations into view.
        onPan(GenerationAt(QPointF(dragFrom_, 0)) - GenerationAt(QPointF(x, 0)));
        dragFrom_ = x;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void FitnessChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void FitnessChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onShowAll) {
        onShowAll();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}
