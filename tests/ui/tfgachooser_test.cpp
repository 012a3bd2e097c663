#include "tfgachooser.h"

#include "uiseam.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
// Runs the "user" on the dialog instead of a modal loop, then closes it the
// way OK or Cancel does.
struct FakeUi : UiSeam {
    std::function<void(TFGAChooser&)> user;
    int result = QDialog::Accepted;
    int Exec(QDialog* dialog) override
    {
        auto* chooser = static_cast<TFGAChooser*>(dialog);
        if (user)
            user(*chooser);
        dialog->done(result);
        return result;
    }
};

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// A user's click on a line of `list` (a Ctrl+click with ControlModifier).
void ClickLine(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QCoreApplication::processEvents(); // item views lay their lines out lazily
    QWidget* viewport = list->viewport();
    const QPointF at = QRectF(list->visualItemRect(list->item(row))).center();
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(viewport, &press);
    QApplication::sendEvent(viewport, &release);
}

void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

int Highlighted(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUiSeam(&ui);
        chooser.show(); // clicks need laid-out lists
    }
    void TearDown() override { SetUiSeam(nullptr); }

    FakeUi ui;
    TFGAChooser chooser;
    std::vector<GAData> records = {{0, {1.0, 2.5, 3.0}}, {5, {4.0, 5.0}}, {10, {6.0}}};
};
} // namespace

TEST_F(Chooser, ShowsGenerationsWithTheFirstHighlighted)
{
    ui.user = [](TFGAChooser& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "FGAChooser");
        EXPECT_EQ(Lines(dialog.LBGenerations), QStringList({"0", "5", "10"}));
        EXPECT_EQ(Highlighted(dialog.LBGenerations), 0);
        EXPECT_EQ(Lines(dialog.LBIndividuals),
                  QStringList({"0000   1.000000", "0001   2.500000", "0002   3.000000"}));
        EXPECT_EQ(Highlighted(dialog.LBIndividuals), 0);
    };
    EXPECT_EQ(chooser.Choose(&records), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenGeneration, 0);
    EXPECT_EQ(chooser.ChosenIndividual, 0);
}

TEST_F(Chooser, PickingALineReportsItsGenerationAndIndividual)
{
    struct Row {
        int generationLine;
        int individualLine; // -1: leave the highlighted one
        int32_t generation;
        int32_t individual;
    } rows[] = {{1, -1, 5, 0}, {1, 1, 5, 1}, {2, -1, 10, 0}, {0, 2, 0, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.generationLine * 10 + row.individualLine);
        ui.user = [&](TFGAChooser& dialog) {
            ClickLine(dialog.LBGenerations, row.generationLine);
            // The individuals shown always belong to the highlighted generation.
            EXPECT_EQ(dialog.LBIndividuals->count(),
                      static_cast<int>(records[static_cast<std::size_t>(row.generationLine)].values.size()));
            if (row.individualLine >= 0)
                ClickLine(dialog.LBIndividuals, row.individualLine);
        };
        EXPECT_EQ(chooser.Choose(&records), QDialog::Accepted);
        EXPECT_EQ(chooser.ChosenGeneration, row.generation);
        EXPECT_EQ(chooser.ChosenIndividual, row.individual);
    }
}

TEST_F(Chooser, KeyboardMovesTheIndividualsAlong)
{
    ui.user = [](TFGAChooser& dialog) {
        dialog.LBGenerations->setFocus();
        PressKey(dialog.LBGenerations, Qt::Key_Down);
        EXPECT_EQ(Lines(dialog.LBIndividuals), QStringList({"0000   4.000000", "0001   5.000000"}));
    };
    chooser.Choose(&records);
    EXPECT_EQ(chooser.ChosenGeneration, 5);
}

// Ctrl+click takes the highlight off a line of a single-selection list.
// The generation list keeps its line, so OK always reports the generation
// whose individuals are shown; no highlighted individual means individual 0.
TEST_F(Chooser, CtrlClickNeitherLosesTheGenerationNorTheIndividual)
{
    ui.user = [](TFGAChooser& dialog) {
        ClickLine(dialog.LBGenerations, 1);
        ClickLine(dialog.LBIndividuals, 1);
        ClickLine(dialog.LBGenerations, 1, Qt::ControlModifier);
        EXPECT_EQ(Highlighted(dialog.LBGenerations), 1);
        EXPECT_EQ(Lines(dialog.LBIndividuals), QStringList({"0000   4.000000", "0001   5.000000"}));
        ClickLine(dialog.LBIndividuals, 1, Qt::ControlModifier);
        EXPECT_EQ(Highlighted(dialog.LBIndividuals), -1);
    };
    EXPECT_EQ(chooser.Choose(&records), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenGeneration, 5);
    EXPECT_EQ(chooser.ChosenIndividual, 0);

    // The first line, highlighted from the start, stays too.
    ui.user = [](TFGAChooser& dialog) { ClickLine(dialog.LBGenerations, 0, Qt::ControlModifier); };
    chooser.Choose(&records);
    EXPECT_EQ(chooser.ChosenGeneration, 0);
}

