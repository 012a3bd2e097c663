#include "truthtable.h"

#include <stdexcept>

std::size_t TruthTableCellCount(const PalConfig& config)
{
    return static_cast<std::size_t>(config.NumCombinations()) * static_cast<std::size_t>(config.NumOutputs);
}

TruthTable MakeTruthTable(const PalConfig& config)
{
    return TruthTable(TruthTableCellCount(config), 0);
}

void CheckTruthTableSize(const PalConfig& config, const TruthTable& table)
{
    if (table.size() != TruthTableCellCount(config))
        throw std::invalid_argument("TruthTable: size does not match the PAL configuration");
}
