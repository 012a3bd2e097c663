#include "galfit.h"

#include "minimumcover.h"

#include <algorithm>
#include <numeric>

namespace {
std::string NumberList(const std::vector<int32_t>& numbers)
{
    std::string text;
    for (std::size_t k = 0; k < numbers.size(); ++k)
        text += (k ? ", " : "") + std::to_string(numbers[k]);
    return text;
}

int32_t TermsOf(const SumOfProducts& circuit, int32_t o)
{
    return static_cast<int32_t>(circuit.terms[static_cast<std::size_t>(o)].size());
}

// The cell index of each output, or an empty vector when none fits; `why`
// then says which output fails.
std::vector<std::size_t> AssignCells(const GalDevice& device, const SumOfProducts& circuit, std::string& why)
{
    const int32_t m = circuit.NumOutputs();
    std::vector<std::size_t> natural(static_cast<std::size_t>(m));
    std::iota(natural.begin(), natural.end(), std::size_t{0});
    bool fits = true;
    for (int32_t o = 0; o < m; ++o)
        fits = fits && TermsOf(circuit, o) <= device.cells[static_cast<std::size_t>(o)].terms;
    if (fits)
        return natural;

    std::vector<int32_t> byNeed(static_cast<std::size_t>(m));
    std::iota(byNeed.begin(), byNeed.end(), 0);
    std::stable_sort(byNeed.begin(), byNeed.end(),
                     [&](int32_t a, int32_t b) { return TermsOf(circuit, a) > TermsOf(circuit, b); });
    std::vector<std::size_t> bySize(device.cells.size());
    std::iota(bySize.begin(), bySize.end(), std::size_t{0});
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](std::size_t a, std::size_t b) { return device.cells[a].terms > device.cells[b].terms; });
    std::vector<std::size_t> cells(static_cast<std::size_t>(m));
    for (std::size_t k = 0; k < byNeed.size(); ++k) {
        const int32_t o = byNeed[k];
        const int32_t need = TermsOf(circuit, o);
        if (need > device.cells[bySize[k]].terms) {
            std::vector<int32_t> sizes;
            int32_t enough = 0;
            for (const GalCell& cell : device.cells) {
                sizes.push_back(cell.terms);
                enough += cell.terms >= need ? 1 : 0;
            }
            const int32_t most = *std::max_element(sizes.begin(), sizes.end());
            const int32_t least = *std::min_element(sizes.begin(), sizes.end());
            why = "Output " + std::to_string(o) + " needs " + std::to_string(need) + " AND terms; the " +
                  GalName(device.type) + " allows ";
            if (most == least)
                why += std::to_string(most) + " per output.";
            else if (need > most)
                why += "at most " + std::to_string(most) + " per output (its cells hold " + NumberList(sizes) + ").";
            else
                why += std::to_string(need) + " or more on only " + std::to_string(enough) + " of its cells (" +
                       NumberList(sizes) + "), and " + std::to_string(k) + " outputs need at least as many.";
            return {};
        }
        cells[static_cast<std::size_t>(o)] = bySize[k];
    }
    return cells;
}
} // namespace

GalFit FitGal(GalType type, const SumOfProducts& circuit, const std::string& signature)
{
    GalFit fit;
    const GalDevice device = MakeGalDevice(type);
    const std::string name = GalName(type);
    if (circuit.numInputs > static_cast<int32_t>(device.inputPins.size())) {
        fit.problem = "The " + name + " has " + std::to_string(device.inputPins.size()) + " input pins; the PAL has " +
                      std::to_string(circuit.numInputs) + " inputs.";
        return fit;
    }
    if (circuit.NumOutputs() > static_cast<int32_t>(device.cells.size())) {
        fit.problem = "The " + name + " has " + std::to_string(device.cells.size()) + " output cells; the PAL has " +
                      std::to_string(circuit.NumOutputs()) + " outputs.";
        return fit;
    }
    if (const std::string problem = GalSignatureProblem(signature); !problem.empty()) {
        fit.problem = problem;
        return fit;
    }
    const std::vector<std::size_t> cells = AssignCells(device, circuit, fit.problem);
    if (cells.empty() && circuit.NumOutputs() > 0) {
        fit.tooManyTerms = true;
        return fit;
    }
    GalDesign design;
    design.type = type;
    design.signature = signature;
    design.numInputs = circuit.numInputs;
    for (int32_t i = 0; i < circuit.numInputs; ++i) {
        design.inputPins.push_back(device.inputPins[static_cast<std::size_t>(i)]);
        design.inputNames.push_back("I" + std::to_string(i));
    }
    for (int32_t o = 0; o < circuit.NumOutputs(); ++o) {
        design.outputPins.push_back(device.cells[cells[static_cast<std::size_t>(o)]].pin);
        design.outputNames.push_back("O" + std::to_string(o));
    }
    design.terms = circuit.terms;
    design.inputLabels = circuit.inputLabels;
    design.outputLabels = circuit.outputLabels;
    fit.design = std::move(design);
    return fit;
}

SumOfProducts MinimumSumOfProducts(const SumOfProducts& circuit, const CoverLimits& limits)
{
    const int32_t n = circuit.numInputs;
    const int32_t m = circuit.NumOutputs();
    TruthTable cells;
    for (uint32_t r = 0; r < (1u << n); ++r)
        for (int32_t o = 0; o < m; ++o) {
            const std::vector<Cube>& terms = circuit.terms[static_cast<std::size_t>(o)];
            cells.push_back(std::any_of(terms.begin(), terms.end(), [r](const Cube& c) { return c.Covers(r); }) ? 1 : 0);
        }
    const TableCover cover = MinimumTableCover(cells, n, m, limits);
    SumOfProducts minimum = circuit;
    for (int32_t o = 0; o < m; ++o)
        minimum.terms[static_cast<std::size_t>(o)] = cover.outputs[static_cast<std::size_t>(o)].terms;
    return minimum;
}
