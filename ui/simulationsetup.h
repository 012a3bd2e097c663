#pragma once
// What Setup > Communication... chooses for the simulated Khepera that runs
// inside Orvik: which arena, and how much noise its sensors have. Plain data
// and its check, so the rules can be tested without the dialog.
#include <QString>

#include <functional>

struct SimulationSetup {
    enum class ArenaKind { Default, Open, File };
    ArenaKind arena = ArenaKind::Default;
    QString arenaFile; // read only when arena is File
    int noisePercent = 0; // 0..100
    bool operator==(const SimulationSetup&) const = default;
};

// "the default arena, no noise", "the open arena, 3 % noise", "arena
// two-rooms.arena, 10 % noise" (the file's name only).
QString DescribeSimulation(const SimulationSetup& setup);

// Reads an arena file and returns the message that refuses it ("line 3:
// ..."), or an empty string when it is a good arena.
using ArenaFileCheck = std::function<QString(const QString& path)>;

// Checks the dialog's texts in this order: the noise is an integer from 0 to
// 100; a file arena names a file (surrounding white space dropped) that
// `checkFile` accepts. Returns the message for an "Error" box, or an empty
// string and the values in `setup`. `setup` is left unchanged on a message.
QString CheckSimulationSetup(SimulationSetup::ArenaKind arena, const QString& arenaFile,
                             const QString& noiseText, const ArenaFileCheck& checkFile,
                             SimulationSetup& setup);
