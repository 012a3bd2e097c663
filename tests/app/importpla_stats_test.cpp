// File > Import PLA of a table the PAL already fits keeps the evolved
// population: its statistics in the status bar are then those of the
// imported table, not of the one it was evolved for.
#include "orvikfixture.h"
#include "tffitnessdisplay.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

TEST_F(OrvikWindowTest, ImportedTableRescoresTheKeptPopulation)
{
    // Evolved for the all-zero table of the 4-input, 3-output PAL.
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    window->Evolve();
    ASSERT_EQ(window->Population.History().size(), 1u);

    // Only row 0 counts, and it asks for 1 on every output.
    const QString path = TempFile("row0.pla");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(".i 4\n.o 3\n.type fr\n.p 1\n0000 111\n.e\n");
    file.close();
    ui.fileAnswers.push_back(path);
    window->ImportPla1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.Lines()[0].toStdString();
    ASSERT_EQ(window->Pal, (PalConfig{4, 2, 3}));

    double max = 0.0;
    for (uint32_t i = 0; i < window->Population.GetPopulationSize(); ++i) {
        const double f = window->Population.At(i).GetFitness();
        EXPECT_EQ(f, window->ComputeFitnessTruthTable(window->Population.At(i))) << "individual " << i;
        max = std::max(max, f);
    }
    EXPECT_LE(max, 3.0);
    EXPECT_EQ(window->StatusPanels[2]->text(),
              QString::asprintf("Pop stats: %.2lf;%.2lf;%.2lf", window->Population.MaxFitness(),
                                window->Population.AverageFitness(), window->Population.MinFitness()));
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 3.00");
}

TEST_F(OrvikWindowTest, ImportingIntoAnotherPalAsksBeforeLosingAnEvolvedPopulation)
{
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    window->Evolve();
    const QString path = TempFile("two.pla");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(".i 2\n.o 1\n.p 1\n11 1\n.e\n");
    file.close();
    // The evolved generation is not saved: Save / Discard / Cancel.
    for (const bool yes : {false, true}) {
        ui.messages.clear();
        ui.saveAnswers = {yes ? UiSeam::SaveChoice::Discard : UiSeam::SaveChoice::Cancel};
        ui.fileAnswers.push_back(path);
        window->ImportPla1->trigger();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Warning");
        EXPECT_EQ(window->Pal, yes ? (PalConfig{2, 2, 1}) : (PalConfig{4, 2, 3}));
        EXPECT_EQ(window->Table.size(), yes ? 4u : 48u);
    }
}
