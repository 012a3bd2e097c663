// The Khepera panel of the main window against a scripted robot on a
// pseudo-terminal, and the serial start-up errors.
#include "../robot/ptyrobot.h"
#include "fakeuiseam.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "proximityring.h"
#include "tfcomconfigure.h"
#include "tforvik.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
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
