#pragma once
// PalPaintBox: the widget the PAL schematic is drawn on (the main window's
// PaintBox1, inside its scroll area). It draws nothing itself: it hands its
// paint events and mouse presses on, like a paint box with OnPaint and
// OnMouseDown events. Connect OnPaint directly (same thread): the painter is
// only valid during the signal.
#include <QWidget>

class PalPaintBox : public QWidget {
    Q_OBJECT
public:
    // The size the paint box is designed with; PALViewer keeps the canvas at
    // least this large.
    static constexpr QSize DesignedSize{777, 673};

    explicit PalPaintBox(QWidget* parent = nullptr);

signals:
    // Emitted from paintEvent with a painter on this widget and the rectangle
    // that needs drawing (widget coordinates).
    void OnPaint(QPainter& painter, const QRect& exposed);
    // Any mouse button; x, y in widget (= canvas) coordinates.
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
