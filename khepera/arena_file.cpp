#include "arena_file.h"

#include "arena_presets.h"
#include "brieftext.h"
#include "collision.h"
#include "inputfilecheck.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

namespace ksim {

namespace {

// What each word takes, in the order the message names them.
struct Item {
    const char *word;
    const char *numbers;
    std::size_t count;
};

constexpr Item kItems[] = {
    {"floor", "width height", 2},
    {"box", "x1 y1 x2 y2", 4},
    {"cylinder", "x y radius", 3},
    {"wall", "x1 y1 x2 y2", 4},
    {"start", "x y heading", 3},
};

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos)
            return out;
        const std::size_t end = line.find_first_of(" \t\r", at);
        out.push_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos)
            return out;
        at = end;
    }
}

bool readNumber(std::string_view text, double &value)
{
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

const Item *findItem(std::string_view word)
{
    for (const Item &item : kItems)
        if (word == item.word)
            return &item;
    return nullptr;
}

// True when a body of `radius` at `centre` is clear of every surface and
// cylinder (a hair's breadth of overlap allowed, as pushing out leaves it).
bool bodyClear(const Arena &arena, Vec2 centre, double radius)
{
    const double slack = 1e-6;
    for (const Segment &surface : arena.surfaces())
        if (length(centre - closestPointOnSegment(centre, surface)) < radius - slack)
            return false;
    for (const Circle &cylinder : arena.cylinders())
        if (length(centre - cylinder.centre) < radius + cylinder.radius - slack)
            return false;
    return true;
}

} // namespace

std::optional<Pose> clearStartPose(const Arena &arena, Pose start)
{
    if (!arena.isFree(start.position()))
        return std::nullopt;
    const Vec2 clear = pushOutOfObstacles(arena, start.position(), kBodyRadiusMm);
    // A centre right on a wall, or squeezed where the body does not fit, is
    // not pushed clear.
    if (!arena.isFree(clear) || !bodyClear(arena, clear, kBodyRadiusMm))
        return std::nullopt;
    start.x = clear.x;
    start.y = clear.y;
    return start;
}

ArenaFileContent parseArenaFile(std::string_view text)
{
    ArenaFileContent content;
    auto refuse = [&content](int line, std::string message) {
        content.errorLine = line;
        content.error = std::move(message);
        return content;
    };

    std::optional<Vec2> floorSize;
    std::optional<Pose> start;
    int startLine = 0;
    std::vector<Box> boxes;
    std::vector<Circle> cylinders;
    std::vector<Segment> walls;

    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark)
        text.remove_prefix(byteOrderMark.size());

    int lineNumber = 0;
    for (std::size_t at = 0; at <= text.size(); ++lineNumber) {
        const std::size_t newline = text.find('\n', at);
        std::string_view line = text.substr(at, newline == std::string_view::npos ? std::string_view::npos : newline - at);
        at = newline == std::string_view::npos ? text.size() + 1 : newline + 1;
        const int n = lineNumber + 1;
        line = line.substr(0, line.find('#'));
        const std::vector<std::string_view> parts = words(line);
        if (parts.empty())
            continue;

        const Item *item = findItem(parts[0]);
        if (!item)
            return refuse(n, "unknown item \"" + BriefText(parts[0]) + "\" (floor, box, cylinder, wall or start)");
        if (parts.size() - 1 != item->count)
            return refuse(n, std::string(item->word) + " needs " + std::to_string(item->count) + " numbers: "
                                 + item->numbers);
        double v[4] = {};
        for (std::size_t k = 0; k < item->count; ++k) {
            if (!readNumber(parts[k + 1], v[k]))
                return refuse(n, "\"" + BriefText(parts[k + 1]) + "\" is not a number");
            if (std::fabs(v[k]) > kArenaNumberLimit) {
                const std::string limit = std::to_string(static_cast<long long>(kArenaNumberLimit));
                return refuse(n, "\"" + BriefText(parts[k + 1]) + "\" is out of range: numbers lie within -" + limit
                                     + " and " + limit + " (10 km)");
            }
        }

        const std::string_view word = item->word;
        if (word == "floor") {
            if (floorSize)
                return refuse(n, "a second floor");
            if (v[0] <= 0 || v[1] <= 0)
                return refuse(n, "the floor's width and height must be above 0");
            floorSize = Vec2{v[0], v[1]};
        } else if (word == "box") {
            if (v[0] == v[2] || v[1] == v[3])
                return refuse(n, "a box needs two corners that differ in x and in y");
            boxes.push_back({{std::min(v[0], v[2]), std::min(v[1], v[3])},
                             {std::max(v[0], v[2]), std::max(v[1], v[3])}});
        } else if (word == "cylinder") {
            if (v[2] <= 0)
                return refuse(n, "a cylinder's radius must be above 0");
            cylinders.push_back({{v[0], v[1]}, v[2]});
        } else if (word == "wall") {
            if (v[0] == v[2] && v[1] == v[3])
                return refuse(n, "a wall needs two different ends");
            walls.push_back({{v[0], v[1]}, {v[2], v[3]}});
        } else {
            if (start)
                return refuse(n, "a second start");
            start = Pose{v[0], v[1], normalizedAngle(v[2] * std::numbers::pi / 180.0)};
            startLine = n;
        }
    }
    if (!floorSize)
        return refuse(0, "no floor (a line \"floor WIDTH HEIGHT\")");

    Arena arena(floorSize->x, floorSize->y, std::move(boxes), std::move(cylinders), std::move(walls));
    const std::optional<Pose> clear = clearStartPose(arena, start.value_or(Pose{}));
    if (!clear)
        return refuse(startLine, startLine ? "the robot does not fit at the start"
                                           : "the robot does not fit at the default start 0 0: add a start line");
    content.arena = std::move(arena);
    content.start = *clear;
    return content;
}

ArenaFileContent readArenaFile(const std::string &path)
{
    std::string text;
    const std::string reason = ReadInputFile(path, kArenaFileMaxBytes, text);
    if (!reason.empty()) {
        ArenaFileContent refused;
        refused.error = reason;
        return refused;
    }
    return parseArenaFile(text);
}

ArenaFileContent chooseArena(const std::string &choice)
{
    if (choice != "default" && choice != "open")
        return readArenaFile(choice);
    ArenaFileContent preset;
    preset.arena = choice == "open" ? makeOpenArena() : makeDefaultArena();
    return preset;
}

std::string arenaFileProblem(const std::string &path, const ArenaFileContent &content)
{
    return path + (content.errorLine > 0 ? ", line " + std::to_string(content.errorLine) : std::string()) + ": "
        + content.error;
}

} // namespace ksim
