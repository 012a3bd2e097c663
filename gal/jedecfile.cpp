#include "jedecfile.h"

#include <cstdio>

namespace {
constexpr char Stx = '\x02';
constexpr char Etx = '\x03';

std::string Hex4(uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

// A comment line without the characters that would end the comment or the file.
std::string CommentSafe(const std::string& line)
{
    std::string safe;
    for (char c : line)
        if (c != '*' && c != Stx && c != Etx && c != '\n' && c != '\r')
            safe += c;
    return safe;
}

void AddField(std::string& text, const std::vector<uint8_t>& fuses, int32_t first, int32_t length)
{
    char address[16];
    std::snprintf(address, sizeof address, "*L%04d ", first);
    text += address;
    for (int32_t k = 0; k < length; ++k)
        text += fuses[static_cast<std::size_t>(first + k)] ? '1' : '0';
    text += '\n';
}
} // namespace

uint16_t JedecFuseChecksum(const std::vector<uint8_t>& fuses)
{
    uint32_t sum = 0;
    for (std::size_t k = 0; k < fuses.size(); k += 8) {
        uint32_t byte = 0;
        for (std::size_t bit = 0; bit < 8 && k + bit < fuses.size(); ++bit)
            if (fuses[k + bit])
                byte |= 1u << bit;
        sum += byte;
    }
    return static_cast<uint16_t>(sum);
}

uint16_t JedecTransmissionChecksum(std::string_view framed)
{
    uint32_t sum = 0;
    for (char c : framed)
        sum += static_cast<unsigned char>(c);
    return static_cast<uint16_t>(sum);
}

std::string FormatJedec(const std::vector<std::string>& comment, const std::vector<uint8_t>& fuses,
                        int32_t rowLength, int32_t tailFuse, const std::vector<int32_t>& tailLengths)
{
    std::string text(1, Stx);
    text += '\n';
    for (const std::string& line : comment)
        text += CommentSafe(line) + '\n';
    text += "*QF" + std::to_string(fuses.size()) + "\n*F0\n*G0\n";
    for (int32_t first = 0; first < tailFuse; first += rowLength)
        AddField(text, fuses, first, rowLength);
    int32_t first = tailFuse;
    for (int32_t length : tailLengths) {
        AddField(text, fuses, first, length);
        first += length;
    }
    text += "*C" + Hex4(JedecFuseChecksum(fuses)) + "\n*\n";
    text += Etx;
    return text + Hex4(JedecTransmissionChecksum(text)) + '\n';
}

std::string FormatGalJedec(const GalDesign& design)
{
    const std::vector<uint8_t> fuses = GalFuseMap(design);
    const GalDevice device = design.Device();
    std::vector<std::string> comment = {
        std::string("Orvik: evolved PAL for the ") + GalName(design.type) +
            (device.type == GalType::Gal16V8 ? (device.complexMode ? " (complex mode)" : " (simple mode)") : ""),
        "Signature: " + design.signature,
        "Pin-out:"};
    for (const std::string& line : GalPinOut(design))
        comment.push_back("  " + line);
    comment.push_back("Pin " + std::to_string(device.GroundPin()) + " GND, pin " + std::to_string(device.PowerPin()) +
                      " VCC; other pins not connected.");
    const int32_t array = device.rows * device.columns;
    const std::vector<int32_t> tail = device.type == GalType::Gal22V10
                                          ? std::vector<int32_t>{20, 64}              // S0/S1, signature
                                          : std::vector<int32_t>{8, 64, 8, 64, 1, 1}; // XOR, signature, AC1, PT, SYN, AC0
    return FormatJedec(comment, fuses, device.columns, array, tail);
}
