#include "realtime_stepper.h"

#include "robot_world.h"

#include <cmath>

namespace {

const qint64 kStepNs = std::llround(ksim::kPhysicsStepSeconds * 1e9);

} // namespace

RealtimeStepper::RealtimeStepper(ksim::RobotWorld &world, QObject *parent)
    : QObject(parent)
    , m_world(world)
{
    m_clock.start();
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(static_cast<int>(kStepNs / 1000000));
    connect(&m_timer, &QTimer::timeout, this, &RealtimeStepper::catchUp);
    m_timer.start();
}

void RealtimeStepper::catchUp()
{
    const qint64 now = m_clock.nsecsElapsed();
    qint64 due = (now - m_simulatedNs) / kStepNs;
    if (due > kMaxCatchUpSteps) {
        m_simulatedNs += (due - kMaxCatchUpSteps) * kStepNs;
        due = kMaxCatchUpSteps;
    }
    for (qint64 i = 0; i < due; ++i)
        m_world.step();
    m_simulatedNs += due * kStepNs;
}
