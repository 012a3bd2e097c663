// orvik-screenshot OUTPUT_DIR: builds the program's windows, loads a truth
// table (O0 = I0 XOR I1, O1 = I2 AND I3, O2 = I0 OR I3), evolves it for a
// while, and saves main-window.png and fitness-chart.png into OUTPUT_DIR.
#include "orvikwindows.h"
#include "tffitnessdisplay.h"
#include "tforvik.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QTimer>

#include <pty.h>
#include <termios.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvik-screenshot OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir::setCurrent(QCoreApplication::applicationDirPath()); // the schematic's pictures

    // The robot link gets a pseudo-terminal of its own: nothing answers on it,
    // but it opens cleanly.
    int master = -1, slave = -1;
    char device[256] = {};
    struct termios raw {};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, device, &raw, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    CreateOrvikWindows(QString::fromLocal8Bit(device));
    TFOrvik* window = FOrvik;
    for (uint32_t r = 0; r < 16; ++r) {
        const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        window->Table[r * 3 + 0] = i0 ^ i1;
        window->Table[r * 3 + 1] = i2 & i3;
        window->Table[r * 3 + 2] = (r % 5 == 0) ? -1 : (i0 | i3); // a few don't-cares
    }
    window->show();
    window->move(40, 40);

    // Evolve for 60 generations, then show the best individual with two inputs set.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window->Population.GetGeneration() >= 60)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    window->Evolve();
    watch.stop();
    window->PaintBox1MouseDown(5, 25);
    window->PaintBox1MouseDown(3 * 36 + 5, 25);
    window->SetCurrentIndividual(0);
    FFitnessDisplay->move(window->x() + window->width() + 20, window->y());
    FFitnessDisplay->RefreshChartNow();

    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const bool ok = window->grab().save(out.filePath("main-window.png")) &&
                    FFitnessDisplay->grab().save(out.filePath("fitness-chart.png"));
    DestroyOrvikWindows();
    return ok ? 0 : 1;
}
