// "Evolve" in robot mode through the main window: against a scripted robot
// that vanishes, and against the simulated Khepera.
#include "../robot/ptyrobot.h"
#include "../robot/robotpal.h"
#include "fakeuiseam.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "processrandom.h"
#include "simulatedkhepera.h"
#include "tffitnessdisplay.h"
#include "tforvik.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

namespace {
// Records the boxes like FakeUiSeam and asks the loop to stop at the first
// one, so that a run which keeps showing boxes still ends with its generation.
struct StopAtFirstBoxUi : FakeUiSeam {
    void Message(QWidget* parent, const QString& caption, const QString& text) override
    {
        FakeUiSeam::Message(parent, caption, text);
        FFitnessDisplay->StopRequested = true;
    }
};

class RobotEvolveTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DestroyOrvikWindows();
        QCoreApplication::processEvents();
    }
    // The windows with the link on `device`, robot mode on a 4 x 4 PAL,
    // two individuals and one-second runs.
    void Start(const QString& device)
    {
        CreateOrvikWindows(device);
        window = FOrvik;
        window->SetPalSize(4, 2, 4);
        window->Population.SetPopulationSize(2);
        window->SetCurrentIndividual(0);
        window->CBKhepera->setChecked(true);
        window->ELengthRun->setText("1");
        window->UpdateStatusBar();
    }
    void ExpectIdle() const
    {
        EXPECT_FALSE(window->Evolving);
        EXPECT_TRUE(window->centralWidget()->isEnabled());
        EXPECT_TRUE(window->menuBar()->isEnabled());
        EXPECT_TRUE(FFitnessDisplay->BClose->isEnabled());
        EXPECT_FALSE(FFitnessDisplay->BStop->isEnabled());
    }

    StopAtFirstBoxUi ui;
    TFOrvik* window = nullptr;
};

// The fitness values of the "Individual %d - %lf" lines, in order.
std::vector<std::pair<int, double>> LoggedFitness(const std::string& log)
{
    std::vector<std::pair<int, double>> values;
    for (std::size_t at = log.find("Individual "); at != std::string::npos; at = log.find("Individual ", at + 1)) {
        int i = 0;
        double f = 0;
        if (std::sscanf(log.c_str() + at, "Individual %d - %lf", &i, &f) == 2)
            values.emplace_back(i, f);
    }
    return values;
}
} // namespace

TEST_F(RobotEvolveTest, VanishedRobotEndsTheRunWithOneMessageAndLeavesTheProgramIdle)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    Start(robot.SlavePath());
    window->ENumRun->setText("x"); // not a number: one run
    robot.Answer(ObedientRobot({}));
    std::thread unplug([&robot] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        robot.Vanish();
    });
    window->Evolve();
    unplug.join();

    EXPECT_EQ(window->ENumRun->text(), "1");
    ASSERT_EQ(ui.messages.size(), 1u) << ui.messages.front().text.toStdString();
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_TRUE(ui.messages[0].text.contains(robot.SlavePath())) << ui.messages[0].text.toStdString();
    ExpectIdle();
    // The generation under way is not recorded.
    EXPECT_TRUE(window->Population.History().empty());
    EXPECT_FALSE(window->Population.IsEvaluated());
    EXPECT_EQ(window->Population.GetGeneration(), 0);
    // The population put back still draws from the generator the
    // repositioning draws from.
    EXPECT_EQ(&window->Population.Random(), &ProcessRandom::Generator());
}

#ifdef KHEPERA_SIM_PATH
TEST_F(RobotEvolveTest, EveryRunRepositionsThenEvaluatesAndTheFitnessIsTheMeanOfTheRuns)
{
    SimulatedKhepera sim({QStringLiteral("--open")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    Start(sim.DevicePath());
    ASSERT_TRUE(ui.messages.empty());
    window->ENumRun->setText("2");
    LogRecorder log;
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); }); // one generation
    window->Evolve();

    ExpectIdle();
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(window->ENumRun->text(), "2");
    EXPECT_EQ(log.Count("Testing generation 0\n"), 2);
    // Each evaluation: a repositioning (walk, spin, reverse, stop), then the run.
    EXPECT_EQ(log.Count("Command is : 'D,10,-10\r'"), 4);
    EXPECT_EQ(log.Count("Sum of fitness: "), 4);
    std::vector<std::string> order;
    for (int run = 0; run < 2; ++run)
        for (int i = 0; i < 2; ++i)
            for (const std::string& piece :
                 {std::string("Command is : 'D,10,-10\r'"), std::string("Command is : 'D,-3,-3\r'"),
                  std::string("Sum of fitness: "), "Individual " + std::to_string(i) + " - "})
                order.push_back(piece);
    EXPECT_TRUE(log.InOrder(order));

    const auto logged = LoggedFitness(log.text);
    ASSERT_EQ(logged.size(), 4u);
    ASSERT_EQ(window->Population.History().size(), 1u);
    for (int i = 0; i < 2; ++i) {
        const double mean = (logged[i].second + logged[2 + i].second) / 2;
        EXPECT_NEAR(window->Population.At(i).GetFitness(), mean, 1e-6) << i;
        EXPECT_NEAR(window->Population.History()[0].values[i], mean, 1e-6) << i;
    }
}

// Pulling the robot away in the middle of an evaluation: one message, the
// loop ends at once and the program is idle.
TEST_F(RobotEvolveTest, KilledSimulatorGivesOneMessageAndAnIdleProgram)
{
    SimulatedKhepera sim({QStringLiteral("--open")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    Start(sim.DevicePath());
    window->ENumRun->setText("25");
    std::chrono::steady_clock::time_point killedAt{};
    QTimer::singleShot(1500, [&] {
        sim.Kill();
        killedAt = std::chrono::steady_clock::now();
    });
    window->Evolve();
    const double afterKill = SecondsSince(killedAt);

    EXPECT_EQ(window->ENumRun->text(), "10"); // clamped and written back
    ASSERT_EQ(ui.messages.size(), 1u) << ui.messages.front().text.toStdString();
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_TRUE(ui.messages[0].text.contains(sim.DevicePath())) << ui.messages[0].text.toStdString();
    ExpectIdle();
    EXPECT_TRUE(window->Population.History().empty());
    EXPECT_LT(afterKill, 15.0); // ends instead of running on; typically well under a second
    RecordProperty("seconds_after_kill", std::to_string(afterKill));
}
#endif
