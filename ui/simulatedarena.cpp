#include "simulatedarena.h"

#include "arena_presets.h"

std::optional<ksim::Arena> MakeSimulatedArena(const SimulationSetup& setup, QString& error)
{
    switch (setup.arena) {
    case SimulationSetup::ArenaKind::Default:
        return ksim::makeDefaultArena();
    case SimulationSetup::ArenaKind::Open:
        return ksim::makeOpenArena();
    case SimulationSetup::ArenaKind::File:
        break;
    }
    error = QStringLiteral("arena files cannot be read yet");
    return std::nullopt;
}

QString ArenaFileRefusal(const QString& path)
{
    QString error;
    SimulationSetup setup;
    setup.arena = SimulationSetup::ArenaKind::File;
    setup.arenaFile = path;
    return MakeSimulatedArena(setup, error) ? QString() : error;
}
