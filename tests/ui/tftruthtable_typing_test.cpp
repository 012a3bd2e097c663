// Whatever the order of clicks, keys and focus changes, every value typed
// into a cell of the table editor is in the table that "Ok" writes back.
// Played through the real widgets: mouse clicks on the cells and buttons,
// keys to the widget with the focus, and the event loop run between steps
// (the cell editors commit through queued calls and timers).
#include "tftruthtable.h"
#include "fakeuiseam.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// One user action: Click a value cell (row), DoubleClick it, Type "1" into
// whatever has the focus, press Key there, click Ok, or Pause longer than a
// double-click interval.
enum class Act { Click, DoubleClick, Type, Key, Ok, Pause };
struct Step {
    Act act;
    int arg = 0; // row for clicks, Qt key for Key
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<int32_t> expected; // one column, four rows
};

// Qt's warnings of an editor committed after it was closed.
int strayEditorWarnings = 0;
void CountStrayEditors(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (message.contains("does not belong to this view"))
        ++strayEditorWarnings;
}

void Play(TFTruthTable& dialog, const Step& step)
{
    TruthTableGrid* grid = dialog.StringGrid1;
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.focusWidget();
    const QPoint cell = grid->visualItemRect(grid->item(step.arg, 2)).center();
    switch (step.act) {
    case Act::Click:
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        break;
    case Act::DoubleClick:
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        break;
    case Act::Type:
        QTest::keyClick(focus, Qt::Key_1);
        break;
    case Act::Key:
        QTest::keyClick(focus, static_cast<Qt::Key>(step.arg));
        break;
    case Act::Ok:
        QTest::mouseClick(dialog.BOk, Qt::LeftButton);
        break;
    case Act::Pause:
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        break;
    }
    QTest::qWait(1); // queued commits and zero timers
}

TEST(TFTruthTableTyping, EveryTypedValueReachesTheTable)
{
    const int Return = Qt::Key_Return, Tab = Qt::Key_Tab, Down = Qt::Key_Down, Up = Qt::Key_Up;
    const Step click0{Act::Click, 0}, click1{Act::Click, 1}, click2{Act::Click, 2}, type{Act::Type};
    const Step ok{Act::Ok}, pause{Act::Pause};
    const Case cases[] = {
        {"click the current cell, type, Return", {click0, type, {Act::Key, Return}, pause, ok}, {1, 0, 0, 0}},
        {"Return, click the cell it moved to, type, Return",
         {type, {Act::Key, Return}, click1, type, {Act::Key, Return}, pause, ok},
         {1, 1, 0, 0}},
        {"Return, click the cell it moved to, type, Ok at once",
         {type, {Act::Key, Return}, click1, type, ok},
         {1, 1, 0, 0}},
        {"click the current cell, type, pause, Return", {click0, type, pause, {Act::Key, Return}, ok}, {1, 0, 0, 0}},
        {"type, click another cell", {type, click2, pause, ok}, {1, 0, 0, 0}},
        {"type, Ok at once", {type, ok}, {1, 0, 0, 0}},
        {"type, Tab, Ok", {type, {Act::Key, Tab}, pause, ok}, {1, 0, 0, 0}},
        {"type, down, type, up, Ok", {type, {Act::Key, Down}, type, {Act::Key, Up}, ok}, {1, 1, 0, 0}},
        {"click a cell, type, click it again, type, Return",
         {click2, type, click2, pause, {Act::Key, Return}, type, ok},
         {0, 0, 1, 1}},
        {"double-click a cell, type, Return", {{Act::DoubleClick, 3}, type, {Act::Key, Return}, ok}, {0, 0, 0, 1}},
    };
    const QtMessageHandler previous = qInstallMessageHandler(CountStrayEditors);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        strayEditorWarnings = 0;
        FakeUiSeam ui;
        TFTruthTable dialog;
        std::vector<int32_t> table(4, 0);
        ui.onExec = [&](QDialog* d) {
            d->show();
            d->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            for (const Step& step : c.steps)
                if (d->isVisible())
                    Play(dialog, step);
            const int result = d->result();
            d->hide();
            return result;
        };
        EXPECT_EQ(dialog.EditTable(table.data(), 2, false, 1), QDialog::Accepted);
        EXPECT_EQ(table, c.expected);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(strayEditorWarnings, 0);
    }
    qInstallMessageHandler(previous);
}

} // namespace
