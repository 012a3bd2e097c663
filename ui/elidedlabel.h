#pragma once
// A one-line label that never asks for the width of its text: when the room
// it gets is too narrow, the text is cut with an ellipsis. So a long note in
// the status bar cannot make the main window wider. text() stays whole.
#include <QLabel>

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
