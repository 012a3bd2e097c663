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
    QFile file(setup.arenaFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("it cannot be read (%1)").arg(file.errorString());
        return std::nullopt;
    }
    const QByteArray text = file.readAll();
    const ksim::ArenaFileContent content = ksim::parseArenaFile(std::string_view(text.constData(), text.size()));
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
