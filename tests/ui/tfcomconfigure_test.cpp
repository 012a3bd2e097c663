// The port dialog: the choice the caller sets is the one shown, and what the
// user picks (COM1, COM2 or another device path) is what the caller reads.
#include "tfcomconfigure.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

TEST(TFComConfigure, ControlsCarryTheirNamesAndCaptions)
{
    TFComConfigure dialog;
    EXPECT_EQ(dialog.windowTitle(), "FComConfigure");
    EXPECT_EQ(dialog.findChild<QGroupBox*>("RadioGroup1")->title(), "Khepera on");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("RBCom1")->text().startsWith("COM1"));
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("RBCom2")->text().startsWith("COM2"));
    EXPECT_EQ(dialog.BOk->text(), "OK");
    EXPECT_EQ(dialog.BCancel->text(), "Cancel");
    EXPECT_TRUE(dialog.BOk->isDefault());
}

TEST(TFComConfigure, ShowsTheChoiceItIsGivenAndReportsTheUsersChoice)
{
    TFComConfigure dialog;
    dialog.SetChoice(2, QString());
    EXPECT_TRUE(dialog.RBCom2->isChecked());
    EXPECT_EQ(dialog.ChosenPort(), 2);
    EXPECT_EQ(dialog.ChosenPath(), TFComConfigure::PortDeviceName(2));
    EXPECT_FALSE(dialog.CBOtherDevice->isEnabled());

    dialog.SetChoice(1, "/dev/pts/7");
    EXPECT_TRUE(dialog.RBCom1->isChecked());
    EXPECT_EQ(dialog.ChosenPort(), 1);
    EXPECT_EQ(dialog.ChosenPath(), TFComConfigure::PortDeviceName(1));
    EXPECT_EQ(dialog.CBOtherDevice->currentText(), "/dev/pts/7"); // offered again if the user switches

    dialog.RBOther->setChecked(true);
    EXPECT_TRUE(dialog.CBOtherDevice->isEnabled());
    EXPECT_EQ(dialog.ChosenPort(), 0);
    EXPECT_EQ(dialog.ChosenPath(), "/dev/pts/7");

    dialog.CBOtherDevice->setEditText("  /dev/ttyUSB0 ");
    EXPECT_EQ(dialog.ChosenPath(), "/dev/ttyUSB0");

    dialog.SetChoice(0, "/dev/pts/9");
    EXPECT_TRUE(dialog.RBOther->isChecked());
    EXPECT_EQ(dialog.ChosenPath(), "/dev/pts/9");
}

TEST(TFComConfigure, OkNeedsAPathForAnotherDevice)
{
    TFComConfigure dialog;
    dialog.SetChoice(0, QString());
    EXPECT_FALSE(dialog.BOk->isEnabled());
    dialog.CBOtherDevice->setEditText("/dev/pts/3");
    EXPECT_TRUE(dialog.BOk->isEnabled());
    dialog.CBOtherDevice->setEditText("   ");
    EXPECT_FALSE(dialog.BOk->isEnabled());
    dialog.RBCom1->setChecked(true);
    EXPECT_TRUE(dialog.BOk->isEnabled());
}

TEST(TFComConfigure, NumberedPortsNameThePlatformsDevices)
{
#ifdef Q_OS_WIN
    EXPECT_EQ(TFComConfigure::PortDeviceName(1), "COM1");
    EXPECT_EQ(TFComConfigure::PortDeviceName(2), "COM2");
#else
    EXPECT_EQ(TFComConfigure::PortDeviceName(1), "/dev/ttyS0");
    EXPECT_EQ(TFComConfigure::PortDeviceName(2), "/dev/ttyS1");
#endif
}
