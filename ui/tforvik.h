#pragma once
#include <QMainWindow>

// The main window "Orvik".
class TFOrvik : public QMainWindow {
    Q_OBJECT
public:
    explicit TFOrvik(QWidget* parent = nullptr);
};
