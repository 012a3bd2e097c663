#include "galdesign.h"

#include <algorithm>
#include <stdexcept>

namespace {
[[noreturn]] void Refuse(const std::string& why)
{
    throw std::invalid_argument("GAL fuse map: " + why);
}

int32_t Index(const std::vector<int32_t>& pins, int32_t pin)
{
    const auto found = std::find(pins.begin(), pins.end(), pin);
    return found == pins.end() ? -1 : static_cast<int32_t>(found - pins.begin());
}

// Programs `row` as the AND of `cube`'s literals.
void ProgramRow(std::vector<uint8_t>& fuses, const GalDesign& design, const GalDevice& device, int32_t row,
                const Cube& cube)
{
    const int32_t first = device.RowFuse(row);
    std::fill_n(fuses.begin() + first, device.columns, uint8_t{1});
    for (int32_t i = 0; i < design.numInputs; ++i) {
        const uint32_t bit = InputBit(design.numInputs, i);
        if (!(cube.care & bit))
            continue;
        const int32_t column = device.ColumnOfPin(design.inputPins[static_cast<std::size_t>(i)]);
        fuses[static_cast<std::size_t>(first + column + ((cube.value & bit) ? 0 : 1))] = 0;
    }
}

void CheckPins(const GalDesign& design, const GalDevice& device)
{
    if (static_cast<int32_t>(design.inputPins.size()) != design.numInputs)
        Refuse("one pin per input is needed");
    if (design.terms.size() != design.outputPins.size())
        Refuse("one list of terms per output is needed");
    for (int32_t pin : design.inputPins)
        if (device.ColumnOfPin(pin) < 0)
            Refuse("the array does not see pin " + std::to_string(pin));
    for (int32_t o = 0; o < design.NumOutputs(); ++o) {
        const GalCell* cell = device.CellOfPin(design.outputPins[static_cast<std::size_t>(o)]);
        if (!cell)
            Refuse("pin " + std::to_string(design.outputPins[static_cast<std::size_t>(o)]) + " is not an output");
        if (static_cast<int32_t>(design.terms[static_cast<std::size_t>(o)].size()) > cell->terms)
            Refuse("too many terms for pin " + std::to_string(cell->pin));
        if (design.Enable(o) && cell->enableRow < 0)
            Refuse("no output enable in this mode");
    }
}
} // namespace

const std::optional<Cube>& GalDesign::Enable(int32_t o) const
{
    static const std::optional<Cube> always;
    return enables.empty() ? always : enables[static_cast<std::size_t>(o)];
}

bool GalDesign::NeedsComplexMode() const
{
    if (type != GalType::Gal16V8)
        return false;
    for (int32_t pin : inputPins)
        if (pin == 15 || pin == 16 || Index(outputPins, pin) >= 0)
            return true;
    return std::any_of(enables.begin(), enables.end(), [](const auto& e) { return e.has_value(); });
}

std::string GalSignatureProblem(std::string_view signature)
{
    if (signature.size() > 8)
        return "A signature has at most 8 characters.";
    for (char c : signature)
        if (c < ' ' || c > '~')
            return "A signature holds only letters, digits, spaces and ASCII punctuation.";
    return {};
}

std::vector<uint8_t> GalFuseMap(const GalDesign& design)
{
    const GalDevice device = design.Device();
    CheckPins(design, device);
    if (const std::string problem = GalSignatureProblem(design.signature); !problem.empty())
        Refuse(problem);

    std::vector<uint8_t> fuses(static_cast<std::size_t>(device.fuses), 0);
    for (const GalCell& cell : device.cells) {
        const int32_t o = Index(design.outputPins, cell.pin);
        const bool used = o >= 0;
        if (used) {
            const std::vector<Cube>& terms = design.terms[static_cast<std::size_t>(o)];
            for (std::size_t t = 0; t < terms.size(); ++t)
                ProgramRow(fuses, design, device, cell.firstTermRow + static_cast<int32_t>(t), terms[t]);
            if (cell.enableRow >= 0)
                ProgramRow(fuses, design, device, cell.enableRow, design.Enable(o).value_or(Cube{}));
        }
        const uint8_t activeHigh = used && !design.ActiveLow(o) ? 1 : 0;
        if (device.type == GalType::Gal22V10) {
            // An unused cell stays registered with its output never enabled;
            // an input on a cell's pin needs the combinatorial feedback.
            const bool feedback = Index(design.inputPins, cell.pin) >= 0;
            fuses[static_cast<std::size_t>(Gal22V10S0Fuse(cell.pin))] = activeHigh;
            fuses[static_cast<std::size_t>(Gal22V10S0Fuse(cell.pin) + 1)] = used || feedback ? 1 : 0;
        } else {
            // AC1 0 is a combinatorial output in the simple mode; 1 an input
            // there, and in the complex mode an output driven while its
            // enable row is true.
            fuses[static_cast<std::size_t>(Gal16V8Fuse::Xor + 19 - cell.pin)] = activeHigh;
            fuses[static_cast<std::size_t>(Gal16V8Fuse::Ac1 + 19 - cell.pin)] = used && !device.complexMode ? 0 : 1;
        }
    }
    if (device.type == GalType::Gal16V8) {
        std::fill_n(fuses.begin() + Gal16V8Fuse::TermEnable, 64, uint8_t{1});
        fuses[Gal16V8Fuse::Syn] = 1;
        fuses[Gal16V8Fuse::Ac0] = device.complexMode ? 1 : 0;
    }
    // Eight bytes, the first character's most significant bit first.
    for (std::size_t k = 0; k < design.signature.size(); ++k)
        for (int bit = 0; bit < 8; ++bit)
            fuses[static_cast<std::size_t>(device.signatureFuse) + 8 * k + static_cast<std::size_t>(bit)] =
                (static_cast<unsigned char>(design.signature[k]) >> (7 - bit)) & 1u;
    return fuses;
}

std::vector<std::string> GalPinOut(const GalDesign& design)
{
    struct Line {
        int32_t pin;
        std::string text;
    };
    std::vector<Line> lines;
    const auto add = [&](int32_t pin, const std::string& name, const std::vector<std::string>& labels,
                         std::size_t k, const std::string& role) {
        std::string text = "Pin " + std::to_string(pin) + (pin < 10 ? "   " : "  ") + name + "  " + role;
        if (k < labels.size() && !labels[k].empty())
            text += " (" + labels[k] + ")";
        lines.push_back({pin, text});
    };
    for (std::size_t i = 0; i < design.inputPins.size(); ++i)
        if (Index(design.outputPins, design.inputPins[i]) < 0)
            add(design.inputPins[i], design.inputNames[i], design.inputLabels, i, "input");
    const GalDevice device = design.Device();
    for (std::size_t o = 0; o < design.outputPins.size(); ++o) {
        const GalCell* cell = device.CellOfPin(design.outputPins[o]);
        const std::string role = "output, " + std::to_string(design.terms[o].size()) + " of " +
                                 std::to_string(cell ? cell->terms : 0) + " product terms";
        add(design.outputPins[o], design.outputNames[o], design.outputLabels, o, role);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.pin < b.pin; });
    std::vector<std::string> texts;
    for (const Line& line : lines)
        texts.push_back(line.text);
    return texts;
}
