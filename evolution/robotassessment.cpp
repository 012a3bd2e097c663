#include "robotassessment.h"

#include "robot_world.h"
#include "tracedrobotbody.h"

#include <algorithm>

std::vector<AssessedRun> AssessController(const RobotRunSettings& settings, double noisePercent,
                                          const BitString& chromosome, const ksim::Arena& arena,
                                          const std::vector<ksim::Pose>& starts)
{
    std::vector<AssessedRun> assessed;
    UnwatchedRunView view;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        ksim::RobotWorld world(arena, starts[k], ksim::SensorNoise(noisePercent, static_cast<uint32_t>(k + 1)));
        TracedRobotBody body(world);
        assessed.push_back({starts[k], RunTraced(body, view, settings, chromosome)});
    }
    return assessed;
}

AssessmentFigures FiguresOf(const std::vector<AssessedRun>& runs)
{
    AssessmentFigures figures;
    if (runs.empty())
        return figures;
    double sum = 0.0;
    figures.worst = runs.front().run.fitness;
    for (const AssessedRun& assessed : runs) {
        sum += assessed.run.fitness;
        figures.worst = std::min(figures.worst, assessed.run.fitness);
        figures.stalled += assessed.run.stalled ? 1 : 0;
        figures.contact += assessed.run.contact ? 1 : 0;
    }
    figures.runs = static_cast<uint32_t>(runs.size());
    figures.mean = sum / static_cast<double>(runs.size());
    return figures;
}
