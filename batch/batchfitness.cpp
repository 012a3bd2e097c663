#include "batchfitness.h"

#include "fasttruthtablefitness.h"
#include "repositionkhepera.h"
#include "robot_world.h"
#include "robotevaluation.h"
#include "robotrunview.h"
#include "start_places.h"
#include "tracedrobotbody.h"

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

// The window's robot-mode generation on worlds of the run's own: each pass
// moves every individual in turn to a new place and runs it; the fitness is
// the mean of its passes, summed onto 0 and divided as the window does. The
// robot stays where the previous evaluation left it, as a real one would.
// With several arenas pass k runs in arena k mod (number of arenas), each
// arena a world of its own. The additions of robotevaluation.h act when
// asked for: shared start places drawn per generation (from a generator of
// the run's own, not the GA's), re-evaluation of the fittest, the stall
// penalty.
class RobotFitness final : public BatchFitness {
public:
    RobotFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random)
        : setup_(setup)
        , settings_ {setup.pal, setup.options.motor, setup.options.threshold,
              static_cast<int>(setup.options.runLength)}
        , evaluation_(setup.options.evaluation)
        , random_(random)
        , places_(PlacesSeed(seed))
    {
        const std::vector<BatchSetup::PlacedArena>& arenas = setup.robot->arenas;
        for (std::size_t j = 0; j < arenas.size(); ++j)
            worlds_.push_back(std::make_unique<World>(arenas[j], setup.options.noise, NoiseSeed(seed, j)));
    }

    void Evaluate(GA& ga, uint32_t first, uint32_t end) override
    {
        for (uint32_t i = first; i < end; ++i)
            ga.At(i).SetFitness(0.0);
        const auto runs = setup_.options.runsPerIndividual;
        const std::vector<ksim::Pose> starts = SharedStarts(0, runs);
        for (uint32_t pass = 0; pass < runs; ++pass) {
            for (uint32_t i = first; i < end; ++i) {
                Individual& individual = ga.At(i);
                individual.SetFitness(individual.GetFitness() + RunOnce(individual, pass, At(starts, pass)));
            }
        }
        for (uint32_t i = first; i < end; ++i)
            ga.At(i).SetFitness(ga.At(i).GetFitness() / static_cast<int>(runs));

        const uint32_t more = evaluation_.reevaluations;
        if (more == 0)
            return;
        const std::vector<ksim::Pose> moreStarts = SharedStarts(runs, more);
        const bool es = setup_.options.strategy == BatchOptions::Strategy::ES;
        ReevaluateFittest(ga, end, KeptByTheStep(ga, es), runs, more, [&](uint32_t i) {
            double sum = 0.0;
            for (uint32_t k = 0; k < more; ++k)
                sum += RunOnce(ga.At(i), runs + k, At(moreStarts, k));
            return sum;
        });
    }
    bool Varies() const override { return true; }
    uint64_t RobotRuns() const override { return robotRuns_; }

private:
    struct World {
        World(const BatchSetup::PlacedArena& placed, double noise, uint32_t seed)
            : arena(placed)
            , world(placed.arena, placed.start, ksim::SensorNoise(noise, seed))
            , body(world)
        {
        }
        const BatchSetup::PlacedArena& arena;
        ksim::RobotWorld world;
        TracedRobotBody body;
    };

    // The first arena's noise is seeded as a run with one arena seeds it.
    static uint32_t NoiseSeed(uint32_t seed, std::size_t arena)
    {
        return seed + static_cast<uint32_t>(arena) * 0x9E3779B9u;
    }
    static uint64_t PlacesSeed(uint32_t seed) { return 0x5EED'0000'0000'0000ull | seed; }

    // With shared starts, the places of passes first .. first+count-1 of
    // this generation, each in its pass's arena and spread over it; else none.
    std::vector<ksim::Pose> SharedStarts(uint32_t first, uint32_t count)
    {
        if (!evaluation_.sharedStarts)
            return {};
        std::vector<ksim::Pose> starts(count);
        const auto m = static_cast<uint32_t>(worlds_.size());
        for (uint32_t j = 0; j < m; ++j) {
            std::vector<uint32_t> passes;
            for (uint32_t k = 0; k < count; ++k)
                if ((first + k) % m == j)
                    passes.push_back(k);
            const BatchSetup::PlacedArena& arena = worlds_[j]->arena;
            const std::vector<ksim::Pose> spread =
                places_.spread(arena.arena, arena.start, static_cast<int>(passes.size()));
            for (std::size_t p = 0; p < passes.size(); ++p)
                starts[passes[p]] = spread[p];
        }
        return starts;
    }

    static const ksim::Pose* At(const std::vector<ksim::Pose>& starts, uint32_t k)
    {
        return starts.empty() ? nullptr : &starts[k];
    }

    // Pass `pass` of an individual, from the shared place `start`, or (none)
    // where the repositioning walk takes it.
    double RunOnce(const BitString& chromosome, uint32_t pass, const ksim::Pose* start)
    {
        World& w = *worlds_[pass % worlds_.size()];
        if (start)
            PlaceRobot(w.body, *start);
        else
            RepositionKhepera(w.body, random_);
        ++robotRuns_;
        return CountedFitness(RunTraced(w.body, view_, settings_, chromosome), evaluation_);
    }

    const BatchSetup& setup_;
    RobotRunSettings settings_;
    RobotEvaluation evaluation_;
    LcgGenerator& random_;
    ksim::StartPlaces places_;
    std::vector<std::unique_ptr<World>> worlds_;
    UnwatchedRunView view_;
    uint64_t robotRuns_ = 0;
};

} // namespace

std::unique_ptr<BatchFitness> MakeBatchFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random)
{
    if (setup.robot)
        return std::make_unique<RobotFitness>(setup, seed, random);
    return std::make_unique<TableFitness>(setup);
}
