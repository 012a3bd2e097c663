#include "bestcontroller.h"

#include <algorithm>
#include <numeric>

namespace {
// A place's floor is set this much under what it needs, so that a place
// that cannot beat it drops the node without rounding deciding.
constexpr double Slack = 1e-12;

class Tree {
public:
    Tree(const ksim::Arena& arena, const std::vector<ksim::Pose>& starts, const MotorTable& motor,
         uint32_t threshold, int runLength, double floor)
        : arena_(arena), starts_(starts), motor_(motor), choices_(SpeedChoices(motor)), threshold_(threshold),
          runLength_(runLength), floorSum_(floor * static_cast<double>(starts.size()))
    {
    }

    BestControllerResult Search()
    {
        PartialTable partial;
        partial.fill(-1);
        Visit(partial, std::vector<double>(starts_.size(), 1.0));
        return result_;
    }

private:
    // `bounds`: the parent's, one per place; no table below it does better.
    void Visit(PartialTable& partial, std::vector<double> bounds)
    {
        ++result_.nodes;
        double total = std::accumulate(bounds.begin(), bounds.end(), 0.0);
        std::array<int, 16> waiting {}; // places whose runs next need each open entry
        for (std::size_t k = 0; k < starts_.size(); ++k) {
            const double others = total - bounds[k];
            const PlaceBound place = BestFromPlace(arena_, starts_[k], motor_, threshold_, runLength_, partial,
                                                   floorSum_ - others - Slack);
            bounds[k] = place.fitness;
            total = others + place.fitness;
            if (total < floorSum_)
                return;
            if (place.firstOpen >= 0)
                ++waiting[place.firstOpen];
        }
        const auto next = std::max_element(waiting.begin(), waiting.end());
        if (*next == 0) { // every run is settled: a controller, and its bounds are its runs
            Record(partial, total);
            return;
        }
        const int entry = static_cast<int>(next - waiting.begin());
        for (int choice = 0; choice < static_cast<int>(choices_.size()); ++choice) {
            partial[entry] = choice;
            Visit(partial, bounds);
        }
        partial[entry] = -1;
    }

    void Record(const PartialTable& partial, double total)
    {
        if (result_.found && total <= floorSum_)
            return;
        const auto code = [this](int speed) {
            return static_cast<int>(std::find(motor_.begin(), motor_.end(), speed) - motor_.begin());
        };
        for (int c = 0; c < 16; ++c) {
            const ksim::WheelSpeeds speeds = partial[c] < 0 ? ksim::WheelSpeeds {motor_[0], motor_[0]}
                                                            : choices_[partial[c]];
            result_.table[c] = code(speeds.left) * 4 + code(speeds.right);
        }
        result_.found = true;
        result_.mean = total / static_cast<double>(starts_.size());
        floorSum_ = total;
    }

    const ksim::Arena& arena_;
    const std::vector<ksim::Pose>& starts_;
    MotorTable motor_;
    std::vector<ksim::WheelSpeeds> choices_;
    uint32_t threshold_;
    int runLength_;
    double floorSum_; // what a controller must reach to count, as a sum over places
    BestControllerResult result_;
};
} // namespace

BitString TableChromosome(const ControllerTable& table)
{
    const int inputs = RobotTablePal.NumInputs, terms = RobotTablePal.NumAndTerms, outputs = RobotTablePal.NumOutputs;
    BitString bits(outputs * terms * inputs * 2);
    for (int o = 0; o < outputs; ++o)
        for (int c = 0; c < terms; ++c) {
            const auto fuse = [&](int i, int p) -> unsigned char& {
                return bits[((o * terms + c) * inputs + i) * 2 + p];
            };
            if ((table[c] >> (outputs - 1 - o)) & 1) {
                for (int i = 0; i < inputs; ++i)
                    fuse(i, ((c >> (inputs - 1 - i)) & 1) ? 0 : 1) = 1;
            } else {
                fuse(0, 0) = 1;
                fuse(0, 1) = 1;
            }
        }
    return bits;
}

BestControllerResult BestController(const ksim::Arena& arena, const std::vector<ksim::Pose>& starts,
                                    const MotorTable& motor, uint32_t threshold, int runLengthSeconds,
                                    double floor)
{
    return Tree(arena, starts, motor, threshold, runLengthSeconds, floor).Search();
}
