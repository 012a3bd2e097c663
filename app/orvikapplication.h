#pragma once
#include <QApplication>

// The application object. Like a classic toolkit's per-event error display,
// an exception escaping an event handler is shown in a message box with its
// message, and the event loop goes on.
class OrvikApplication : public QApplication {
public:
    OrvikApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
