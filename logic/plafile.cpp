#include "plafile.h"

#include "brieftext.h"
#include "cube.h"
#include "inputfilecheck.h"
#include "palconfig.h"

#include <cerrno>
#include <cstring>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Control characters other than white space have no place in a PLA file.
bool IsForbidden(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && !IsBlank(c)) || u == 0x7f;
}

std::string Format(const char* format, auto... values)
{
    const int size = std::snprintf(nullptr, 0, format, values...);
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

std::string LinePrefix(int line) { return Format("Line %d: ", line); }

std::vector<std::string_view> SplitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// The line without its comment.
std::string_view Content(std::string_view line)
{
    const std::size_t hash = line.find('#');
    return hash == std::string_view::npos ? line : line.substr(0, hash);
}

bool HasContent(std::string_view line)
{
    for (char c : Content(line))
        if (!IsBlank(c))
            return true;
    return false;
}

// A decimal count; values past the int range are clamped (they are refused
// as too large anyway).
bool ParseCount(std::string_view word, int64_t& value)
{
    if (word.empty())
        return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 40);
    }
    return true;
}

std::string RowText(uint32_t row, int32_t numInputs)
{
    return CubeText(Cube{static_cast<uint16_t>((1u << numInputs) - 1), static_cast<uint16_t>(row)}, numInputs);
}

class PlaReader {
public:
    explicit PlaReader(std::string_view text) : text_(text) {}

    PlaReadResult Read()
    {
        std::vector<std::string_view> lines;
        std::size_t start = 0;
        while (start <= text_.size()) {
            std::size_t end = text_.find('\n', start);
            if (end == std::string_view::npos)
                end = text_.size();
            lines.push_back(text_.substr(start, end - start));
            start = end + 1;
        }
        for (std::size_t k = 0; k < lines.size() && !ended_; ++k) {
            line_ = static_cast<int>(k) + 1;
            if (!ReadLine(lines, k))
                return Failure();
        }
        if (numInputs_ < 0)
            return Fail("The file does not give its number of inputs (.i)."), Failure();
        if (numOutputs_ < 0)
            return Fail("The file does not give its number of outputs (.o)."), Failure();
        if (sets_.empty())
            Allocate();
        return Success();
    }

private:
    enum : uint8_t { OnSet = 1, OffSet = 2, DcSet = 4 };

    bool Fail(std::string message)
    {
        message_ = std::move(message);
        return false;
    }
    bool FailHere(const std::string& message) { return Fail(LinePrefix(line_) + message); }

    PlaReadResult Failure() const
    {
        PlaReadResult result;
        result.message = message_;
        return result;
    }

    PlaReadResult Success()
    {
        PlaReadResult result;
        result.ok = true;
        PlaTable& table = result.table;
        table.numInputs = numInputs_;
        table.numOutputs = numOutputs_;
        table.inputLabels = std::move(inputLabels_);
        table.outputLabels = std::move(outputLabels_);
        const bool unmentionedIsFree = hasOffSet_;
        table.cells.resize(sets_.size());
        for (std::size_t k = 0; k < sets_.size(); ++k) {
            const uint8_t s = sets_[k];
            if (s & DcSet)
                table.cells[k] = DontCare;
            else if (s & OnSet)
                table.cells[k] = 1;
            else if (s & OffSet)
                table.cells[k] = 0;
            else
                table.cells[k] = unmentionedIsFree ? DontCare : 0;
        }
        return result;
    }

    void Allocate() { sets_.assign((std::size_t{1} << numInputs_) * static_cast<std::size_t>(numOutputs_), 0); }

    bool ReadLine(const std::vector<std::string_view>& lines, std::size_t k)
    {
        const std::string_view line = lines[k];
        for (char c : line)
            if (IsForbidden(c))
                return FailHere(Format("character 0x%02X is not allowed in a PLA file.", static_cast<unsigned>(static_cast<unsigned char>(c))));
        const std::string_view content = Content(line);
        const std::vector<std::string_view> words = SplitWords(content);
        if (words.empty())
            return true;
        if (words[0][0] == '.')
            return ReadKeyword(words);
        return ReadCube(content, lines, k);
    }

