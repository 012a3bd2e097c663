#pragma once
// FastTruthTableFitness: the truth-table fitness computed bit-parallel over
// all input combinations at once. It returns exactly ComputeFitnessTruthTable
// (truthtablefitness.h) for every chromosome, table and PAL size.
//
// Prepare does everything that depends only on the PAL size and the table;
// call it again whenever either changes. Evaluate then allocates nothing.
// Evaluate uses scratch buffers inside the object: use one object per thread.
//
// On x86-64 processors with AVX2 the wider kernel is chosen at run time; the
// portable 64-bit kernel runs everywhere else.
#include "fasttruthtableplan.h"
#include "palconfig.h"
#include "truthtable.h"

class BitString;

class FastTruthTableFitness {
public:
    enum class Kernel { Portable, Avx2 };

    // Picks the best kernel the processor supports. Prepare before Evaluate.
    FastTruthTableFitness();

    // Raises std::invalid_argument for a configuration outside the PalConfig
    // bounds or a table of the wrong size; the object is then unprepared.
    void Prepare(const PalConfig& config, const TruthTable& table);

    // The fitness of `chromosome` (cells read raw: non-zero means 1). A
    // chromosome shorter than ChromosomeSize raises EBitString
    // "BitString: index out of bounds"; extra bits are ignored. Raises
    // std::logic_error when not prepared.
    double Evaluate(const BitString& chromosome) const;

    // Whether this build and this processor can run the AVX2 kernel.
    static bool Avx2Supported();

    // Selects a kernel (tests and benchmarks compare them). Returns false and
    // keeps the current one when `kernel` is not supported here.
    bool UseKernel(Kernel kernel);
    Kernel ActiveKernel() const { return kernel_; }

private:
    using KernelFunction = int (*)(const FastTruthTableView&, const unsigned char*);

    FastTruthTablePlan plan_;
    mutable FastTruthTableScratch scratch_;
    bool prepared_ = false;
    Kernel kernel_ = Kernel::Portable;
    KernelFunction evaluate_ = nullptr;
};
