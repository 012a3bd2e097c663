#pragma once
// A panel of the main window's status bar: a label at least its design width
// wide and never narrower than its text, so that the layout may not cut it
// (the statistics of a large PAL run longer than the design width).
#include <QLabel>

#include <algorithm>

class StatusPanel : public QLabel {
public:
    StatusPanel(const QString& text, int designWidth, QWidget* parent)
        : QLabel(text, parent), designWidth_(designWidth)
    {
    }

    QSize minimumSizeHint() const override { return Widened(QLabel::minimumSizeHint()); }
    QSize sizeHint() const override { return Widened(QLabel::sizeHint()); }

private:
    QSize Widened(QSize size) const
    {
        size.setWidth(std::max(size.width(), designWidth_));
        return size;
    }

    int designWidth_;
};
