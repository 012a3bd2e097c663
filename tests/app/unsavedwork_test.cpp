// Work a user could lose: unsaved generations when the window closes, an
// evolved population replaced by a PAL change; and what the window says
// about saving and about the fitness changing meaning during a run.
#include "orvikfixture.h"
#include "palanswer.h"
#include "tffitnessdisplay.h"
#include "tfgaconfigure.h"
#include "tftruthtable.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

using Choice = UiSeam::SaveChoice;

// One generation of "Evolve" ("Stop" at the first chance).
void EvolveOneGeneration(TFOrvik* window)
{
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    window->Evolve();
}

int Generations(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count("Generation")) : 0;
}

} // namespace

// A new set of windows for case `index`, and the population file it may save to.
class UnsavedWorkTest : public OrvikWindowTest {
protected:
    QString FreshWindow(std::ptrdiff_t index)
    {
        DestroyOrvikWindows();
        CreateOrvikWindows(pty.slavePath);
        window = FOrvik;
        return TempFile(QString("%1.ga").arg(index));
    }
};

TEST_F(UnsavedWorkTest, ClosingAsksOnceForUnsavedGenerations)
{
    struct Case {
        const char* name;
        bool evolve;        // one generation before closing
        bool saveFirst;     // "Save current population" before closing
        Choice answer;
        const char* saveAs; // the save dialog's answer, "" cancels it
        bool asked;
        bool closes;
        int generationsInFile;
    };
    const Case cases[] = {
        {"nothing evolved", false, false, Choice::Cancel, "", false, true, 0},
        {"evolved, Cancel", true, false, Choice::Cancel, "", true, false, 0},
        {"evolved, Discard", true, false, Choice::Discard, "", true, true, 0},
        {"evolved, Save", true, false, Choice::Save, "runs.ga", true, true, 1},
        {"evolved, Save then the file dialog cancelled", true, false, Choice::Save, "", true, false, 0},
        {"evolved and saved", true, true, Choice::Cancel, "runs.ga", false, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = FreshWindow(&c - cases);
        ui.fileAnswer = *c.saveAs ? path : QString();
        window->show();
        if (c.evolve)
            EvolveOneGeneration(window);
        if (c.saveFirst)
            window->BSaveGenClick();
        ui.messages.clear();
        ui.saveAnswers = {c.answer};
        window->Exit1->trigger();
        EXPECT_EQ(ui.messages.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(ui.messages[0].caption, "Warning");
        }
        EXPECT_EQ(window->isVisible(), !c.closes);
        EXPECT_EQ(Generations(path), c.generationsInFile);
    }
}

TEST_F(OrvikWindowTest, APalChangeAsksBeforeLosingAnEvolvedPopulation)
{
    // A random population is replaced without a word.
    ui.onExec = PalAnswer("4", "3", "3");
    window->PALparameters1Click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->Pal, (PalConfig{4, 3, 3}));
}

