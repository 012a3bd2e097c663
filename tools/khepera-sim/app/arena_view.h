#pragma once

#include "vec2.h"

#include <QTimer>
#include <QVector>
#include <QWidget>

namespace ksim {
class RobotWorld;
}

// Shows the arena with its obstacles, the robot (body, heading, sensor rays
// up to the first surface they meet, stronger the higher the reading), the trail it left, and on the right the eight
// readings and the wheel speeds. Repaints at about 20 Hz; only reads the
// world (noise-free readings, so the serial client's noise sequence does not
// depend on whether the window is open).
class ArenaView : public QWidget {
    Q_OBJECT

public:
    explicit ArenaView(const ksim::RobotWorld &world, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {900, 680}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sampleTrail();

    const ksim::RobotWorld &m_world;
    QVector<ksim::Vec2> m_trail;
    QTimer m_refresh;
};
