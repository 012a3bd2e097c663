#include "pallayout.h"

#include <algorithm>
#include <cmath>

PalLayout::PalLayout(const PalPictureSizes& pictures, int n, int k, int m, int outputTextWidth,
                     QSize minimumCanvas)
    : pictures_(pictures), n_(n), k_(k), m_(m)
{
    const int hand = pictures.andGate.height();
    p_ = pictures.input.width() + 1;
    w_ = p_ * n;
    r_ = hand + 2;
    b_ = hand + (k - 1) * r_ + 20;
    l_ = (hand + 20) * (m - 1) + (k - 1) * r_ * m;

    const int width = 9 + w_ + pictures.andGate.width() + pictures.orGate.width()
                      + pictures.output.width() + outputTextWidth + 25;
    const int height = hand + InputHeight() + l_ + 20;
    computedCanvas_ = QSize(width, height);
    canvas_ = QSize(std::max(width, minimumCanvas.width()), std::max(height, minimumCanvas.height()));
}

int PalLayout::InputLineX(int i, int f) const
{
    return i * p_ + (f == 0 ? LeftLineOffset : RightLineOffset);
}

int PalLayout::RowY(int o, int t) const { return o * b_ + InputHeight() + 20 + t * r_; }

QPoint PalLayout::AndPicturePos(int o, int t) const
{
    return {AndX(), RowY(o, t) - pictures_.andGate.height() / 2};
}

int PalLayout::OutputCentreY(int o) const
{
    return o * b_ + InputHeight() + 20 + ((k_ - 1) * r_) / 2;
}

QRect PalLayout::OrBox(int o) const
{
    const int halfAnd = pictures_.andGate.height() / 2;
    const int right = AndX() + pictures_.andGate.width() + pictures_.orGate.width() + 20;
    const int bottom = RowY(o, k_ - 1) + halfAnd;
    // The frame covers [left, right) x [top, bottom).
    return QRect(QPoint(OrBoxX(), RowY(o, 0) - halfAnd), QPoint(right - 1, bottom - 1));
}

QPoint PalLayout::OrPicturePos(int o) const
{
    return {AndX() + pictures_.andGate.width() + 15, OutputCentreY(o) - pictures_.orGate.height() / 2};
}

int PalLayout::OutputX() const
{
    return AndX() + pictures_.andGate.width() + pictures_.orGate.width() + 20;
}

QPoint PalLayout::OutputPicturePos(int o) const
{
    return {OutputX(), OutputCentreY(o) - pictures_.output.height() / 2};
}

QPoint PalLayout::OutputValuePos(int o) const
{
    return {OutputX() + 18, OutputCentreY(o) - pictures_.output.height() / 2 + 1};
}

QPoint PalLayout::OutputTitlePos(int o, int textHeight) const
{
    return {OutputX() + pictures_.output.width() + 5, OutputCentreY(o) - textHeight / 2};
}

QPoint PalLayout::FuseCentre(int i, int f, int o, int t) const
{
    return {InputLineX(i, f), RowY(o, t)};
}

QRect PalLayout::FuseRect(int i, int f, int o, int t) const
{
    const QPoint centre = FuseCentre(i, f, o, t);
    return QRect(centre.x() - pictures_.point.width() / 2, centre.y() - pictures_.point.height() / 2,
                 pictures_.point.width(), pictures_.point.height());
}

int PalLayout::NearestInput(int x, int y) const
{
    if (n_ < 1)
        return -1;
    // Reference point of input i: (i x P + 5, 25), the top-left area of its
    // value label. Integer squares, compared as doubles.
    auto distance = [&](int i) {
        const int dx = i * p_ + 5 - x;
        const int dy = 25 - y;
        return std::sqrt(static_cast<double>(dx * dx + dy * dy));
    };
    int best = 0;
    double bestDistance = distance(0);
    for (int i = 1; i < n_; ++i) {
        const double d = distance(i);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return bestDistance > InputReach ? -1 : best;
}
