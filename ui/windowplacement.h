#pragma once
// Where the program's side windows (the fitness chart, the robot arena, the
// debug console) open the first time: fully on the screen of the main window,
// never over its menu bar, over none of the other side windows shown and as
// little over the main window as the screen allows, beside it on the
// preferred side when there is room. Once placed (by the program or the user)
// a window stays where it is for the rest of the run.
#include <QRect>
#include <QSize>

#include <vector>

class QMainWindow;
class QWidget;

enum class PlacementSide { Right, Left };

struct PlacementRequest {
    QRect available;         // the screen's available area
    QRect mainFrame;         // the main window's frame
    QRect menuBar;           // its menu bar
    QSize size;              // the frame the window wants
    QSize minimum;           // the smallest frame it can take
    std::vector<QRect> others; // frames of the side windows on screen
    PlacementSide preferred = PlacementSide::Right;
};

// The frame for the window, all rectangles in global screen coordinates. In
// order of importance: off the menu bar, on the screen, off the other side
// windows, off the main window, at full size (narrowed to the room beside the
// main window only when that keeps it off the main window), on the preferred
// side, next to the main window and level with its top.
QRect PlaceSideWindow(const PlacementRequest& request);

// The size `window` (top level, maybe never shown) will have once shown: its
// layout is brought up to date first, since a window not shown yet has only
// the size it was created with.
QSize ShownSize(QWidget* window);

// Moves `window` (top level, not shown yet) to the centre of the available
// area of the primary screen, at the size it will be shown with.
void CentreOnScreen(QWidget* window);

// Moves (and may narrow) `window`, top level and not yet placed, by
// PlaceSideWindow beside `mainWindow`, keeping off the visible windows of
// `others`; does nothing to a window that has a place.
void PlaceOnceBeside(QWidget* window, const QMainWindow* mainWindow, PlacementSide preferred,
                     const std::vector<const QWidget*>& others = {});