TEST_F(Chooser, NoticeShowsOnlyWhenGiven)
{
    ui.user = [](TFGAChooser& dialog) {
        EXPECT_TRUE(dialog.LNotice->isVisible());
        EXPECT_EQ(dialog.LNotice->text(), "Block 3 is damaged.");
    };
    chooser.Choose(&records, "Block 3 is damaged.");
    ui.user = [](TFGAChooser& dialog) { EXPECT_FALSE(dialog.LNotice->isVisible()); };
    chooser.Choose(&records);
}

TEST(ChooserLines, IndividualLineFormat)
{
    struct Row {
        int index;
        double fitness;
        const char* text;
    } rows[] = {{12, 3.0, "0012   3.000000"},
                {3, 12.5, "0003   12.500000"},
                {0, -1.25, "0000   -1.250000"},
                {7, 0.1234567, "0007   0.123457"},
                {12345, 48.0, "12345   48.000000"}};
    for (const Row& row : rows)
        EXPECT_EQ(TFGAChooser::IndividualLine(row.index, row.fitness), row.text);
}

TEST_F(Chooser, EmptyRecordGivesNoIndividual)
{
    std::vector<GAData> list = {{3, {}}};
    ui.user = [](TFGAChooser& dialog) { EXPECT_EQ(dialog.LBIndividuals->count(), 0); };
    EXPECT_EQ(chooser.Choose(&list), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenGeneration, 3);
    EXPECT_EQ(chooser.ChosenIndividual, -1);
}

TEST_F(Chooser, EmptyListLeavesTheGenerationAsItWas)
{
    std::vector<GAData> list;
    chooser.ChosenGeneration = 77;
    EXPECT_EQ(chooser.Choose(&list), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenGeneration, 77);
    EXPECT_EQ(chooser.ChosenIndividual, -1);
}

TEST_F(Chooser, CancelStillUpdatesTheChoice)
{
    ui.result = QDialog::Rejected;
    ui.user = [](TFGAChooser& dialog) { ClickLine(dialog.LBGenerations, 2); };
    EXPECT_EQ(chooser.Choose(&records), QDialog::Rejected);
    EXPECT_EQ(chooser.ChosenGeneration, 10);
    EXPECT_EQ(chooser.ChosenIndividual, 0);
}

TEST_F(Chooser, EachChooseShowsTheNewList)
{
    chooser.Choose(&records);
    std::vector<GAData> other = {{42, {9.0, 8.0, 7.0, 6.0}}};
    ui.user = [](TFGAChooser& dialog) {
        EXPECT_EQ(Lines(dialog.LBGenerations), QStringList({"42"}));
        EXPECT_EQ(dialog.LBIndividuals->count(), 4);
    };
    chooser.Choose(&other);
    EXPECT_EQ(chooser.ChosenGeneration, 42);
}

TEST_F(Chooser, LargeListsFillCompletely)
{
    std::vector<GAData> list(10000);
    for (int g = 0; g < 10000; ++g)
        list[static_cast<std::size_t>(g)].generation = g;
    list[9999].values.assign(1000, 1.5);
    ui.user = [](TFGAChooser& dialog) {
        EXPECT_TRUE(dialog.LBGenerations->uniformItemSizes());
        EXPECT_TRUE(dialog.LBIndividuals->uniformItemSizes());
        EXPECT_EQ(dialog.LBGenerations->count(), 10000);
        dialog.LBGenerations->setCurrentRow(9999);
        ASSERT_EQ(dialog.LBIndividuals->count(), 1000);
        EXPECT_EQ(dialog.LBIndividuals->item(999)->text(), "0999   1.500000");
    };
    chooser.Choose(&list);
    EXPECT_EQ(chooser.ChosenGeneration, 9999);
    EXPECT_EQ(chooser.ChosenIndividual, 0);
}
