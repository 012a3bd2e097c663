#include "galsource.h"

#include <algorithm>

namespace {
std::string Product(const GalDesign& design, const Cube& cube)
{
    if (cube.care == 0)
        return "VCC";
    std::string text;
    for (int32_t i = 0; i < design.numInputs; ++i) {
        const uint32_t bit = InputBit(design.numInputs, i);
        if (!(cube.care & bit))
            continue;
        if (!text.empty())
            text += " * ";
        text += ((cube.value & bit) ? "" : "/") + design.inputNames[static_cast<std::size_t>(i)];
    }
    return text;
}

std::string Equation(const GalDesign& design, int32_t o)
{
    const std::string& name = design.outputNames[static_cast<std::size_t>(o)];
    const std::vector<Cube>& terms = design.terms[static_cast<std::size_t>(o)];
    const bool tristate = design.Enable(o).has_value();
    std::string text = (design.ActiveLow(o) ? "/" : "") + name + (tristate ? ".T" : "") + " = ";
    const std::string continuation(text.size() - 2, ' ');
    if (terms.empty())
        text += "GND";
    for (std::size_t t = 0; t < terms.size(); ++t)
        text += (t ? "\n" + continuation + "+ " : "") + Product(design, terms[t]);
    text += '\n';
    if (tristate)
        text += name + ".E = " + Product(design, *design.Enable(o)) + '\n';
    return text;
}
} // namespace

std::string FormatGalSource(const GalDesign& design)
{
    const GalDevice device = design.Device();
    std::vector<std::string> names(static_cast<std::size_t>(device.pins) + 1, "NC");
    names[static_cast<std::size_t>(device.GroundPin())] = "GND";
    names[static_cast<std::size_t>(device.PowerPin())] = "VCC";
    for (std::size_t i = 0; i < design.inputPins.size(); ++i)
        names[static_cast<std::size_t>(design.inputPins[i])] = design.inputNames[i];
    for (std::size_t o = 0; o < design.outputPins.size(); ++o)
        names[static_cast<std::size_t>(design.outputPins[o])] = design.outputNames[o];

    std::string text = std::string(GalName(design.type)) + "\n" + design.signature + "\n\n";
    std::size_t width = 0;
    for (const std::string& name : names)
        width = std::max(width, name.size());
    for (int32_t pin = 1; pin <= device.pins; ++pin) {
        std::string name = names[static_cast<std::size_t>(pin)];
        const bool last = pin == device.pins / 2 || pin == device.pins;
        if (!last)
            name.resize(width + 1, ' ');
        text += name + (last ? "\n" : " ");
    }
    text += '\n';
    for (int32_t o = 0; o < design.NumOutputs(); ++o)
        text += Equation(design, o) + '\n';
    text += "DESCRIPTION\n\nAn evolved PAL individual, exported by Orvik.\nPin-out:\n";
    for (const std::string& line : GalPinOut(design))
        text += "  " + line + '\n';
    return text;
}
