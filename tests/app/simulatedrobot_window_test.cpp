// Robot mode in the window on the simulated Khepera inside Orvik: chosen in
// Setup > Communication..., evolving in virtual time until "Stop", and
// "Compute fitness" run again from the last start pose.
#include "kkhepera.h"
#include "orvikfixture.h"
#include "robot_world.h"
#include "tfcomconfigure.h"
#include "tffitnessdisplay.h"
#include "tfrobotarena.h"
#include "tfrobotevaluation.h"
#include "watchedrobotbody.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {
class SimulatedRobotWindowTest : public OrvikWindowTest {
protected:
    // Robot mode on a 4 x 4 PAL, four individuals, one-second runs, the
    // simulated Khepera in the default arena chosen through the dialog.
    void ChooseSimulation(int noise = 0)
    {
        ui.onExec = [noise](QDialog* d) {
            auto* dialog = static_cast<TFComConfigure*>(d);
            dialog->RBSimulated->setChecked(true);
            dialog->CBArena->setCurrentIndex(0);
            dialog->ENoise->setText(QString::number(noise));
            return FakeUiSeam::PressOk(d);
        };
        window->Communication1Click();
        window->SetPalSize(4, 2, 4);
        window->Population.SetPopulationSize(4);
        window->SetCurrentIndividual(0);
        window->ELengthRun->setText("1");
        window->CBKhepera->click(); // no serial robot answers: the simulated one needs none
    }
    // Presses "Stop" once `generations` are recorded (checked as the loop
    // processes its events).
    void StopAfter(size_t generations)
    {
        auto* poll = new QTimer(window);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, generations] {
            if (window->Population.History().size() >= generations) {
                FFitnessDisplay->BStop->click();
                poll->deleteLater();
            }
        });
        poll->start(1);
    }
};
} // namespace

TEST_F(SimulatedRobotWindowTest, TheChoiceNeedsNoSerialRobotAndAPortChoiceEndsIt)
{
    ChooseSimulation();
    EXPECT_TRUE(window->SimulatedRobot);
    EXPECT_TRUE(window->CBKhepera->isChecked());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 1.00");
    EXPECT_EQ(window->LLink->text(), "Simulated Khepera");

    // The dialog shows the simulation chosen; picking a port goes back to it.
    bool shownSimulated = false;
    ui.onExec = [&](QDialog* d) {
        auto* dialog = static_cast<TFComConfigure*>(d);
        shownSimulated = dialog->RBSimulated->isChecked();
        dialog->RBOther->setChecked(true);
        dialog->CBOtherDevice->setEditText(pty.slavePath);
        return FakeUiSeam::PressOk(d);
    };
    window->Communication1Click();
    EXPECT_TRUE(shownSimulated);
    EXPECT_FALSE(window->SimulatedRobot);
    EXPECT_EQ(window->Khepera->DevicePath(), pty.slavePath);
    EXPECT_EQ(window->LLink->text(), "Khepera: open");
}

TEST_F(SimulatedRobotWindowTest, StopInRealTimeFinishesTheGenerationInVirtualTime)
{
    ChooseSimulation();
    window->ELengthRun->setText("10"); // four individuals: over 40 s at the robot's pace
    window->RobotArena1Click();
    window->FRobotArena->CBRealTime->setChecked(true);
    QTimer::singleShot(200, FFitnessDisplay->BStop, [] { FFitnessDisplay->BStop->click(); });
    QElapsedTimer clock;
    clock.start();
    window->Evolve();
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(window->Population.History().size(), 1u); // the generation is whole and recorded
    EXPECT_EQ(window->LRunNote->text(), "Stopped after generation 0, finished in virtual time");
    // Pacing is back for the next run.
    EXPECT_TRUE(window->PacingSimulation());
}

