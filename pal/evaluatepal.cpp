#include "evaluatepal.h"

#include "bitstring.h"

void EvaluatePal(const PalConfig& config, const BitString& chromosome,
                 const unsigned char* inputs, unsigned char* outputs)
{
    const int32_t n = config.NumInputs;
    for (int32_t o = 0; o < config.NumOutputs; ++o) {
        unsigned char out = 0;
        for (int32_t t = 0; t < config.NumAndTerms && !out; ++t) {
            bool termTrue = true;
            for (int32_t i = 0; i < n; ++i) {
                const uint32_t fuse = static_cast<uint32_t>(config.FuseIndex(o, t, i, 0));
                if ((chromosome[fuse] && inputs[i] == 0) || (chromosome[fuse + 1] && inputs[i] == 1)) {
                    termTrue = false;
                    break;
                }
            }
            if (termTrue)
                out = 1;
        }
        outputs[o] = out;
    }
}

void CombinationToInputs(const PalConfig& config, uint32_t r, unsigned char* inputs)
{
    for (int32_t i = 0; i < config.NumInputs; ++i)
        inputs[i] = static_cast<unsigned char>(config.InputOfCombination(r, i));
}
