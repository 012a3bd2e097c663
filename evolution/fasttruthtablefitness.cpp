#include "fasttruthtablefitness.h"

#include "bitstring.h"
#include "truthtablefitness.h"

#include <stdexcept>

namespace {
bool InRange(int32_t value, int32_t max) { return value >= PalConfig::MinCount && value <= max; }
} // namespace

FastTruthTableFitness::FastTruthTableFitness()
{
    if (!UseKernel(Kernel::Avx2))
        UseKernel(Kernel::Portable);
}

bool FastTruthTableFitness::Avx2Supported()
{
#if FAST_TRUTH_TABLE_HAS_AVX2
    // Also checks that the operating system saves the AVX registers.
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    }();
    return supported;
#else
    return false;
#endif
}

bool FastTruthTableFitness::UseKernel(Kernel kernel)
{
    switch (kernel) {
    case Kernel::Portable:
        evaluate_ = &EvaluateFastTruthTablePortable;
        break;
    case Kernel::Avx2:
#if FAST_TRUTH_TABLE_HAS_AVX2
        if (!Avx2Supported())
            return false;
        evaluate_ = &EvaluateFastTruthTableAvx2;
        break;
#else
        return false;
#endif
    }
    kernel_ = kernel;
    return true;
}

void FastTruthTableFitness::Prepare(const PalConfig& config, const TruthTable& table)
{
    prepared_ = false;
    if (!InRange(config.NumInputs, PalConfig::MaxInputs) || !InRange(config.NumAndTerms, PalConfig::MaxAndTerms)
        || !InRange(config.NumOutputs, PalConfig::MaxOutputs))
        throw std::invalid_argument("FastTruthTableFitness: PAL configuration out of range");
    CheckTruthTableSize(config, table);
    BuildFastTruthTablePlan(config, table, plan_);
    SizeFastTruthTableScratch(config, scratch_);
    prepared_ = true;
}

double FastTruthTableFitness::Evaluate(const BitString& chromosome) const
{
    if (!prepared_)
        throw std::logic_error("FastTruthTableFitness: Evaluate called before Prepare");
    CheckChromosomeLength(plan_.config, chromosome);
    return static_cast<double>(evaluate_(MakeFastTruthTableView(plan_, scratch_), chromosome.Data()));
}
