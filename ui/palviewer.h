#pragma once
// PALViewer: draws one PAL configuration as a schematic on a paint box — a
// column per input with its true and complemented lines, a row per AND term
// with its AND gate, an OR box and an output per output, a dot on every set
// fuse and the 0/1 value of every input and output — and turns a click into
// the number of the nearest input.
//
// Data flow: the owner assigns the shown chromosome to `Fuses` and the values
// through SetInput/SetOutput, then asks for Paint(). The static part of the
// drawing (pictures, lines, titles, OR boxes) is rendered once per layout into
// an off-screen background image; every paint event copies the exposed part
// of it and draws the value labels and set fuses that intersect the exposed
// rectangle on top, so even the largest PAL (400 AND rows, a canvas several
// thousand pixels tall) scrolls smoothly.
//
// Painting happens only inside the paint box's paint event: the owner
// forwards that event to Paint(painter, exposed); Paint() from anywhere else
// just schedules a repaint.
#include "bitstring.h"
#include "palpictures.h"
#include "pallayout.h"

#include <QImage>
#include <QStringList>

#include <cstdint>
#include <vector>

class QPainter;
class QWidget;

class PALViewer {
public:
    // Draws on `paintBox` (not owned) a PAL of n inputs, k AND terms per output
    // and m outputs (each >= 1). Loads the six pictures from
    // DefaultPalPictureDirectories(); when they cannot be loaded, shows
    // "Error loading the bitmaps\n" once and goes on with empty pictures.
    // The paint box's current size becomes the minimum canvas size for good.
    PALViewer(QWidget* paintBox, int n, int k, int m);
    // The same, looking for the pictures in `pictureDirectories`, in order.
    PALViewer(QWidget* paintBox, int n, int k, int m, const QStringList& pictureDirectories);
    PALViewer(const PALViewer&) = delete;
    PALViewer& operator=(const PALViewer&) = delete;

    // The configuration being shown, 2 x N x K x M bits in chromosome order;
    // the owner assigns the chromosome to it. A shorter string shows the
    // fuses it has.
    BitString Fuses;

    // Recomputes the layout and canvas size, resizes the background image and
    // the paint box to the canvas and draws the background.
    void Init();
    // Draws the static schematic onto `target` (the background image).
    void DrawBackground(QImage& target);

    // Schedules a repaint of the whole paint box.
    void Paint();
    // The drawing itself, for the paint box's paint event: background, value
    // labels and set fuses, limited to what intersects `exposed`.
    void Paint(QPainter& canvas, const QRect& exposed);

    // Store a value (0 or 1 in practice, drawn as a decimal number) and
    // repaint only its label. Indices out of range are ignored.
    void SetInput(int index, int32_t value);
    void SetOutput(int index, int32_t value);

    // Draw one value label or one set fuse on `canvas` (paint-event painter).
    void DrawInputValue(QPainter& canvas, int index);
    void DrawOutputValue(QPainter& canvas, int index);
    void DrawFuse(QPainter& canvas, int input, int fuse, int output, int term);

    // New dimensions: every fuse, input and output value becomes 0, then
    // Init and Paint. The minimum canvas size stays the constructor's. The
    // names of SetLabels are kept only when n and m stay the same.
    void Reallocate(int n, int k, int m);

    // Names drawn instead of "I%d" over the inputs and "O%d" beside the
    // outputs (an input's name is shortened to its column); a list whose
    // length is not N (or M) gives the numbered titles. Then Init and Paint.
    void SetLabels(const QStringList& inputs, const QStringList& outputs);
    QString InputTitle(int index) const;
    QString OutputTitle(int index) const;

    // The input whose value label is nearest to paint-box position (x, y), or
    // -1 when none lies within 15 pixels (ties go to the lower index).
    int NearestInput(int x, int y) const { return layout_.NearestInput(x, y); }

    const PalLayout& Layout() const { return layout_; }
    int32_t InputValue(int index) const { return inputValues_.at(static_cast<std::size_t>(index)); }
    int32_t OutputValue(int index) const { return outputValues_.at(static_cast<std::size_t>(index)); }
    int NumInputs() const { return n_; }
    int NumAndTerms() const { return k_; }
    int NumOutputs() const { return m_; }
    QSize MinimumCanvas() const { return minimumCanvas_; }
    // The off-screen background: canvas size times the paint box's pixel ratio.
    const QImage& Background() const { return background_; }

private:
    void ClearValues(int n, int m);
    QRect InputValueRect(int index) const;
    QRect OutputValueRect(int index) const;
    QRect TextRect(QPoint topLeft, int32_t value) const;

    QWidget* paintBox_;
    int n_;
    int k_;
    int m_;
    PalPictures pictures_;
    QSize minimumCanvas_;
    PalLayout layout_;
    QImage background_;
    std::vector<int32_t> inputValues_;
    std::vector<int32_t> outputValues_;
    QStringList inputLabels_;
    QStringList outputLabels_;
};
