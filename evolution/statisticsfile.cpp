#include "statisticsfile.h"

#include <charconv>

const char* const StatisticsFile::Header = "run,seed,generation,max,average,min\n";

namespace {
void AppendInteger(std::string& out, int64_t v)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, result.ptr);
}
} // namespace

void StatisticsFile::AppendNumber(std::string& out, double v)
{
    // The shortest round-trip form never needs more than 24 characters.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, result.ptr);
}

std::string StatisticsFile::Number(double v)
{
    std::string text;
    AppendNumber(text, v);
    return text;
}

void StatisticsFile::AppendRow(
    std::string& out, uint32_t run, std::optional<uint32_t> seed, const GAFitInfo& info)
{
    AppendInteger(out, run);
    out += ',';
    if (seed)
        AppendInteger(out, *seed);
    out += ',';
    AppendInteger(out, info.generation);
    out += ',';
    AppendNumber(out, info.max);
    out += ',';
    AppendNumber(out, info.average);
    out += ',';
    AppendNumber(out, info.min);
    out += '\n';
}

std::string StatisticsFile::ForHistory(const std::vector<GAFitInfo>& history)
{
    std::string text = Header;
    for (const GAFitInfo& info : history)
        AppendRow(text, 0, std::nullopt, info);
    return text;
}
