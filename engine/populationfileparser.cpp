#include "populationfileparser.h"

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
} // namespace

PopulationFileParser::PopulationFileParser(std::string_view text) : text_(text)
{
    if (text_.substr(0, byteOrderMark.size()) == byteOrderMark)
        pos_ = byteOrderMark.size();
    SkipBlanks();
}

void PopulationFileParser::SkipBlanks()
{
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
        ++pos_;
}

bool PopulationFileParser::AtBlankOrEnd() const
{
    return pos_ >= text_.size() || IsBlank(text_[pos_]);
}

// Reads a run of decimal digits (no sign). False, with the position left at
// the first character after the run, when there is no digit or the value
// exceeds max.
bool PopulationFileParser::ReadUnsigned(uint64_t& value, uint64_t max)
{
    const char* first = text_.data() + pos_;
    const char* last = text_.data() + text_.size();
    if (first == last || !IsDigit(*first))
        return false;
    const auto result = std::from_chars(first, last, value);
    const char* end = result.ptr;
    if (result.ec == std::errc::result_out_of_range)
        while (end != last && IsDigit(*end))
            ++end;
    pos_ += static_cast<std::size_t>(end - first);
    return result.ec == std::errc() && value <= max;
}

PopulationFileParser::Header PopulationFileParser::ReadHeader(int32_t& generation, std::string& error)
{
    SkipBlanks();
    if (text_.substr(pos_, headerWord.size()) != headerWord)
        return Header::End;
    const std::size_t start = pos_;
    pos_ += headerWord.size();
    SkipBlanks();
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) {
        negative = text_[pos_] == '-';
        ++pos_;
    }
    if (pos_ >= text_.size() || !IsDigit(text_[pos_])) {
        pos_ = start;
        return Header::End;
    }
    // Accepts -2^31 .. 2^32 - 1, the range of both readings of the number.
    uint64_t magnitude = 0;
    const uint64_t max = negative ? uint64_t{1} << 31 : std::numeric_limits<uint32_t>::max();
    if (!ReadUnsigned(magnitude, max)) {
        error = "the generation number of the block at character " + std::to_string(start) +
                " is out of range";
        return Header::Malformed;
    }
    const uint32_t bits = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
    generation = static_cast<int32_t>(bits);
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
    const uint64_t remaining = text_.size() - pos_;
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
        if (text_.size() - pos_ < length) {
            error = IndividualName(block, i) + "the file ends inside the bits";
            return false;
        }
        const std::string_view field = text_.substr(pos_, block.length);
        if (field.find_first_of(" \t\r\n\v\f") != std::string_view::npos) {
            error = IndividualName(block, i) + "the line holds fewer than " + std::to_string(length) + " bits";
            return false;
        }
        if (keepBits)
            for (char c : field)
                block.bits.push_back(c == '1' ? 1 : 0);
        pos_ += block.length;
        if (pos_ >= text_.size()) {
            error = IndividualName(block, i) + "the file ends before the fitness";
            return false;
        }
        if (!IsBlank(text_[pos_])) {
            error = IndividualName(block, i) + "the line holds more than " + std::to_string(length) + " bits";
            return false;
        }
        SkipBlanks();

        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        if (first != last && *first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+')
            ++first;
        double value = 0.0;
        const auto result = std::from_chars(first, last, value, std::chars_format::general);
        if (result.ec == std::errc::invalid_argument) {
            error = IndividualName(block, i) + "the fitness is missing or not a number";
            return false;
        }
        pos_ = static_cast<std::size_t>(result.ptr - text_.data());
        if (result.ec == std::errc::result_out_of_range) {
            error = IndividualName(block, i) + "the fitness is out of range";
            return false;
        }
        if (!AtBlankOrEnd()) {
            error = IndividualName(block, i) + "the fitness is not a number";
            return false;
        }
        block.fitness.push_back(value);
        SkipBlanks();
    }
    return true;
}
