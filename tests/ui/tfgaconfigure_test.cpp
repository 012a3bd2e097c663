// The GA parameters dialog as a user drives it: how the fields are shown,
// which message OK shows for broken rules, what it stores, and that Cancel
// never validates. A recording UiSeam replaces message boxes and modal runs.
#include "tfgaconfigure.h"
#include "fakeuiseam.h"
#include "uiseam.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using RecordingUi = FakeUiSeam;

class TFGAConfigureTest : public testing::Test {
protected:
    void SetUp() override { SetUiSeam(&ui); }
    void TearDown() override { SetUiSeam(nullptr); }

    void Type(const char* size, const char* mutation, const char* crossover, const char* rank,
              const char* elitism)
    {
        dialog.EditPopSize->setText(QString::fromLatin1(size));
        dialog.EditMutationRate->setText(QString::fromLatin1(mutation));
        dialog.EditCrossoverRate->setText(QString::fromLatin1(crossover));
        dialog.EditRankNumber->setText(QString::fromLatin1(rank));
        dialog.EElitism->setText(QString::fromLatin1(elitism));
    }

    RecordingUi ui;
    TFGAConfigure dialog;
};

} // namespace

TEST_F(TFGAConfigureTest, ControlsCarryTheirNamesAndCaptions)
{
    EXPECT_EQ(dialog.windowTitle(), "Configure GA Parameters");
    for (const char* name : {"EditPopSize", "EditMutationRate", "EditCrossoverRate", "EditRankNumber", "EElitism"})
        EXPECT_NE(dialog.findChild<QLineEdit*>(name), nullptr) << name;
    EXPECT_EQ(dialog.findChild<QRadioButton*>("RBRank"), dialog.RBRank);
    EXPECT_EQ(dialog.RBRank->text(), "Rank");
    EXPECT_EQ(dialog.RBRoulette->text(), "Roulette wheel");
    EXPECT_TRUE(dialog.BOk->isDefault());
}

TEST_F(TFGAConfigureTest, ShowDialogWritesRealsInTheirShortestForm)
{
    dialog.PopulationSize = 100;
    dialog.MutationRate = 0.01;
    dialog.CrossoverRate = 0.1 + 0.2; // 0.30000000000000004: shown with 15 digits
    dialog.RankParents = 30;
    dialog.Elitism = 5;
    dialog.Selection = 0;
    QStringList shown;
    bool rouletteChecked = false;
    ui.onExec = [&](QDialog*) {
        shown = {dialog.EditPopSize->text(), dialog.EditMutationRate->text(), dialog.EditCrossoverRate->text(),
                 dialog.EditRankNumber->text(), dialog.EElitism->text()};
        rouletteChecked = dialog.RBRoulette->isChecked();
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Rejected);
    EXPECT_EQ(shown, (QStringList{"100", "0.01", "0.3", "30", "5"}));
    EXPECT_TRUE(rouletteChecked);

    dialog.Selection = 1;
    ui.onExec = [&](QDialog*) { return int(dialog.RBRank->isChecked() ? QDialog::Accepted : QDialog::Rejected); };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Accepted);
}

TEST_F(TFGAConfigureTest, OkStoresTheParsedValuesAndTheSelection)
{
    ui.onExec = [&](QDialog*) {
        Type("100.5", "0", "0", "100.5", "100");
        dialog.RBRoulette->setChecked(true);
        dialog.BOk->click();
        return dialog.result();
    };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Accepted);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_DOUBLE_EQ(dialog.PopulationSize, 100.5);
    EXPECT_DOUBLE_EQ(dialog.MutationRate, 0);
    EXPECT_DOUBLE_EQ(dialog.CrossoverRate, 0);
    EXPECT_DOUBLE_EQ(dialog.RankParents, 100.5);
    EXPECT_EQ(dialog.Elitism, 100);
    EXPECT_EQ(dialog.Selection, 0);

    ui.onExec = [&](QDialog*) {
        dialog.RBRank->setChecked(true);
        dialog.accept();
        return dialog.result();
    };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Accepted);
    EXPECT_EQ(dialog.Selection, 1);
}

TEST_F(TFGAConfigureTest, OkStaysOpenWithTheFirstBrokenRule)
{
    struct Case {
        const char* size;
        const char* mutation;
        const char* crossover;
        const char* rank;
        const char* elitism;
        const char* message;
    };
    const Case cases[] = {
        {"100", "0.01", "0.7", "30", "2.5", "Invalid data in the input fields"},
        {"abc", "0.01", "0.7", "30", "5", "Invalid data in the input fields"},
        {"-1", "0.01", "0.7", "200", "5", "Negative or null numbers disallowed"},
        {"100", "0.01", "0.7", "0", "5", "Negative or null numbers disallowed"},
        {"100", "0.01", "0.7", "101", "5", "Rank must be lower than the population size"},
        {"100", "0.01", "0.7", "100", "100", "Elitism must be lower than the population size"},
        {"100", "1.0", "0.7", "30", "5", "Crossover and mutation probabilities must be inside [0;1]"},
        {"100", "0.01", "1", "30", "5", "Crossover and mutation probabilities must be inside [0;1]"},
        {"4294967306", "0.01", "0.7", "15", "1", "Population size must be at most 1000000"},
    };
    dialog.Selection = 1;
    dialog.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ui.messages.clear();
        Type(c.size, c.mutation, c.crossover, c.rank, c.elitism);
        dialog.RBRoulette->setChecked(true);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Lines()[0], QStringLiteral("Error | ") + QString::fromLatin1(c.message));
        EXPECT_EQ(dialog.EElitism->text(), QString::fromLatin1(c.elitism));
        EXPECT_EQ(dialog.Selection, 1); // only a successful OK reads the radio buttons
    }
}

