#include "palviewer.h"

#include "console.h"
#include "uiseam.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
// Text whose background is filled white, top-left at `at`.
void DrawOpaqueText(QPainter& painter, QPoint at, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(at, QSize(metrics.horizontalAdvance(text), metrics.height()));
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

// One-pixel black lines covering [x0, x1) or [y0, y1); empty when the end is
// not past the start.
void HorizontalLine(QPainter& painter, int x0, int x1, int y)
{
    if (x1 > x0)
        painter.fillRect(QRect(x0, y, x1 - x0, 1), Qt::black);
}

void VerticalLine(QPainter& painter, int x, int y0, int y1)
{
    if (y1 > y0)
        painter.fillRect(QRect(x, y0, 1, y1 - y0), Qt::black);
}

// A one-pixel outline along the inside of `box`.
void Frame(QPainter& painter, const QRect& box)
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    HorizontalLine(painter, box.left(), box.right() + 1, box.top());
    HorizontalLine(painter, box.left(), box.right() + 1, box.bottom());
    VerticalLine(painter, box.left(), box.top(), box.bottom() + 1);
    VerticalLine(painter, box.right(), box.top(), box.bottom() + 1);
}

int DotsPerMeter(int dotsPerInch) { return static_cast<int>(std::lround(dotsPerInch / 0.0254)); }
} // namespace

PALViewer::PALViewer(QWidget* paintBox, int n, int k, int m)
    : PALViewer(paintBox, n, k, m, DefaultPalPictureDirectories())
{
}

PALViewer::PALViewer(QWidget* paintBox, int n, int k, int m, const QStringList& pictureDirectories)
    : Fuses(static_cast<uint32_t>(2 * n * k * m)), paintBox_(paintBox), n_(n), k_(k), m_(m)
{
    ClearValues(n, m);
    if (!LoadPalPictures(pictureDirectories, pictures_))
        Ui().Message(paintBox_, "Error", "Error loading the bitmaps\n");
    minimumCanvas_ = paintBox_->size();
    Init();
    Paint();
}

void PALViewer::ClearValues(int n, int m)
{
    inputValues_.assign(static_cast<std::size_t>(n), 0);
    outputValues_.assign(static_cast<std::size_t>(m), 0);
}

void PALViewer::Init()
{
    int outputTextWidth = paintBox_->fontMetrics().horizontalAdvance(QStringLiteral("O000"));
    for (int o = 0; o < m_; ++o)
        outputTextWidth = std::max(outputTextWidth, paintBox_->fontMetrics().horizontalAdvance(OutputTitle(o)));
    layout_ = PalLayout(pictures_.Sizes(), n_, k_, m_, outputTextWidth, minimumCanvas_);
    const QSize canvas = layout_.Canvas();
    ConsolePrintf("PALViewer::Init. %d %d\n", canvas.width(), canvas.height());

    // The schematic is black on white, so 8-bit grey keeps even the largest
    // PAL's background at one byte per device pixel (about 7 MB for 400 AND
    // rows). It has the paint box's pixel ratio, so text stays sharp on
    // high-DPI screens, and its logical resolution, so text measures the same
    // on both.
    const qreal ratio = paintBox_->devicePixelRatioF();
    background_ = QImage((QSizeF(canvas) * ratio).toSize(), QImage::Format_Grayscale8);
    background_.setDevicePixelRatio(ratio);
    background_.setDotsPerMeterX(DotsPerMeter(paintBox_->logicalDpiX()));
    background_.setDotsPerMeterY(DotsPerMeter(paintBox_->logicalDpiY()));
    paintBox_->setFixedSize(canvas);
    DrawBackground(background_);
}

void PALViewer::DrawBackground(QImage& target)
{
    const QSize canvas = layout_.Canvas();
    ConsolePrintf("Canvas size: %d;%d\n", canvas.width(), canvas.height());
    if (target.isNull())
        return;

    QPainter painter(&target);
    painter.setFont(paintBox_->font());
    painter.fillRect(target.rect(), Qt::white);

    for (int i = 0; i < n_; ++i) {
        // An imported name may be wider than its column: it is cut to fit.
        const QString title = inputLabels_.size() == n_
            ? painter.fontMetrics().elidedText(InputTitle(i), Qt::ElideRight, layout_.ColumnPitch() - 1)
            : InputTitle(i);
        DrawOpaqueText(painter, layout_.InputTitlePos(i), title);
        painter.drawImage(layout_.InputPicturePos(i), pictures_.input);
        for (int f = 0; f < 2; ++f)
            VerticalLine(painter, layout_.InputLineX(i, f), layout_.InputLineTop(), layout_.InputLineBottom());
    }

    const int andWidth = pictures_.andGate.width();
    const int textHeight = painter.fontMetrics().height();
    for (int o = 0; o < m_; ++o) {
        for (int t = 0; t < k_; ++t) {
            const int y = layout_.RowY(o, t);
            HorizontalLine(painter, 9, 9 + layout_.InputsWidth(), y);
            painter.drawImage(layout_.AndPicturePos(o, t), pictures_.andGate);
            HorizontalLine(painter, layout_.AndX() + andWidth, layout_.AndX() + andWidth + 10, y);
        }
        Frame(painter, layout_.OrBox(o));
        painter.drawImage(layout_.OrPicturePos(o), pictures_.orGate);
        painter.drawImage(layout_.OutputPicturePos(o), pictures_.output);
        DrawOpaqueText(painter, layout_.OutputTitlePos(o, textHeight), OutputTitle(o));
    }
}

