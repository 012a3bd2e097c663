// The evolution loop driven through the main window: start and stop, the
// states it leaves, the GA dialog, and a whole run that solves a table.
#include "orvikfixture.h"

#include "console.h"
#include "evaluatepal.h"
#include "palviewer.h"
#include "tffitnessdisplay.h"
#include "tfgaconfigure.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <string>

namespace {
struct RecordingSink : ConsoleSink {
    std::string text;
    void Write(const char* data, std::size_t length) override { text.append(data, length); }
};

// Presses "Stop" as soon as the loop first lets events through.
void StopAtFirstChance()
{
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
}

void ExpectIdle(TFOrvik* w)
{
    EXPECT_FALSE(w->Evolving);
    EXPECT_TRUE(w->centralWidget()->isEnabled());
    EXPECT_TRUE(w->menuBar()->isEnabled());
    EXPECT_TRUE(FFitnessDisplay->BClose->isEnabled());
    EXPECT_FALSE(FFitnessDisplay->BStop->isEnabled());
}

std::function<int(QDialog*)> GaAnswer(QString size, QString mutation, QString rank)
{
    return [=](QDialog* dialog) {
        auto* ga = static_cast<TFGAConfigure*>(dialog);
        ga->EditPopSize->setText(size);
        ga->EditMutationRate->setText(mutation);
        ga->EditRankNumber->setText(rank);
        return FakeUiSeam::PressOk(dialog);
    };
}
} // namespace

TEST_F(OrvikWindowTest, FirstEvolveEvaluatesBeforeBreedingAndStopCompletesTheGeneration)
{
    RecordingSink log;
    SetConsoleSink(&log);
    StopAtFirstChance();
    window->Evolve();
    SetConsoleSink(nullptr);

    ExpectIdle(window);
    EXPECT_EQ(log.text.rfind("Testing generation 0\n", 0), 0u) << log.text.substr(0, 80);
    EXPECT_EQ(log.text.find("Sorted\n"), std::string::npos);
    EXPECT_NE(log.text.find("Individual 99 - "), std::string::npos); // the whole generation ran
    ASSERT_EQ(window->Population.History().size(), 1u);
    EXPECT_EQ(window->Population.History()[0].generation, 0);
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
    EXPECT_EQ(window->StatusPanels[0]->text(), "Generation: 0");
    EXPECT_EQ(window->StatusPanels[1]->text(), "Individual: 99");

    // Evolving again continues the run: breed first, then evaluate generation 1.
    SetConsoleSink(&log);
    log.text.clear();
    StopAtFirstChance();
    window->Evolve();
    SetConsoleSink(nullptr);
    EXPECT_LT(log.text.find("Sorted\n"), log.text.find("Testing generation 1\n"));
    EXPECT_EQ(window->Population.History().size(), 2u);
    EXPECT_EQ(window->StatusPanels[0]->text(), "Generation: 1");
}

// The generation under way still completes after "Stop"; the window says
// at once that the stop was taken.
TEST_F(OrvikWindowTest, StopShowsAtOnceThatItWasTaken)
{
    QString caption;
    bool stopEnabled = true;
    QString note;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(FFitnessDisplay->BStop, Qt::LeftButton);
        caption = FFitnessDisplay->BStop->text();
        stopEnabled = FFitnessDisplay->BStop->isEnabled();
        if (const auto* label = window->findChild<QLabel*>("LRunNote"))
            note = label->text();
    });
    window->Evolve();
    EXPECT_EQ(caption, QString::fromUtf8("Stopping\u2026"));
    EXPECT_FALSE(stopEnabled);
    EXPECT_TRUE(note.contains("generation")) << note.toStdString();
    ExpectIdle(window);
    EXPECT_EQ(FFitnessDisplay->BStop->text(), "Stop");
    EXPECT_EQ(window->LRunNote->text(), "Stopped after generation 0");
}

TEST_F(OrvikWindowTest, ClosingTheFitnessWindowStopsTheRun)
{
    QTimer::singleShot(0, [] { FFitnessDisplay->close(); });
    window->Evolve();
    ExpectIdle(window);
    EXPECT_EQ(window->Population.History().size(), 1u);
}

TEST_F(OrvikWindowTest, ClosingTheMainWindowEndsTheRunThenCloses)
{
    window->show();
    QTimer::singleShot(0, [this] { window->close(); });
    window->Evolve();
    EXPECT_FALSE(window->Evolving);
    EXPECT_EQ(window->Population.History().size(), 1u);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(OrvikWindowTest, AFailingEvaluationLeavesTheProgramIdle)
{
    // A population saved from a smaller PAL (10-bit chromosomes) loads fine
    // but cannot be evaluated on the 48-fuse PAL.
    GA small(4, 10);
    small.RecordGeneration();
    const QString file = TempFile("small.ga");
    ASSERT_TRUE(small.SaveGeneration(file.toStdString()));
    ASSERT_TRUE(window->Population.LoadGeneration(file.toStdString(), 0));

    window->Evolve();
    ExpectIdle(window);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "BitString: index out of bounds");
}

