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
    FRobotArena->StartRun(SimWorld->arena(), SimWorld->pose(), "Simulated Khepera, ready");
    return true;
}

RobotRunResult TFOrvik::RunOnSimulation(const BitString& chromosome, const QString& caption)
{
    CheckChromosomeLength(Pal, chromosome); // refused before the robot moves
    lastStartPose_ = SimWorld->pose();
    SimBody->StartWatching(caption);
    const RobotRunContext context{*SimBody, *simulatedView_, Motors, ProximityThreshold};
    const RobotRunResult result = ComputeFitnessKhepera(context, Pal, chromosome, ParseRunLength(ELengthRun->text()));
    SimBody->StopWatching();
    simulatedView_->Flush(); // the panel shows how the run ended
    return result;
}

double TFOrvik::EvaluateOnSimulation(const BitString& chromosome, int32_t index)
{
    CheckChromosomeLength(Pal, chromosome);
    RepositionKhepera(*SimBody, ProcessRandom::Generator());
    const QString caption = QString("Generation %1, individual %2").arg(Population.GetGeneration()).arg(index);
    return RunOnSimulation(chromosome, caption).fitness;
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
