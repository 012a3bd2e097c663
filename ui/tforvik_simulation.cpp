// The simulated Khepera inside Orvik: its world and the "Robot arena" window.
#include "tforvik.h"

#include "robot_world.h"
#include "simulatedarena.h"
#include "tfrobotarena.h"
#include "uiseam.h"
#include "windowplacement.h"

bool TFOrvik::UseSimulation()
{
    QString error;
    std::optional<ksim::Arena> arena = MakeSimulatedArena(Simulation, error);
    if (!arena) {
        ShowError(QString("The arena file %1 cannot be used: %2").arg(Simulation.arenaFile, error));
        SimWorld.reset();
        return false;
    }
    SimWorld = std::make_unique<ksim::RobotWorld>(*arena, ksim::Pose{},
                                                  ksim::SensorNoise(Simulation.noisePercent));
    FRobotArena->StartRun(SimWorld->arena(), SimWorld->pose(), "Simulated Khepera, waiting");
    return true;
}

void TFOrvik::RobotArena1Click()
{
    PlaceOnceBeside(FRobotArena, this, PlacementSide::Left);
    FRobotArena->show();
    FRobotArena->raise();
}

