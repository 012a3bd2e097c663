#pragma once

#include "kinematics.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Everything the command line can choose.
struct SimOptions {
    QString linkPath;               // --link: symlink to the slave device, empty for none
    bool openArena = false;         // --open: 4 m x 4 m, no obstacles
    QString arenaFile;              // --arena: an arena file, empty for none
    std::optional<ksim::Pose> start; // --start x,y,heading (mm, mm, degrees)
    double noisePercent = 0.0;      // --noise
    std::uint32_t seed = 1;         // --seed
    bool window = false;            // --window
    bool verbose = false;           // --verbose
};

// The outcome of reading the command line: either options to run with, or a
// text to print (help on stdout, errors on stderr) and an exit code.
struct SimOptionsParse {
    std::optional<SimOptions> options;
    QString message;
    int exitCode = 0;
};

SimOptionsParse parseSimOptions(const QStringList &arguments);

// True when the raw arguments ask for the window; looked at before the
// application object exists, because that decides which one to create.
bool argumentsRequestWindow(int argc, char **argv);
