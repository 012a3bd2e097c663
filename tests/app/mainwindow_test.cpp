// The main window at start, the hand simulation, and the PAL and truth-table
// commands.
#include "orvikfixture.h"
#include "palanswer.h"

#include "console.h"
#include "palviewer.h"
#include "processrandom.h"
#include "tfpalsetup.h"
#include "tftruthtable.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {
QStringList StatusTexts(TFOrvik* w)
{
    QStringList texts;
    for (QLabel* panel : w->StatusPanels)
        texts << panel->text();
    return texts;
}

std::vector<int> Chromosome(const BitString& b)
{
    std::vector<int> bits;
    for (uint32_t i = 0; i < b.Size(); ++i)
        bits.push_back(b[i]);
    return bits;
}

} // namespace

TEST_F(OrvikWindowTest, StartsWithTheDefaults)
{
    EXPECT_EQ(window->windowTitle(), "Orvik");
    EXPECT_EQ(StatusTexts(window),
              (QStringList{"Generation: 0", "Individual: 0", "Pop stats: 0.00;0.00;0.00", "Max possible fit: 48.00"}));
    EXPECT_EQ(window->Pal, (PalConfig{4, 2, 3}));
    EXPECT_EQ(window->Population.GetPopulationSize(), 100u);
    EXPECT_EQ(window->Population.At(0).Size(), 48u);
    EXPECT_EQ(window->Population.GetRankParents(), 15u);
    EXPECT_DOUBLE_EQ(window->Population.GetMutationRate(), 0.01);
    EXPECT_DOUBLE_EQ(window->Population.GetCrossoverRate(), 0.7);
    EXPECT_EQ(window->Population.GetSelection(), 1);
    EXPECT_EQ(window->Population.GetElitism(), 1);
    EXPECT_EQ(window->Motors, (MotorTable{-5, 0, 5, 10}));
    EXPECT_EQ(window->Table, TruthTable(48, 0));
    EXPECT_EQ(window->InputValues, std::vector<int32_t>(4, 0));
    EXPECT_TRUE(window->CurrentChromosome == window->Population.At(0));
    EXPECT_FALSE(window->CBKhepera->isChecked());
    EXPECT_EQ(window->ELengthRun->text(), "10");
    EXPECT_EQ(window->ENumRun->text(), "1");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OrvikWindowTest, TheInitialPopulationIsTheSameInEveryRun)
{
    // Start-up draws only from the fixed process-wide generator, never from a
    // clock: from the same generator state, start-up builds the same population.
    DestroyOrvikWindows();
    ProcessRandom::RestartForTests();
    CreateOrvikWindows(pty.slavePath);
    const std::vector<int> first = Chromosome(FOrvik->Population.At(0));
    const std::vector<int> last = Chromosome(FOrvik->Population.At(99));
    DestroyOrvikWindows();
    ProcessRandom::RestartForTests();
    CreateOrvikWindows(pty.slavePath);
    window = FOrvik;
    EXPECT_EQ(Chromosome(window->Population.At(0)), first);
    EXPECT_EQ(Chromosome(window->Population.At(99)), last);
    EXPECT_NE(first, last);
}

