#include "galdevice.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {
// GAL16V8: the pin each column pair carries, columns 0, 2, .. 30. The even
// pairs are pins 2 to 9; the others are the cells' feedback, which the simple
// mode takes from the neighbouring pin (pins 15 and 16 have none there) and
// the complex mode from the cell's own pin (pins 12 and 19 have none there).
constexpr int32_t Simple16V8Columns[16] = {2, 1, 3, 19, 4, 18, 5, 17, 6, 14, 7, 13, 8, 12, 9, 11};
constexpr int32_t Complex16V8Columns[16] = {2, 1, 3, 18, 4, 17, 5, 16, 6, 15, 7, 14, 8, 13, 9, 11};

GalDevice Make22V10()
{
    GalDevice device;
    device.type = GalType::Gal22V10;
    device.pins = 24;
    device.fuses = 5892;
    device.columns = 44;
    device.rows = 132;
    device.signatureFuse = 5828;
    device.inputPins = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 13};
    constexpr int32_t termsFrom23[10] = {8, 10, 12, 14, 16, 16, 14, 12, 10, 8};
    int32_t row = 1; // after the asynchronous reset row
    for (int32_t k = 0; k < 10; ++k) {
        GalCell cell{23 - k, row, row + 1, termsFrom23[k]};
        row += cell.terms + 1;
        device.cells.push_back(cell);
    }
    std::reverse(device.cells.begin(), device.cells.end()); // pins 14 .. 23
    return device;
}

GalDevice Make16V8(bool complexMode)
{
    GalDevice device;
    device.type = GalType::Gal16V8;
    device.pins = 20;
    device.fuses = 2194;
    device.columns = 32;
    device.rows = 64;
    device.signatureFuse = 2056;
    device.complexMode = complexMode;
    device.inputPins = {2, 3, 4, 5, 6, 7, 8, 9, 1, 11};
    for (int32_t pin = 12; pin <= 19; ++pin) {
        const int32_t base = (19 - pin) * 8;
        if (complexMode)
            device.cells.push_back({pin, base, base + 1, 7});
        else
            device.cells.push_back({pin, -1, base, 8});
    }
    return device;
}
} // namespace

const char* GalName(GalType type)
{
    return type == GalType::Gal16V8 ? "GAL16V8" : "GAL22V10";
}

std::optional<GalType> GalTypeOfName(std::string_view name)
{
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "GAL16V8" || upper == "ATF16V8B")
        return GalType::Gal16V8;
    if (upper == "GAL22V10" || upper == "ATF22V10C")
        return GalType::Gal22V10;
    return std::nullopt;
}

const GalCell* GalDevice::CellOfPin(int32_t pin) const
{
    for (const GalCell& cell : cells)
        if (cell.pin == pin)
            return &cell;
    return nullptr;
}

int32_t GalDevice::ColumnOfPin(int32_t pin) const
{
    if (type == GalType::Gal22V10) {
        if (pin == 1)
            return 0;
        if (pin >= 2 && pin <= 11)
            return 4 * (pin - 1);
        if (pin == 13)
            return 42;
        if (pin >= 14 && pin <= 23)
            return 2 + 4 * (23 - pin);
        return -1;
    }
    const int32_t* columns = complexMode ? Complex16V8Columns : Simple16V8Columns;
    for (int32_t k = 0; k < 16; ++k)
        if (columns[k] == pin)
            return 2 * k;
    return -1;
}

GalDevice MakeGalDevice(GalType type, bool complexMode)
{
    return type == GalType::Gal16V8 ? Make16V8(complexMode) : Make22V10();
}
