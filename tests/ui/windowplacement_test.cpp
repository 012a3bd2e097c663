#include "windowplacement.h"

#include <gtest/gtest.h>

namespace {
const QRect screen(0, 0, 1400, 900);
const QRect mainFrame(358, 198, 684, 504); // centred
const QRect menuBar(360, 228, 680, 22);
const QSize small(100, 100);

PlacementRequest Request(QSize size, QSize minimum, PlacementSide side, std::vector<QRect> others = {},
                         QRect main = mainFrame)
{
    const QRect menus(main.x() + 2, main.y() + 30, main.width() - 4, 22);
    return PlacementRequest{screen, main, menus, size, minimum, std::move(others), side};
}
} // namespace

TEST(WindowPlacement, BesideTheMainWindowWhereThereIsRoom)
{
    const QSize chart(340, 300);
    const struct {
        const char* what;
        PlacementRequest request;
        QRect expected;
    } cases[] = {
        {"right", Request(chart, small, PlacementSide::Right), QRect(1042, 198, 340, 300)},
        {"left", Request(chart, small, PlacementSide::Left), QRect(18, 198, 340, 300)},
        {"no room on the preferred side",
         Request(chart, small, PlacementSide::Left, {}, QRect(0, 198, 684, 504)), QRect(684, 198, 340, 300)},
        {"a tall window beside a low main window stays on the screen",
         Request(QSize(300, 600), small, PlacementSide::Right, {}, QRect(358, 700, 684, 200)),
         QRect(1042, 300, 300, 600)},
        // 358 pixels free on either side of the centred main window.
        {"narrowed on the right", Request(QSize(736, 540), QSize(350, 300), PlacementSide::Right),
         QRect(1042, 198, 358, 540)},
        {"narrowed on the left", Request(QSize(736, 540), QSize(350, 300), PlacementSide::Left),
         QRect(0, 198, 358, 540)},
        {"the preferred side is taken",
         Request(chart, small, PlacementSide::Right, {QRect(1042, 198, 358, 600)}), QRect(18, 198, 340, 300)},
        {"below a window on the preferred side",
         Request(chart, small, PlacementSide::Right, {QRect(1042, 198, 358, 300)}, QRect(358, 198, 684, 704)),
         QRect(1042, 498, 340, 300)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceSideWindow(c.request), c.expected) << c.what;
}

TEST(WindowPlacement, OnTheScreenOffTheMenusAndOffTheOtherWindowsWhenNothingFitsBeside)
{
    const QRect arena(0, 198, 358, 600);
    const QRect chart(1042, 198, 358, 540);
    const struct {
        const char* what;
        PlacementRequest request;
    } cases[] = {
        {"too wide for either side", Request(QSize(736, 540), QSize(400, 300), PlacementSide::Right)},
        {"taller than the room below the menus", Request(QSize(736, 880), QSize(400, 300), PlacementSide::Right)},
        {"larger than the screen", Request(QSize(2000, 1200), QSize(400, 300), PlacementSide::Left)},
        {"both sides taken", Request(QSize(500, 300), QSize(300, 200), PlacementSide::Left, {arena, chart})},
    };
    for (const auto& c : cases) {
        const QRect placed = PlaceSideWindow(c.request);
        EXPECT_TRUE(screen.contains(placed)) << c.what;
        EXPECT_FALSE(placed.intersects(menuBar)) << c.what;
        EXPECT_GE(placed.width(), c.request.minimum.width()) << c.what;
        for (const QRect& other : c.request.others)
            EXPECT_FALSE(placed.intersects(other)) << c.what;
    }
}

TEST(WindowPlacement, TheChartAndTheArenaShareA1600PixelScreen)
{
    // Main window centred; the arena opened first on the left, narrowed to
    // the room there; the chart then gets the right.
    const QRect wide(0, 0, 1600, 1000);
    const QRect main(458, 248, 684, 504);
    const QRect menus(458, 248, 684, 22);
    const QRect arena = PlaceSideWindow({wide, main, menus, QSize(540, 570), QSize(220, 260), {}, PlacementSide::Left});
    EXPECT_EQ(arena, QRect(0, 248, 458, 570));
    const QRect chart =
        PlaceSideWindow({wide, main, menus, QSize(720, 500), QSize(420, 300), {arena}, PlacementSide::Right});
    EXPECT_EQ(chart, QRect(1142, 248, 458, 500));
}
