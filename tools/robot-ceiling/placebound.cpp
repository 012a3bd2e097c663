#include "placebound.h"

#include "kheperaincrement.h"
#include "proximitygroups.h"
#include "robot_world.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {
constexpr int PhysicsStepsPerControlStep = 10; // 0.1 s of 10 ms steps

// The increment these speeds earn with every reading 0: the most the step
// after them can score.
double BestNextIncrement(ksim::WheelSpeeds speeds)
{
    const uint32_t clear[8] = {};
    return FitnessIncrement(clear, speeds.left, speeds.right);
}

class Search {
public:
    Search(const ksim::Arena& arena, const ksim::Pose& start, const MotorTable& motor, uint32_t threshold,
           int steps, const PartialTable& fixed, double floor)
        : world_(arena, start), threshold_(threshold), steps_(steps), choices_(SpeedChoices(motor)), table_(fixed),
          best_(floor * steps)
    {
    }

    PlaceBound Run(const ksim::Pose& start)
    {
        Explore(start, {0, 0}, 0, 0.0);
        return {best_ / steps_, firstOpen_, branches_};
    }

private:
    void Advance(ksim::WheelSpeeds speeds)
    {
        world_.setWheelSpeeds(speeds);
        for (int k = 0; k < PhysicsStepsPerControlStep; ++k)
            world_.step();
    }

    // The control loop of a robot run from `step` on, as the fitness runs it:
    // read, score the speeds the previous step set, choose, drive.
    void Explore(ksim::Pose pose, ksim::WheelSpeeds speeds, int step, double sum)
    {
        world_.setPose(pose);
        for (; step < steps_; ++step) {
            const ksim::ProximityReadings values = world_.readSensors();
            uint32_t readings[8];
            for (int k = 0; k < 8; ++k)
                readings[k] = static_cast<uint32_t>(values[k]);
            sum += FitnessIncrement(readings, speeds.left, speeds.right);
            const int left = steps_ - step - 1;
            if (sum + left <= best_)
                return;
            unsigned char inputs[4];
            ProximityInputs(GroupProximity(readings), threshold_, inputs);
            const int combination = inputs[0] * 8 + inputs[1] * 4 + inputs[2] * 2 + inputs[3];
            if (table_[combination] < 0) {
                if (firstOpen_ < 0)
                    firstOpen_ = combination;
                const ksim::Pose here = world_.pose();
                for (std::size_t c = 0; c < choices_.size(); ++c) {
                    if (left > 0 && sum + BestNextIncrement(choices_[c]) + (left - 1) <= best_)
                        continue;
                    table_[combination] = static_cast<int>(c);
                    world_.setPose(here);
                    Advance(choices_[c]);
                    Explore(world_.pose(), choices_[c], step + 1, sum);
                }
                table_[combination] = -1;
                return;
            }
            speeds = choices_[table_[combination]];
            Advance(speeds);
        }
        ++branches_;
        best_ = std::max(best_, sum);
    }

    ksim::RobotWorld world_;
    uint32_t threshold_;
    int steps_;
    std::vector<ksim::WheelSpeeds> choices_;
    std::array<int, 16> table_ {}; // index into choices_, -1 until met
    double best_; // a sum of increments
    int firstOpen_ = -1;
    uint64_t branches_ = 0;
};
} // namespace

std::vector<ksim::WheelSpeeds> SpeedChoices(const MotorTable& motor)
{
    std::vector<int> speeds(motor.begin(), motor.end());
    std::sort(speeds.begin(), speeds.end());
    speeds.erase(std::unique(speeds.begin(), speeds.end()), speeds.end());
    std::vector<ksim::WheelSpeeds> choices;
    for (int left : speeds)
        for (int right : speeds)
            choices.push_back({left, right});
    // Straight and fast first, so that a good run is found early and prunes
    // the rest.
    std::stable_sort(choices.begin(), choices.end(),
                     [](ksim::WheelSpeeds a, ksim::WheelSpeeds b) { return BestNextIncrement(a) > BestNextIncrement(b); });
    return choices;
}

PlaceBound BestFromPlace(const ksim::Arena& arena, const ksim::Pose& start, const MotorTable& motor,
                         uint32_t threshold, int runLengthSeconds, const PartialTable& fixed, double floor)
{
    return Search(arena, start, motor, threshold, runLengthSeconds * 10, fixed, floor).Run(start);
}
