#pragma once
// Reads the text of a population file block by block. One block, as
// GA::SaveGeneration writes it:
//
//   Generation <g>
//   <N> <L>
//   <L bit characters> <fitness>        (N lines, individual 0 first)
//
// Reading rules (the same for the generation list and for a load):
// - Any run of whitespace separates the parts, so CR LF and LF files read
//   alike. Whitespace and a UTF-8 byte-order mark before the first block are
//   skipped.
// - A block starts with "Generation" (exactly) and a number; anything else at
//   a block boundary, including the end of the text, ends the file normally,
//   so trailing text is no error. The number may carry a sign and is taken
//   modulo 2^32, as the generation counter is written signed and was always
//   read unsigned.
// - N and L are unsigned decimal numbers of at least 1.
// - The bit field is the next L characters: '1' is a set bit, any other
//   character a clear one, except whitespace, which means the line holds
//   fewer than L bits. At least one blank follows the field.
// - The fitness is a decimal number ("C" notation, optional sign, "inf" and
//   "nan" accepted) followed by whitespace or the end of the text.
// - A number, including the fitness, is at most 4096 characters long.
// Before anything is allocated for a block, its sizes are checked against
// the text that is left: N individuals of L bits take at least N * (L + 1)
// characters. The parser never reads outside the text and always advances,
// so it ends on any input. It reads through a PopulationInput, so a file is
// never held whole in memory.
#include "populationinput.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PopulationBlock {
    int32_t generation = 0;
    uint64_t offset = 0; // where the header starts in the text
    uint32_t size = 0;   // N, the number of individuals
    uint32_t length = 0; // L, the chromosome length in bits
    std::vector<double> fitness;     // N values in file order
    std::vector<unsigned char> bits; // N * L cells of 0 or 1, when asked for
};

class PopulationFileParser {
public:
    // Reads from `input`, which must outlive the parser; a byte-order mark is
    // skipped only at offset 0.
    explicit PopulationFileParser(PopulationInput& input);

    enum class Header {
        Read,      // a block header; its body follows
        End,       // no further block: end of the text or trailing text
        Malformed, // "Generation" with a number that does not fit
    };

    // Reads the header of the next block into block.generation and
    // block.offset.
    Header ReadHeader(PopulationBlock& block, std::string& error);

    // Reads the sizes line and the individuals of the block whose header was
    // just read; block.generation must already be set. The bit fields are
    // stored only when keepBits is true. On failure returns false with a
    // message naming the block; block is then in an unspecified state.
    bool ReadBody(PopulationBlock& block, bool keepBits, std::string& error);

private:
    void SkipBlanks();
    bool ReadUnsigned(uint64_t& value, uint64_t max);
    bool AtBlankOrEnd();
    bool ReadBits(PopulationBlock& block, uint32_t i, bool keepBits, std::string& error);
    bool ReadFitness(PopulationBlock& block, uint32_t i, std::string& error);

    PopulationInput& input_;
};