TEST_F(SimulatedRobotWindowTest, ChangingTheArenaOrTheNoiseMarksTheChart)
{
    ChooseSimulation();
    StopAfter(1);
    window->Evolve();
    int32_t changed = 0;
    for (const int noise : {0, 3}) { // the same settings again, then more noise
        ui.onExec = [noise](QDialog* d) {
            static_cast<TFComConfigure*>(d)->ENoise->setText(QString::number(noise));
            return FakeUiSeam::PressOk(d);
        };
        window->Communication1Click();
        changed = window->Population.GetGeneration() + 1;
        StopAfter(window->Population.History().size() + 1);
        window->Evolve();
    }
    ASSERT_EQ(FFitnessDisplay->Marks().size(), 1u);
    EXPECT_EQ(FFitnessDisplay->Marks()[0].generation, changed);
    EXPECT_EQ(FFitnessDisplay->Marks()[0].note, "simulated Khepera, the default arena, 3 % noise");

    // So does a change of Setup > Robot evaluation...
    ui.onExec = [](QDialog* d) {
        static_cast<TFRobotEvaluation*>(d)->CBSharedStarts->setChecked(true);
        return FakeUiSeam::PressOk(d);
    };
    window->RobotEvaluation1Click();
    StopAfter(window->Population.History().size() + 1);
    window->Evolve();
    ASSERT_EQ(FFitnessDisplay->Marks().size(), 2u);
    EXPECT_EQ(FFitnessDisplay->Marks()[1].note, "evaluation: shared starts");
}

TEST_F(SimulatedRobotWindowTest, EvolveRunsInVirtualTimeUntilStopAndTheWindowIsIdleAgain)
{
    ChooseSimulation();
    window->RobotArena1Click();
    const ksim::Pose start = window->SimWorld->pose();
    StopAfter(3);
    window->Evolve();

    EXPECT_FALSE(window->Evolving);
    EXPECT_TRUE(window->centralWidget()->isEnabled());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_TRUE(FFitnessDisplay->BClose->isEnabled());
    EXPECT_FALSE(FFitnessDisplay->BStop->isEnabled());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    // "Stop" is taken between generations: each one is whole and recorded.
    const auto& history = window->Population.History();
    ASSERT_GE(history.size(), 3u);
    EXPECT_EQ(window->Population.GetGeneration() + 1, static_cast<int>(history.size()));
    for (const GAData& generation : history)
        for (double f : generation.values) {
            EXPECT_GE(f, 0.0);
            EXPECT_LE(f, 1.0);
        }
    // The robot moved, and the last run shown is one second: its start pose
    // and ten control steps.
    EXPECT_NE(window->SimWorld->pose().x, start.x);
    EXPECT_EQ(window->SimBody->Recording().size(), 11);
    EXPECT_GE(window->FRobotArena->Canvas->trail.size(), 2);
}

TEST_F(SimulatedRobotWindowTest, ClosingTheMainWindowMidRunEndsAfterTheGeneration)
{
    ChooseSimulation();
    window->show();
    QTimer::singleShot(0, window, [this] { window->close(); });
    window->Evolve();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->Evolving);
    EXPECT_EQ(window->Population.History().size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SimulatedRobotWindowTest, ComputeFitnessRunsAgainFromTheLastStartAndReplaysTheRun)
{
    ChooseSimulation();
    StopAfter(1);
    window->Evolve();
    ui.messages.clear();
    window->SetCurrentIndividual(2);
    window->BComputeFitnessClick();
    window->BComputeFitnessClick();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].caption, "Fitness");
    EXPECT_TRUE(ui.messages[0].text.startsWith("Fitness of individual 2: "));
    // Without noise, the same start gives the same run.
    EXPECT_EQ(ui.messages[0].text, ui.messages[1].text);
    EXPECT_TRUE(window->FRobotArena->Replaying());
    EXPECT_TRUE(window->centralWidget()->isEnabled());
}

