#include "transferrun.h"

#include "ga.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "tfcomconfigure.h"
#include "tforvik.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

#include <cstdio>

namespace {
// Prints the "Fitness" box instead of waiting for a click.
struct PrintingSeam : UiSeam {
    // The Communication dialog, when asked: the simulated Khepera, no noise.
    int Exec(QDialog* dialog) override
    {
        auto* com = static_cast<TFComConfigure*>(dialog);
        com->RBSimulated->setChecked(true);
        com->ENoise->setText("0");
        dialog->accept();
        return dialog->result();
    }
    void Message(QWidget*, const QString& caption, const QString& text) override
    {
        std::printf("%s: %s\n", qPrintable(caption), qPrintable(text));
        std::fflush(stdout);
    }
};
} // namespace

int TransferRun(TFOrvik* window, const QDir& out, const QString& file, const QString& device,
                const QString& motor, int runs)
{
    const std::string path = file.toStdString();
    const GAGenerationList list = GA::ReadGenerationList(path);
    if (list.records.empty()) {
        std::fprintf(stderr, "%s: no population\n", qPrintable(file));
        return 1;
    }
    const QStringList speeds = motor.split(',');
    if (speeds.size() != 4) {
        std::fprintf(stderr, "motor table %s: expected four speeds\n", qPrintable(motor));
        return 2;
    }
    PrintingSeam seam;
    SetUiSeam(&seam);
    window->show();
    window->move(40, 40);
    const uint32_t length = list.places.back().length;
    window->SetPalSize(4, static_cast<int>(length / 32), 4);
    const GAFileResult loaded = window->Population.LoadListedGeneration(path, list, list.records.size() - 1);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", loaded.message.c_str());
        return 1;
    }
    uint32_t best = 0;
    for (uint32_t i = 1; i < window->Population.GetPopulationSize(); ++i)
        if (window->Population.At(i).GetFitness() > window->Population.At(best).GetFitness())
            best = i;
    std::printf("generation %d, individual %u, fitness in simulation %f\n", list.records.back().generation, best,
                window->Population.At(best).GetFitness());
    for (int k = 0; k < 4; ++k)
        window->Motors[k] = speeds[k].toInt();
    window->SetCurrentIndividual(static_cast<int32_t>(best));
    if (device == "simulated")
        window->Communication1Click();
    else
        window->Khepera->SetDevicePath(device);
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick();
    if (!window->CBKhepera->isChecked()) {
        std::fprintf(stderr, "the robot on %s does not answer\n", qPrintable(device));
        return 1;
    }
    for (int run = 0; run < runs; ++run)
        window->BComputeFitnessClick();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const bool ok = window->grab().save(out.filePath("transfer-window.png"));
    DestroyOrvikWindows();
    SetUiSeam(nullptr);
    return ok ? 0 : 1;
}
