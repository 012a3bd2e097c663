#include "truthtablefitness.h"

#include "bitstring.h"
#include "evaluatepal.h"

#include <vector>

void CheckChromosomeLength(const PalConfig& config, const BitString& chromosome)
{
    if (chromosome.Size() < static_cast<uint32_t>(config.ChromosomeSize()))
        throw EBitString("BitString: index out of bounds");
}

double ComputeFitnessTruthTable(const PalConfig& config, const TruthTable& table, const BitString& chromosome)
{
    CheckChromosomeLength(config, chromosome);
    CheckTruthTableSize(config, table);

    std::vector<unsigned char> inputs(config.NumInputs);
    std::vector<unsigned char> outputs(config.NumOutputs);
    const uint32_t combinations = static_cast<uint32_t>(config.NumCombinations());
    long count = 0;
    for (uint32_t r = 0; r < combinations; ++r) {
        CombinationToInputs(config, r, inputs.data());
        EvaluatePal(config, chromosome, inputs.data(), outputs.data());
        for (int32_t o = 0; o < config.NumOutputs; ++o) {
            const int32_t cell = table[r * static_cast<uint32_t>(config.NumOutputs) + static_cast<uint32_t>(o)];
            if (cell != DontCare && cell == outputs[o])
                ++count;
        }
    }
    return static_cast<double>(count);
}

double MaxPossibleFitness(const TruthTable& table)
{
    long count = 0;
    for (int32_t cell : table)
        if (cell != DontCare)
            ++count;
    return static_cast<double>(count);
}
