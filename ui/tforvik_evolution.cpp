// The current individual, the status bar, the evolution loop and the GA
// parameters of the main window.
#include "tforvik.h"

#include "console.h"
#include "esstep.h"
#include "evaluatepal.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "palviewer.h"
#include "repositionkhepera.h"
#include "simulatedrunview.h"
#include "tffitnessdisplay.h"
#include "tfgaconfigure.h"
#include "tfrobotarena.h"
#include "truthtablefitness.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <optional>

namespace {
// How often the evolution loop lets the GUI handle its events: often enough
// for "Stop", repaints and the status bar to follow, rarely enough that a
// fast evaluation is not drowned in GUI work.
constexpr std::chrono::milliseconds EventInterval{8};

// A count typed as a real (population size, rank parents), truncated toward
// zero, when it fits 32 bits; nothing for NaN, negative or larger values.
std::optional<uint32_t> CountOf(double value)
{
    if (!(value >= 0.0) || value >= 4294967296.0)
        return std::nullopt;
    return static_cast<uint32_t>(std::trunc(value));
}

// "Number of runs" in robot mode: one integer read as "%d", else 1; 1..10.
int ParseRunCount(const QString& text)
{
    int value = 0;
    if (std::sscanf(text.toLatin1().constData(), "%d", &value) != 1)
        return 1;
    return std::clamp(value, 1, 10);
}
} // namespace

void TFOrvik::SetCurrentIndividual(int32_t index)
{
    CurrentChromosome = Population.At(static_cast<uint32_t>(index));
    CurrentIndividual = index;
    ShowCurrentIndividual();
}

void TFOrvik::ShowCurrentIndividual()
{
    currentIndividualUnseen_ = false;
    Viewer->Fuses = CurrentChromosome;
    UpdateSimulation();
    UpdateStatusBar();
    const bool onRobot = CBKhepera->isChecked() && !SimulatedRobot;
    if (!Evolving || CBShowWhileEvolving->isChecked() || onRobot)
        Viewer->Paint();
}

void TFOrvik::CatchUpCurrentIndividual()
{
    if (lastEvaluated_ < 0)
        return;
    CurrentChromosome = Population.At(static_cast<uint32_t>(lastEvaluated_));
    CurrentIndividual = lastEvaluated_;
    lastEvaluated_ = -1;
    currentIndividualUnseen_ = true;
}

void TFOrvik::ShowCaughtUpIndividual()
{
    CatchUpCurrentIndividual();
    if (currentIndividualUnseen_)
        ShowCurrentIndividual();
}

void TFOrvik::UpdateSimulation()
{
    const std::size_t n = InputValues.size();
    unsigned char inputs[PalConfig::MaxInputs] = {};
    unsigned char outputs[PalConfig::MaxOutputs] = {};
    for (std::size_t i = 0; i < n; ++i) {
        if (Viewer->InputValue(static_cast<int>(i)) != InputValues[i])
            Viewer->SetInput(static_cast<int>(i), InputValues[i]);
        inputs[i] = InputValues[i] ? 1 : 0;
    }
    EvaluatePal(Pal, CurrentChromosome, inputs, outputs);

    if (ConsoleIsOpen()) {
        ConsolePrintf("input: ");
        for (std::size_t i = 0; i < n; ++i)
            ConsolePrintf("%d ", inputs[i]);
        ConsolePrintf("\noutput:");
        for (int32_t o = 0; o < Pal.NumOutputs; ++o)
            ConsolePrintf("%d ", outputs[o]);
        ConsolePrintf("\n");
    }
    for (int32_t o = 0; o < Pal.NumOutputs; ++o)
        if (Viewer->OutputValue(o) != outputs[o])
            Viewer->SetOutput(o, outputs[o]);
}

void TFOrvik::UpdateStatusBar()
{
    if (Evolving) {
        statusBarPending_ = true; // shown at the next event processing
        return;
    }
    ShowStatusBarNow();
}

void TFOrvik::ShowStatusBarNow()
{
    statusBarPending_ = false;
    StatusPanels[0]->setText("Generation: " + QString::number(Population.GetGeneration()));
    StatusPanels[1]->setText("Individual: " + QString::number(CurrentIndividual));
    StatusPanels[2]->setText(QString::asprintf("Pop stats: %.2lf;%.2lf;%.2lf", Population.MaxFitness(),
                                               Population.AverageFitness(), Population.MinFitness()));
    const double maxFit = CBKhepera->isChecked() ? 1.0 : MaxPossibleFitness(Table);
    StatusPanels[3]->setText(QString::asprintf("Max possible fit: %.2lf", maxFit));
}

void TFOrvik::ProcessEvents()
{
    if (simulatedView_)
        simulatedView_->Flush();
    ShowCaughtUpIndividual();
    if (statusBarPending_)
        ShowStatusBarNow();
    QCoreApplication::processEvents();
    lastEventProcessing_ = std::chrono::steady_clock::now();
}

