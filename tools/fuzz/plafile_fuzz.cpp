// Feeds arbitrary text to the PLA reader and checks what it promises: it
// ends, a refusal comes with a message and no table, an accepted table has
// the size its header gives and only 0, 1 and don't-care cells, and writing
// it out reads back to the very same table. Any broken promise traps.
#include "plafile.h"

#include <cstdint>
#include <string_view>

namespace {
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PlaReadResult result = ReadPla(text);
    Require(result.ok == result.message.empty());
    if (!result.ok) {
        Require(result.table.cells.empty());
        return 0;
    }
    const PlaTable& table = result.table;
    Require(table.numInputs >= 1 && table.numInputs <= 10);
    Require(table.numOutputs >= 1 && table.numOutputs <= 10);
    Require(table.cells.size() == (std::size_t{1} << table.numInputs) * static_cast<std::size_t>(table.numOutputs));
    for (int32_t cell : table.cells)
        Require(cell == 0 || cell == 1 || cell == DontCare);
    Require(table.inputLabels.empty() || table.inputLabels.size() == static_cast<std::size_t>(table.numInputs));
    Require(table.outputLabels.empty() || table.outputLabels.size() == static_cast<std::size_t>(table.numOutputs));

    const PlaReadResult again = ReadPla(FormatPlaTable(table));
    Require(again.ok);
    Require(again.table.numInputs == table.numInputs && again.table.numOutputs == table.numOutputs);
    Require(again.table.cells == table.cells);
    Require(again.table.inputLabels == table.inputLabels && again.table.outputLabels == table.outputLabels);
    return 0;
}
