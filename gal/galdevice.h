#pragma once
// The two GAL devices Orvik writes fuse maps for, as their data sheets lay
// out the fuses. Every fuse is 0 (connected, "intact") or 1 (open), as in a
// JEDEC file.
//
// The AND array is rows x columns fuses, row-major. Each column pair is one
// signal: column c is its true form, c + 1 its complement. A product-term row
// is true when every connected (0) column is 1; a row of all 0 is never true,
// a row of all 1 always true.
//
// GAL22V10 (24 pins, 5892 fuses, 44 columns, 132 rows): row 0 is the
// asynchronous reset, row 131 the synchronous preset; between them the ten
// output cells (OLMCs) from pin 23 down to pin 14, each an output-enable row
// followed by 8, 10, 12, 14, 16, 16, 14, 12, 10, 8 product terms. Fuses 5808
// to 5827 are S0, S1 of each cell in the same order (S0 1: active high; S1
// 1: combinatorial), then 64 signature fuses.
//
// GAL16V8 (20 pins, 2194 fuses, 32 columns, 64 rows): eight cells from pin
// 19 down to pin 12, eight rows each; then XOR (2048, 1: active high), the
// signature (2056), AC1 (2120), a product-term enable per row (2128, 1:
// enabled), SYN (2192) and AC0 (2193). Orvik uses the simple mode (SYN 1,
// AC0 0) for its combinatorial outputs: every cell has all 8 rows as product
// terms (the complex mode gives up one to the output enable) and all ten
// dedicated inputs (pins 1 to 9 and 11) are there, so it holds every PAL the
// complex mode holds, with more terms. The complex mode (SYN 1, AC0 1; AC1 1
// in each used cell, its first row the output enable) is taken only when a
// design needs an input on pin 15 or 16 or an output enable term.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum class GalType { Gal16V8, Gal22V10 };

// "GAL16V8", "GAL22V10".
const char* GalName(GalType type);
// The device a name means: "GAL22V10" or "ATF22V10C", "GAL16V8" or
// "ATF16V8B", in any case; nothing for any other name.
std::optional<GalType> GalTypeOfName(std::string_view name);

// One output logic macrocell and its rows.
struct GalCell {
    int32_t pin = 0;
    int32_t enableRow = -1; // the output-enable row, -1 when the mode has none
    int32_t firstTermRow = 0;
    int32_t terms = 0;      // product terms of the OR
};

struct GalDevice {
    GalType type = GalType::Gal22V10;
    int32_t pins = 0;
    int32_t fuses = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t signatureFuse = 0; // first of 64
    bool complexMode = false;  // GAL16V8 only
    // The dedicated input pins in the order an export fills them.
    std::vector<int32_t> inputPins;
    // The cells in the order an export fills them when the terms allow.
    std::vector<GalCell> cells;

    // The cell on `pin`, or nullptr.
    const GalCell* CellOfPin(int32_t pin) const;
    // The true-form column of the signal on `pin` (an input, or an output's
    // feedback), or -1 when the array does not see that pin in this mode.
    int32_t ColumnOfPin(int32_t pin) const;
    // Fuse number of the first fuse of `row`.
    int32_t RowFuse(int32_t row) const { return row * columns; }
    int32_t GroundPin() const { return pins / 2; }
    int32_t PowerPin() const { return pins; }
};

// The device in the mode Orvik programs it in (GAL16V8: simple, or complex
// when asked).
GalDevice MakeGalDevice(GalType type, bool complexMode = false);

// GAL16V8 mode fuses.
namespace Gal16V8Fuse {
inline constexpr int32_t Xor = 2048;     // + (19 - pin)
inline constexpr int32_t Ac1 = 2120;     // + (19 - pin)
inline constexpr int32_t TermEnable = 2128; // + row
inline constexpr int32_t Syn = 2192;
inline constexpr int32_t Ac0 = 2193;
} // namespace Gal16V8Fuse

// GAL22V10: S0 of the cell on `pin` (S1 is the next fuse).
inline constexpr int32_t Gal22V10S0Fuse(int32_t pin) { return 5808 + 2 * (23 - pin); }
