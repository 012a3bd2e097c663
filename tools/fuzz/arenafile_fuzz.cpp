// Feeds arbitrary text to the arena-file reader and checks what it promises:
// it ends; a refusal is one short printable line naming a line of the text,
// with no arena; an accepted arena keeps every number within the bound, puts
// the robot inside its floor, and a robot driven there for a while stays
// inside the walls with finite readings. Any broken promise traps.
#include "arena_file.h"
#include "robot_world.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A refusal quotes what it found briefly, so its length is bounded.
constexpr std::size_t MaxErrorLength = 200;

bool Inside(const ksim::Arena& arena, ksim::Vec2 p)
{
    const double slack = 1e-6 * std::max(arena.width(), arena.height());
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= arena.width() / 2 + slack
        && std::fabs(p.y) <= arena.height() / 2 + slack;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ksim::ArenaFileContent content = ksim::parseArenaFile(text);
    if (!content.arena) {
        Require(!content.error.empty() && content.error.size() <= MaxErrorLength);
        for (const char c : content.error)
            Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        Require(content.errorLine >= 0 && content.errorLine <= lines);
        return 0;
    }
    const ksim::Arena& arena = *content.arena;
    Require(content.error.empty());
    Require(arena.width() > 0 && arena.width() <= ksim::kArenaNumberLimit);
    Require(arena.height() > 0 && arena.height() <= ksim::kArenaNumberLimit);
    Require(Inside(arena, content.start.position()) && std::isfinite(content.start.heading));

    // Ahead at full speed, then a turn: the walls hold the body.
    ksim::RobotWorld world(arena, content.start);
    world.setWheelSpeeds({10, 10});
    for (int step = 0; step < 300; ++step) {
        if (step == 150)
            world.setWheelSpeeds({10, -10});
        world.step();
        Require(Inside(arena, world.pose().position()));
    }
    for (const int reading : world.readSensors())
        Require(reading >= 0 && reading <= 1023);
    return 0;
}
