#include "palterms.h"

#include <stdexcept>

std::vector<std::vector<Cube>> PalTerms(const PalConfig& config, const BitString& chromosome)
{
    const int32_t n = config.NumInputs;
    std::vector<std::vector<Cube>> terms(static_cast<std::size_t>(config.NumOutputs));
    for (int32_t o = 0; o < config.NumOutputs; ++o) {
        for (int32_t t = 0; t < config.NumAndTerms; ++t) {
            Cube cube;
            bool possible = true;
            for (int32_t i = 0; i < n && possible; ++i) {
                const auto fuse = static_cast<uint32_t>(config.FuseIndex(o, t, i, 0));
                const bool needsOne = chromosome[fuse] != 0;
                const bool needsZero = chromosome[fuse + 1] != 0;
                possible = !(needsOne && needsZero);
                if (needsOne || needsZero) {
                    const uint32_t bit = InputBit(n, i);
                    cube.care = static_cast<uint16_t>(cube.care | bit);
                    if (needsOne)
                        cube.value = static_cast<uint16_t>(cube.value | bit);
                }
            }
            if (possible)
                terms[static_cast<std::size_t>(o)].push_back(cube);
        }
    }
    return terms;
}

BitString ProgramTerms(const PalConfig& config, const std::vector<std::vector<Cube>>& terms)
{
    if (static_cast<int32_t>(terms.size()) != config.NumOutputs)
        throw std::invalid_argument("ProgramTerms: one list of cubes per output is needed");
    const int32_t n = config.NumInputs;
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    for (int32_t o = 0; o < config.NumOutputs; ++o) {
        const std::vector<Cube>& cubes = terms[static_cast<std::size_t>(o)];
        if (static_cast<int32_t>(cubes.size()) > config.NumAndTerms)
            throw std::invalid_argument("ProgramTerms: more cubes than AND terms");
        for (int32_t t = 0; t < config.NumAndTerms; ++t) {
            const auto fuse = [&](int32_t i, int32_t p) { return static_cast<uint32_t>(config.FuseIndex(o, t, i, p)); };
            if (t >= static_cast<int32_t>(cubes.size())) {
                chromosome[fuse(0, 0)] = 1;
                chromosome[fuse(0, 1)] = 1;
                continue;
            }
            const Cube& cube = cubes[static_cast<std::size_t>(t)];
            for (int32_t i = 0; i < n; ++i) {
                const uint32_t bit = InputBit(n, i);
                if (cube.care & bit)
                    chromosome[fuse(i, (cube.value & bit) ? 0 : 1)] = 1;
            }
        }
    }
    return chromosome;
}
