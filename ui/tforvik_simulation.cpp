// The simulated Khepera inside Orvik: its world, its runs and the "Robot
// arena" window.
#include "tforvik.h"

#include "orvikwindows.h"
#include "processrandom.h"
#include "repositionkhepera.h"
#include "robot_world.h"
#include "simulatedarena.h"
#include "simulatedrunview.h"
#include "tffitnessdisplay.h"
#include "tfrobotarena.h"
#include "tfrobotevaluation.h"
#include "truthtablefitness.h"
#include "watchedrobotbody.h"

#include <QLineEdit>

bool TFOrvik::UseSimulation()
{
    QString error;
    std::optional<SimulatedArena> arena = MakeSimulatedArena(Simulation, error);
    SimBody.reset();
    SimWorld.reset();
    if (!arena) {
        ShowError(QString("The arena file %1 cannot be used: %2").arg(Simulation.arenaFile, error));
        return false;
    }
    // One world for the whole session: the robot stays where the last
    // evaluation left it, as a real one would.
    SimWorld = std::make_unique<ksim::RobotWorld>(arena->arena, arena->start,
                                                  ksim::SensorNoise(Simulation.noisePercent));
    SimBody = std::make_unique<WatchedRobotBody>(*SimWorld, *FRobotArena, [this] { ProcessEvents(); },
                                                 [this] { return PacingSimulation(); });
    if (!simulatedView_)
        simulatedView_ = std::make_unique<SimulatedRunView>(*this, [this] { ProcessEventsSometimes(); });
    lastStartPose_ = arena->start;
    arenaStart_ = arena->start;
    FRobotArena->StartRun(SimWorld->arena(), SimWorld->pose(), "Simulated Khepera, ready");
    return true;
}

RobotRunResult TFOrvik::RunOnSimulation(const BitString& chromosome, const QString& caption)
{
    CheckChromosomeLength(Pal, chromosome); // refused before the robot moves
    lastStartPose_ = SimWorld->pose();
    SimBody->StartWatching(caption);
    SimBody->StartTrace();
    const RobotRunContext context{*SimBody, *simulatedView_, Motors, ProximityThreshold};
    const RobotRunResult result = ComputeFitnessKhepera(context, Pal, chromosome, ParseRunLength(ELengthRun->text()));
    SimBody->StopWatching();
    simulatedView_->Flush(); // the panel shows how the run ended
    return result;
}

double TFOrvik::EvaluateOnSimulation(const BitString& chromosome, int32_t index, const ksim::Pose* start)
{
    CheckChromosomeLength(Pal, chromosome);
    if (start)
        PlaceRobot(*SimBody, *start);
    else
        RepositionKhepera(*SimBody, ProcessRandom::Generator());
    const QString caption = QString("Generation %1, individual %2").arg(Population.GetGeneration()).arg(index);
    const RobotRunResult result = RunOnSimulation(chromosome, caption);
    return CountedFitness({result.fitness, SimBody->Stalled(), false}, RobotEvaluationSettings);
}

std::vector<ksim::Pose> TFOrvik::SharedStartsOfGeneration(bool simulated, int count)
{
    if (!simulated || !RobotEvaluationSettings.sharedStarts)
        return {};
    return startPlaces_.spread(SimWorld->arena(), arenaStart_, count);
}

void TFOrvik::ReevaluateOnSimulation(int runCount)
{
    const auto more = static_cast<int>(RobotEvaluationSettings.reevaluations);
    if (more == 0)
        return;
    const std::vector<ksim::Pose> starts = SharedStartsOfGeneration(true, more);
    ReevaluateFittest(Population, Population.GetPopulationSize(), KeptByTheStep(Population, UseEvolutionStrategy),
                      static_cast<uint32_t>(runCount), static_cast<uint32_t>(more), [&](uint32_t i) {
                          double sum = 0.0;
                          for (int k = 0; k < more; ++k) {
                              ProcessEventsSometimes();
                              sum += EvaluateOnSimulation(Population.At(i), static_cast<int32_t>(i),
                                                          starts.empty() ? nullptr : &starts[k]);
                          }
                          return sum;
                      });
}

void TFOrvik::RobotEvaluation1Click()
{
    TFRobotEvaluation dialog(this);
    dialog.SetEvaluation(RobotEvaluationSettings);
    if (dialog.ShowDialog() != QDialog::Accepted || dialog.Chosen() == RobotEvaluationSettings)
        return;
    RobotEvaluationSettings = dialog.Chosen();
    // The fitness means something else from the next generation on.
    const std::string described = DescribeRobotEvaluation(RobotEvaluationSettings);
    RobotEvaluationChanged("evaluation: " + QString::fromStdString(described.empty() ? "the window's own" : described));
}

bool TFOrvik::PacingSimulation() const
{
    // "Stop" must not wait for the rest of a generation at the robot's pace.
    return FRobotArena->RealTime() && !(Evolving && FFitnessDisplay->StopRequested);
}

void TFOrvik::RobotArena1Click()
{
    PlaceSideWindowOnce(FRobotArena, true);
    FRobotArena->show();
    FRobotArena->raise();
}
