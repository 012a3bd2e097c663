#include "simulatedrun.h"

#include "orvikwindows.h"
#include "tfcomconfigure.h"
#include "tffitnessdisplay.h"
#include "tforvik.h"
#include "tfrobotarena.h"
#include "uiseam.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {
// Shows the port dialog, lets it paint, saves it and presses OK.
struct DialogSeam : UiSeam {
    QDir out;
    int Exec(QDialog* dialog) override
    {
        auto* com = static_cast<TFComConfigure*>(dialog);
        com->RBSimulated->setChecked(true);
        com->ENoise->setText("10");
        dialog->show();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        dialog->grab().save(out.filePath("simulated-communication.png"));
        dialog->accept();
        return dialog->result();
    }
};
} // namespace

int SimulatedRun(TFOrvik* window, const QDir& out, int generations)
{
    DialogSeam seam;
    seam.out = out;
    SetUiSeam(&seam);
    window->show();
    window->move(40, 40);
    window->Communication1Click();
    SetUiSeam(nullptr);

    window->SetPalSize(4, 2, 4);
    window->Population.SetPopulationSize(30);
    window->SetCurrentIndividual(0);
    window->CBKhepera->click();
    window->RobotArena1Click();
    window->FRobotArena->resize(560, 600);
    window->FRobotArena->move(window->x() + window->width() + 20, window->y());
    FFitnessDisplay->move(window->FRobotArena->x() + window->FRobotArena->width() + 20, window->y());

    bool grabbed = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const int generation = window->Population.GetGeneration();
        if (!grabbed && generation >= generations / 2) {
            grabbed = true;
            window->FRobotArena->grab().save(out.filePath("simulated-arena-midrun.png"));
        }
        if (generation + 1 >= generations)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    QElapsedTimer clock;
    clock.start();
    window->Evolve();
    const double seconds = clock.elapsed() / 1000.0;
    watch.stop();
    for (const GAFitInfo& g : window->Population.GetFitInfo())
        std::printf("generation %d: max %.3f average %.3f min %.3f\n", g.generation, g.max, g.average, g.min);
    std::printf("%zu generations in %.1f s\n", window->Population.GetFitInfo().size(), seconds);
    FFitnessDisplay->RefreshChartNow();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const bool ok = window->grab().save(out.filePath("simulated-window.png")) &&
                    FFitnessDisplay->grab().save(out.filePath("simulated-chart.png"));
    DestroyOrvikWindows();
    return ok ? 0 : 1;
}
