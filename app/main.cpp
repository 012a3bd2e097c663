#include "orvikapplication.h"
#include "tforvik.h"

#include <cstdio>
#include <cstdlib>

namespace {
// Qt aborts when it finds no display; say so plainly instead.
bool DisplayAvailable()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}
} // namespace

int main(int argc, char** argv)
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Orvik needs a display: none found (no DISPLAY); "
                             "run it as: xvfb-run -a ./scripts/run.sh\n");
        return 1;
    }
    OrvikApplication app(argc, argv);
    TFOrvik window;
    window.show();
    app.exec();
    return 0;
}
