#include "protocol.h"

#include <charconv>
#include <optional>

namespace ksim {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kVersions = "1.00,1.00";

void skipSpaces(std::string_view &text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
}

// Consumes ",<int>" (spaces allowed around the number) from the front of text.
std::optional<int> takeArgument(std::string_view &text)
{
    skipSpaces(text);
    if (text.empty() || text.front() != ',')
        return std::nullopt;
    text.remove_prefix(1);
    skipSpaces(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{})
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

bool onlySpacesLeft(std::string_view text)
{
    skipSpaces(text);
    return text.empty();
}

Command parseSetSpeed(std::string_view arguments)
{
    const auto left = takeArgument(arguments);
    const auto right = left ? takeArgument(arguments) : std::nullopt;
    if (!right || !onlySpacesLeft(arguments))
        return {};
    if (*left < -kMaxWheelSpeed || *left > kMaxWheelSpeed || *right < -kMaxWheelSpeed
        || *right > kMaxWheelSpeed)
        return {};
    return {CommandKind::SetSpeed, {*left, *right}};
}

} // namespace

Command parseCommandLine(std::string_view line)
{
    if (line.empty())
        return {};
    const char letter = line.front();
    const std::string_view arguments = line.substr(1);
    switch (letter) {
    case 'D':
    case 'd':
        return parseSetSpeed(arguments);
    case 'N':
    case 'n':
        return onlySpacesLeft(arguments) ? Command{CommandKind::ReadProximity, {}} : Command{};
    case 'E':
    case 'e':
        return onlySpacesLeft(arguments) ? Command{CommandKind::ReadSpeed, {}} : Command{};
    case 'B':
    case 'b':
        return onlySpacesLeft(arguments) ? Command{CommandKind::ReadVersion, {}} : Command{};
    default:
        return {};
    }
}

std::string setSpeedReply()
{
    return "d" + std::string(kLineEnd);
}

std::string proximityReply(const ProximityReadings &readings)
{
    std::string reply = "n";
    for (int value : readings)
        reply += "," + std::to_string(value);
    return reply + std::string(kLineEnd);
}

std::string speedReply(WheelSpeeds speeds)
{
    return "e," + std::to_string(speeds.left) + "," + std::to_string(speeds.right)
           + std::string(kLineEnd);
}

std::string versionReply()
{
    return "b," + std::string(kVersions) + std::string(kLineEnd);
}

std::string errorReply(std::string_view line)
{
    const bool startsWithZ = !line.empty() && (line.front() | 0x20) == 'z';
    return std::string(startsWithZ ? "Z" : "z") + ",Protocol error" + std::string(kLineEnd);
}

} // namespace ksim
