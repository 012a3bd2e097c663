// The PAL parameters dialog as a user drives it: fields shown on opening, OK
// refused with the rule's message while the texts are wrong, Cancel and
// Escape never validating. No modal loop ever runs: a recording UiSeam stands
// in for message boxes and for the modal run.
#include "tfpalsetup.h"
#include "fakeuiseam.h"
#include "uiseam.h"

#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QKeyEvent>

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using RecordingUi = FakeUiSeam;

class TFPalSetupTest : public testing::Test {
protected:
    void SetUp() override { SetUiSeam(&ui); }
    void TearDown() override { SetUiSeam(nullptr); }

    void Type(const char* inputs, const char* outputs, const char* andTerms)
    {
        dialog.ENInput->setText(QString::fromLatin1(inputs));
        dialog.ENOutput->setText(QString::fromLatin1(outputs));
        dialog.ENAnd->setText(QString::fromLatin1(andTerms));
    }

    RecordingUi ui;
    TFPalSetup dialog;
};

} // namespace

TEST_F(TFPalSetupTest, ControlsCarryTheirNamesAndCaptions)
{
    EXPECT_EQ(dialog.windowTitle(), "FPalSetup");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("ENInput"), dialog.ENInput);
    EXPECT_EQ(dialog.findChild<QLineEdit*>("ENOutput"), dialog.ENOutput);
    EXPECT_EQ(dialog.findChild<QLineEdit*>("ENAnd"), dialog.ENAnd);
    EXPECT_EQ(dialog.BOk->text(), "OK");
    EXPECT_EQ(dialog.BCancel->text(), "Cancel");
    EXPECT_TRUE(dialog.BOk->isDefault());
}

TEST_F(TFPalSetupTest, ShowDialogWritesTheFieldsAndReturnsTheModalResult)
{
    dialog.NumInputs = 10;
    dialog.NumOutputs = 7;
    dialog.NumAndTerms = 40;
    QStringList shown;
    ui.onExec = [&](QDialog*) {
        shown = {dialog.ENInput->text(), dialog.ENOutput->text(), dialog.ENAnd->text()};
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Rejected);
    EXPECT_EQ(shown, (QStringList{"10", "7", "40"}));
}

TEST_F(TFPalSetupTest, OkWithTheLargestPalIsAccepted)
{
    ui.onExec = [&](QDialog*) {
        Type("10", "10", "40");
        dialog.BOk->click();
        return dialog.result();
    };
    EXPECT_EQ(dialog.ShowDialog(), QDialog::Accepted);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialog.NumInputs, 10);
    EXPECT_EQ(dialog.NumOutputs, 10);
    EXPECT_EQ(dialog.NumAndTerms, 40);
}

TEST_F(TFPalSetupTest, OkStaysOpenWithTheFirstBrokenRule)
{
    struct Case {
        const char* inputs;
        const char* outputs;
        const char* andTerms;
        const char* message;
    };
    const Case cases[] = {
        {"", "3", "2", "Invalid input in the fields"},
        {"4", "three", "2", "Invalid input in the fields"},
        {"0", "11", "2", "Nul or negative numbers are not allowed"},
        {"4", "3", "-1", "Nul or negative numbers are not allowed"},
        {"11", "3", "2", "Maximum number of input/outputs: 10. Maximum number of AND terms: 40"},
        {"4", "3", "41", "Maximum number of input/outputs: 10. Maximum number of AND terms: 40"},
    };
    dialog.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ui.messages.clear();
        Type(c.inputs, c.outputs, c.andTerms);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Lines()[0], QStringLiteral("Error | ") + QString::fromLatin1(c.message));
        // The user's text is left as typed.
        EXPECT_EQ(dialog.ENInput->text(), QString::fromLatin1(c.inputs));
    }
}

TEST_F(TFPalSetupTest, CancelEscapeAndCloseNeverValidate)
{
    dialog.NumInputs = 4;
    Type("garbage", "", "-3");

    dialog.show();
    dialog.BCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialog.NumInputs, 4);
}

TEST_F(TFPalSetupTest, TheFieldAtFaultTakesTheFocusWithItsTextSelected)
{
    dialog.show();
    Type("4", "3", "41");
    dialog.accept();
    EXPECT_EQ(dialog.focusWidget(), dialog.ENAnd);
    EXPECT_EQ(dialog.ENAnd->selectedText(), "41");
    Type("4", "three", "2");
    dialog.accept();
    EXPECT_EQ(dialog.focusWidget(), dialog.ENOutput);
    EXPECT_EQ(dialog.ENOutput->selectedText(), "three");
}
