#pragma once
// What a robot evaluation shows while it runs. The main window implements
// this with its proximity indicators (PBProx0..PBProx3) and the captions of
// LCurrentFitness and LCurrentSpeed; tests implement it to watch a run. The
// evolution library itself has no widgets.
#include <QString>

#include <array>
#include <cstdint>

class RobotRunView {
public:
    virtual ~RobotRunView() = default;
    // Indicator k (left, front, right, back) white when true, black otherwise.
    virtual void ShowProximityIndicators(const std::array<bool, 4>& white) = 0;
    // The direction values behind the indicators (left, front, right, back;
    // each the larger reading of its pair of sensors, 0..1023).
    virtual void ShowProximityValues(const std::array<uint32_t, 4>& /*directions*/) {}
    // "Current fitness: %0.3lf" with the running mean.
    virtual void SetCurrentFitnessText(const QString& text) = 0;
    // "Current speed: <left>; <right>".
    virtual void SetCurrentSpeedText(const QString& text) = 0;
    // Lets the GUI handle its pending events once (repaint, the Stop click).
    virtual void ProcessEvents() = 0;
    // Asked after each step's ProcessEvents: true ends the run there.
    virtual bool RunStopRequested() const { return false; }
};

// A run nobody watches (a batch, an assessment): it shows nothing, and only
// its caller can end it.
class UnwatchedRunView final : public RobotRunView {
public:
    void ShowProximityIndicators(const std::array<bool, 4>&) override {}
    void SetCurrentFitnessText(const QString&) override {}
    void SetCurrentSpeedText(const QString&) override {}
    void ProcessEvents() override {}
};

// Paints the four indicators for these readings: white where the direction
// value is at or above the threshold; and shows the direction values.
void ShowProximity(RobotRunView& view, const uint32_t readings[8], uint32_t threshold);
