#include "windowplacement.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {
// `start` moved so that [start, start + length) lies in [low, high), as far
// as length allows (a longer span starts at low).
int Within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

long long Area(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

// How far apart two rectangles are, 0 when they touch or overlap.
int Gap(const QRect& a, const QRect& b)
{
    const int dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const int dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx + dy;
}

// The sizes to try: the one wanted (bounded by the screen as far as the
// minimum allows), narrowed to the room beside the main window, shortened to
// the room below its menus.
std::vector<QSize> CandidateSizes(const PlacementRequest& r)
{
    const QRect& screen = r.available;
    const QRect& main = r.mainFrame;
    const int width = std::max(std::min(r.size.width(), screen.width()), r.minimum.width());
    const int height = std::max(std::min(r.size.height(), screen.height()), r.minimum.height());
    std::vector<int> widths{width};
    for (const int room : {screen.x() + screen.width() - (main.x() + main.width()), main.x() - screen.x()})
        if (room >= r.minimum.width() && room < width)
            widths.push_back(room);
    std::vector<int> heights{height};
    const int roomBelowMenus = screen.y() + screen.height() - (r.menuBar.y() + r.menuBar.height());
    if (roomBelowMenus >= r.minimum.height() && roomBelowMenus < height)
        heights.push_back(roomBelowMenus);
    std::vector<QSize> sizes;
    for (const int h : heights)
        for (const int w : widths)
            sizes.emplace_back(w, h);
    return sizes;
}

// The places to try for a window of `size`: against the edges of the main
// window, its menu bar, the screen and the other windows.
std::vector<QRect> CandidatePlaces(const PlacementRequest& r, QSize size)
{
    const QRect& screen = r.available;
    const QRect& main = r.mainFrame;
    const int w = size.width(), h = size.height();
    std::vector<int> xs{main.x() + main.width(), main.x() - w, screen.x(), screen.x() + screen.width() - w,
                        main.center().x() - w / 2};
    std::vector<int> ys{main.y(), r.menuBar.y() + r.menuBar.height(), screen.y(), screen.y() + screen.height() - h,
                        main.y() + main.height(), main.y() - h};
    for (const QRect& other : r.others) {
        xs.insert(xs.end(), {other.x() + other.width(), other.x() - w});
        ys.insert(ys.end(), {other.y() + other.height(), other.y() - h});
    }
    std::vector<QRect> places;
    for (const int x : xs)
        for (const int y : ys)
            places.emplace_back(Within(x, w, screen.x(), screen.x() + screen.width()),
                                Within(y, h, screen.y(), screen.y() + screen.height()), w, h);
    return places;
}
} // namespace

QRect PlaceSideWindow(const PlacementRequest& r)
{
    const QRect& main = r.mainFrame;
    const QSize wanted = CandidateSizes(r).front();
    using Cost = std::tuple<long long, long long, long long, int, int, int, int>;
    QRect best;
    Cost bestCost;
    for (const QSize size : CandidateSizes(r)) {
        for (const QRect& place : CandidatePlaces(r, size)) {
            long long others = 0;
            for (const QRect& other : r.others)
                others += Area(place, other);
            const bool preferredSide = r.preferred == PlacementSide::Right ? place.center().x() >= main.center().x()
                                                                            : place.center().x() <= main.center().x();
            const Cost cost{Area(place, r.menuBar), others, Area(place, main),
                            wanted.width() - size.width() + wanted.height() - size.height(), preferredSide ? 0 : 1,
                            Gap(place, main), std::abs(place.y() - main.y())};
            if (best.isNull() || cost < bestCost) {
                best = place;
                bestCost = cost;
            }
        }
    }
    return best;
}

QSize ShownSize(QWidget* window)
{
    window->ensurePolished();
    if (QLayout* layout = window->layout())
        layout->activate();
    // A window never resized is given its size hint when first shown.
    const QSize wanted = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    return wanted.expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
}

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = ShownSize(window);
    window->resize(size);
    window->move(screen->availableGeometry().center() - QRect(QPoint(), size).center());
}

void PlaceOnceBeside(QWidget* window, const QMainWindow* mainWindow, PlacementSide preferred,
                     const std::vector<const QWidget*>& others)
{
    // Qt marks a window the program has moved; every command that shows a
    // side window places it first, so once shown it keeps its place, also
    // where the user dragged it to.
    if (window->testAttribute(Qt::WA_Moved))
        return;
    const QScreen* screen = mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    PlacementRequest request;
    request.available = screen->availableGeometry();
    request.mainFrame = mainWindow->frameGeometry();
    // A window not shown yet has no frame; assume the main window's.
    const QSize frame = request.mainFrame.size() - mainWindow->geometry().size();
    const QMenuBar* menus = mainWindow->menuBar();
    request.menuBar = QRect(menus->mapToGlobal(QPoint(0, 0)), menus->size());
    request.size = ShownSize(window) + frame;
    request.minimum = window->minimumSizeHint().expandedTo(window->minimumSize()) + frame;
    for (const QWidget* other : others)
        if (other && other != window && other->isVisible())
            request.others.push_back(other->frameGeometry());
    request.preferred = preferred;
    const QRect placed = PlaceSideWindow(request);
    window->resize(placed.size() - frame);
    window->move(placed.topLeft());
}
