// The side windows (robot arena, fitness chart, debug console) on a screen
// of 1600 x 1000 pixels with window frames: each opens fully on the screen,
// off the main window's menu bar and off the others, keeps its size whatever
// its labels say, and keeps the place the user moved it to.
#include "debugconsole.h"
#include "orvikfixture.h"
#include "tffitnessdisplay.h"
#include "tfrobotarena.h"
#include "windowplacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace {
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}
} // namespace

class SideWindowsTest : public OrvikWindowTest {
protected:
    void SetUp() override
    {
        OrvikWindowTest::SetUp();
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1600, 1000));
        CentreOnScreen(window);
        window->show();
        Settle();
    }
    QRect MenuBar() const { return QRect(window->menuBar()->mapToGlobal(QPoint()), window->menuBar()->size()); }
};

TEST_F(SideWindowsTest, EachOpensOnTheScreenOffTheMenusAndOffTheOthers)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()));
    // The order of the report: the arena first, then the chart, then the console.
    window->RobotArena1->trigger();
    window->BShowFitness->click();
    window->DebugConsole->trigger();
    Settle();
    const std::vector<QWidget*> sides{window->FRobotArena, FFitnessDisplay, DebugConsoleWindow()};
    for (std::size_t k = 0; k < sides.size(); ++k) {
        const QRect frame = sides[k]->frameGeometry();
        ASSERT_TRUE(sides[k]->isVisible()) << k;
        EXPECT_TRUE(screen.contains(frame)) << k;
        EXPECT_FALSE(frame.intersects(MenuBar())) << k;
        for (std::size_t j = 0; j < k; ++j)
            EXPECT_FALSE(frame.intersects(sides[j]->frameGeometry())) << k << " over " << j;
    }
    // The arena and the chart fit beside the main window.
    EXPECT_FALSE(window->FRobotArena->frameGeometry().intersects(window->frameGeometry()));
    EXPECT_FALSE(FFitnessDisplay->frameGeometry().intersects(window->frameGeometry()));
}

TEST_F(SideWindowsTest, LongLabelsDoNotWidenThemAndAMovedWindowStaysWhereTheUserPutIt)
{
    window->RobotArena1->trigger();
    window->BShowFitness->click();
    Settle();
    const QRect arena = window->FRobotArena->frameGeometry();
    const QRect chart = FFitnessDisplay->frameGeometry();
    window->FRobotArena->LRun->setText(QString("Generation 1584779, individual 99, ").repeated(6));
    FFitnessDisplay->EMaxFitness->setText("Current maximum fitness: " + QString("0.9799120234604106 ").repeated(5));
    FFitnessDisplay->LMaxReached->setText(QString("Maximum 48 first reached at generation 1584779 ").repeated(4));
    FFitnessDisplay->LMaxReached->show();
    Settle();
    EXPECT_EQ(window->FRobotArena->frameGeometry(), arena);
    EXPECT_EQ(FFitnessDisplay->frameGeometry(), chart);

    FFitnessDisplay->move(40, 60);
    FFitnessDisplay->BCloseClick();
    window->BShowFitness->click();
    Settle();
    EXPECT_EQ(FFitnessDisplay->frameGeometry().topLeft(), QPoint(40, 60));
}
