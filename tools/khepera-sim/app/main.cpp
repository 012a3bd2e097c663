// orvik-khepera-sim: a Khepera robot simulated in real time behind a
// pseudo-terminal, so the workbench can be run and tested without hardware.
//
//   pseudo-terminal --bytes--> SerialSession --line--> handleCommandLine --> RobotWorld
//                                                                          ^
//   RealtimeStepper (10 ms steps by the steady clock) ---------------------+
//   ArenaView (--window) reads the world at 20 Hz.
//
// stdout carries exactly one line, the slave device's path, printed once the
// terminal is ready to be opened.

#include "arena_file.h"
#include "arena_presets.h"
#include "arena_view.h"
#include "collision.h"
#include "command_handler.h"
#include "protocol.h"
#include "pseudo_terminal.h"
#include "realtime_stepper.h"
#include "robot_world.h"
#include "serial_session.h"
#include "sim_options.h"
#include "slave_link.h"
#include "termination_signals.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace {

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    if (argumentsRequestWindow(argc, argv))
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "orvik-khepera-sim: %s\n", message.c_str());
    return 1;
}

// The arena and start pose of --arena FILE, or a line for the user.
std::optional<ksim::ArenaFileContent> loadArena(const std::string &path, std::string &error)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file.is_open())
        text << file.rdbuf();
    if (!file.is_open() || file.bad()) {
        error = "--arena " + path + ": cannot read the file";
        return std::nullopt;
    }
    ksim::ArenaFileContent content = ksim::parseArenaFile(text.str());
    if (!content.arena) {
        error = "--arena " + path + (content.errorLine > 0 ? ", line " + std::to_string(content.errorLine) : "")
            + ": " + content.error;
        return std::nullopt;
    }
    return content;
}

} // namespace

int main(int argc, char **argv)
{
    auto app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName("orvik-khepera-sim");

    const SimOptionsParse parsed = parseSimOptions(QCoreApplication::arguments());
    if (!parsed.options) {
        std::fputs(qPrintable(parsed.message + '\n'), parsed.exitCode == 0 ? stdout : stderr);
        return parsed.exitCode;
    }
    const SimOptions &options = *parsed.options;

    ksim::Arena arena = options.openArena ? ksim::makeOpenArena() : ksim::makeDefaultArena();
    ksim::Pose fileStart;
    if (!options.arenaFile.isEmpty()) {
        std::string error;
        std::optional<ksim::ArenaFileContent> content = loadArena(options.arenaFile.toStdString(), error);
        if (!content) {
            std::fprintf(stderr, "orvik-khepera-sim: %s\n", error.c_str());
            return 2;
        }
        arena = std::move(*content->arena);
        fileStart = content->start;
    }
    ksim::Pose start = options.start.value_or(fileStart);
    if (!arena.isFree(start.position()))
        return fail("the start position lies outside the arena or inside an obstacle");
    const ksim::Vec2 clear = ksim::pushOutOfObstacles(arena, start.position(), ksim::kBodyRadiusMm);
    start.x = clear.x;
    start.y = clear.y;
    ksim::RobotWorld world(std::move(arena), start, ksim::SensorNoise(options.noisePercent, options.seed));

    std::string error;
    const auto terminal = PseudoTerminal::open(&error);
    if (!terminal)
        return fail(error);
    SlaveLink link;
    if (!options.linkPath.isEmpty() && !link.create(options.linkPath.toStdString(), terminal->slavePath(), &error))
        return fail(error);

    quitOnTerminationSignals();
    RealtimeStepper stepper(world);
    SerialSession session(
        *terminal,
        [&](std::string_view line, bool overflowed) {
            if (overflowed)
                return ksim::errorReply(line);
            stepper.catchUp();
            return ksim::handleCommandLine(world, line);
        },
        options.verbose);

    std::unique_ptr<ArenaView> view;
    if (options.window) {
        view = std::make_unique<ArenaView>(world);
        view->setWindowTitle(QString("Khepera simulator — %1").arg(QString::fromStdString(terminal->slavePath())));
        view->show();
    }

    std::printf("%s\n", terminal->slavePath().c_str());
    std::fflush(stdout);
    return app->exec();
}
