// orvik-screenshot OUTPUT_DIR: builds the program's windows, loads a truth
// table (O0 = I0 XOR I1, O1 = I2 AND I3, O2 = I0 OR I3), evolves it for a
// while, and saves main-window.png and fitness-chart.png into OUTPUT_DIR.
//
// orvik-screenshot OUTPUT_DIR --robot DEVICE GENERATIONS: instead evolves 10
// individuals of a 4 x 4 PAL in robot mode (2-second runs) against the robot
// (or simulated robot) on DEVICE for GENERATIONS generations, prints each
// generation's maximum, average and minimum fitness, and saves
// robot-window.png and robot-chart.png.
//
// orvik-screenshot OUTPUT_DIR --pla FILE: the logic-synthesis round of
// logicrun.h, saving logic-*.png.
//
// orvik-screenshot OUTPUT_DIR --gal FILE: the GAL export round of galrun.h,
// saving gal-*.png.
//
// orvik-screenshot OUTPUT_DIR --simulated GENERATIONS: robot mode on the
// simulated Khepera inside Orvik (simulatedrun.h), saving simulated-*.png.
//
// orvik-screenshot OUTPUT_DIR --transfer FILE.ga DEVICE MOTOR RUNS: an evolved
// controller run on a robot (transferrun.h), saving transfer-window.png.
#include "galrun.h"
#include "logicrun.h"
#include "simulatedrun.h"
#include "transferrun.h"
#include "orvikwindows.h"
#include "tffitnessdisplay.h"
#include "kkhepera.h"
#include "tforvik.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QDir>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <pty.h>
#include <termios.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {
int RobotRun(TFOrvik* window, const QDir& out, const QString& device, int generations)
{
    window->show();
    window->move(40, 40);
    window->SetPalSize(4, 2, 4);
    window->Population.SetPopulationSize(10);
    window->SetCurrentIndividual(0);
    window->Khepera->SetDevicePath(device);
    window->ELengthRun->setText("2");
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick();
    if (!window->CBKhepera->isChecked()) {
        std::fprintf(stderr, "the robot on %s does not answer\n", qPrintable(device));
        return 1;
    }
    FFitnessDisplay->move(window->x() + window->width() + 20, window->y());
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window->Population.GetGeneration() >= generations - 1)
            FFitnessDisplay->BStopClick();
    });
    watch.start(100);
    window->Evolve();
    watch.stop();
    for (const GAFitInfo& g : window->Population.GetFitInfo())
        std::printf("generation %d: max %.3f average %.3f min %.3f\n", g.generation, g.max, g.average, g.min);
    FFitnessDisplay->RefreshChartNow();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const bool ok = window->grab().save(out.filePath("robot-window.png")) &&
                    FFitnessDisplay->grab().save(out.filePath("robot-chart.png"));
    DestroyOrvikWindows();
    return ok ? 0 : 1;
}
} // namespace

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
    if (argc >= 5 && QString(argv[2]) == "--robot")
        return RobotRun(window, out, QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    if (argc >= 4 && QString(argv[2]) == "--simulated")
        return SimulatedRun(window, out, std::atoi(argv[3]));
    if (argc >= 4 && QString(argv[2]) == "--pla")
        return LogicRun(window, out, QString::fromLocal8Bit(argv[3]));
    if (argc >= 7 && QString(argv[2]) == "--transfer")
        return TransferRun(window, out, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                           QString::fromLocal8Bit(argv[5]), std::atoi(argv[6]));
    if (argc >= 4 && QString(argv[2]) == "--gal")
        return GalRun(window, out, QString::fromLocal8Bit(argv[3]));
    for (uint32_t r = 0; r < 16; ++r) {
        const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        window->Table[r * 3 + 0] = i0 ^ i1;
        window->Table[r * 3 + 1] = i2 & i3;
        window->Table[r * 3 + 2] = (r % 5 == 0) ? -1 : (i0 | i3); // a few don't-cares
    }
    window->show();
    window->move(40, 40);

    // Evolve for 60 generations (grabbing both windows mid-run, at generation
    // 20), then show the best individual with two inputs set.
    FFitnessDisplay->move(window->x() + window->width() + 20, window->y());
    bool grabbedMidRun = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!grabbedMidRun && window->Population.GetGeneration() >= 20) {
            grabbedMidRun = true;
            FFitnessDisplay->RefreshChartNow();
            window->grab().save(out.filePath("main-window-midrun.png"));
            FFitnessDisplay->grab().save(out.filePath("fitness-chart-midrun.png"));
        }
        if (window->Population.GetGeneration() >= 60)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    window->Evolve();
    watch.stop();
    window->PaintBox1MouseDown(5, 25);
    window->PaintBox1MouseDown(3 * 36 + 5, 25);
    window->SetCurrentIndividual(0);
    FFitnessDisplay->RefreshChartNow();

    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    bool ok = window->grab().save(out.filePath("main-window.png")) &&
              FFitnessDisplay->grab().save(out.filePath("fitness-chart.png"));

    // The largest PAL, scrolled to its last outputs.
    window->SetPalSize(10, 40, 10);
    window->ScrollBox1->verticalScrollBar()->setValue(window->ScrollBox1->verticalScrollBar()->maximum());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    ok = ok && window->grab().save(out.filePath("main-window-largest.png"));
    DestroyOrvikWindows();
    return ok ? 0 : 1;
}
