// Orvik's entry point: make the application, create the seven windows in
// order, run the event loop until the main window closes.
#include "installcheck.h"
#include "orvikapplication.h"
#include "orvikwindows.h"
#include "tforvik.h"
#include "uiseam.h"
#include "windowplacement.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {
// Qt aborts when it finds no display; say so plainly instead.
bool DisplayAvailable()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (InstallCheckRequested(argc, argv))
        return RunInstallCheck(argc, argv);
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Orvik needs a display and found none; run it under a virtual one: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    OrvikApplication app(argc, argv);
    try {
        CreateOrvikWindows();
        CentreOnScreen(FOrvik);
        FOrvik->show();
        app.exec();
    } catch (const std::exception& error) {
        Ui().Message(nullptr, QString(), QString::fromLocal8Bit(error.what()));
    }
    DestroyOrvikWindows();
    return 0;
}
