// The Khepera panel of the main window against a scripted robot on a
// pseudo-terminal, and the serial start-up errors.
#include "../robot/ptyrobot.h"
#include "../robot/robotpal.h"
#include "fakeuiseam.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "palanswer.h"
#include "proximityring.h"
#include "tfcomconfigure.h"
#include "tforvik.h"
#include "tfpalsetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
class RobotPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(robot.Ok());
        CreateOrvikWindows(robot.SlavePath());
        window = FOrvik;
    }
    void TearDown() override
    {
        robot.StopAnswering();
        DestroyOrvikWindows();
    }
    void UseFourByFourPal() { window->SetPalSize(4, 2, 4); }

    FakeUiSeam ui;
    PtyRobot robot;
    TFOrvik* window = nullptr;
};
} // namespace

TEST_F(RobotPanelTest, SetMotorSpeedClampsToThirty)
{
    robot.Answer(AnswerLikeKhepera);
    window->Edit2->setText("100"); // left
    window->Edit1->setText("-100"); // right
    window->BMotorClick();
    robot.StopAnswering();
    EXPECT_EQ(robot.Commands(), (std::vector<std::string>{"D,30,-30"}));

    window->Edit1->setText("");
    window->Edit2->setText("5");
    window->BMotorClick(); // R empty: nothing is sent
    EXPECT_EQ(robot.Drain(), "");
}

TEST_F(RobotPanelTest, KheperaModeTalksToTheRobot)
{
    UseFourByFourPal();
    robot.Answer(AnswerLikeKhepera);
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick();
    robot.StopAnswering();
    EXPECT_TRUE(window->CBKhepera->isChecked());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(robot.Commands(), (std::vector<std::string>{"E"}));
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 1.00");
}

TEST_F(RobotPanelTest, KheperaModeWithASilentRobotIsRefused)
{
    UseFourByFourPal();
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick(); // three one-second tries, then the message
    EXPECT_FALSE(window->CBKhepera->isChecked());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text, "Error communicating with the Khepera");
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 64.00");
}

TEST_F(RobotPanelTest, ProximityButtonLightsTheNearIndicators)
{
    robot.Answer([](const std::string& line) -> std::string {
        if (line == "N")
            return "n,0,400,300,0,0,0,1000,0\r\n";
        return AnswerLikeKhepera(line);
    });
    window->BProximityClick();
    robot.StopAnswering();
    EXPECT_TRUE(window->Image1->IndicatorWhite(0));  // max(0, 400)
    EXPECT_TRUE(window->Image1->IndicatorWhite(1));  // max(300, 0): exactly the threshold
    EXPECT_FALSE(window->Image1->IndicatorWhite(2));
    EXPECT_TRUE(window->Image1->IndicatorWhite(3));
}

TEST_F(RobotPanelTest, PortDialogShowsThePortInUseAndReopensOnOk)
{
    window->Khepera->SetPort(2);
    ui.messages.clear(); // /dev/ttyS1 may or may not open here
    bool com2Shown = false;
    ui.onExec = [&](QDialog* d) {
        auto* dialog = static_cast<TFComConfigure*>(d);
        com2Shown = dialog->RBCom2->isChecked();
        dialog->RBOther->setChecked(true);
        dialog->CBOtherDevice->setEditText(robot.SlavePath());
        return FakeUiSeam::PressOk(d);
    };
    window->Communication1Click();
    EXPECT_TRUE(com2Shown);
    EXPECT_TRUE(window->Khepera->UsesDevicePath());
    EXPECT_EQ(window->Khepera->DevicePath(), robot.SlavePath());
    EXPECT_TRUE(window->Khepera->IsOpen());
}

TEST(RobotStartup, AnAbsentPortShowsTheThreeErrorsAndTheProgramGoesOn)
{
    FakeUiSeam ui;
    CreateOrvikWindows("/dev/orvik-no-such-port");
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "error in createfile");
    EXPECT_EQ(ui.messages[1].text, "error in getcommstate");
    EXPECT_EQ(ui.messages[2].text, "error in setcommstate");
    for (const auto& m : ui.messages)
        EXPECT_TRUE(m.caption.isEmpty());
    EXPECT_EQ(FOrvik->StatusPanels[3]->text(), "Max possible fit: 48.00");
    DestroyOrvikWindows();
}

namespace {
// Robot mode on a 4 x 4 PAL with one-second runs, without asking the robot.
void UseRobotMode(TFOrvik* window)
{
    window->SetPalSize(4, 2, 4);
    window->CBKhepera->setChecked(true);
    window->ELengthRun->setText("1");
    window->UpdateStatusBar();
}
} // namespace