    bool ReadKeyword(const std::vector<std::string_view>& words)
    {
        const std::string_view keyword = words[0];
        if (keyword == ".e" || keyword == ".end") {
            ended_ = true;
            return true;
        }
        if (keyword == ".i")
            return ReadSize(words, numInputs_, "inputs", PalConfig::MaxInputs);
        if (keyword == ".o")
            return ReadSize(words, numOutputs_, "outputs", PalConfig::MaxOutputs);
        if (keyword == ".p") {
            int64_t ignored = 0;
            if (words.size() != 2 || !ParseCount(words[1], ignored))
                return FailHere(".p needs one number.");
            return true;
        }
        if (keyword == ".ilb")
            return ReadLabels(words, numInputs_, ".i", "inputs", inputLabels_);
        if (keyword == ".ob")
            return ReadLabels(words, numOutputs_, ".o", "outputs", outputLabels_);
        if (keyword == ".type")
            return ReadType(words);
        return FailHere(BriefText(keyword) + " is not supported: only binary PLA files with .i, .o, .p, .ilb, .ob, "
                                               ".type and .e can be imported.");
    }

    bool ReadSize(const std::vector<std::string_view>& words, int32_t& size, const char* what, int32_t maximum)
    {
        const std::string keyword(words[0]);
        int64_t value = 0;
        if (words.size() != 2 || !ParseCount(words[1], value))
            return FailHere(keyword + " needs one number.");
        if (!sets_.empty())
            return FailHere(keyword + " comes after the first cube.");
        if (size >= 0 && size != value)
            return FailHere(keyword + " is given twice with different numbers.");
        if (value < 1)
            return FailHere(Format("the file has 0 %s; the PAL needs at least 1.", what));
        if (value > maximum)
            return FailHere(Format("the file has %lld %s; the PAL has at most %d.", static_cast<long long>(value), what, maximum));
        size = static_cast<int32_t>(value);
        return true;
    }

    bool ReadLabels(const std::vector<std::string_view>& words, int32_t count, const char* sizeKeyword,
                    const char* what, std::vector<std::string>& labels)
    {
        const std::string keyword(words[0]);
        if (count < 0)
            return FailHere(Format("%s comes before %s.", keyword.c_str(), sizeKeyword));
        const auto named = static_cast<int32_t>(words.size()) - 1;
        if (named != count)
            return FailHere(Format("%s names %d %s; %s says %d.", keyword.c_str(), named, what, sizeKeyword, count));
        labels.assign(words.begin() + 1, words.end());
        return true;
    }

    bool ReadType(const std::vector<std::string_view>& words)
    {
        if (words.size() != 2)
            return FailHere(".type needs one of f, fd, fr, fdr.");
        if (!sets_.empty())
            return FailHere(".type comes after the first cube.");
        const std::string_view type = words[1];
        if (type != "f" && type != "fd" && type != "fr" && type != "fdr")
            return FailHere(".type " + BriefText(type) + " is not one of f, fd, fr, fdr.");
        hasDcSet_ = type.find('d') != std::string_view::npos;
        hasOffSet_ = type.find('r') != std::string_view::npos;
        return true;
    }

    bool ReadCube(std::string_view content, const std::vector<std::string_view>& lines, std::size_t k)
    {
        if (numInputs_ < 0 || numOutputs_ < 0)
            return FailHere("a cube comes before .i and .o.");
        if (sets_.empty())
            Allocate();

        const int32_t width = numInputs_ + numOutputs_;
        std::string values;
        for (char c : content) {
            if (IsBlank(c))
                continue;
            const bool input = static_cast<int32_t>(values.size()) < numInputs_;
            const bool valid = c == '0' || c == '1' || c == '-' || (!input && c == '~');
            if (!valid) {
                if (static_cast<int32_t>(values.size()) >= width)
                    return WrongWidth(content);
                return FailHere(Format("'%c' is not %s (0, 1%s).", c, input ? "an input value" : "an output value",
                                       input ? " or -" : ", - or ~"));
            }
            values.push_back(c);
        }
        if (static_cast<int32_t>(values.size()) < width) {
            bool more = false;
            for (std::size_t j = k + 1; j < lines.size() && !more; ++j)
                more = HasContent(lines[j]);
            if (!more)
                return Fail(Format("The file ends inside a cube (line %d).", line_));
        }
        if (static_cast<int32_t>(values.size()) != width)
            return WrongWidth(content);
        return ApplyCube(values);
    }

    bool WrongWidth(std::string_view content)
    {
        int count = 0;
        for (char c : content)
            count += IsBlank(c) ? 0 : 1;
        return FailHere(Format("the cube has %d values; .i %d and .o %d need %d.", count, numInputs_, numOutputs_,
                               numInputs_ + numOutputs_));
    }

