#pragma once
// A one-line label that never asks for the width of its text: when the room
// it gets is too narrow, the text is cut with an ellipsis, and hovering shows
// it whole (unless the label has a tooltip of its own). So a long note in the
// status bar cannot make the main window wider. text() stays whole.
#include <QLabel>

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // Where the text is cut: at the right (the default), or in the middle.
    void SetElideMode(Qt::TextElideMode mode);
    // Whether the text is cut at the label's present width.
    bool IsElided() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextArea() const;
    Qt::TextElideMode mode_ = Qt::ElideRight;
};
