#include "batchfitness.h"

#include "fasttruthtablefitness.h"
#include "repositionkhepera.h"
#include "robot_world.h"
#include "robotfitness.h"
#include "robotrunview.h"
#include "simulatedrobotbody.h"

namespace {

class TableFitness final : public BatchFitness {
public:
    explicit TableFitness(const BatchSetup& setup) { fitness_.Prepare(setup.pal, setup.table); }

    void Evaluate(GA& ga, uint32_t first, uint32_t end) override
    {
        for (uint32_t i = first; i < end; ++i) {
            Individual& individual = ga.At(i);
            individual.SetFitness(fitness_.Evaluate(individual));
        }
    }
    bool Varies() const override { return false; }

private:
    FastTruthTableFitness fitness_;
};

// Nobody watches a batch run, and its stop is looked at between generations.
class UnwatchedRun final : public RobotRunView {
public:
    void ShowProximityIndicators(const std::array<bool, 4>&) override {}
    void SetCurrentFitnessText(const QString&) override {}
    void SetCurrentSpeedText(const QString&) override {}
    void ProcessEvents() override {}
};

// The window's robot-mode generation on a world of the run's own: each pass
// moves every individual in turn to a new place and runs it; the fitness is
// the mean of its passes, summed onto 0 and divided as the window does. The
// robot stays where the previous evaluation left it, as a real one would.
class RobotFitness final : public BatchFitness {
public:
    RobotFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random)
        : setup_(setup)
        , world_(setup.robot->arena, setup.robot->start, ksim::SensorNoise(setup.options.noise, seed))
        , body_(world_)
        , context_ {body_, view_, setup.options.motor, setup.options.threshold}
        , random_(random)
    {
    }

    void Evaluate(GA& ga, uint32_t first, uint32_t end) override
    {
        for (uint32_t i = first; i < end; ++i)
            ga.At(i).SetFitness(0.0);
        const auto runs = static_cast<int>(setup_.options.runsPerIndividual);
        const auto seconds = static_cast<int>(setup_.options.runLength);
        for (int pass = 0; pass < runs; ++pass) {
            for (uint32_t i = first; i < end; ++i) {
                Individual& individual = ga.At(i);
                RepositionKhepera(body_, random_);
                const double f = ComputeFitnessKhepera(context_, setup_.pal, individual, seconds).fitness;
                individual.SetFitness(individual.GetFitness() + f);
            }
        }
        for (uint32_t i = first; i < end; ++i)
            ga.At(i).SetFitness(ga.At(i).GetFitness() / runs);
    }
    bool Varies() const override { return true; }

private:
    const BatchSetup& setup_;
    ksim::RobotWorld world_;
    SimulatedRobotBody body_;
    UnwatchedRun view_;
    RobotRunContext context_;
    LcgGenerator& random_;
};

} // namespace

std::unique_ptr<BatchFitness> MakeBatchFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random)
{
    if (setup.robot)
        return std::make_unique<RobotFitness>(setup, seed, random);
    return std::make_unique<TableFitness>(setup);
}
