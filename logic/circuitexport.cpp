#include "circuitexport.h"

#include "plafile.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string Name(char prefix, std::size_t index) { return prefix + std::to_string(index); }

// "a list" of names: prefix0 .. prefix(count - 1), separated by `separator`.
std::string Names(char prefix, std::size_t count, const char* separator)
{
    std::string text;
    for (std::size_t k = 0; k < count; ++k)
        text += (k ? separator : "") + Name(prefix, k);
    return text;
}

// "I0 = a, I1 = b" when the circuit carries labels, else empty.
std::string LabelNote(const SumOfProducts& circuit)
{
    std::string text;
    auto add = [&text](char prefix, const std::vector<std::string>& labels) {
        for (std::size_t k = 0; k < labels.size(); ++k)
            text += (text.empty() ? "" : ", ") + Name(prefix, k) + " = " + labels[k];
    };
    add('I', circuit.inputLabels);
    add('O', circuit.outputLabels);
    return text;
}

// Verilog product of one cube: "I0 & ~I2", or "1'b1" when it tests nothing.
std::string VerilogProduct(const Cube& cube, int32_t numInputs)
{
    std::string text;
    int literals = 0;
    for (int32_t i = 0; i < numInputs; ++i) {
        const uint32_t bit = InputBit(numInputs, i);
        if (!(cube.care & bit))
            continue;
        text += (literals++ ? " & " : "") + std::string((cube.value & bit) ? "" : "~") + Name('I', static_cast<std::size_t>(i));
    }
    return literals ? text : "1'b1";
}

} // namespace

std::optional<CircuitFormat> CircuitFormatOfPath(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string suffix(path.substr(dot + 1));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == "pla")
        return CircuitFormat::Pla;
    if (suffix == "blif")
        return CircuitFormat::Blif;
    if (suffix == "v")
        return CircuitFormat::Verilog;
    return std::nullopt;
}

std::string FormatPlaCircuit(const SumOfProducts& circuit)
{
    const std::size_t m = circuit.terms.size();
    std::vector<Cube> cubes;
    std::vector<std::string> outputs;
    for (std::size_t o = 0; o < m; ++o) {
        for (const Cube& cube : circuit.terms[o]) {
            const auto found = std::find(cubes.begin(), cubes.end(), cube);
            const auto k = static_cast<std::size_t>(found - cubes.begin());
            if (found == cubes.end()) {
                cubes.push_back(cube);
                outputs.emplace_back(m, '0');
            }
            outputs[k][o] = '1';
        }
    }
    std::ostringstream out;
    out << FormatPlaHeader(circuit.numInputs, static_cast<int32_t>(m), circuit.inputLabels, circuit.outputLabels, "f",
                           cubes.size());
    for (std::size_t k = 0; k < cubes.size(); ++k)
        out << CubeText(cubes[k], circuit.numInputs) << ' ' << outputs[k] << '\n';
    out << ".e\n";
    return out.str();
}

std::string FormatBlif(const SumOfProducts& circuit)
{
    std::ostringstream out;
    const std::string note = LabelNote(circuit);
    if (!note.empty())
        out << "# " << note << '\n';
    out << ".model orvik_pal\n";
    out << ".inputs " << Names('I', static_cast<std::size_t>(circuit.numInputs), " ") << '\n';
    out << ".outputs " << Names('O', circuit.terms.size(), " ") << '\n';
    for (std::size_t o = 0; o < circuit.terms.size(); ++o) {
        const std::vector<Cube>& cubes = circuit.terms[o];
        const bool always = std::any_of(cubes.begin(), cubes.end(), [](const Cube& c) { return c.care == 0; });
        if (cubes.empty() || always) {
            // A constant: .names with no inputs, and the row "1" for 1.
            out << ".names " << Name('O', o) << '\n' << (always ? "1\n" : "");
            continue;
        }
        out << ".names " << Names('I', static_cast<std::size_t>(circuit.numInputs), " ") << ' ' << Name('O', o) << '\n';
        for (const Cube& cube : cubes)
            out << CubeText(cube, circuit.numInputs) << " 1\n";
    }
    out << ".end\n";
    return out.str();
}

std::string FormatVerilog(const SumOfProducts& circuit)
{
    std::ostringstream out;
    out << "// The PAL as one sum of products per output.\n";
    const std::string note = LabelNote(circuit);
    if (!note.empty())
        out << "// " << note << '\n';
    out << "module orvik_pal(input " << Names('I', static_cast<std::size_t>(circuit.numInputs), ", ") << ", output "
        << Names('O', circuit.terms.size(), ", ") << ");\n";
    for (std::size_t o = 0; o < circuit.terms.size(); ++o) {
        const std::vector<Cube>& cubes = circuit.terms[o];
        std::string sum;
        if (cubes.empty())
            sum = "1'b0";
        else if (std::any_of(cubes.begin(), cubes.end(), [](const Cube& c) { return c.care == 0; }))
            sum = "1'b1";
        else
            for (std::size_t t = 0; t < cubes.size(); ++t) {
                const std::string product = VerilogProduct(cubes[t], circuit.numInputs);
                const bool wrap = cubes.size() > 1 && cubes[t].Literals() > 1;
                sum += (t ? " | " : "") + (wrap ? "(" + product + ")" : product);
            }
        out << "  assign " << Name('O', o) << " = " << sum << ";\n";
    }
    out << "endmodule\n";
    return out.str();
}

std::string FormatCircuit(const SumOfProducts& circuit, CircuitFormat format)
{
    switch (format) {
    case CircuitFormat::Pla:
        return FormatPlaCircuit(circuit);
    case CircuitFormat::Blif:
        return FormatBlif(circuit);
    case CircuitFormat::Verilog:
        return FormatVerilog(circuit);
    }
    return {};
}
