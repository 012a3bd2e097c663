#pragma once
// The fitness chart's view: the mouse wheel zooms the generation axis about
// the generation under the pointer, dragging moves along it, a double click
// shows every generation again. It only reports what the mouse asks for, in
// generations; the fitness window decides what the axes then show.
#include <QChartView>

#include <functional>

class FitnessChartView : public QChartView {
public:
    explicit FitnessChartView(QChart* chart, QWidget* parent = nullptr);

    // `factor` < 1 zooms in about generation `centre`, > 1 out.
    std::function<void(double centre, double factor)> onZoom;
    // Move the view by `generations` (positive: later generations).
    std::function<void(double generations)> onPan;
    std::function<void()> onShowAll;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The generation at `position` (view coordinates).
    double GenerationAt(QPointF position) const;

    bool dragging_ = false;
    double dragFrom_ = 0.0; // pixels
};
