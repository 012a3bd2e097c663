#include "sim_options.h"

#include "start_pose.h"

#include <QCommandLineParser>

#include <cstring>

namespace {

const char *const kDescription =
    "Simulated Khepera robot on a pseudo-terminal.\n"
    "\n"
    "Prints the path of the terminal's device as the first line on stdout; open\n"
    "it as a serial port (38400 baud, 8 data bits, no parity, 2 stop bits) and\n"
    "send the robot's commands, each ended by CR:\n"
    "  D,<left>,<right>  set wheel speeds (units of 8 mm/s)  -> d\n"
    "  N                 read the 8 proximity sensors        -> n,v0,...,v7\n"
    "  E                 read the wheel speeds               -> e,<left>,<right>\n"
    "  B                 read the versions                   -> b,<bios>,<protocol>\n"
    "Replies end with CR LF; anything else is answered with z,Protocol error.\n"
    "Arena coordinates are millimetres from the arena centre, x right, y up.";

} // namespace

bool argumentsRequestWindow(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            return true;
    }
    return false;
}

SimOptionsParse parseSimOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption link("link", "Also make a symlink at <path> to the device (removed at exit).", "path");
    const QCommandLineOption open("open", "Use a 4 m x 4 m arena without obstacles instead of the 1 m x 1 m one.");
    const QCommandLineOption arena("arena", "Use the arena of <file> (floor, box, cylinder, wall, start; see the README).", "file");
    const QCommandLineOption start("start", "Start the robot at x,y (mm) facing heading (degrees); default 0,0,0.", "x,y,heading");
    const QCommandLineOption noise("noise", "Sensor noise level in percent, 0..100 (default 0).", "percent", "0");
    const QCommandLineOption seed("seed", "Seed of the noise generator (default 1).", "n", "1");
    const QCommandLineOption window("window", "Show the arena, the robot, its sensors and its trail.");
    const QCommandLineOption verbose("verbose", "Log every command and reply on stderr.");
    parser.addOptions({help, link, open, arena, start, noise, seed, window, verbose});

    SimOptionsParse result;
    auto fail = [&result](const QString &message) {
        result.message = message + "\nTry --help.";
        result.exitCode = 2;
        return result;
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        result.message = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail("Unexpected argument: " + parser.positionalArguments().first());

    SimOptions options;
    options.linkPath = parser.value(link);
    options.openArena = parser.isSet(open);
    options.arenaFile = parser.value(arena);
    if (options.openArena && parser.isSet(arena))
        return fail("--open and --arena both choose the arena: give one of them");
    if (parser.isSet(arena) && options.arenaFile.isEmpty())
        return fail("--arena wants a file name");
    options.window = parser.isSet(window);
    options.verbose = parser.isSet(verbose);

    if (parser.isSet(start)) {
        options.start = ksim::parseStartPose(parser.value(start).toStdString());
        if (!options.start)
            return fail("--start wants x,y,heading, for example 100,-50,90");
    }

    bool ok = false;
    options.noisePercent = parser.value(noise).toDouble(&ok);
    if (!ok || options.noisePercent < 0.0 || options.noisePercent > 100.0)
        return fail("--noise wants a percentage from 0 to 100");

    options.seed = parser.value(seed).toUInt(&ok);
    if (!ok)
        return fail("--seed wants a non-negative integer");

    result.options = options;
    return result;
}
