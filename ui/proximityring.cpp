#include "proximityring.h"

#include <QLabel>
#include <QPainter>

namespace {
QPixmap Filled(QSize size, bool white)
{
    QPixmap pixmap(size);
    pixmap.fill(white ? Qt::white : Qt::black);
    QPainter painter(&pixmap);
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return pixmap;
}
} // namespace

ProximityRing::ProximityRing(QWidget* parent) : QWidget(parent)
{
    setObjectName("Image1");
    setFixedSize(Diameter, Diameter);

    Label1 = new QLabel("Proximity sensors", this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(22, 30, Diameter - 44, Diameter - 60);

    // Left, top, right, bottom: 16 x 16 at the sides, 24 x 16 at top and bottom.
    const QRect places[4] = {{2, 44, 16, 16}, {40, 2, 24, 16}, {85, 44, 16, 16}, {40, 85, 24, 16}};
    for (int k = 0; k < 4; ++k) {
        auto* indicator = new QLabel(this);
        indicator->setObjectName(QString("PBProx%1").arg(k));
        indicator->setGeometry(places[k]);
        PBProx[static_cast<std::size_t>(k)] = indicator;
    }
    SetIndicators({});
}

void ProximityRing::SetIndicators(const std::array<bool, 4>& white)
{
    for (std::size_t k = 0; k < 4; ++k) {
        white_[k] = white[k];
        PBProx[k]->setPixmap(Filled(PBProx[k]->size(), white[k]));
    }
}

void ProximityRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    painter.drawEllipse(QRectF(9.5, 9.5, Diameter - 19, Diameter - 19));
}
