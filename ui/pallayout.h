#pragma once
// PalLayout: where every part of the PAL schematic goes, in paint-box pixels
// (x to the right, y down, origin at the top-left of the canvas). It needs no
// widget: it is computed from the sizes of the schematic's pictures, the PAL
// dimensions and the pixel width of the text "O000", so the geometry can be
// checked with plain numbers. PALViewer only paints at these positions.
//
// Geometry (all integer pixels, halvings truncate toward zero):
//   column pitch P = input width + 1, all input columns W = P x N,
//   row pitch R = AND height + 2,
//   block pitch B = AND height + (K - 1) x R + 20 (first rows of two outputs),
//   line length L = (AND height + 20) x (M - 1) + (K - 1) x R x M,
//   row y(o, t) = o x B + Hin + 20 + t x R,
//   output centre yc(o) = o x B + Hin + 20 + ((K - 1) x R) / 2,
//   AND gates at xa = 9 + W, OR box from xb = xa + AND width + 10,
//   output pictures at xo = xa + AND width + OR width + 20.
#include <QPoint>
#include <QRect>
#include <QSize>

// Sizes of the pictures the layout depends on (the cleared-fuse picture is
// never drawn). A picture that failed to load has size 0 x 0.
struct PalPictureSizes {
    QSize input{0, 0};
    QSize andGate{0, 0};
    QSize orGate{0, 0};
    QSize output{0, 0};
    QSize point{0, 0};
};

class PalLayout {
public:
    // x offsets of an input's two vertical lines inside its column:
    // fuse 0 (true input) and fuse 1 (complemented input).
    static constexpr int LeftLineOffset = 9;
    static constexpr int RightLineOffset = 26;
    // A click hits an input when its label's reference point is at most this
    // far away (Euclidean, pixels).
    static constexpr double InputReach = 15.0;

    // An empty layout: no inputs, rows or outputs, canvas 0 x 0.
    PalLayout() = default;
    // n inputs, k AND terms per output, m outputs (each >= 1 in practice).
    // outputTextWidth: pixel width of "O000" in the paint box's font.
    // minimumCanvas: the canvas is never smaller than this in either dimension.
    PalLayout(const PalPictureSizes& pictures, int n, int k, int m, int outputTextWidth,
              QSize minimumCanvas);

    int NumInputs() const { return n_; }
    int NumAndTerms() const { return k_; }
    int NumOutputs() const { return m_; }

    int InputHeight() const { return pictures_.input.height(); } // Hin
    int ColumnPitch() const { return p_; }                       // P
    int InputsWidth() const { return w_; }                       // W
    int RowPitch() const { return r_; }                          // R
    int BlockPitch() const { return b_; }                        // B
    int LineLength() const { return l_; }                        // L

    // Canvas before and after clamping up to the minimum canvas.
    QSize ComputedCanvas() const { return computedCanvas_; }
    QSize Canvas() const { return canvas_; }

    // --- inputs (i = 0 .. N - 1) ---
    QPoint InputTitlePos(int i) const { return {i * p_, 0}; }        // "I%d"
    QPoint InputPicturePos(int i) const { return {i * p_, 20}; }
    QPoint InputValuePos(int i) const { return {i * p_ + 1, 21}; }   // value label
    // x of the input's line for fuse f (0 or 1).
    int InputLineX(int i, int f) const;
    // First and last y of every input line (the line covers [top, bottom)).
    int InputLineTop() const { return InputHeight() + 20; }
    int InputLineBottom() const { return InputHeight() + 20 + l_; }

    // --- AND rows (o = 0 .. M - 1, t = 0 .. K - 1) ---
    int RowY(int o, int t) const;
    int AndX() const { return 9 + w_; }                               // xa
    QPoint AndPicturePos(int o, int t) const;

    // --- OR boxes and outputs ---
    int OutputCentreY(int o) const;                                   // yc(o)
    int OrBoxX() const { return AndX() + pictures_.andGate.width() + 10; } // xb
    // The framed OR box of output o; right() and bottom() are the last pixels
    // of the 1-pixel frame.
    QRect OrBox(int o) const;
    QPoint OrPicturePos(int o) const;
    int OutputX() const;                                              // xo
    QPoint OutputPicturePos(int o) const;
    QPoint OutputValuePos(int o) const;                               // value label
    // "O%d", vertically centred on the output for a text of textHeight pixels.
    QPoint OutputTitlePos(int o, int textHeight) const;

    // --- fuses (input i, fuse f, output o, term t) ---
    QPoint FuseCentre(int i, int f, int o, int t) const;
    // Where the set-fuse picture goes: centred on the crossing.
    QRect FuseRect(int i, int f, int o, int t) const;

    // Index of the input whose value label is nearest to (x, y), or -1 when
    // none lies within InputReach. Ties go to the lower index.
    int NearestInput(int x, int y) const;

private:
    PalPictureSizes pictures_;
    int n_ = 0, k_ = 0, m_ = 0;
    int p_ = 0, w_ = 0, r_ = 0, b_ = 0, l_ = 0;
    QSize computedCanvas_{0, 0};
    QSize canvas_{0, 0};
};
