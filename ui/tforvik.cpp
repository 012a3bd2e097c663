#include "tforvik.h"

TFOrvik::TFOrvik(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle("Orvik");
    resize(684, 504);
}