TEST_F(SimulatedRobotWindowTest, RealTimePacesARunAtTheRobotsStepsAndKeepsTheWindowResponsive)
{
    ChooseSimulation();
    window->RobotArena1Click();
    window->FRobotArena->CBRealTime->setChecked(true);
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(50);
    QElapsedTimer clock;
    clock.start();
    window->BComputeFitnessClick(); // one second of robot time
    // Paced, the run cannot end before its second has passed on the wall
    // clock (a lower bound only: a busy machine may take longer).
    EXPECT_GE(clock.elapsed(), 950);
    EXPECT_GE(ticks, 5); // the GUI handled its events while it waited
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Fitness");
    EXPECT_FALSE(window->FRobotArena->Replaying()); // it was watched as it ran
}

TEST_F(SimulatedRobotWindowTest, AnArenaFileIsReadWithItsStartAndABadOneIsRefusedByLine)
{
    const QString good = TempFile("corridor.txt");
    const QString bad = TempFile("bad.txt");
    for (const auto& [path, text] : {std::pair{good, "# a corridor\nfloor 800 400\nwall -200 0 200 0\n"
                                                     "start -300 100 90\n"},
                                     std::pair{bad, "floor 800 400\n\nbox 1 2 3\n"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QStringList refused;
    ui.onExec = [&](QDialog* d) -> int {
        auto* dialog = static_cast<TFComConfigure*>(d);
        dialog->RBSimulated->setChecked(true);
        dialog->CBArena->setCurrentIndex(static_cast<int>(SimulationSetup::ArenaKind::File));
        dialog->EArenaFile->setText(bad);
        if (FakeUiSeam::PressOk(d) == QDialog::Accepted)
            return QDialog::Accepted;
        refused.append(ui.messages.back().text);
        dialog->EArenaFile->setText(good);
        return FakeUiSeam::PressOk(d);
    };
    window->Communication1Click();
    ASSERT_EQ(refused.size(), 1);
    EXPECT_TRUE(refused[0].contains("line 3")) << refused[0].toStdString();
    ASSERT_TRUE(window->SimulatedRobot);
    EXPECT_EQ(window->SimWorld->arena().width(), 800.0);
    EXPECT_EQ(window->SimWorld->pose().x, -300.0);
    EXPECT_EQ(window->SimWorld->pose().y, 100.0);
}

TEST_F(SimulatedRobotWindowTest, SharedStartsScoreEqualControllersAlikeAndReevaluationTheKeptOnes)
{
    ChooseSimulation();
    ui.onExec = [](QDialog* d) {
        auto* dialog = static_cast<TFRobotEvaluation*>(d);
        dialog->CBSharedStarts->setChecked(true);
        dialog->EReevaluations->setText("1");
        dialog->EStallPenalty->setText("100");
        return FakeUiSeam::PressOk(d);
    };
    window->RobotEvaluation1Click();
    EXPECT_EQ(window->RobotEvaluationSettings, (RobotEvaluation{true, 1, 1.0}));
    window->ENumRun->setText("2");
    // Four copies of a controller that drives straight on: from the same
    // places they score the same; the two the step keeps run once more.
    for (uint32_t i = 0; i < 4; ++i)
        static_cast<BitString&>(window->Population.At(i)) = BitString(64);
    StopAfter(1);
    window->Evolve();
    ASSERT_GE(window->Population.History().size(), 1u);
    const std::vector<double>& f = window->Population.History().front().values; // generation 0
    EXPECT_EQ(f[0], f[1]);
    EXPECT_EQ(f[2], f[3]);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();

    // A field out of range keeps the dialog open and the settings as they were.
    TFRobotEvaluation dialog;
    dialog.SetEvaluation(window->RobotEvaluationSettings);
    dialog.EStallPenalty->setText("101");
    EXPECT_FALSE(dialog.FormCloseQuery());
    EXPECT_EQ(ui.messages.back().caption, "Error");
    dialog.EStallPenalty->setText("25");
    dialog.EReevaluations->setText("11");
    EXPECT_FALSE(dialog.FormCloseQuery());
    dialog.EReevaluations->setText("0");
    EXPECT_TRUE(dialog.FormCloseQuery());
    EXPECT_EQ(dialog.Chosen(), (RobotEvaluation{true, 0, 0.25}));
}
