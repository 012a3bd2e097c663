// Saving populations, loading a saved generation back, programming an
// individual, and the fitness plot command of the main window.
#include "tforvik.h"

#include "console.h"
#include "orvikwindows.h"
#include "palviewer.h"
#include "tffitnessdisplay.h"
#include "tfgachooser.h"
#include "truthtablefitness.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {
// `proposed`: the file to offer, "default.ga" when empty.
FileDialogRequest PopulationFileRequest(const QString& caption, bool forSaving, const QString& proposed = {})
{
    FileDialogRequest request;
    request.caption = caption;
    request.defaultName = proposed.isEmpty() ? QString("default.ga") : proposed;
    request.defaultSuffix = "ga";
    request.filter = forSaving ? "GA files (*.ga);;Text files (*.txt);;All files (*)" : "GA files (*.ga)";
    // Saving appends to a file that may not exist yet; loading needs one.
    request.mustExist = !forSaving;
    return request;
}

std::string LocalPath(const QString& path) { return path.toLocal8Bit().toStdString(); }

QString Count(int32_t n, const QString& noun) { return QString("%1 %2%3").arg(n).arg(noun, n == 1 ? "" : "s"); }

// Index of the first record numbered `generation` (the block a load of that
// number reads), or the number of records.
std::size_t FirstRecordOf(const std::vector<GAData>& records, int32_t generation)
{
    std::size_t k = 0;
    while (k < records.size() && records[k].generation != generation)
        ++k;
    return k;
}
} // namespace

bool TFOrvik::FitsThePal(uint32_t length, const QString& whose)
{
    if (length == static_cast<uint32_t>(Pal.ChromosomeSize()))
        return true;
    ShowError(QString("%1 chromosomes have %2 bits; the PAL needs %3 (%4, %5, %6).")
                  .arg(whose)
                  .arg(length)
                  .arg(Pal.ChromosomeSize())
                  .arg(Count(Pal.NumInputs, "input"), Count(Pal.NumAndTerms, "AND term"),
                       Count(Pal.NumOutputs, "output")));
    return false;
}

void TFOrvik::PlotHistory()
{
    FFitnessDisplay->PlotFitInfo(Population.FitInfo(), Population.HistoryRevision());
}

void TFOrvik::BSaveGenClick() { SavePopulation(); }

bool TFOrvik::SavePopulation()
{
    const QString path =
        Ui().SaveFileName(this, PopulationFileRequest("Save current population", true, lastPopulationFile_));
    if (path.isEmpty())
        return false;
    const GAFileResult result = Population.SaveGeneration(LocalPath(path));
    if (!result) {
        ShowError(QString::fromStdString(result.message));
        return false;
    }
    lastPopulationFile_ = path;
    savedHistoryRevision_ = Population.HistoryRevision();
    savedHistorySize_ = Population.History().size();
    ShowNote(QString("Generation %1 appended to %2").arg(Population.GetGeneration()).arg(ShownPath(path)));
    return true;
}

void TFOrvik::ShowNote(const QString& text)
{
    ConsolePrintf("%s\n", text.toLocal8Bit().constData());
    LRunNote->setText(text);
    QTimer::singleShot(NoteDurationMs, LRunNote, [label = LRunNote, text] {
        if (label->text() == text)
            label->clear();
    });
}

void TFOrvik::BLoadProgramClick()
{
    const QString path =
        Ui().OpenFileName(this, PopulationFileRequest("Load a population", false, lastPopulationFile_));
    if (path.isEmpty())
        return;
    const std::string file = LocalPath(path);
    const GAGenerationList list = GA::ReadGenerationList(file);
    if (list.records.empty()) {
        ShowError(list ? QString("The file holds no population.") : QString::fromStdString(list.message));
        return;
    }
    // A damaged block ends the list; the complete blocks before it still load.
    const QString notice = list ? QString()
                                : QString("The file is damaged (%1); the complete blocks before the damage are listed.")
                                      .arg(QString::fromStdString(list.message));
    if (FGAChooser->Choose(&list.records, notice) != QDialog::Accepted)
        return;
    const int32_t generation = FGAChooser->ChosenGeneration;
    const int32_t individual = std::max(FGAChooser->ChosenIndividual, 0);
    const std::size_t index = FirstRecordOf(list.records, generation);
    if (index == list.records.size() || !FitsThePal(list.places[index].length, "The file's"))
        return;

    ConsolePrintf("Loading generation %d\n", generation);
    const GAFileResult loaded = Population.LoadListedGeneration(file, list, index);
    if (!loaded) {
        ShowError(QString::fromStdString(loaded.message));
        return;
    }
    lastPopulationFile_ = path;
    // How the loaded generations were scored is not known.
    plottedFitnessMeaning_.reset();
    FFitnessDisplay->ClearMarks();
    // The maximum is looked for in the history loaded, from its start.
    fitnessMeaningSince_ = 0;
    FFitnessDisplay->SetReachTarget(
        CBKhepera->isChecked() ? std::nullopt : std::optional<double>(MaxPossibleFitness(Table)), 0);
    UpdateStatusBar();
    ConsolePrintf("Programming individual %d\n", individual);
    SetCurrentIndividual(std::min<int32_t>(individual, static_cast<int32_t>(Population.GetPopulationSize()) - 1));
    Viewer->Paint();
    PlotHistory();

    const std::vector<GAFitInfo> info = Population.GetFitInfo();
    ConsolePrintf("dumping fitinfo\n");
    for (std::size_t k = 0; k < info.size(); ++k)
        ConsolePrintf("%d %lf %lf %lf\n", static_cast<int>(k), info[k].max, info[k].average, info[k].min);
}

void TFOrvik::BProgramIndividualClick()
{
    const std::vector<GAData>& history = Population.History();
    if (history.empty() || !FitsThePal(Population.GetChromosomeLength(), "The population's"))
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
    PlaceSideWindowOnce(FFitnessDisplay, false);
    FFitnessDisplay->show();
    FFitnessDisplay->raise();
    PlotHistory();
}