// "Compute fitness" in robot mode processes events for a whole run: none of
// the window's commands may run inside it.
TEST_F(RobotPanelTest, RobotComputeFitnessTakesNoOtherCommandDuringTheRun)
{
    UseRobotMode(window);
    robot.Answer(ObedientRobot({}));
    const BitString shown = window->CurrentChromosome;
    bool tried = false;
    bool buttonsEnabled = true;
    bool menusEnabled = true;
    QTimer::singleShot(0, [&] {
        tried = true;
        buttonsEnabled = window->Button1->isEnabled() || window->Button2->isEnabled() ||
                         window->BLoadProgram->isEnabled() || window->BResetPop->isEnabled();
        menusEnabled = window->menuBar()->isEnabled() || window->PALparameters1->isEnabled();
        ui.onExec = PalAnswer("10", "10", "2"); // what the PAL dialog would answer
        window->PALparameters1->trigger();
        QTest::mouseClick(window->Button2, Qt::LeftButton);
        QTest::mouseClick(window->BResetPop, Qt::LeftButton);
    });
    window->BComputeFitnessClick();
    robot.StopAnswering();

    EXPECT_TRUE(tried);
    EXPECT_FALSE(buttonsEnabled);
    EXPECT_FALSE(menusEnabled);
    EXPECT_EQ(window->Pal, (PalConfig{4, 2, 4}));
    EXPECT_TRUE(window->CurrentChromosome == shown);
    ASSERT_EQ(ui.messages.size(), 1u) << ui.Lines().size();
    EXPECT_EQ(ui.messages[0].caption, "Fitness");
    EXPECT_TRUE(ui.messages[0].text.startsWith("Fitness of individual 0: "));
    // Idle again afterwards.
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_TRUE(window->Button2->isEnabled());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_TRUE(window->PALparameters1->isEnabled());
}

// A command that has to retry shows the wait cursor while it retries, and
// gives it back before anything else happens.
TEST_F(RobotPanelTest, RetryingCommandShowsTheWaitCursor)
{
    struct CursorLog : LogRecorder {
        void Write(const char* data, std::size_t length) override
        {
            LogRecorder::Write(data, length);
            const QCursor* cursor = QGuiApplication::overrideCursor();
            if (std::string(data, length).rfind("DoCommand. Try ", 0) == 0)
                waiting.push_back(cursor && cursor->shape() == Qt::WaitCursor);
        }
        std::vector<bool> waiting;
    };
    UseFourByFourPal();
    auto tries = std::make_shared<int>(0);
    robot.Answer([tries](const std::string& line) -> std::string {
        return ++*tries == 1 ? std::string() : AnswerLikeKhepera(line); // silent the first time
    });
    CursorLog log;
    window->CBKhepera->setChecked(true);
    window->CBKheperaClick();
    robot.StopAnswering();
    EXPECT_TRUE(window->CBKhepera->isChecked());
    EXPECT_EQ(log.waiting, (std::vector<bool>{false, true}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(RobotPanelTest, RobotComputeFitnessStopsOnThePanelsStop)
{
    UseRobotMode(window);
    window->ELengthRun->setText("100");
    robot.Answer(ObedientRobot({}));
    bool stopShown = false;
    QTimer::singleShot(0, [&] {
        stopShown = window->BStopRun->isVisibleTo(window) && window->BStopRun->isEnabled();
        window->BStopRun->click();
    });
    const auto start = std::chrono::steady_clock::now();
    window->BComputeFitnessClick();
    robot.StopAnswering();
    EXPECT_LT(SecondsSince(start), 50.0); // far from the hundred seconds asked for
    EXPECT_TRUE(stopShown);
    EXPECT_TRUE(ui.messages.empty()); // stopped: no fitness to tell
    EXPECT_FALSE(window->BStopRun->isVisibleTo(window));
    EXPECT_FALSE(window->ComputingOnRobot);
    EXPECT_TRUE(window->Button2->isEnabled());
    EXPECT_EQ(robot.Commands().back(), "D,0,0");
}

TEST_F(RobotPanelTest, RobotComputeFitnessWithAVanishingRobotShowsOneMessage)
{
    UseRobotMode(window);
    robot.Answer(ObedientRobot({}));
    QTimer::singleShot(0, [&] { robot.Vanish(); });
    window->BComputeFitnessClick();
    ASSERT_EQ(ui.messages.size(), 1u) << ui.messages.front().text.toStdString();
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text,
              "The Khepera is not answering on " + robot.SlavePath() + ". The fitness run was stopped.");
    EXPECT_TRUE(window->Button2->isEnabled());
    EXPECT_FALSE(window->ComputingOnRobot);
}

TEST_F(RobotPanelTest, ClosingTheWindowDuringARobotRunEndsItThenCloses)
{
    UseRobotMode(window);
    window->ELengthRun->setText("100");
    robot.Answer(ObedientRobot({}));
    window->show();
    QTimer::singleShot(0, [this] { window->close(); });
    window->BComputeFitnessClick();
    robot.StopAnswering();
    EXPECT_FALSE(window->ComputingOnRobot);
    EXPECT_TRUE(ui.messages.empty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

// Asking for robot mode on a port that is not open opens it once: its three
// boxes, then the one about the robot, not three boxes per retry.
TEST(RobotStartup, KheperaModeOnAnAbsentPortShowsTheOpenErrorsOnce)
{
    FakeUiSeam ui;
    CreateOrvikWindows("/dev/orvik-no-such-port");
    FOrvik->SetPalSize(4, 2, 4);
    ui.messages.clear();
    FOrvik->CBKhepera->setChecked(true);
    FOrvik->CBKheperaClick();
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{" | error in createfile", " | error in getcommstate",
                                                " | error in setcommstate",
                                                "Error | Error communicating with the Khepera"}));
    EXPECT_FALSE(FOrvik->CBKhepera->isChecked());
    DestroyOrvikWindows();
}