TEST_F(OrvikWindowTest, ClickingAnInputLabelTogglesItAndTheOutputsFollow)
{
    // Output 0 = I1 alone (term 0: true I1; term 1 never true).
    BitString& chromosome = window->Population.At(0);
    for (uint32_t i = 0; i < chromosome.Size(); ++i)
        chromosome[i] = 0;
    chromosome[window->Pal.FuseIndex(0, 0, 1, 0)] = 1;
    chromosome[window->Pal.FuseIndex(0, 1, 0, 0)] = 1;
    chromosome[window->Pal.FuseIndex(0, 1, 0, 1)] = 1;
    window->SetCurrentIndividual(0);
    EXPECT_EQ(window->Viewer->OutputValue(0), 0);

    const int x = 1 * window->Viewer->Layout().ColumnPitch() + 5; // input 1's reference point
    window->PaintBox1MouseDown(x, 25);
    EXPECT_EQ(window->InputValues, (std::vector<int32_t>{0, 1, 0, 0}));
    EXPECT_EQ(window->Viewer->InputValue(1), 1);
    EXPECT_EQ(window->Viewer->OutputValue(0), 1);

    window->PaintBox1MouseDown(x, 25);
    EXPECT_EQ(window->InputValues, (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(window->Viewer->OutputValue(0), 0);

    // 15 right and 1 below input 1's point: about 15.03 pixels, a miss.
    window->PaintBox1MouseDown(x + 15, 26);
    EXPECT_EQ(window->InputValues, (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(OrvikWindowTest, PalDialogAppliesOnlyChanges)
{
    window->Table[5] = 1;
    const std::vector<int> before = Chromosome(window->Population.At(7));

    ui.onExec = PalAnswer("4", "3", "2"); // OK with the same values
    window->PALparameters1Click();
    EXPECT_EQ(Chromosome(window->Population.At(7)), before);
    EXPECT_EQ(window->Table[5], 1);

    ui.onExec = PalAnswer("4", "3", "5"); // only the AND terms change
    window->PALparameters1Click();
    EXPECT_EQ(window->Pal, (PalConfig{4, 5, 3}));
    EXPECT_EQ(window->Population.At(0).Size(), 120u);
    EXPECT_EQ(window->Table[5], 1);

    ui.onExec = PalAnswer("4", "2", "5"); // the outputs change: the table is new
    window->PALparameters1Click();
    EXPECT_EQ(window->Table, TruthTable(32, 0));
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 32.00");
    EXPECT_EQ(window->InputValues.size(), 4u);

    ui.onExec = PalAnswer("11", "2", "5"); // refused: the dialog stays open, then Cancel
    ui.onExec = [](QDialog* d) {
        static_cast<TFPalSetup*>(d)->ENInput->setText("11");
        EXPECT_EQ(FakeUiSeam::PressOk(d), 0);
        d->reject();
        return d->result();
    };
    window->PALparameters1Click();
    EXPECT_EQ(window->Pal, (PalConfig{4, 5, 2}));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "Maximum number of input/outputs: 10. Maximum number of AND terms: 40");
}

TEST_F(OrvikWindowTest, TruthTableEditsReachTheFitness)
{
    // Everything don't care: nothing to score.
    ui.onExec = [](QDialog* d) {
        auto* editor = static_cast<TFTruthTable*>(d);
        for (int r = 0; r < editor->StringGrid1->rowCount(); ++r)
            for (int c = 4; c < editor->StringGrid1->columnCount(); ++c)
                editor->StringGrid1->item(r, c)->setText("X");
        return FakeUiSeam::PressOk(d);
    };
    window->Truthtable1Click();
    EXPECT_EQ(window->Table, TruthTable(48, DontCare));
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 0.00");
    EXPECT_EQ(window->ComputeFitness(window->CurrentChromosome), 0.0);

    // Cancel keeps the table.
    ui.onExec = {};
    window->Truthtable1Click();
    EXPECT_EQ(window->Table, TruthTable(48, DontCare));
}

TEST_F(OrvikWindowTest, ComputeFitnessShowsTheCurrentIndividualsScore)
{
    BitString& chromosome = window->Population.At(3);
    for (uint32_t i = 0; i < chromosome.Size(); ++i)
        chromosome[i] = 1; // every output constantly 0: all 48 cells of the all-0 table match
    window->SetCurrentIndividual(3);
    window->BComputeFitnessClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Fitness");
    EXPECT_EQ(ui.messages[0].text, "Fitness of individual 3: 48.000000");
    EXPECT_EQ(window->Population.At(3).GetFitness(), 0.0);
}

TEST_F(OrvikWindowTest, KheperaModeNeedsAFourByFourPal)
{
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick();
    EXPECT_FALSE(window->CBKhepera->isChecked());
    ASSERT_EQ(ui.messages.size(), 1u); // only the 4 x 4 message; the robot is not asked
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text, "Cannot use Khepera mode unless the PAL has 4 inputs and 4 outputs");
}

TEST_F(OrvikWindowTest, TheReusedTableEditorFitsEachTable)
{
    int smallWidth = 0, largeWidth = 0;
    ui.onExec = [&](QDialog* d) {
        smallWidth = d->width();
        d->reject();
        return d->result();
    };
    window->Truthtable1Click(); // 4 inputs, 3 outputs
    window->SetPalSize(10, 40, 10);
    ui.onExec = [&](QDialog* d) {
        largeWidth = d->width();
        d->reject();
        return d->result();
    };
    window->Truthtable1Click(); // 10 inputs, 10 outputs: twenty columns
    EXPECT_GT(largeWidth, smallWidth * 3 / 2);
}

TEST_F(OrvikWindowTest, DebugConsoleFollowsItsMenuItemAndClosesWithTheWindow)
{
    EXPECT_FALSE(window->DebugConsole->isChecked());
    EXPECT_FALSE(ConsoleIsOpen());
    window->DebugConsole->trigger();
    EXPECT_TRUE(window->DebugConsole->isChecked());
    EXPECT_TRUE(ConsoleIsOpen());
    window->DebugConsole->trigger();
    EXPECT_FALSE(window->DebugConsole->isChecked());
    EXPECT_FALSE(ConsoleIsOpen());

    window->DebugConsoleClick();
    EXPECT_TRUE(ConsoleIsOpen());
    DestroyOrvikWindows(); // closing the program closes the console too
    EXPECT_FALSE(ConsoleIsOpen());
    CreateOrvikWindows(pty.slavePath);
    window = FOrvik;
}
