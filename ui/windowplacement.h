#pragma once
// Where the program's side windows (the fitness chart, the debug console)
// open the first time: beside the main window when the screen has room,
// otherwise centred on it but below its menu bar, so that they never hide
// the menus. Once placed (by the program or the user) a window stays where
// it is for the rest of the run.
#include <QPoint>
#include <QRect>
#include <QSize>

class QMainWindow;
class QWidget;

enum class PlacementSide { Right, Left };

// The frame for a window whose frame is `size` (and may be as narrow as
// `minimum`), next to `anchor` (the main window's frame) on the `preferred`
// side, else on the other side; narrowed down to the room beside `anchor` when
// only that fits; else centred on `anchor` at full size with its top below
// `keepClear` (the main window's menu bar). Always kept inside `available`
// as far as the size allows. All rectangles in global screen coordinates.
QRect PlaceBeside(const QRect& anchor, const QRect& keepClear, const QSize& size, const QSize& minimum,
                  const QRect& available, PlacementSide preferred);

// Moves (and may narrow) `window`, top level and not yet placed, next to
// `mainWindow` by PlaceBeside; does nothing to a window that has a place.
void PlaceOnceBeside(QWidget* window, const QMainWindow* mainWindow, PlacementSide preferred);
