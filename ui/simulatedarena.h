#pragma once
// The arena a SimulationSetup names: one of the two built-in arenas, or one
// read from a file.
#include "arena.h"
#include "simulationsetup.h"

#include <QString>

#include <optional>

// The arena, or nothing with the reason in `error` when its file cannot be
// read or is refused.
std::optional<ksim::Arena> MakeSimulatedArena(const SimulationSetup& setup, QString& error);

// Why the arena file at `path` is refused, or an empty string when it is a
// good arena (what the port dialog's OK asks).
QString ArenaFileRefusal(const QString& path);
