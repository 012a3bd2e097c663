#include "robotevaluation.h"

#include "ga.h"
#include "robotfitness.h"
#include "statisticsfile.h"
#include "tracedrobotbody.h"

#include <algorithm>
#include <numeric>
#include <vector>

TracedRun RunTraced(TracedRobotBody& body, RobotRunView& view, const RobotRunSettings& settings,
                    const BitString& chromosome)
{
    body.StartTrace();
    const RobotRunContext context{body, view, settings.motorTable, settings.proximityThreshold};
    const RobotRunResult result = ComputeFitnessKhepera(context, settings.pal, chromosome, settings.runLength);
    return {result.fitness, body.Stalled(), body.InContact()};
}

void PlaceRobot(TracedRobotBody& body, const ksim::Pose& start)
{
    body.StopWheels();
    body.World().setPose(start);
}

double CountedFitness(const TracedRun& run, const RobotEvaluation& evaluation)
{
    return run.stalled ? run.fitness * (1.0 - evaluation.stallPenalty) : run.fitness;
}

uint32_t KeptByTheStep(const GA& ga, bool evolutionStrategy)
{
    if (evolutionStrategy || ga.GetElitism() < 1)
        return 1;
    return std::min<uint32_t>(static_cast<uint32_t>(ga.GetElitism()) + 1, ga.GetPopulationSize());
}

uint32_t ReevaluateFittest(GA& ga, uint32_t end, uint32_t keep, uint32_t runsSoFar, uint32_t extraRuns,
                           const std::function<double(uint32_t index)>& moreRuns)
{
    keep = std::min(keep, end);
    std::vector<bool> done(end, false);
    std::vector<uint32_t> order(end);
    uint32_t reevaluated = 0;
    for (;;) {
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&ga](uint32_t a, uint32_t b) {
            return ga.At(a).GetFitness() > ga.At(b).GetFitness();
        });
        bool any = false;
        for (uint32_t k = 0; k < keep; ++k) {
            const uint32_t i = order[k];
            if (done[i])
                continue;
            done[i] = true;
            any = true;
            ++reevaluated;
            Individual& individual = ga.At(i);
            const double sum = individual.GetFitness() * runsSoFar + moreRuns(i);
            individual.SetFitness(sum / (runsSoFar + extraRuns));
        }
        if (!any)
            return reevaluated;
    }
}

std::string DescribeRobotEvaluation(const RobotEvaluation& evaluation)
{
    std::string text;
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (evaluation.sharedStarts)
        add("shared starts");
    if (evaluation.reevaluations > 0)
        add("the fittest run " + std::to_string(evaluation.reevaluations) + " more");
    if (evaluation.stallPenalty > 0.0)
        add("stall penalty " + StatisticsFile::Number(evaluation.stallPenalty * 100.0) + " %");
    return text;
}
