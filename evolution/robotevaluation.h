#pragma once
// Robot-mode evaluation beside the window's own (each individual moved by the
// repositioning walk to a new place before each of its runs, its fitness the
// mean of its runs). Three additions pay for controllers that keep working
// wherever they are put; each is off unless asked for, so by default the
// fitness is the window's:
//
//  - shared starts: the k-th run of every individual of a generation starts
//    from the same place, drawn for that generation (StartPlaces), so the
//    individuals are compared on the same draws rather than on their luck;
//  - re-evaluation: the fittest individuals of a generation (those the next
//    step keeps: the elite, or the evolution strategy's parent) run more
//    times, and their fitness becomes the mean of all their runs, so a lucky
//    run alone does not make a parent;
//  - a stall penalty: a run that ends stalled (TracedRobotBody) loses this
//    share of its fitness.
//
// These need the simulated Khepera: only it can be put in a place, and only
// its pose shows a stall.
#include "bitstring.h"
#include "motortable.h"
#include "palconfig.h"
#include "robotrunview.h"

#include <cstdint>
#include <functional>
#include <string>

class GA;
class TracedRobotBody;
namespace ksim {
struct Pose;
}

struct RobotEvaluation {
    bool sharedStarts = false;
    uint32_t reevaluations = 0; // runs more for each of the fittest, 0..10
    double stallPenalty = 0.0; // share of a stalled run's fitness taken away, 0..1

    bool operator==(const RobotEvaluation&) const = default;
};

// The additions in use, as the batch summary and the chart's marks name them:
// "shared starts, the fittest run 2 more, stall penalty 25 %"; empty when all
// are off.
std::string DescribeRobotEvaluation(const RobotEvaluation& evaluation);

// What drives one robot run.
struct RobotRunSettings {
    PalConfig pal;
    MotorTable motorTable;
    uint32_t proximityThreshold = 300;
    int runLength = 10; // seconds, 1..100
};

// A run of the simulated Khepera and how it ended.
struct TracedRun {
    double fitness = 0.0;
    bool stalled = false;
    bool contact = false;
};

// Runs `chromosome` from where the robot stands, traced from its start.
TracedRun RunTraced(TracedRobotBody& body, RobotRunView& view, const RobotRunSettings& settings,
                    const BitString& chromosome);

// Puts the robot at `start` with its wheels stopped, as if it had been
// carried there.
void PlaceRobot(TracedRobotBody& body, const ksim::Pose& start);

// The fitness a run counts for under `evaluation`'s stall penalty.
double CountedFitness(const TracedRun& run, const RobotEvaluation& evaluation);

// How many of the fittest individuals a generation step keeps unchanged:
// E + 1 under elitism E >= 1 (as NextGeneration inserts them), else 1; the
// evolution strategy keeps its parent.
uint32_t KeptByTheStep(const GA& ga, bool evolutionStrategy);

// Re-evaluation of the fittest among individuals 0 .. end-1, whose fitness is
// the mean of `runsSoFar` runs: while one of the `keep` fittest has not been
// re-evaluated, each such individual i runs `extraRuns` more times (the sum of
// their fitness is moreRuns(i)), and its fitness becomes the mean of all its
// runs. Each individual is re-evaluated at most once, fittest first; ties go
// to the lower index. Returns the number of individuals re-evaluated.
uint32_t ReevaluateFittest(GA& ga, uint32_t end, uint32_t keep, uint32_t runsSoFar, uint32_t extraRuns,
                           const std::function<double(uint32_t index)>& moreRuns);