TEST_F(OrvikWindowTest, ShowFitnessPlotAfterARunHasStopDisabled)
{
    StopAtFirstChance();
    window->Evolve();
    FFitnessDisplay->hide();
    window->BShowFitnessClick();
    EXPECT_TRUE(FFitnessDisplay->isVisible());
    EXPECT_FALSE(FFitnessDisplay->BStop->isEnabled());
    EXPECT_TRUE(FFitnessDisplay->BClose->isEnabled());
    EXPECT_FALSE(FFitnessDisplay->StopRequested);
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
}

TEST_F(OrvikWindowTest, GaDialogAsksBeforeResizingThePopulation)
{
    // Unchanged size: no question, individuals kept.
    const Individual before = window->Population.At(5);
    ui.onExec = GaAnswer("100", "0.02", "15");
    window->ConfigureGA();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(window->Population.At(5) == before);
    EXPECT_DOUBLE_EQ(window->Population.GetMutationRate(), 0.02);

    // 50.9 and Yes: a new population of 50.
    ui.yesNoAnswers = {true};
    ui.onExec = GaAnswer("50.9", "0.03", "10");
    window->ConfigureGA();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].text,
              "You are about to change the size of the population: all the individuals will be lost. Proceed?");
    EXPECT_EQ(window->Population.GetPopulationSize(), 50u);
    EXPECT_EQ(window->Population.GetRankParents(), 10u);

    // 40 and No: the size stays, the other values are applied.
    ui.yesNoAnswers = {false};
    ui.onExec = GaAnswer("40", "0.04", "12");
    window->ConfigureGA();
    EXPECT_EQ(window->Population.GetPopulationSize(), 50u);
    EXPECT_DOUBLE_EQ(window->Population.GetMutationRate(), 0.04);
    EXPECT_EQ(window->Population.GetRankParents(), 12u);
}

// Sizes of 2^32 and more once wrapped around (4294967306 became 10) or made
// the GA allocate for ever; they are refused in the dialog, which stays open.
TEST_F(OrvikWindowTest, GaDialogRefusesHugePopulations)
{
    for (const char* size : {"4294967306", "4294967296", "1e9", "1000001"}) {
        SCOPED_TRACE(size);
        ui.messages.clear();
        ui.yesNoAnswers = {true};
        ui.onExec = GaAnswer(size, "0.02", "15");
        window->ConfigureGA();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Error");
        EXPECT_EQ(ui.messages[0].text, "Population size must be at most 1000000");
        EXPECT_EQ(window->Population.GetPopulationSize(), 100u);
        EXPECT_EQ(window->Population.GetRankParents(), 15u);
        EXPECT_DOUBLE_EQ(window->Population.GetMutationRate(), 0.01); // the dialog was not confirmed
    }
}

// A size the GA cannot take (0.5 truncates to 0) keeps the population; the
// other values confirmed with OK are applied all the same.
TEST_F(OrvikWindowTest, GaDialogAppliesTheRestWhenThePopulationCannotBeMade)
{
    ui.yesNoAnswers = {true};
    ui.onExec = [](QDialog* dialog) {
        static_cast<TFGAConfigure*>(dialog)->EElitism->setText("0");
        return GaAnswer("0.5", "0.02", "0.5")(dialog);
    };
    window->ConfigureGA();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].caption, "Error");
    EXPECT_EQ(ui.messages[1].text, "GA: can't create null sized population");
    EXPECT_EQ(window->Population.GetPopulationSize(), 100u);
    EXPECT_DOUBLE_EQ(window->Population.GetMutationRate(), 0.02);
    EXPECT_EQ(window->Population.GetRankParents(), 0u); // clamped to 1 by the step
    EXPECT_EQ(window->Population.GetElitism(), 0);
}

TEST_F(OrvikWindowTest, ResetPopStartsOver)
{
    StopAtFirstChance();
    window->Evolve();
    window->BResetPopClick();
    EXPECT_FALSE(window->Population.IsEvaluated());
    EXPECT_TRUE(window->Population.History().empty());
    EXPECT_EQ(window->StatusPanels[2]->text(), "Pop stats: 0.00;0.00;0.00");
}

