#include "orvikapplication.h"

#include "uiseam.h"

#include <clocale>
#include <exception>

OrvikApplication::OrvikApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Qt has set the process locale from the environment; population and
    // table files are written with printf/scanf formats that must use '.'.
    std::setlocale(LC_NUMERIC, "C");
}

bool OrvikApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Ui().Message(activeWindow(), QString(), QString::fromLocal8Bit(error.what()));
    }
    return false;
}
