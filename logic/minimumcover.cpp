#include "minimumcover.h"

#include "primeimplicants.h"

#include <algorithm>

OutputCover MinimumOutputCover(const std::vector<int32_t>& column, int32_t numInputs, const CoverLimits& limits)
{
    const std::vector<Cube> primes = PrimeImplicants(column, numInputs);
    // Rows of the covering problem: the on-set.
    std::vector<int32_t> rowOfCell(column.size(), -1);
    int32_t onCount = 0;
    for (std::size_t r = 0; r < column.size(); ++r)
        if (column[r] == 1)
            rowOfCell[r] = onCount++;

    std::vector<std::vector<int32_t>> columnRows(primes.size());
    for (std::size_t p = 0; p < primes.size(); ++p) {
        const Cube& cube = primes[p];
        const uint32_t free = static_cast<uint32_t>(column.size() - 1) & ~uint32_t{cube.care};
        uint32_t sub = 0;
        do {
            const int32_t row = rowOfCell[cube.value | sub];
            if (row >= 0)
                columnRows[p].push_back(row);
            sub = (sub - free) & free;
        } while (sub != 0);
    }

    const CoverResult cover = MinimumCover(onCount, columnRows, limits);
    OutputCover result;
    for (int32_t p : cover.columns)
        result.terms.push_back(primes[static_cast<std::size_t>(p)]);
    result.lowerBound = cover.lowerBound;
    result.nodes = cover.nodes;
    return result;
}

TableCover MinimumTableCover(const TruthTable& cells, int32_t numInputs, int32_t numOutputs, const CoverLimits& limits)
{
    TableCover table;
    const std::size_t rows = std::size_t{1} << numInputs;
    std::vector<int32_t> column(rows);
    for (int32_t o = 0; o < numOutputs; ++o) {
        for (std::size_t r = 0; r < rows; ++r)
            column[r] = cells[r * static_cast<std::size_t>(numOutputs) + static_cast<std::size_t>(o)];
        table.outputs.push_back(MinimumOutputCover(column, numInputs, limits));
        if (limits.Cancelled()) {
            table.cancelled = true;
            break;
        }
    }
    return table;
}

int32_t TableCover::Terms() const
{
    int32_t terms = 0;
    for (const OutputCover& output : outputs)
        terms = std::max(terms, output.Terms());
    return terms;
}

int32_t TableCover::LowerBound() const
{
    int32_t bound = 0;
    for (const OutputCover& output : outputs)
        bound = std::max(bound, output.lowerBound);
    return bound;
}

namespace {
std::string Count(int32_t low, int32_t high)
{
    if (low == high)
        return std::to_string(low);
    return "between " + std::to_string(low) + " and " + std::to_string(high);
}
} // namespace

std::string DescribeTableCover(const TableCover& cover)
{
    const int32_t low = cover.LowerBound();
    const int32_t high = cover.Terms();
    std::string text = low == high ? "Needs at least " + std::to_string(low) : "Needs " + Count(low, high);
    text += high == 1 ? " AND term:" : " AND terms:";
    for (std::size_t o = 0; o < cover.outputs.size(); ++o) {
        const OutputCover& output = cover.outputs[o];
        text += (o == 0 ? " output " : ", output ") + std::to_string(o) + " needs " +
                Count(output.lowerBound, output.Terms());
    }
    return text + ".";
}
