// Saving, listing, loading and programming populations through the main window.
#include "orvikfixture.h"

#include "palviewer.h"
#include "tffitnessdisplay.h"
#include "tfgachooser.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

namespace {
void EvolveOneGeneration(TFOrvik* w)
{
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    w->Evolve();
}

// Picks generation line `generationLine` and individual `individual`, then OK.
std::function<int(QDialog*)> Choose(int generationLine, int individual, int* generationsListed = nullptr)
{
    return [=](QDialog* dialog) {
        auto* chooser = static_cast<TFGAChooser*>(dialog);
        if (generationsListed)
            *generationsListed = chooser->LBGenerations->count();
        chooser->LBGenerations->setCurrentRow(generationLine);
        chooser->LBGenerationsClick();
        chooser->LBIndividuals->setCurrentRow(individual);
        dialog->accept();
        return dialog->result();
    };
}
} // namespace

TEST_F(OrvikWindowTest, SavedPopulationLoadsBackWithItsFitness)
{
    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    const QString file = TempFile("new.ga"); // does not exist yet
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    ASSERT_TRUE(QFile::exists(file));
    const GA saved = window->Population;

    window->BResetPopClick();
    FFitnessDisplay->hide();
    int listed = 0;
    ui.fileAnswers = {file};
    ui.onExec = Choose(0, 7, &listed);
    window->BLoadProgramClick();
    EXPECT_EQ(listed, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->Population.GetGeneration(), 1);
    EXPECT_TRUE(window->Population.IsEvaluated());
    for (uint32_t i = 0; i < saved.GetPopulationSize(); ++i) {
        EXPECT_TRUE(window->Population.At(i) == saved.At(i)) << i;
        EXPECT_DOUBLE_EQ(window->Population.At(i).GetFitness(), saved.At(i).GetFitness()) << i;
        // The fast evaluator scores the loaded chromosome as it was scored before.
        EXPECT_EQ(window->ComputeFitness(window->Population.At(i)), saved.At(i).GetFitness()) << i;
    }
    EXPECT_EQ(window->CurrentIndividual, 7);
    EXPECT_TRUE(window->CurrentChromosome == saved.At(7));
    EXPECT_EQ(window->StatusPanels[0]->text(), "Generation: 1");
    EXPECT_FALSE(FFitnessDisplay->isVisible()); // the chart is updated, not shown
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
}

TEST_F(OrvikWindowTest, TwoSavesIntoANewFileListTwoGenerations)
{
    const QString file = TempFile("twice.ga");
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    ui.fileAnswers = {file};
    window->BSaveGenClick();

    int listed = 0;
    ui.fileAnswers = {file};
    ui.onExec = Choose(1, 0, &listed);
    window->BLoadProgramClick();
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(window->Population.GetGeneration(), 1);
    EXPECT_EQ(window->Population.History().size(), 2u);
}

TEST_F(OrvikWindowTest, CancellingLeavesEverythingAsItWas)
{
    const Individual first = window->Population.At(0);
    window->BSaveGenClick();     // file dialog cancelled
    window->BLoadProgramClick(); // file dialog cancelled
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(window->Population.At(0) == first);

    const QString file = TempFile("cancel.ga");
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    ui.fileAnswers = {file};
    ui.onExec = {}; // the chooser is cancelled
    window->BLoadProgramClick();
    EXPECT_TRUE(window->Population.At(0) == first);
    EXPECT_FALSE(window->Population.IsEvaluated());
}

TEST_F(OrvikWindowTest, ARefusedFileShowsTheReasonAndChangesNothing)
{
    const QString file = TempFile("bad.ga");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("Generation 0\n4000000000 4000000000\n0101 1.0\n");
    out.close();

    const Individual first = window->Population.At(0);
    bool chooserOpened = false;
    ui.onExec = [&](QDialog* d) {
        chooserOpened = true;
        d->reject();
        return d->result();
    };
    ui.fileAnswers = {file};
    window->BLoadProgramClick();
    EXPECT_FALSE(chooserOpened);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
    EXPECT_TRUE(window->Population.At(0) == first);
    EXPECT_EQ(window->Population.GetPopulationSize(), 100u);
}

TEST_F(OrvikWindowTest, SaveFailureIsReported)
{
    ui.fileAnswers = {TempFile("no/such/folder/x.ga")};
    window->BSaveGenClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
}

TEST_F(OrvikWindowTest, ProgramIndividualOffersTheLastGeneration)
{
    bool opened = false;
    ui.onExec = [&](QDialog* d) {
        opened = true;
        d->reject();
        return d->result();
    };
    window->BProgramIndividualClick(); // nothing evaluated yet: nothing shown
    EXPECT_FALSE(opened);

    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    int listed = 0;
    ui.onExec = Choose(0, 42, &listed);
    const GA before = window->Population;
    window->BProgramIndividualClick();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(window->CurrentIndividual, 42);
    EXPECT_TRUE(window->CurrentChromosome == before.At(42));
    EXPECT_TRUE(window->Viewer->Fuses == before.At(42));
    EXPECT_TRUE(window->Population.At(0) == before.At(0)); // the population is not changed
}