TEST_F(TFGAConfigureTest, TheFieldAtFaultTakesTheFocusWithItsTextSelected)
{
    const struct {
        const char* texts[5];
        QLineEdit* TFGAConfigure::*field;
    } rows[] = {
        {{"100", "0.01", "0.7", "101", "5"}, &TFGAConfigure::EditRankNumber},
        {{"2e6", "0.01", "0.7", "30", "5"}, &TFGAConfigure::EditPopSize},
        {{"100", "0.01", "1.5", "30", "5"}, &TFGAConfigure::EditCrossoverRate},
        {{"100", "0.01", "0.7", "30", "x"}, &TFGAConfigure::EElitism},
    };
    dialog.show();
    for (const auto& row : rows) {
        Type(row.texts[0], row.texts[1], row.texts[2], row.texts[3], row.texts[4]);
        dialog.EditMutationRate->setFocus();
        dialog.accept();
        QLineEdit* field = dialog.*row.field;
        EXPECT_EQ(dialog.focusWidget(), field) << field->objectName().toStdString();
        EXPECT_EQ(field->selectedText(), field->text());
    }
}

TEST_F(TFGAConfigureTest, CancelNeverValidates)
{
    Type("x", "y", "z", "", "2.5");
    dialog.show();
    dialog.BCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.show();
    dialog.close();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_DOUBLE_EQ(dialog.PopulationSize, 100);
}

TEST_F(TFGAConfigureTest, TheEvolutionStrategySetsThePopulationToOnePlusLambda)
{
    EXPECT_EQ(dialog.RBEvolutionStrategy->text(), QStringLiteral("(1+\u03bb) evolution strategy"));
    struct Case {
        const char* lambda;
        const char* rate;
        const char* message; // empty: accepted
    };
    const Case cases[] = {
        {"4", "", ""},     // rank parents 15 and elitism 1 serve the GA only
        {"9", "0.05", ""},
        {"0", "", "Negative or null numbers disallowed"},
        {"4", "1", "Crossover and mutation probabilities must be inside [0;1]"},
        {"four", "", "Invalid data in the input fields"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lambda);
        dialog.PopulationSize = 100;
        dialog.RankParents = 15;
        dialog.Elitism = 1;
        dialog.EvolutionStrategy = false;
        ui.messages.clear();
        QString shownSize;
        ui.onExec = [&](QDialog*) {
            dialog.RBEvolutionStrategy->setChecked(true);
            dialog.ELambda->setText(QString::fromLatin1(c.lambda));
            dialog.EESMutationRate->setText(QString::fromLatin1(c.rate));
            shownSize = dialog.EditPopSize->text();
            dialog.accept();
            return dialog.result();
        };
        const int result = dialog.ShowDialog();
        if (*c.message) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.Lines()[0], QStringLiteral("Error | ") + QString::fromLatin1(c.message));
            EXPECT_FALSE(dialog.EvolutionStrategy);
            continue;
        }
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_FALSE(dialog.EditPopSize->isEnabled());
        EXPECT_EQ(shownSize.toInt(), atoi(c.lambda) + 1);
        EXPECT_DOUBLE_EQ(dialog.PopulationSize, atoi(c.lambda) + 1);
        EXPECT_TRUE(dialog.EvolutionStrategy);
        EXPECT_EQ(dialog.Lambda, atoi(c.lambda));
        EXPECT_DOUBLE_EQ(dialog.ESMutationRate, *c.rate ? atof(c.rate) : 0.0);
        EXPECT_NE(dialog.LESPopulation->text().indexOf(shownSize), -1);
    }

    // Back to rank selection: the GA's size comes back and can be typed.
    ui.onExec = [&](QDialog*) {
        dialog.RBRank->setChecked(true);
        dialog.accept();
        return dialog.result();
    };
    dialog.PopulationSize = 5;
    dialog.EvolutionStrategy = true;
    dialog.RankParents = 5;
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Accepted);
    EXPECT_TRUE(dialog.EditPopSize->isEnabled());
    EXPECT_DOUBLE_EQ(dialog.PopulationSize, 5);
    EXPECT_FALSE(dialog.EvolutionStrategy);
    EXPECT_EQ(dialog.Selection, 1);
}

TEST_F(TFGAConfigureTest, UnderTheStrategyTheGAOnlyFieldsAreGreyedOut)
{
    const std::array<QLineEdit*, 4> gaOnly{dialog.EditMutationRate, dialog.EditCrossoverRate,
                                           dialog.EditRankNumber, dialog.EElitism};
    for (QRadioButton* choice : {dialog.RBEvolutionStrategy, dialog.RBRank, dialog.RBRoulette}) {
        choice->setChecked(true);
        const bool es = choice == dialog.RBEvolutionStrategy;
        for (QLineEdit* field : gaOnly)
            EXPECT_EQ(field->isEnabled(), !es) << field->objectName().toStdString();
        EXPECT_EQ(dialog.ELambda->isEnabled(), es);
        EXPECT_EQ(dialog.EESMutationRate->isEnabled(), es);
    }

    // A GA field typed wrong before choosing the strategy: the message says
    // how to reach it.
    ui.onExec = [&](QDialog*) {
        dialog.EditCrossoverRate->setText("abc");
        dialog.RBEvolutionStrategy->setChecked(true);
        dialog.accept();
        return dialog.result();
    };
    dialog.ShowDialog();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Invalid data in the input fields\n"));
    EXPECT_TRUE(ui.messages[0].text.contains("choose Rank or Roulette wheel"));
}
