#include "simulatedarena.h"

#include "arena_file.h"
#include "arena_presets.h"

#include <QFile>

std::optional<SimulatedArena> MakeSimulatedArena(const SimulationSetup& setup, QString& error)
{
    switch (setup.arena) {
    case SimulationSetup::ArenaKind::Default:
        return SimulatedArena{ksim::makeDefaultArena(), {}};
    case SimulationSetup::ArenaKind::Open:
        return SimulatedArena{ksim::makeOpenArena(), {}};
    case SimulationSetup::ArenaKind::File:
        break;
    }
    // The reader orvik-batch and orvik-khepera-sim use: a device, a FIFO or
    // a huge file is refused before it could block or fill the memory.
    const ksim::ArenaFileContent content = ksim::readArenaFile(QFile::encodeName(setup.arenaFile).toStdString());
    if (!content.arena) {
        const QString what = QString::fromStdString(content.error);
        error = content.errorLine > 0 ? QStringLiteral("line %1: %2").arg(content.errorLine).arg(what) : what;
        return std::nullopt;
    }
    return SimulatedArena{*content.arena, content.start};
}

QString ArenaFileRefusal(const QString& path)
{
    QString error;
    SimulationSetup setup;
    setup.arena = SimulationSetup::ArenaKind::File;
    setup.arenaFile = path;
    return MakeSimulatedArena(setup, error) ? QString() : error;
}