// The whole chain: a table the default PAL can realise (O0 = I0 XOR I1,
// O1 = I2 AND I3, O2 = I0 OR I3) is solved with the default GA parameters.
TEST_F(OrvikWindowTest, EvolvesATruthTableToItsMaximum)
{
    for (uint32_t r = 0; r < 16; ++r) {
        const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        window->Table[r * 3 + 0] = i0 ^ i1;
        window->Table[r * 3 + 1] = i2 & i3;
        window->Table[r * 3 + 2] = i0 | i3;
    }
    window->Truthtable1Click(); // Cancel: only refreshes what depends on the table

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [this] {
        const auto& history = window->Population.History();
        if (history.size() >= 1000 || window->Population.MaxFitness() >= 48.0)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    window->Evolve();
    watch.stop();

    const auto info = window->Population.GetFitInfo();
    std::size_t solvedAt = info.size();
    for (std::size_t g = 0; g < info.size(); ++g)
        if (info[g].max >= 48.0) {
            solvedAt = g;
            break;
        }
    EXPECT_LT(solvedAt, 1000u) << "best after " << info.size() << " generations: " << info.back().max;
}

// While the PAL is not watched the loop makes an individual current only
// when the GUI gets to see the window; whenever it does, the viewer, its
// output labels and the status bar agree with the current individual, and a
// stopped run leaves the last individual evaluated current.
TEST_F(OrvikWindowTest, TheUnwatchedViewerShowsTheLastIndividualWheneverTheGuiLooks)
{
    window->InputValues = {1, 0, 1, 1};
    window->UpdateSimulation();
    ASSERT_FALSE(window->CBShowWhileEvolving->isChecked());
    auto expectShown = [this](const char* when) {
        EXPECT_TRUE(window->Viewer->Fuses == window->CurrentChromosome) << when;
        EXPECT_EQ(window->StatusPanels[1]->text(), "Individual: " + QString::number(window->CurrentIndividual))
            << when;
        const unsigned char inputs[4] = {1, 0, 1, 1};
        unsigned char outputs[3] = {};
        EvaluatePal(window->Pal, window->CurrentChromosome, inputs, outputs);
        for (int o = 0; o < 3; ++o)
            EXPECT_EQ(window->Viewer->OutputValue(o), outputs[o]) << when << " output " << o;
    };

    int looks = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window->Evolving)
            return;
        ++looks;
        expectShown("during the run");
        if (window->Population.GetGeneration() >= 300)
            FFitnessDisplay->BStopClick();
    });
    watch.start(0);
    window->Evolve();
    watch.stop();

    EXPECT_GT(looks, 0);
    EXPECT_EQ(window->CurrentIndividual, 99);
    EXPECT_TRUE(window->CurrentChromosome == window->Population.At(99));
    expectShown("after the run");
}

// Chosen in the GA dialog, the evolution strategy makes the population 1 + λ
// and breeds it: every generation's individual 0 is the fittest of the
// generation before (the truth-table fitness gives it the same value again),
// and the four others differ from it. Choosing rank again breeds with the GA.
TEST_F(OrvikWindowTest, EvolveUsesTheEvolutionStrategyWhenChosen)
{
    ui.yesNoAnswers = {true};
    ui.onExec = [](QDialog* dialog) {
        auto* ga = static_cast<TFGAConfigure*>(dialog);
        EXPECT_EQ(ga->ELambda->text(), "4"); // not the GA's population - 1
        ga->RBEvolutionStrategy->setChecked(true);
        return FakeUiSeam::PressOk(dialog);
    };
    window->ConfigureGA();
    ASSERT_EQ(window->Population.GetPopulationSize(), 5u);
    EXPECT_TRUE(window->UseEvolutionStrategy);

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [this] {
        if (window->Population.History().size() >= 30)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    window->Evolve();
    watch.stop();

    const auto& history = window->Population.History();
    ASSERT_GE(history.size(), 30u);
    for (std::size_t g = 1; g < history.size(); ++g) {
        const std::vector<double>& before = history[g - 1].values;
        EXPECT_EQ(history[g].values[0], *std::max_element(before.begin(), before.end())) << g;
    }
    for (uint32_t i = 1; i < 5; ++i)
        EXPECT_FALSE(window->Population.At(i) == window->Population.At(0));

    // Opened again, the dialog shows the strategy in force.
    ui.onExec = [](QDialog* dialog) {
        auto* ga = static_cast<TFGAConfigure*>(dialog);
        EXPECT_TRUE(ga->RBEvolutionStrategy->isChecked());
        EXPECT_EQ(ga->ELambda->text(), "4");
        EXPECT_EQ(ga->EditPopSize->text(), "5");
        return int(QDialog::Rejected);
    };
    window->ConfigureGA();
}
