#include "windowplacement.h"

#include <gtest/gtest.h>

namespace {
const QRect screen(0, 0, 1400, 900);
const QRect mainFrame(358, 198, 684, 504); // centred
const QRect menuBar(360, 228, 680, 22);
const QSize small(100, 100);
} // namespace

TEST(WindowPlacement, BesideTheMainWindowOnThePreferredSideWhenThereIsRoom)
{
    const QSize chart(340, 300);
    EXPECT_EQ(PlaceBeside(mainFrame, menuBar, chart, small, screen, PlacementSide::Right), QRect(1042, 198, 340, 300));
    EXPECT_EQ(PlaceBeside(mainFrame, menuBar, chart, small, screen, PlacementSide::Left), QRect(18, 198, 340, 300));
    // No room on the preferred side: the other one.
    const QRect atTheLeft(0, 198, 684, 504);
    EXPECT_EQ(PlaceBeside(atTheLeft, menuBar, chart, small, screen, PlacementSide::Left), QRect(684, 198, 340, 300));
    // A tall window beside a low main window is kept on the screen.
    const QRect low(358, 700, 684, 200);
    EXPECT_EQ(PlaceBeside(low, menuBar, QSize(300, 600), small, screen, PlacementSide::Right).topLeft(),
              QPoint(1042, 300));
}

TEST(WindowPlacement, NarrowedToTheRoomBesideWhenItsMinimumFits)
{
    // 358 pixels free on either side of the centred main window.
    EXPECT_EQ(PlaceBeside(mainFrame, menuBar, QSize(736, 540), QSize(350, 300), screen, PlacementSide::Right),
              QRect(1042, 198, 358, 540));
    EXPECT_EQ(PlaceBeside(mainFrame, menuBar, QSize(736, 540), QSize(350, 300), screen, PlacementSide::Left),
              QRect(0, 198, 358, 540));
}

TEST(WindowPlacement, CentredBelowTheMenuBarWhenNeitherSideHasRoom)
{
    const QSize chart(736, 540);
    const QRect placed = PlaceBeside(mainFrame, menuBar, chart, QSize(400, 300), screen, PlacementSide::Right);
    EXPECT_EQ(placed.size(), chart);
    EXPECT_FALSE(placed.intersects(menuBar));
    EXPECT_NEAR(placed.center().x(), mainFrame.center().x(), 1);
    EXPECT_GE(placed.top(), menuBar.bottom() + 1);
    EXPECT_TRUE(screen.contains(placed));

    // A window taller than the room below the menus still starts below them.
    const QRect tall = PlaceBeside(mainFrame, menuBar, QSize(736, 880), QSize(400, 300), screen, PlacementSide::Right);
    EXPECT_EQ(tall.top(), menuBar.bottom() + 1);
}
