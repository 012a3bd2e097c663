// What the Khepera panel and the status bar say about the robot: the
// readings as numbers with a legend, the speeds after "Set motor spd" and
// after a run, and whether the link is open.
#include "../robot/ptyrobot.h"
#include "../robot/robotpal.h"
#include "fakeuiseam.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "proximityring.h"
#include "tforvik.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
class RobotFeedbackTest : public ::testing::Test {
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

    FakeUiSeam ui;
    PtyRobot robot;
    TFOrvik* window = nullptr;
};
} // namespace

TEST_F(RobotFeedbackTest, ProximityReadingsShowAsNumbersWithALegend)
{
    EXPECT_EQ(window->LProximity->text(), "L 0  F 0\nR 0  B 0");
    robot.Answer(ObedientRobot({0, 400, 300, 0, 0, 0, 1000, 0}));
    window->BProximityClick();
    robot.StopAnswering();
    EXPECT_EQ(window->LProximity->text(), "L 400  F 300\nR 0  B 1000");
    EXPECT_TRUE(window->Image1->toolTip().startsWith("White: an obstacle in that direction (a reading of 300"));
}

TEST_F(RobotFeedbackTest, CurrentSpeedFollowsSetMotorSpeedAndTheEndOfARun)
{
    robot.Answer(ObedientRobot({}));
    window->Edit2->setText("100"); // left, clamped to 30
    window->Edit1->setText("-7");
    window->BMotorClick();
    EXPECT_EQ(window->LCurrentSpeed->text(), "Current speed: 30; -7");

    // A one-second run of "Compute fitness" ends with the wheels stopped.
    window->SetPalSize(4, 2, 4);
    window->CBKhepera->setChecked(true);
    window->ELengthRun->setText("1");
    window->BComputeFitnessClick();
    robot.StopAnswering();
    EXPECT_EQ(window->LCurrentSpeed->text(), "Current speed: 0; 0");
}

TEST_F(RobotFeedbackTest, TheStatusBarSaysWhetherTheLinkIsOpen)
{
    EXPECT_EQ(window->LLink->text(), "Khepera: open");
    window->Khepera->SetDevicePath("/dev/orvik-no-such-port");
    EXPECT_EQ(window->LLink->text(), "Khepera: closed");
    EXPECT_EQ(window->LLink->toolTip(), "The link to the Khepera (/dev/orvik-no-such-port) is not open.");
    window->Khepera->SetDevicePath(robot.SlavePath());
    EXPECT_EQ(window->LLink->text(), "Khepera: open");
}
