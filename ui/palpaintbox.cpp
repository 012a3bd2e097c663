#include "palpaintbox.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PalPaintBox::PalPaintBox(QWidget* parent) : QWidget(parent)
{
    resize(DesignedSize);
    // Everything visible is drawn by the OnPaint handler.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PalPaintBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    if (!isSignalConnected(QMetaMethod::fromSignal(&PalPaintBox::OnPaint))) {
        painter.fillRect(event->rect(), Qt::white); // nothing to draw yet
        return;
    }
    emit OnPaint(painter, event->rect());
}

void PalPaintBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
}
