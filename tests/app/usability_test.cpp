// What makes the main window easier to use than the bare commands: side
// windows placed beside it, status-bar panels that show their whole text,
// and keyboard shortcuts.
#include "orvikfixture.h"

#include "debugconsole.h"
#include "tffitnessdisplay.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {
QRect MenuBarOnScreen(const TFOrvik* w)
{
    const QMenuBar* menus = w->menuBar();
    return QRect(menus->mapToGlobal(QPoint(0, 0)), menus->size());
}

void ShowMainWindowAt(TFOrvik* w, QPoint at)
{
    w->move(at);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
}
} // namespace

TEST_F(OrvikWindowTest, SideWindowsOpenClearOfTheMainWindowsMenus)
{
    ShowMainWindowAt(window, QPoint(40, 30));
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    window->Evolve();
    const QRect chart = FFitnessDisplay->frameGeometry();
    EXPECT_FALSE(chart.intersects(MenuBarOnScreen(window)));
    const QRect available = window->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(chart) || chart.top() > MenuBarOnScreen(window).bottom());

    // Placed once: where the user puts it, it stays.
    FFitnessDisplay->hide();
    FFitnessDisplay->move(chart.topLeft() + QPoint(7, 9));
    window->BShowFitnessClick();
    EXPECT_EQ(FFitnessDisplay->pos(), chart.topLeft() + QPoint(7, 9));

    window->DebugConsoleClick();
    EXPECT_FALSE(DebugConsoleWindow()->frameGeometry().intersects(MenuBarOnScreen(window)));
    window->DebugConsoleClick();
}

TEST_F(OrvikWindowTest, StatusPanelsShowTheirWholeText)
{
    ShowMainWindowAt(window, QPoint(0, 0));
    window->SetPalSize(10, 40, 10); // up to 10240 for a truth table
    for (uint32_t i = 0; i < window->Population.GetPopulationSize(); ++i)
        window->Population.At(i).SetFitness(10239.75 - i);
    window->UpdateStatusBar();
    window->resize(window->minimumSizeHint()); // as narrow as the window goes
    QCoreApplication::processEvents();
    for (QLabel* panel : window->StatusPanels) {
        SCOPED_TRACE(panel->text().toStdString());
        EXPECT_GE(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    }
}

TEST_F(OrvikWindowTest, RepeatedCommandsHaveShortcutsNamedInTheirTooltips)
{
    const struct {
        QPushButton* button;
        const char* key;
    } rows[] = {
        {window->Button1, "F5"},
        {window->Button2, "F9"},
        {window->BSaveGen, "Ctrl+S"},
        {window->BLoadProgram, "Ctrl+O"},
        {FFitnessDisplay->BStop, "Shift+F5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->text().toStdString());
        EXPECT_TRUE(row.button->toolTip().endsWith(QString("(%1)").arg(row.key)))
            << row.button->toolTip().toStdString();
    }
    // The menus keep their Alt letters.
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus.mid(0, 3), QStringList({"&File", "&Setup", "&Debug"}));
}

TEST_F(OrvikWindowTest, F5EvolvesAndShiftF5StopsFromTheDisabledMainWindow)
{
    ShowMainWindowAt(window, QPoint(0, 0));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // Once the run has started, the main window (disabled now) still has the
    // keyboard: Shift+F5 is pressed there. A fallback ends a run the key missed.
    bool pressed = false;
    bool stoppedByKey = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!window->Evolving || pressed)
            return;
        pressed = true;
        QTest::keyClick(window, Qt::Key_F5, Qt::ShiftModifier);
        stoppedByKey = FFitnessDisplay->StopRequested;
        FFitnessDisplay->StopRequested = true;
    });
    watcher.start(5);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pressed && !window->Evolving; }, 10000));
    EXPECT_TRUE(stoppedByKey);
    EXPECT_GE(window->Population.History().size(), 1u);
}
