#pragma once
// A JEDEC fuse-file reader and a simulator of the GAL16V8 and GAL22V10's
// combinatorial cells, for judging the exporter: written from the devices'
// published fuse maps, sharing nothing with the writer's tables.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct JedecContents {
    std::string comment;
    std::vector<uint8_t> fuses;
    uint16_t fuseChecksum = 0;         // as written after *C
    uint16_t transmissionChecksum = 0; // as written after ETX
    bool fuseChecksumRight = false;
    bool transmissionChecksumRight = false;
};

inline JedecContents ReadJedecText(std::string_view text)
{
    const std::size_t stx = text.find('\x02');
    const std::size_t etx = text.find('\x03');
    if (stx == std::string_view::npos || etx == std::string_view::npos || etx < stx)
        throw std::runtime_error("no STX ... ETX frame");
    JedecContents read;
    unsigned sum = 0;
    for (std::size_t k = stx; k <= etx; ++k)
        sum += static_cast<unsigned char>(text[k]);
    read.transmissionChecksum = static_cast<uint16_t>(std::stoul(std::string(text.substr(etx + 1, 4)), nullptr, 16));
    read.transmissionChecksumRight = read.transmissionChecksum == (sum & 0xFFFFu);

    const std::string_view body = text.substr(stx + 1, etx - stx - 1);
    std::size_t star = body.find('*');
    read.comment = std::string(body.substr(0, star));
    int defaultFuse = -1;
    bool sawChecksum = false;
    while (star != std::string_view::npos) {
        const std::size_t next = body.find('*', star + 1);
        std::string field(body.substr(star + 1, next == std::string_view::npos ? body.npos : next - star - 1));
        star = next;
        const std::size_t start = field.find_first_not_of(" \r\n\t");
        if (start == std::string::npos)
            continue;
        field = field.substr(start);
        if (field.rfind("QF", 0) == 0)
            read.fuses.assign(std::stoul(field.substr(2)), 2); // 2: not given yet
        else if (field[0] == 'F')
            defaultFuse = field[1] - '0';
        else if (field[0] == 'C') {
            read.fuseChecksum = static_cast<uint16_t>(std::stoul(field.substr(1, 4), nullptr, 16));
            sawChecksum = true;
        } else if (field[0] == 'L') {
            std::size_t digits = 0;
            std::size_t address = std::stoul(field.substr(1), &digits);
            for (char c : field.substr(1 + digits)) {
                if (c == '0' || c == '1')
                    read.fuses.at(address++) = static_cast<uint8_t>(c - '0');
                else if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
                    throw std::runtime_error("bad character in an L field");
            }
        }
    }
    for (uint8_t& fuse : read.fuses) {
        if (fuse == 2 && defaultFuse < 0)
            throw std::runtime_error("a fuse is neither listed nor defaulted");
        if (fuse == 2)
            fuse = static_cast<uint8_t>(defaultFuse);
    }
    unsigned fuseSum = 0;
    for (std::size_t k = 0; k < read.fuses.size(); ++k)
        fuseSum += static_cast<unsigned>(read.fuses[k]) << (k % 8);
    read.fuseChecksumRight = sawChecksum && read.fuseChecksum == (fuseSum & 0xFFFFu);
    return read;
}

// Pin levels by pin number (index 0 unused): 0 or 1, Floating where nothing drives the pin.
inline constexpr int Floating = -1;
using PinLevels = std::array<int, 25>;

// Simulates the combinatorial cells of a GAL16V8 (simple or complex mode)
// or GAL22V10. `pins` gives the levels of the pins the device does not
// drive; the result adds the levels of the pins it drives, feeding the pins
// back into the array until nothing changes. Registered cells never drive.
class GalSimulator {
public:
    GalSimulator(std::string device, std::vector<uint8_t> fuses) : fuses_(std::move(fuses))
    {
        if (device == "GAL22V10") {
            // Column pairs, left to right: pin 1, then each input pin beside
            // the feedback of one cell, pin 13 last.
            columnPins_ = {1, 23, 2, 22, 3, 21, 4, 20, 5, 19, 6, 18, 7, 17, 8, 16, 9, 15, 10, 14, 11, 13};
            const int termsPerCell[10] = {8, 10, 12, 14, 16, 16, 14, 12, 10, 8}; // pins 23 .. 14
            int row = 1; // row 0: asynchronous reset
            for (int k = 0; k < 10; ++k) {
                const bool combinatorial = fuses_.at(5809 + 2 * k) == 1;
                const bool activeHigh = fuses_.at(5808 + 2 * k) == 1;
                cells_.push_back({23 - k, row, row + 1, termsPerCell[k], combinatorial, activeHigh});
                row += termsPerCell[k] + 1;
            }
            if (fuses_.size() != 5892 || row != 131)
                throw std::runtime_error("not a GAL22V10 fuse map");
        } else if (device == "GAL16V8") {
            if (fuses_.size() != 2194 || fuses_[2192] != 1)
                throw std::runtime_error("not a GAL16V8 fuse map in a combinatorial mode");
            const bool complex = fuses_[2193] == 1;
            columnPins_ = complex ? std::vector<int>{2, 1, 3, 18, 4, 17, 5, 16, 6, 15, 7, 14, 8, 13, 9, 11}
                                  : std::vector<int>{2, 1, 3, 19, 4, 18, 5, 17, 6, 14, 7, 13, 8, 12, 9, 11};
            for (int k = 0; k < 8; ++k) { // pins 19 .. 12, eight rows each
                const bool output = fuses_[2120 + k] == (complex ? 1 : 0);
                const bool activeHigh = fuses_[2048 + k] == 1;
                if (complex)
                    cells_.push_back({19 - k, 8 * k, 8 * k + 1, 7, output, activeHigh});
                else
                    cells_.push_back({19 - k, -1, 8 * k, 8, output, activeHigh});
            }
            termEnables_ = 2128;
        } else {
            throw std::runtime_error("unknown device " + device);
        }
        columns_ = static_cast<int>(columnPins_.size()) * 2;
    }

    PinLevels Run(PinLevels pins) const
    {
        for (int round = 0; round < 8; ++round) {
            PinLevels next = pins;
            for (const Cell& cell : cells_) {
                if (!cell.combinatorial || (cell.enableRow >= 0 && !RowTrue(cell.enableRow, pins)))
                    continue;
                bool sum = false;
                for (int t = 0; t < cell.terms; ++t)
                    sum = sum || RowTrue(cell.firstRow + t, pins);
                next[static_cast<std::size_t>(cell.pin)] = sum == cell.activeHigh ? 1 : 0;
            }
            if (next == pins)
                return pins;
            pins = next;
        }
        throw std::runtime_error("the outputs do not settle");
    }

private:
    struct Cell {
        int pin, enableRow, firstRow, terms;
        bool combinatorial, activeHigh;
    };

    bool RowTrue(int row, const PinLevels& pins) const
    {
        if (termEnables_ >= 0 && fuses_[static_cast<std::size_t>(termEnables_ + row)] == 0)
            return false;
        for (int c = 0; c < columns_; ++c) {
            if (fuses_[static_cast<std::size_t>(row * columns_ + c)] != 0)
                continue;
            const int level = pins[static_cast<std::size_t>(columnPins_[static_cast<std::size_t>(c / 2)])];
            if (level == Floating || level != (c % 2 == 0 ? 1 : 0))
                return false;
        }
        return true;
    }

    std::vector<uint8_t> fuses_;
    std::vector<int> columnPins_;
    std::vector<Cell> cells_;
    int columns_ = 0;
    int termEnables_ = -1;
};
