// Saving populations, loading a saved generation back, programming an
// individual, and the fitness plot command of the main window.
#include "tforvik.h"

#include "console.h"
#include "orvikwindows.h"
#include "palviewer.h"
#include "tffitnessdisplay.h"
#include "tfgachooser.h"
#include "uiseam.h"

#include <QPushButton>

namespace {
FileDialogRequest PopulationFileRequest(const QString& caption, bool forSaving)
{
    FileDialogRequest request;
    request.caption = caption;
    request.defaultName = "default.ga";
    request.defaultSuffix = "ga";
    request.filter = forSaving ? "GA files (*.ga);;Text files (*.txt);;All files (*)" : "GA files (*.ga)";
    // Saving appends to a file that may not exist yet; loading needs one.
    request.mustExist = !forSaving;
    return request;
}

std::string LocalPath(const QString& path) { return path.toLocal8Bit().toStdString(); }
} // namespace

void TFOrvik::BSaveGenClick()
{
    const QString path = Ui().SaveFileName(this, PopulationFileRequest("Save current population", true));
    if (path.isEmpty())
        return;
    const GAFileResult result = Population.SaveGeneration(LocalPath(path));
    if (!result)
        ShowError(QString::fromStdString(result.message));
}

void TFOrvik::BLoadProgramClick()
{
    const QString path = Ui().OpenFileName(this, PopulationFileRequest("Load a population", false));
    if (path.isEmpty())
        return;
    const std::string file = LocalPath(path);
    const GAGenerationList list = GA::ReadGenerationList(file);
    if (!list) {
        ShowError(QString::fromStdString(list.message));
        return;
    }
    if (list.records.empty()) {
        ShowError("The file holds no population.");
        return;
    }
    if (FGAChooser->Choose(&list.records) != QDialog::Accepted)
        return;
    const int32_t generation = FGAChooser->ChosenGeneration;
    const int32_t individual = std::max(FGAChooser->ChosenIndividual, 0);

    ConsolePrintf("Loading generation %d\n", generation);
    const GAFileResult loaded = Population.LoadGeneration(file, generation);
    if (!loaded) {
        ShowError(QString::fromStdString(loaded.message));
        return;
    }
    UpdateStatusBar();
    ConsolePrintf("Programming individual %d\n", individual);
    SetCurrentIndividual(std::min<int32_t>(individual, static_cast<int32_t>(Population.GetPopulationSize()) - 1));
    Viewer->Paint();
    FFitnessDisplay->PlotFitInfo(Population.GetFitInfo());

    const std::vector<GAFitInfo> info = Population.GetFitInfo();
    ConsolePrintf("dumping fitinfo\n");
    for (std::size_t k = 0; k < info.size(); ++k)
        ConsolePrintf("%d %lf %lf %lf\n", static_cast<int>(k), info[k].max, info[k].average, info[k].min);
}

void TFOrvik::BProgramIndividualClick()
{
    const std::vector<GAData>& history = Population.History();
    if (history.empty())
        return;
    const std::vector<GAData> last{history.back()};
    if (FGAChooser->Choose(&last) != QDialog::Accepted || FGAChooser->ChosenIndividual < 0)
        return;
    SetCurrentIndividual(FGAChooser->ChosenIndividual);
    Viewer->Paint();
}

void TFOrvik::BShowFitnessClick()
{
    FFitnessDisplay->BClose->setEnabled(true);
    FFitnessDisplay->BStop->setEnabled(false);
    FFitnessDisplay->StopRequested = false;
    FFitnessDisplay->show();
    FFitnessDisplay->raise();
    FFitnessDisplay->PlotFitInfo(Population.GetFitInfo());
}
