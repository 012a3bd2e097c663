#include "simulationsetup.h"

#include "dialogvalidation.h"

#include <QFileInfo>

QString DescribeSimulation(const SimulationSetup& setup)
{
    QString arena;
    switch (setup.arena) {
    case SimulationSetup::ArenaKind::Default: arena = QStringLiteral("the default arena"); break;
    case SimulationSetup::ArenaKind::Open: arena = QStringLiteral("the open arena"); break;
    case SimulationSetup::ArenaKind::File: arena = "arena " + QFileInfo(setup.arenaFile).fileName(); break;
    }
    const QString noise = setup.noisePercent == 0 ? QStringLiteral("no noise")
                                                  : QStringLiteral("%1 % noise").arg(setup.noisePercent);
    return arena + ", " + noise;
}

QString CheckSimulationSetup(SimulationSetup::ArenaKind arena, const QString& arenaFile,
                             const QString& noiseText, const ArenaFileCheck& checkFile,
                             SimulationSetup& setup)
{
    int32_t noise = 0;
    if (!ParseDecimalInt(noiseText, noise) || noise < 0 || noise > 100)
        return QStringLiteral("The sensor noise must be a whole number from 0 to 100 (%).");
    const QString path = arenaFile.trimmed();
    if (arena == SimulationSetup::ArenaKind::File) {
        if (path.isEmpty())
            return QStringLiteral("Choose the arena file.");
        const QString refusal = checkFile ? checkFile(path) : QString();
        if (!refusal.isEmpty())
            return QStringLiteral("The arena file %1 cannot be used: %2").arg(path, refusal);
    }
    setup.arena = arena;
    setup.arenaFile = path;
    setup.noisePercent = noise;
    return {};
}
