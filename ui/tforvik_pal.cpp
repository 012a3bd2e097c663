// The PAL and truth-table commands of the main window, the hand simulation
// by mouse and the fitness dispatch.
#include "tforvik.h"

#include "console.h"
#include "minimumtermstask.h"
#include "orvikwindows.h"
#include "palviewer.h"
#include "robotfitness.h"
#include "tfpalsetup.h"
#include "tftruthtable.h"
#include "truthtablefitness.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QLineEdit>

void TFOrvik::SetPalSize(int32_t inputs, int32_t andTerms, int32_t outputs)
{
    const bool tableChanges = inputs != Pal.NumInputs || outputs != Pal.NumOutputs || Table.empty();
    Pal = PalConfig{inputs, andTerms, outputs};
    if (tableChanges) {
        Table = MakeTruthTable(Pal);
        // Imported names belong to the old table (the viewer drops its own).
        InputLabels.clear();
        OutputLabels.clear();
        TableChanged();
    }
    fastFitnessStale_ = true;

    InputValues.assign(static_cast<std::size_t>(Pal.NumInputs), 0);
    Population.SetSizes(Population.GetPopulationSize(), static_cast<uint32_t>(Pal.ChromosomeSize()));
    ClearFitnessPlot();

    Viewer->Reallocate(Pal.NumInputs, Pal.NumAndTerms, Pal.NumOutputs);
    for (int32_t i = 0; i < Pal.NumInputs; ++i)
        Viewer->SetInput(i, InputValues[static_cast<std::size_t>(i)]);
    SetCurrentIndividual(0);
}

void TFOrvik::PALparameters1Click()
{
    FPalSetup->NumInputs = Pal.NumInputs;
    FPalSetup->NumOutputs = Pal.NumOutputs;
    FPalSetup->NumAndTerms = Pal.NumAndTerms;
    FPalSetup->ShowNeededTerms(TableMinimum->Result() ? &*TableMinimum->Result() : nullptr);
    if (FPalSetup->ShowDialog() != QDialog::Accepted)
        return;
    const PalConfig chosen{FPalSetup->NumInputs, FPalSetup->NumAndTerms, FPalSetup->NumOutputs};
    if (chosen != Pal && !MayReplaceEvolvedPopulation())
        return; // No: the PAL stays as it is
    ApplyPalSize(chosen);
}

void TFOrvik::ApplyPalSize(const PalConfig& chosen)
{
    if (chosen == Pal)
        return; // an unchanged OK keeps the population, the table and the switches
    SetPalSize(chosen.NumInputs, chosen.NumAndTerms, chosen.NumOutputs);
    if (CBKhepera->isChecked())
        CheckKheperaMode();
    UpdateStatusBar();
}

void TFOrvik::Truthtable1Click()
{
    FTruthTable->PalAndTerms = Pal.NumAndTerms;
    FTruthTable->InputLabels = InputLabels;
    FTruthTable->OutputLabels = OutputLabels;
    const TruthTable before = Table;
    FTruthTable->EditTable(Table.data(), Pal.NumInputs, false, Pal.NumOutputs);
    if (Table != before)
        TableChanged();
    fastFitnessStale_ = true;
    UpdateStatusBar();
}

void TFOrvik::PaintBox1MouseDown(int x, int y)
{
    const int i = Viewer->NearestInput(x, y);
    ConsolePrintf("Nearest input: %d\n", i);
    if (i < 0 || i >= static_cast<int>(InputValues.size()))
        return;
    InputValues[static_cast<std::size_t>(i)] = 1 - InputValues[static_cast<std::size_t>(i)];
    UpdateSimulation();
}

void TFOrvik::BComputeFitnessClick()
{
    if (CBKhepera->isChecked()) {
        ComputeFitnessOnRobot(); // a whole run, with the window kept idle
        return;
    }
    const double f = ComputeFitness(CurrentChromosome);
    Ui().Message(this, "Fitness", QString::asprintf("Fitness of individual %d: %lf", CurrentIndividual, f));
}

void TFOrvik::CheckKheperaMode()
{
    if (Pal.NumInputs != 4 || Pal.NumOutputs != 4) {
        ShowError("Cannot use Khepera mode unless the PAL has 4 inputs and 4 outputs");
        CBKhepera->setChecked(false);
    }
}

double TFOrvik::ComputeFitness(const BitString& chromosome)
{
    if (CBKhepera->isChecked())
        return RunOnRobot(chromosome).fitness;
    return ComputeFitnessTruthTable(chromosome);
}

double TFOrvik::ComputeFitnessTruthTable(const BitString& chromosome)
{
    // The bit-parallel evaluator gives exactly the reference's value
    // (::ComputeFitnessTruthTable); its set-up follows the PAL and the table.
    if (fastFitnessStale_) {
        fastFitness_.Prepare(Pal, Table);
        fastFitnessStale_ = false;
    }
    return fastFitness_.Evaluate(chromosome);
}
