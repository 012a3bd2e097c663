#include "fitnessmarkers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

QImage MakeMarkerImage(MarkerShape shape, const QColor& fill, const QColor& outline, int sizePx)
{
    const int size = std::max(sizePx, 3);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    // A one-pixel rim is most of a small marker: soften it there so the
    // fill colour still reads as that colour.
    QColor rim = outline;
    if (size < 7) {
        rim = QColor((outline.red() + fill.red()) / 2, (outline.green() + fill.green()) / 2,
                     (outline.blue() + fill.blue()) / 2);
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(rim, 1.0));
    painter.setBrush(fill);

    // Keep the outline inside the image: half a pen width from every edge.
    const qreal lo = 0.5;
    const qreal hi = size - 0.5;
    const qreal mid = size / 2.0;
    switch (shape) {
    case MarkerShape::Circle:
        painter.drawEllipse(QRectF(lo, lo, hi - lo, hi - lo));
        break;
    case MarkerShape::Triangle:
        painter.drawPolygon(QPolygonF({QPointF(mid, lo), QPointF(hi, hi), QPointF(lo, hi)}));
        break;
    case MarkerShape::DownTriangle:
        painter.drawPolygon(QPolygonF({QPointF(lo, lo), QPointF(hi, lo), QPointF(mid, hi)}));
        break;
    }
    return image;
}