// The PAL and the population-size changes ask first; with unsaved
// generations they offer to save them, as closing does.
TEST_F(UnsavedWorkTest, ReplacingAnEvolvedPopulationOffersToSaveItFirst)
{
    const QString lostPal = "You are about to change the PAL: all the individuals will be lost";
    const QString lostSize = "You are about to change the size of the population: all the individuals will be lost";
    const QString unsaved = ", and the population (generation 0) holds generations that have not been saved. "
                            "Save the current population first?";
    struct Case {
        const char* name;
        bool size;          // the population size changes, else the PAL
        bool saved;         // saved before the change
        bool yes;           // the Yes/No answer
        Choice answer;      // the Save / Discard / Cancel answer
        const char* saveAs; // the save dialog's answer, "" cancels it
        QString question;
        bool replaced;
        int generationsInFile;
    };
    const Case cases[] = {
        {"PAL, saved, No", false, true, false, Choice::Cancel, "", lostPal + ". Proceed?", false, 1},
        {"PAL, saved, Yes", false, true, true, Choice::Cancel, "", lostPal + ". Proceed?", true, 1},
        {"PAL, unsaved, Cancel", false, false, true, Choice::Cancel, "", lostPal + unsaved, false, 0},
        {"PAL, unsaved, Discard", false, false, true, Choice::Discard, "", lostPal + unsaved, true, 0},
        {"PAL, unsaved, Save", false, false, true, Choice::Save, "runs.ga", lostPal + unsaved, true, 1},
        {"PAL, unsaved, Save cancelled", false, false, true, Choice::Save, "", lostPal + unsaved, false, 0},
        {"size, saved, Yes", true, true, true, Choice::Cancel, "", lostSize + ". Proceed?", true, 1},
        {"size, unsaved, Save", true, false, true, Choice::Save, "runs.ga", lostSize + unsaved, true, 1},
        {"size, unsaved, Cancel", true, false, true, Choice::Cancel, "", lostSize + unsaved, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = FreshWindow(&c - cases);
        EvolveOneGeneration(window);
        ui.fileAnswer = path;
        if (c.saved)
            window->BSaveGenClick();
        ui.fileAnswer = *c.saveAs ? path : QString();
        ui.messages.clear();
        ui.yesNoAnswers = {c.yes};
        ui.saveAnswers = {c.answer};
        if (c.size) {
            ui.onExec = [](QDialog* dialog) {
                static_cast<TFGAConfigure*>(dialog)->EditPopSize->setText("50");
                static_cast<TFGAConfigure*>(dialog)->EditMutationRate->setText("0.02");
                return FakeUiSeam::PressOk(dialog);
            };
            window->ConfigureGA();
            EXPECT_EQ(window->Population.GetMutationRate(), 0.02); // applied whatever the answer
        } else {
            ui.onExec = PalAnswer("4", "3", "5");
            window->PALparameters1Click();
        }
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Warning");
        EXPECT_EQ(ui.messages[0].text, c.question);
        EXPECT_EQ(window->Population.History().empty(), c.replaced);
        EXPECT_EQ(Generations(path), c.generationsInFile);
    }
}

TEST_F(OrvikWindowTest, SavingSaysWhereAndSavingAndLoadingProposeThatFile)
{
    const QString path = TempFile("runs.ga");
    ui.fileAnswer = path;
    window->BSaveGenClick();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests.back().defaultName, "default.ga"); // in the current folder
    EXPECT_EQ(window->LRunNote->text(), "Generation 0 appended to " + path);
    ui.fileAnswer.clear(); // the dialogs are cancelled
    window->BSaveGenClick();
    window->BLoadProgramClick();
    ASSERT_EQ(ui.fileRequests.size(), 3u);
    EXPECT_EQ(ui.fileRequests[1].defaultName, path);
    EXPECT_EQ(ui.fileRequests[2].defaultName, path);
}

TEST_F(OrvikWindowTest, TheChartMarksWhereTheFitnessChangedMeaning)
{
    EvolveOneGeneration(window);           // generation 0
    EvolveOneGeneration(window);           // generation 1, same table: no mark
    EXPECT_TRUE(FFitnessDisplay->Marks().empty());
    // The table editor leaves one cell to match: marked at generation 2.
    ui.onExec = [](QDialog* dialog) {
        QTableWidget* grid = static_cast<TFTruthTable*>(dialog)->StringGrid1;
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 4; column < grid->columnCount(); ++column)
                grid->item(row, column)->setText(row == 0 && column == 4 ? "0" : "X");
        return FakeUiSeam::PressOk(dialog);
    };
    window->Truthtable1Click();
    EvolveOneGeneration(window);
    ASSERT_EQ(FFitnessDisplay->Marks().size(), 1u);
    EXPECT_EQ(FFitnessDisplay->Marks()[0].generation, 2);
    EXPECT_EQ(FFitnessDisplay->Marks()[0].note, "truth table changed (at most 1)");
    EXPECT_TRUE(FFitnessDisplay->LMarks->isVisible());
    FFitnessDisplay->RefreshChartNow();
    EXPECT_EQ(FFitnessDisplay->VisibleMarkCount(), 1);
    // With one cell to match, some individual matches it at once.
    EXPECT_EQ(FFitnessDisplay->PlotModel().Records().back().max, 1.0);
    EXPECT_EQ(FFitnessDisplay->MaximumReachedAt(), std::optional<int32_t>(2));
    EXPECT_EQ(FFitnessDisplay->LMaxReached->text(), "Maximum 1 first reached at generation 2");

    window->BResetPopClick();              // the history is gone, and with it the marks
    EXPECT_TRUE(FFitnessDisplay->Marks().empty());
    EXPECT_FALSE(FFitnessDisplay->LMarks->isVisible());
}