    bool ApplyCube(const std::string& values)
    {
        Cube cube;
        for (int32_t i = 0; i < numInputs_; ++i) {
            const char c = values[static_cast<std::size_t>(i)];
            if (c == '-')
                continue;
            const uint32_t bit = InputBit(numInputs_, i);
            cube.care = static_cast<uint16_t>(cube.care | bit);
            if (c == '1')
                cube.value = static_cast<uint16_t>(cube.value | bit);
        }
        uint8_t marks[PalConfig::MaxOutputs] = {};
        bool any = false;
        for (int32_t o = 0; o < numOutputs_; ++o) {
            const char c = values[static_cast<std::size_t>(numInputs_ + o)];
            if (c == '1')
                marks[o] = OnSet;
            else if (c == '0' && hasOffSet_)
                marks[o] = OffSet;
            else if (c == '-' && hasDcSet_)
                marks[o] = DcSet;
            any = any || marks[o] != 0;
        }
        if (!any)
            return true;

        // Every row of the cube: its value bits plus each subset of its free bits.
        const uint32_t free = ((1u << numInputs_) - 1) & ~uint32_t{cube.care};
        uint32_t sub = 0;
        do {
            const uint32_t row = cube.value | sub;
            for (int32_t o = 0; o < numOutputs_; ++o) {
                uint8_t& cell = sets_[row * static_cast<uint32_t>(numOutputs_) + static_cast<uint32_t>(o)];
                cell = static_cast<uint8_t>(cell | marks[o]);
                if ((cell & OnSet) && (cell & OffSet))
                    return FailHere(Format("row %u (inputs %s), output %d is both in the on-set and the off-set.",
                                           row, RowText(row, numInputs_).c_str(), o));
            }
            sub = (sub - free) & free;
        } while (sub != 0);
        return true;
    }

    std::string_view text_;
    int line_ = 0;
    bool ended_ = false;
    int32_t numInputs_ = -1;
    int32_t numOutputs_ = -1;
    bool hasDcSet_ = true; // type fd unless the file says otherwise
    bool hasOffSet_ = false;
    std::vector<std::string> inputLabels_;
    std::vector<std::string> outputLabels_;
    std::vector<uint8_t> sets_; // OnSet | OffSet | DcSet per cell, row-major
    std::string message_;
};

} // namespace

PlaReadResult ReadPla(std::string_view text) { return PlaReader(text).Read(); }

PlaReadResult ReadPlaFile(const std::string& path)
{
    const std::string refusal = CheckInputFile(path, PlaFileMaxBytes);
    std::ifstream file;
    if (refusal.empty())
        file.open(path, std::ios::binary);
    if (!refusal.empty() || !file) {
        PlaReadResult result;
        result.message = "The file " + path + " cannot be read: "
            + (refusal.empty() ? std::string(std::strerror(errno)) : refusal) + ".";
        return result;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return ReadPla(text);
}

std::string FormatPlaHeader(int32_t numInputs, int32_t numOutputs, const std::vector<std::string>& inputLabels,
                            const std::vector<std::string>& outputLabels, std::string_view type, std::size_t cubes)
{
    std::ostringstream out;
    out << ".i " << numInputs << "\n.o " << numOutputs << '\n';
    auto names = [&out](const char* keyword, const std::vector<std::string>& labels) {
        if (labels.empty())
            return;
        out << keyword;
        for (const std::string& label : labels)
            out << ' ' << label;
        out << '\n';
    };
    names(".ilb", inputLabels);
    names(".ob", outputLabels);
    out << ".type " << type << "\n.p " << cubes << '\n';
    return out.str();
}

std::string FormatPlaTable(const PlaTable& table)
{
    const auto rows = uint32_t{1} << table.numInputs;
    const auto m = static_cast<std::size_t>(table.numOutputs);
    std::string body;
    int cubes = 0;
    for (uint32_t row = 0; row < rows; ++row) {
        std::string outputs(m, '0');
        bool any = false;
        for (std::size_t o = 0; o < m; ++o) {
            const int32_t cell = table.cells[row * m + o];
            if (cell == 1 || cell == DontCare) {
                outputs[o] = cell == 1 ? '1' : '-';
                any = true;
            }
        }
        if (!any)
            continue;
        body += RowText(row, table.numInputs) + ' ' + outputs + '\n';
        ++cubes;
    }

    return FormatPlaHeader(table.numInputs, table.numOutputs, table.inputLabels, table.outputLabels, "fd",
                           static_cast<std::size_t>(cubes)) +
           body + ".e\n";
}
