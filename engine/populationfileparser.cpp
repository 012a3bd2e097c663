#include "populationfileparser.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string BlockName(int32_t generation)
{
    return "block \"Generation " + std::to_string(generation) + "\"";
}

std::string IndividualName(const PopulationBlock& block, uint32_t i)
{
    return BlockName(block.generation) + ", individual " + std::to_string(i) + ": ";
}

constexpr std::string_view headerWord = "Generation";
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
// How much text is looked at at once while skipping blanks or digits, and
// while going through a bit field.
constexpr std::size_t scanBytes = 4096;
// The longest number read; printf's "%lf" writes at most 317 characters.
constexpr std::size_t maxNumberChars = 4096;
} // namespace

PopulationFileParser::PopulationFileParser(PopulationInput& input) : input_(input)
{
    if (input_.Position() == 0 && input_.Look(byteOrderMark.size()) == byteOrderMark)
        input_.Skip(byteOrderMark.size());
    SkipBlanks();
}

void PopulationFileParser::SkipBlanks()
{
    for (;;) {
        const std::string_view window = input_.Look(scanBytes);
        std::size_t k = 0;
        while (k < window.size() && IsBlank(window[k]))
            ++k;
        input_.Skip(k);
        if (k < window.size() || window.empty())
            return;
    }
}

bool PopulationFileParser::AtBlankOrEnd()
{
    const std::string_view next = input_.Look(1);
    return next.empty() || IsBlank(next[0]);
}

// Reads a run of decimal digits (no sign). False, with the position left at
// the first character after the run, when there is no digit or the value
// exceeds max.
bool PopulationFileParser::ReadUnsigned(uint64_t& value, uint64_t max)
{
    const std::string_view first = input_.Look(1);
    if (first.empty() || !IsDigit(first[0]))
        return false;
    value = 0;
    bool fits = true;
    for (;;) {
        const std::string_view window = input_.Look(scanBytes);
        std::size_t k = 0;
        for (; k < window.size() && IsDigit(window[k]); ++k) {
            const auto digit = static_cast<uint64_t>(window[k] - '0');
            if (value > (max - digit) / 10)
                fits = false;
            else if (fits)
                value = value * 10 + digit;
        }
        input_.Skip(k);
        if (k < window.size() || window.empty())
            return fits;
    }
}

PopulationFileParser::Header PopulationFileParser::ReadHeader(PopulationBlock& block, std::string& error)
{
    SkipBlanks();
    const uint64_t start = input_.Position();
    if (input_.Look(headerWord.size()) != headerWord)
        return Header::End;
    input_.Skip(headerWord.size());
    SkipBlanks();
    bool negative = false;
    std::string_view next = input_.Look(1);
    if (!next.empty() && (next[0] == '-' || next[0] == '+')) {
        negative = next[0] == '-';
        input_.Skip(1);
        next = input_.Look(1);
    }
    if (next.empty() || !IsDigit(next[0]))
        return Header::End;
    // Accepts -2^31 .. 2^32 - 1, the range of both readings of the number.
    uint64_t magnitude = 0;
    const uint64_t max = negative ? uint64_t{1} << 31 : std::numeric_limits<uint32_t>::max();
    if (!ReadUnsigned(magnitude, max)) {
        error = "the generation number of the block at character " + std::to_string(start) +
                " is out of range";
        return Header::Malformed;
    }
    const uint32_t bits = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
    block.generation = static_cast<int32_t>(bits);
    block.offset = start;
    return Header::Read;
}

bool PopulationFileParser::ReadBody(PopulationBlock& block, bool keepBits, std::string& error)
{
    const uint64_t maxSize = std::numeric_limits<uint32_t>::max();
    uint64_t size = 0;
    uint64_t length = 0;
    SkipBlanks();
    bool sizesRead = ReadUnsigned(size, maxSize);
    if (sizesRead) {
        SkipBlanks();
        sizesRead = ReadUnsigned(length, maxSize);
    }
    if (!sizesRead || !AtBlankOrEnd()) {
        error = BlockName(block.generation) + ": the line after the header must hold the population size and the chromosome length";
        return false;
    }
    if (size == 0 || length == 0) {
        error = BlockName(block.generation) + ": population size and chromosome length must be at least 1";
        return false;
    }
    SkipBlanks();
    // Each individual takes its L bits and at least one fitness character.
    // size * (length + 1) < 2^64 for 32-bit sizes, so this cannot overflow.
    const uint64_t remaining = input_.Remaining();
    if (size * (length + 1) > remaining) {
        error = BlockName(block.generation) + ": " + std::to_string(size) + " individuals of " +
                std::to_string(length) + " bits cannot fit in the " + std::to_string(remaining) +
                " characters left in the file";
        return false;
    }
    block.size = static_cast<uint32_t>(size);
    block.length = static_cast<uint32_t>(length);
    block.fitness.clear();
    block.fitness.reserve(block.size);
    block.bits.clear();
    if (keepBits)
        block.bits.reserve(static_cast<std::size_t>(size * length));

    for (uint32_t i = 0; i < block.size; ++i) {
        if (!ReadBits(block, i, keepBits, error) || !ReadFitness(block, i, error))
            return false;
        SkipBlanks();
    }
    return true;
}

bool PopulationFileParser::ReadBits(PopulationBlock& block, uint32_t i, bool keepBits, std::string& error)
{
    if (input_.Remaining() < block.length) {
        error = IndividualName(block, i) + "the file ends inside the bits";
        return false;
    }
    for (uint64_t left = block.length; left > 0;) {
        const std::string_view field = input_.Look(static_cast<std::size_t>(std::min<uint64_t>(left, scanBytes)));
        if (field.empty()) {
            error = IndividualName(block, i) + "the file ends inside the bits";
            return false;
        }
        for (char c : field) {
            if (IsBlank(c)) {
                error = IndividualName(block, i) + "the line holds fewer than " + std::to_string(block.length) + " bits";
                return false;
            }
        }
        if (keepBits)
            for (char c : field)
                block.bits.push_back(c == '1' ? 1 : 0);
        input_.Skip(field.size());
        left -= field.size();
    }
    if (input_.Remaining() == 0) {
        error = IndividualName(block, i) + "the file ends before the fitness";
        return false;
    }
    if (!AtBlankOrEnd()) {
        error = IndividualName(block, i) + "the line holds more than " + std::to_string(block.length) + " bits";
        return false;
    }
    SkipBlanks();
    return true;
}

bool PopulationFileParser::ReadFitness(PopulationBlock& block, uint32_t i, std::string& error)
{
    const std::string_view text = input_.Look(maxNumberChars);
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+')
        ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) {
        error = IndividualName(block, i) + "the fitness is missing or not a number";
        return false;
    }
    input_.Skip(static_cast<std::size_t>(result.ptr - text.data()));
    if (result.ec == std::errc::result_out_of_range) {
        error = IndividualName(block, i) + "the fitness is out of range";
        return false;
    }
    if (!AtBlankOrEnd()) {
        error = IndividualName(block, i) + "the fitness is not a number";
        return false;
    }
    block.fitness.push_back(value);
    return true;
}
