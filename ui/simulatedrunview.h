#pragma once
// What a simulated robot run shows in the main window. A run in virtual time
// makes thousands of control steps per second, so the Khepera panel's
// indicators and captions are only noted per step and handed to the window
// when the GUI next processes its events (Flush), and events are processed
// no more often than the truth-table evolution does (`processSometimes`).
#include "robotrunview.h"

#include <functional>
#include <optional>

class SimulatedRunView : public RobotRunView {
public:
    // `window` shows the values and answers RunStopRequested; both must
    // outlive this view.
    SimulatedRunView(RobotRunView& window, std::function<void()> processSometimes)
        : window_(window), processSometimes_(std::move(processSometimes))
    {
    }

    void ShowProximityIndicators(const std::array<bool, 4>& white) override { indicators_ = white; }
    void SetCurrentFitnessText(const QString& text) override { fitnessText_ = text; }
    void SetCurrentSpeedText(const QString& text) override { speedText_ = text; }
    void ProcessEvents() override { processSometimes_(); }
    bool RunStopRequested() const override { return window_.RunStopRequested(); }

    // Shows the latest values noted since the last Flush.
    void Flush()
    {
        if (indicators_)
            window_.ShowProximityIndicators(*indicators_);
        if (fitnessText_)
            window_.SetCurrentFitnessText(*fitnessText_);
        if (speedText_)
            window_.SetCurrentSpeedText(*speedText_);
        indicators_.reset();
        fitnessText_.reset();
        speedText_.reset();
    }

private:
    RobotRunView& window_;
    std::function<void()> processSometimes_;
    std::optional<std::array<bool, 4>> indicators_;
    std::optional<QString> fitnessText_;
    std::optional<QString> speedText_;
};
