#pragma once
// Point markers of the fitness chart, drawn as small images that the chart
// stamps at every point (a light marker costs far less than one graphics item
// per point, and it gives shapes the chart has no built-in kind for).
#include <QColor>
#include <QImage>

enum class MarkerShape { Triangle, Circle, DownTriangle };

// An antialiased marker of `sizePx` x `sizePx` device pixels on a transparent
// background: `fill` inside, a one-pixel `outline` around it so that light
// colours stay readable on white (softened towards `fill` below 7 pixels).
// Sizes below 3 are taken as 3.
QImage MakeMarkerImage(MarkerShape shape, const QColor& fill, const QColor& outline, int sizePx);
