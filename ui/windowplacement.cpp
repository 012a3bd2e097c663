#include "windowplacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>

namespace {
// `start` moved so that [start, start + length) lies in [low, high), as far
// as length allows (a longer span starts at low).
int Within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }
} // namespace

QRect PlaceBeside(const QRect& anchor, const QRect& keepClear, const QSize& size, const QSize& minimum,
                  const QRect& available, PlacementSide preferred)
{
    const int screenRight = available.x() + available.width();
    const int roomRight = screenRight - (anchor.x() + anchor.width());
    const int roomLeft = anchor.x() - available.x();
    const int top = Within(anchor.y(), size.height(), available.y(), available.y() + available.height());
    // The side to use at a width: the preferred one when it has the room.
    const auto beside = [&](int width) {
        const bool right = roomRight >= width;
        const bool left = roomLeft >= width;
        if (right && (preferred == PlacementSide::Right || !left))
            return QRect(anchor.x() + anchor.width(), top, width, size.height());
        if (left)
            return QRect(anchor.x() - width, top, width, size.height());
        return QRect();
    };
    if (const QRect full = beside(size.width()); full.isValid())
        return full;
    const int room = std::max(roomRight, roomLeft);
    if (room >= minimum.width())
        if (const QRect narrowed = beside(std::min(room, size.width())); narrowed.isValid())
            return narrowed;

    // No room beside: over the main window, but below its menu bar.
    const int x = Within(anchor.center().x() - size.width() / 2, size.width(), available.x(), screenRight);
    const int belowMenus = keepClear.y() + keepClear.height();
    const int centred = anchor.center().y() - size.height() / 2;
    const int y = std::max(belowMenus, Within(centred, size.height(), available.y(), available.y() + available.height()));
    return QRect(QPoint(x, y), size);
}

void PlaceOnceBeside(QWidget* window, const QMainWindow* mainWindow, PlacementSide preferred)
{
    // Qt marks a window the program has moved; every command that shows a
    // side window places it first, so once shown it keeps its place, also
    // where the user dragged it to.
    if (window->testAttribute(Qt::WA_Moved))
        return;
    const QScreen* screen = mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect anchor = mainWindow->frameGeometry();
    // A window not shown yet has no frame; assume the main window's.
    const QSize frame = anchor.size() - mainWindow->geometry().size();
    const QMenuBar* menus = mainWindow->menuBar();
    const QRect keepClear(menus->mapToGlobal(QPoint(0, 0)), menus->size());
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize()) + frame;
    const QRect placed = PlaceBeside(anchor, keepClear, window->size() + frame, minimum,
                                     screen->availableGeometry(), preferred);
    window->resize(placed.size() - frame);
    window->move(placed.topLeft());
}
