#include "command_handler.h"

#include "protocol.h"

namespace ksim {

std::string handleCommandLine(RobotWorld &world, std::string_view line)
{
    const Command command = parseCommandLine(line);
    switch (command.kind) {
    case CommandKind::SetSpeed:
        world.setWheelSpeeds(command.speeds);
        return setSpeedReply();
    case CommandKind::ReadProximity:
        return proximityReply(world.readSensors());
    case CommandKind::ReadSpeed:
        return speedReply(world.wheelSpeeds());
    case CommandKind::ReadVersion:
        return versionReply();
    case CommandKind::Invalid:
        break;
    }
    return errorReply(line);
}

} // namespace ksim