void TFOrvik::ProcessEventsEvery(std::chrono::milliseconds interval)
{
    // Reading the clock costs as much as evaluating a small PAL, so it is
    // read only every clockStride_ calls: a stride that keeps the reads about
    // an eighth of the interval apart, grown at most twofold per read so that
    // a run that slows down is followed quickly.
    if (--callsUntilClock_ > 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    const double perCall = std::chrono::duration<double>(now - lastClockRead_).count() / clockStride_;
    const double wanted = std::chrono::duration<double>(interval).count() / 8 / std::max(perCall, 1e-9);
    clockStride_ = static_cast<int>(std::clamp(wanted, 1.0, 2.0 * clockStride_));
    callsUntilClock_ = clockStride_;
    lastClockRead_ = now;
    if (now - lastEventProcessing_ >= interval)
        ProcessEvents();
}

void TFOrvik::ProcessEventsSometimes() { ProcessEventsEvery(EventInterval); }

void TFOrvik::SetIdle(bool idle)
{
    // Everything of the main window stops taking input while evolving; the
    // fitness window stays usable for its "Stop".
    if (idle)
        controlsLock_.Unlock();
    else
        controlsLock_.Lock(centralWidget(), nullptr, menuBar());
    FFitnessDisplay->SetRunning(!idle);
    LRunNote->clear();
}

void TFOrvik::ShowStopTaken()
{
    if (!Evolving)
        return;
    // Paced runs go on in virtual time from here (PacingSimulation).
    hurriedStop_ = CBKhepera->isChecked() && SimulatedRobot && FRobotArena->RealTime();
    LRunNote->setText(QString("Stopping after generation %1%2")
                          .arg(Population.GetGeneration())
                          .arg(hurriedStop_ ? ", finishing it in virtual time" : ""));
}

void TFOrvik::Evolve()
{
    Evolving = true;
    SetIdle(false);
    FFitnessDisplay->StopRequested = false;
    NoteFitnessMeaning();
    PlaceSideWindowOnce(FFitnessDisplay, false);
    FFitnessDisplay->show();
    FFitnessDisplay->raise();
    lastEventProcessing_ = {};
    lastClockRead_ = std::chrono::steady_clock::now();
    clockStride_ = 1;
    callsUntilClock_ = 0;
    bool robotLost = false;
    int32_t abandonedGeneration = 0;

    try {
        while (!FFitnessDisplay->StopRequested) {
            const bool robot = CBKhepera->isChecked();
            // The simulated Khepera runs in virtual time, as fast as the
            // truth table: the GUI sees it only every EventInterval.
            const bool simulated = robot && SimulatedRobot;
            // A robot that stops answering abandons the generation under way:
            // the population goes back to how it was before it.
            std::optional<GA> beforeGeneration;
            if (robot && !simulated)
                beforeGeneration = Population;
            if (Population.IsEvaluated())
                BreedNextGeneration();
            UpdateStatusBar();

            int runCount = 1;
            if (robot) {
                runCount = ParseRunCount(ENumRun->text());
                ENumRun->setText(QString::number(runCount));
            }

            const uint32_t n = Population.GetPopulationSize();
            for (uint32_t i = 0; i < n; ++i)
                Population.At(i).SetFitness(0.0);

            const std::vector<ksim::Pose> starts = SharedStartsOfGeneration(simulated, runCount);
            for (int run = 0; run < runCount && !robotLost; ++run) {
                ConsolePrintf("Testing generation %d\n", Population.GetGeneration());
                for (uint32_t i = 0; i < n; ++i) {
                    if (robot && !simulated)
                        ProcessEvents();
                    else
                        ProcessEventsEvery(EventInterval);
                    double f = 0.0;
                    if (simulated) {
                        if (CBShowWhileEvolving->isChecked() || ConsoleIsOpen())
                            SetCurrentIndividual(static_cast<int32_t>(i));
                        else
                            lastEvaluated_ = static_cast<int32_t>(i);
                        f = EvaluateOnSimulation(Population.At(i), static_cast<int32_t>(i),
                                                 starts.empty() ? nullptr : &starts[static_cast<std::size_t>(run)]);
                    } else if (robot) {
                        SetCurrentIndividual(static_cast<int32_t>(i));
                        const std::optional<double> scored = EvaluateOnRobot();
                        robotLost = !scored;
                        if (robotLost)
                            break;
                        f = *scored;
                    } else if (CBShowWhileEvolving->isChecked() || ConsoleIsOpen()) {
                        SetCurrentIndividual(static_cast<int32_t>(i));
                        f = ComputeFitness(CurrentChromosome);
                    } else {
                        // Nobody watches the individual: it becomes the
                        // current one only when the GUI gets to see it.
                        lastEvaluated_ = static_cast<int32_t>(i);
                        f = ComputeFitness(Population.At(i));
                    }
                    Individual& individual = Population.At(i);
                    individual.SetFitness(individual.GetFitness() + f);
                    ConsolePrintf("Individual %d - %lf\n", static_cast<int>(i), f);
                }
            }
            if (robotLost) {
                abandonedGeneration = Population.GetGeneration();
                Population = std::move(*beforeGeneration);
                break;
            }
            for (uint32_t i = 0; i < n; ++i)
                Population.At(i).SetFitness(Population.At(i).GetFitness() / runCount);
            if (simulated)
                ReevaluateOnSimulation(runCount);
            // Before the next step replaces the individuals.
            CatchUpCurrentIndividual();

            Population.RecordGeneration();
            PlotHistory();
        }
    } catch (const std::exception& error) {
        // An evaluation that fails (a loaded chromosome shorter than the PAL)
        // ends the run; the program goes back to idle and says why, once.
        // The failing individual is the current one, as SetCurrentIndividual
        // leaves it when its simulation fails.
        CatchUpCurrentIndividual();
        currentIndividualUnseen_ = false;
        Viewer->Fuses = CurrentChromosome;
        Evolving = false;
        SetIdle(true);
        ShowStatusBarNow();
        ShowFatal(error);
        closeWhenIdle_ = false;
        return;
    }

    ShowCaughtUpIndividual(); // still evolving: labels only, as during the run
    SetIdle(true);
    Evolving = false;
    if (robotLost)
        SetCurrentIndividual(CurrentIndividual); // shown from the population as it is again
    ShowStatusBarNow();
    if (!robotLost)
        ShowNote(QString("Stopped after generation %1%2")
                     .arg(Population.GetGeneration())
                     .arg(hurriedStop_ ? ", finished in virtual time" : ""));
    hurriedStop_ = false;
    if (robotLost)
        ShowRobotLost(QString("Evolution stopped; generation %1 was not recorded.").arg(abandonedGeneration));
    if (closeWhenIdle_) {
        closeWhenIdle_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TFOrvik::ConfigureGA()
{
    FGAConfigure->PopulationSize = Population.GetPopulationSize();
    FGAConfigure->RankParents = Population.GetRankParents();
    FGAConfigure->CrossoverRate = Population.GetCrossoverRate();
    FGAConfigure->MutationRate = Population.GetMutationRate();
    FGAConfigure->Elitism = Population.GetElitism();
    FGAConfigure->Selection = Population.GetSelection() ? 1 : 0;
    FGAConfigure->EvolutionStrategy = UseEvolutionStrategy;
    // Under the GA the dialog offers the λ last chosen (4 at first).
    if (UseEvolutionStrategy && Population.GetPopulationSize() > 1)
        FGAConfigure->Lambda = static_cast<int32_t>(std::min<uint32_t>(Population.GetPopulationSize() - 1, 999999));
    FGAConfigure->ESMutationRate = ESMutationRate;
    if (FGAConfigure->ShowDialog() != QDialog::Accepted)
        return;

    // Refused, the size stays and the other values are still applied.
    if (FGAConfigure->PopulationSize != static_cast<double>(Population.GetPopulationSize())
        && MayReplacePopulation("the size of the population"))
        ResizePopulation(FGAConfigure->PopulationSize);
    // The dialog keeps rank parents within the population size; a value that
    // does not fit a count anyway is left out rather than wrapped around.
    if (const std::optional<uint32_t> rank = CountOf(FGAConfigure->RankParents))
        Population.SetRankParents(*rank);
    Population.SetMutationRate(FGAConfigure->MutationRate);
    Population.SetCrossoverRate(FGAConfigure->CrossoverRate);
    Population.SetElitism(FGAConfigure->Elitism);
    Population.SetSelection(FGAConfigure->Selection);
    UseEvolutionStrategy = FGAConfigure->EvolutionStrategy;
    ESMutationRate = FGAConfigure->ESMutationRate;
    ConsolePrintf("Chromosome size is: %d\n", static_cast<int>(Population.At(0).Size()));
    ConsolePrintf("Elitism: %d\n", Population.GetElitism());
}

void TFOrvik::BreedNextGeneration()
{
    if (UseEvolutionStrategy)
        NextGenerationES(Population, ESMutation{ESMutation::Kind::PerBit, ESMutationRate, 1});
    else
        Population.NextGeneration();
}

void TFOrvik::ResizePopulation(double size)
{
    const std::optional<uint32_t> count = CountOf(size);
    if (!count) {
        ShowError(QString("The population size %1 is out of range; the population is unchanged.").arg(size));
        return;
    }
    try {
        Population.SetPopulationSize(*count);
    } catch (const std::bad_alloc&) {
        ShowError(QString("There is not enough memory for a population of %1 individuals; the population "
                          "is unchanged.").arg(*count));
        return;
    } catch (const std::exception& error) {
        // A size below 1 once truncated ("GA: can't create null sized population").
        ShowError(QString::fromLocal8Bit(error.what()));
        return;
    }
    ClearFitnessPlot();
    SetCurrentIndividual(0);
    UpdateStatusBar();
}

void TFOrvik::BResetPopClick()
{
    Population.Reset();
    ClearFitnessPlot();
    SetCurrentIndividual(0);
    UpdateStatusBar();
}

void TFOrvik::ClearFitnessPlot()
{
    // The main window is built before the chart (the PAL is set up then).
    if (FFitnessDisplay)
        FFitnessDisplay->ClearPlot();
}
