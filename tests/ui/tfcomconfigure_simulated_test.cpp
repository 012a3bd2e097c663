// The port dialog's "Simulated Khepera (in Orvik)" choice: what the caller
// sets is shown, and OK closes only with an acceptable noise and arena file.
#include "fakeuiseam.h"
#include "tfcomconfigure.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using Kind = SimulationSetup::ArenaKind;

TEST(TFComConfigureSimulated, ShowsTheSetupAndEnablesItsFieldsOnlyWhenChosen)
{
    TFComConfigure dialog;
    EXPECT_EQ(dialog.RBSimulated->text(), "Simulated Khepera (in Orvik)");
    dialog.SetChoice(2, QString());
    dialog.SetSimulation(false, {Kind::File, "walls.txt", 30});
    EXPECT_TRUE(dialog.RBCom2->isChecked());
    EXPECT_FALSE(dialog.ChosenSimulated());
    EXPECT_EQ(dialog.EArenaFile->text(), "walls.txt");
    EXPECT_EQ(dialog.ENoise->text(), "30");
    EXPECT_FALSE(dialog.CBArena->isEnabled());
    EXPECT_FALSE(dialog.ENoise->isEnabled());

    dialog.RBSimulated->setChecked(true);
    EXPECT_TRUE(dialog.ChosenSimulated());
    EXPECT_TRUE(dialog.ENoise->isEnabled());
    EXPECT_TRUE(dialog.EArenaFile->isEnabled());
    dialog.CBArena->setCurrentIndex(static_cast<int>(Kind::Open));
    EXPECT_FALSE(dialog.EArenaFile->isEnabled()); // only a file arena needs a path
    EXPECT_FALSE(dialog.BArenaBrowse->isEnabled());

    dialog.SetChoice(1, QString());
    EXPECT_FALSE(dialog.ChosenSimulated());
    dialog.SetSimulation(true, {});
    EXPECT_TRUE(dialog.ChosenSimulated());
    EXPECT_EQ(dialog.CBArena->currentIndex(), static_cast<int>(Kind::Default));
}

TEST(TFComConfigureSimulated, OkChecksTheNoiseAndTheArenaFile)
{
    struct Row {
        Kind arena;
        const char* path;
        const char* noise;
        bool closes;
        const char* messagePart; // when refused
    };
    const Row rows[] = {
        {Kind::Default, "", "0", true, ""},
        {Kind::Open, "", " 100 ", true, ""},
        {Kind::Default, "", "101", false, "0 to 100"},
        {Kind::Default, "", "-1", false, "0 to 100"},
        {Kind::Default, "", "5.5", false, "0 to 100"},
        {Kind::Default, "", "", false, "0 to 100"},
        {Kind::File, "  ", "0", false, "Choose the arena file"},
        {Kind::File, "bad.txt", "0", false, "line 3: a box needs four numbers"},
        {Kind::File, " good.txt ", "20", true, ""},
        {Kind::File, "bad.txt", "x", false, "0 to 100"}, // the noise is checked first
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.path) + " / " + row.noise);
        FakeUiSeam ui;
        TFComConfigure dialog;
        dialog.CheckArenaFile = [](const QString& path) {
            return path == "bad.txt" ? QStringLiteral("line 3: a box needs four numbers") : QString();
        };
        dialog.SetChoice(1, QString());
        dialog.SetSimulation(true, {Kind::Default, "", 7});
        dialog.CBArena->setCurrentIndex(static_cast<int>(row.arena));
        dialog.EArenaFile->setText(row.path);
        dialog.ENoise->setText(row.noise);
        const int result = FakeUiSeam::PressOk(&dialog);
        EXPECT_EQ(result == QDialog::Accepted, row.closes);
        if (row.closes) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(dialog.ChosenSimulation().arena, row.arena);
            EXPECT_EQ(dialog.ChosenSimulation().arenaFile, QString(row.path).trimmed());
            EXPECT_EQ(dialog.ChosenSimulation().noisePercent, QString(row.noise).trimmed().toInt());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].caption, "Error");
            EXPECT_TRUE(ui.messages[0].text.contains(row.messagePart)) << ui.messages[0].text.toStdString();
            EXPECT_EQ(dialog.ChosenSimulation().noisePercent, 7); // the last accepted values stay
        }
    }
}

TEST(TFComConfigureSimulated, APortChoiceIgnoresTheSimulationFields)
{
    FakeUiSeam ui;
    TFComConfigure dialog;
    dialog.SetChoice(2, QString());
    dialog.ENoise->setText("not a number");
    EXPECT_EQ(FakeUiSeam::PressOk(&dialog), QDialog::Accepted);
    EXPECT_TRUE(ui.messages.empty());
}
