#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace ksim {
class RobotWorld;
}

// Keeps the world in step with a steady clock: runs as many fixed physics
// steps as real time calls for, on a 10 ms timer and whenever catchUp() is
// called (before every command, so a command sees the world as of now).
// After a stall of more than kMaxCatchUpSteps steps the missing time is
// skipped rather than replayed in a burst.
class RealtimeStepper : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxCatchUpSteps = 100;

    explicit RealtimeStepper(ksim::RobotWorld &world, QObject *parent = nullptr);

    void catchUp();

private:
    ksim::RobotWorld &m_world;
    QElapsedTimer m_clock;
    qint64 m_simulatedNs = 0;
    QTimer m_timer;
};
