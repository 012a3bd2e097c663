#include "elidedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

QSize ElidedLabel::minimumSizeHint() const
{
    // Room for the ellipsis alone.
    const int ellipsis = fontMetrics().horizontalAdvance(QStringLiteral("\u2026"));
    return {ellipsis + 2 * margin(), QLabel::minimumSizeHint().height()};
}

void ElidedLabel::SetElideMode(Qt::TextElideMode mode)
{
    mode_ = mode;
    update();
}

QRect ElidedLabel::TextArea() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

bool ElidedLabel::IsElided() const { return fontMetrics().horizontalAdvance(text()) > TextArea().width(); }

bool ElidedLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (IsElided())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = TextArea();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), mode_, area.width()));
}
