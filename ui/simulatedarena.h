#pragma once
// The arena a SimulationSetup names and where the robot starts in it: one of
// the two built-in arenas (starting at the centre, facing +x), or one read
// from an arena file (khepera/arena_file.h) with the start it gives.
#include "arena.h"
#include "kinematics.h"
#include "simulationsetup.h"

#include <QString>

#include <optional>

struct SimulatedArena {
    ksim::Arena arena;
    ksim::Pose start;
};

// The arena, or nothing with the reason in `error` ("line 3: ...", or why
// the file cannot be read: "not a regular file", ...) when its file is refused.
std::optional<SimulatedArena> MakeSimulatedArena(const SimulationSetup& setup, QString& error);

// Why the arena file at `path` is refused, or an empty string when it is a
// good arena (what the port dialog's OK asks).
QString ArenaFileRefusal(const QString& path);