void PALViewer::Paint() { paintBox_->update(); }

void PALViewer::Paint(QPainter& canvas, const QRect& exposed)
{
    const QRect fromBackground = exposed & QRect(QPoint(0, 0), layout_.Canvas());
    if (fromBackground != exposed)
        canvas.fillRect(exposed, Qt::white); // only if the box outgrew the canvas
    if (!fromBackground.isEmpty() && !background_.isNull()) {
        const qreal ratio = background_.devicePixelRatio();
        const QRectF source(QPointF(fromBackground.topLeft()) * ratio, QSizeF(fromBackground.size()) * ratio);
        canvas.drawImage(QRectF(fromBackground), background_, source);
    }

    for (int i = 0; i < n_; ++i)
        if (InputValueRect(i).intersects(exposed))
            DrawInputValue(canvas, i);
    for (int o = 0; o < m_; ++o)
        if (OutputValueRect(o).intersects(exposed))
            DrawOutputValue(canvas, o);

    // Walk the fuses in bit order (output, term, input, fuse), skipping the
    // rows that lie outside the exposed band.
    const int dotHeight = pictures_.point.height();
    const int64_t bits = std::min<int64_t>(Fuses.Size(), int64_t{2} * n_ * k_ * m_);
    const unsigned char* cells = Fuses.Data();
    for (int o = 0; o < m_; ++o) {
        for (int t = 0; t < k_; ++t) {
            const int top = layout_.RowY(o, t) - dotHeight / 2;
            if (top > exposed.bottom() || top + dotHeight <= exposed.top())
                continue;
            for (int i = 0; i < n_; ++i) {
                for (int f = 0; f < 2; ++f) {
                    const int64_t bit = ((int64_t{o} * k_ + t) * n_ + i) * 2 + f;
                    if (bit < bits && cells[bit] != 0 && layout_.FuseRect(i, f, o, t).intersects(exposed))
                        DrawFuse(canvas, i, f, o, t);
                }
            }
        }
    }
}

QRect PALViewer::TextRect(QPoint topLeft, int32_t value) const
{
    const QFontMetrics metrics = paintBox_->fontMetrics();
    return QRect(topLeft, QSize(metrics.horizontalAdvance(QString::number(value)), metrics.height()));
}

QRect PALViewer::InputValueRect(int index) const
{
    return TextRect(layout_.InputValuePos(index), inputValues_[static_cast<std::size_t>(index)]);
}

QRect PALViewer::OutputValueRect(int index) const
{
    return TextRect(layout_.OutputValuePos(index), outputValues_[static_cast<std::size_t>(index)]);
}

void PALViewer::SetInput(int index, int32_t value)
{
    if (index < 0 || index >= n_)
        return;
    const QRect before = InputValueRect(index);
    inputValues_[static_cast<std::size_t>(index)] = value;
    // The old text may have been wider; a pixel of margin covers glyph overhang.
    paintBox_->update((before | InputValueRect(index)).adjusted(-1, -1, 1, 1));
}

void PALViewer::SetOutput(int index, int32_t value)
{
    if (index < 0 || index >= m_)
        return;
    const QRect before = OutputValueRect(index);
    outputValues_[static_cast<std::size_t>(index)] = value;
    paintBox_->update((before | OutputValueRect(index)).adjusted(-1, -1, 1, 1));
}

void PALViewer::DrawInputValue(QPainter& canvas, int index)
{
    DrawOpaqueText(canvas, layout_.InputValuePos(index),
                   QString::number(inputValues_[static_cast<std::size_t>(index)]));
}

void PALViewer::DrawOutputValue(QPainter& canvas, int index)
{
    DrawOpaqueText(canvas, layout_.OutputValuePos(index),
                   QString::number(outputValues_[static_cast<std::size_t>(index)]));
}

void PALViewer::DrawFuse(QPainter& canvas, int input, int fuse, int output, int term)
{
    canvas.drawImage(layout_.FuseRect(input, fuse, output, term).topLeft(), pictures_.point);
}

void PALViewer::Reallocate(int n, int k, int m)
{
    if (n != n_ || m != m_) {
        inputLabels_.clear();
        outputLabels_.clear();
    }
    n_ = n;
    k_ = k;
    m_ = m;
    Fuses = BitString(static_cast<uint32_t>(2 * n * k * m));
    ClearValues(n, m);
    ConsolePrintf("reallocating\n");
    ConsolePrintf("%p\n", static_cast<void*>(inputValues_.data()));
    Init();
    Paint();
}

void PALViewer::SetLabels(const QStringList& inputs, const QStringList& outputs)
{
    inputLabels_ = inputs;
    outputLabels_ = outputs;
    Init();
    Paint();
}

QString PALViewer::InputTitle(int index) const
{
    return inputLabels_.size() == n_ ? inputLabels_[index] : QStringLiteral("I%1").arg(index);
}

QString PALViewer::OutputTitle(int index) const
{
    return outputLabels_.size() == m_ ? outputLabels_[index] : QStringLiteral("O%1").arg(index);
}
