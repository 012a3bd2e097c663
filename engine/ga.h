#pragma once
// GA: the population of the genetic algorithm. It holds N individuals of L
// bits (Individual, a BitString with a fitness), the GA parameters, the
// generation counter and the fitness history (GAData records, summarised as
// GAFitInfo), and reads and writes population files.
//
// Data flow, once per generation, driven by the evolution loop:
//   1. if IsEvaluated(): NextGeneration() breeds from the stored fitness
//      (sort fittest first, roulette or rank selection into a pool, shuffle,
//      one-point crossover of pairs, per-bit mutation, elites copied in);
//   2. the driver stores a fitness in every At(i);
//   3. RecordGeneration() appends the fitness values to History();
//   4. GetFitInfo() summarises the history for the fitness chart.
// NextGenerationES (esstep.h) is the (1+λ) evolution strategy's step for the
// same population, used in step 1 instead of NextGeneration when chosen.
//
// Random draws come from two generators the GA is handed and does not own:
// every draw except the shuffle from an LcgGenerator, in a fixed order, the
// shuffle from a ShuffleGenerator. A GA constructed without them uses the
// process-wide pair (ProcessRandom, ShuffleRandom), shared with the robot's
// repositioning, so every run of the program evolves the same way. A GA
// handed a pair of its own touches nothing process-wide but the debug log
// (silent while no console sink is attached), so GAs with separate pairs may
// run on separate threads.
// The implementation is split by job: ga.cpp (population and parameters),
// gastep.cpp (the generation step), gadraws.* (what a draw means to the
// step), gamutation* (the step's mutation kernels), gahistory.cpp (fitness
// history), gafiles.cpp (population files).
#include "engineerror.h"
#include "gadata.h"
#include "gafileresult.h"
#include "gastepbuffers.h"
#include "individual.h"
#include "lcggenerator.h"
#include "shufflegenerator.h"
#include "uniquerevision.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class PopulationInput;
struct PopulationBlock;

class EGA : public EEngine {
public:
    using EEngine::EEngine;
};

class GA final {
public:
    // Random population of n individuals of l bits, generation 0, not
    // evaluated, empty history, engine defaults of the parameters.
    // n = 0 raises EGA "GA: can't create null sized population"; l = 0 raises
    // EBitString "BitString: can't create a null sized BitString".
    // Draws from the process-wide generators (ProcessRandom, ShuffleRandom).
    GA(uint32_t n, uint32_t l);
    // The same, drawing from random and shuffler, which must outlive the GA
    // (or be replaced with UseGenerators first). The random population is
    // drawn from random here already.
    GA(uint32_t n, uint32_t l, LcgGenerator& random, ShuffleGenerator& shuffler);
    virtual ~GA() = default;
    // A copy shares the original's generators (they are not part of the
    // population): original and copy then take turns on the same sequences.
    // Hand the copy a pair of its own with UseGenerators to run it apart.
    GA(const GA&) = default;
    GA& operator=(const GA&) = default;
    GA(GA&&) = default;
    GA& operator=(GA&&) = default;

    // --- Population -------------------------------------------------------

    // Individual i; i >= N raises EGA "Population: index out of bounds".
    virtual Individual& At(uint32_t i);
    virtual const Individual& At(uint32_t i) const;

    virtual uint32_t GetPopulationSize() const { return populationSize_; }
    uint32_t GetChromosomeLength() const { return chromosomeLength_; }

    // N := n, a new random population of the current L, then Reset.
    // n = 0 raises EGA and changes nothing.
    virtual void SetPopulationSize(uint32_t n);
    // N := n, L := l, a new random population, then Reset. n = 0 raises EGA,
    // l = 0 raises EBitString; either leaves the GA unchanged.
    virtual void SetSizes(uint32_t n, uint32_t l);

    // Generation 0, every bit random, every fitness 0, empty history, not
    // evaluated.
    void Reset();
    // True while the population carries recorded fitness values.
    bool IsEvaluated() const { return evaluated_; }
    virtual int32_t GetGeneration() const { return generation_; }
    // Overwrites the generation counter.
    virtual void SetGeneration(int32_t generation) { generation_ = generation; }

    // The generators the GA draws from.
    LcgGenerator& Random() const { return *random_; }
    ShuffleGenerator& Shuffler() const { return *shuffler_; }
    void UseGenerators(LcgGenerator& random, ShuffleGenerator& shuffler)
    {
        random_ = &random;
        shuffler_ = &shuffler;
    }

    // --- Parameters --------------------------------------------------------

    // Per-bit flip probability, clamped to [0;1] (NaN becomes 0).
    virtual void SetMutationRate(double rate);
    virtual double GetMutationRate() const { return mutationRate_; }
    // Probability that a pair is crossed, clamped to [0;1] (NaN becomes 0).
    virtual void SetCrossoverRate(double rate);
    virtual double GetCrossoverRate() const { return crossoverRate_; }
    // R, how many of the best individuals rank selection cycles through.
    // Stored as given; the step uses it clamped to 1..N.
    virtual void SetRankParents(uint32_t r) { rankParents_ = r; }
    virtual uint32_t GetRankParents() const { return rankParents_; }
    // 0 roulette wheel, 1 rank, anything else selects nothing (all-zero pool).
    virtual void SetSelection(uint8_t selection) { selection_ = selection; }
    virtual uint8_t GetSelection() const { return selection_; }
    // E: E >= 1 carries the E + 1 fittest individuals over, 0 or less none.
    // Stored as given; the step uses at most N - 1.
    virtual void SetElitism(int32_t e) { elitism_ = e; }
    virtual int32_t GetElitism() const { return elitism_; }

    // --- Generation step -----------------------------------------------------

    // Breeds the next generation from the stored fitness values and counts
    // it. Leaves IsEvaluated() as it is. Draws, in this order: one RandomReal
    // per pool member with roulette selection; per pair one RandomReal, and
    // a second when the pair is crossed; one RandomReal per bit of every pool
    // member; one draw per elite.
    //
    // The step gives exactly what sorting, RouletteSelect or RankSelect,
    // the shuffle, Crossover of each pair, Mutate of each member and
    // InsertElite of each elite give one after the other, draw for draw, but
    // does not call them (GA is final, so no override can be missed): it
    // sorts indices, builds each child once from its parents' cells while
    // mutating it, takes the mutation draws in blocks, and builds the new
    // generation in the storage of the one before last. The cells it writes
    // are 0 or 1. Every individual must have L bits (At() hands out
    // references that can be assigned a chromosome of another length); one
    // that does not raises EGA "GA: chromosome length differs from the
    // population's" before anything changes.
    virtual void NextGeneration();

    // The mutation kernel of the step: AVX2 where the processor has it (the
    // default), else portable; both give the same results. UseStepKernel
    // returns false and keeps the current one when the kernel is not
    // available here.
    enum class StepKernel { Portable, Avx2 };
    bool UseStepKernel(StepKernel kernel);
    StepKernel ActiveStepKernel() const { return stepKernel_; }

    // The building blocks of the step, each exactly as the step uses them.
    virtual int RandomBit();     // draw & 1 (of Random())
    virtual double RandomReal(); // draw / 32767, in [0;1] with both ends
    virtual void RandomiseAll();
    virtual void RandomiseIndividual(Individual& individual);
    // Empties population and fills it with N individuals of L zero bits.
    virtual void CreatePopulation(std::vector<Individual>& population) const;
    // Both fill a pool of N from the population, which the step has sorted
    // fittest first; a pool of another size is first rebuilt to N members.
    virtual void RouletteSelect(std::vector<Individual>& pool);
    virtual void RankSelect(std::vector<Individual>& pool);
    // Sum of the fitness of individuals 0 .. N-1, in index order.
    virtual double TotalFitness() const;
    // First index whose running fitness sum reaches x, or N - 1.
    virtual uint32_t RouletteIndex(double x) const;
    // One-point crossover of a and b (L bits each) with probability
    // GetCrossoverRate(); the fitness values are not touched.
    virtual void Crossover(Individual& a, Individual& b);
    // Flips each bit whose draw passes RandomReal() < GetMutationRate() (an
    // exact integer threshold, MutationThreshold); one draw per bit.
    virtual void Mutate(Individual& individual);
    // Copies elite over pool member (draw mod pool size).
    virtual void InsertElite(std::vector<Individual>& pool, const Individual& elite);

    // --- Fitness history ----------------------------------------------------

    // One record per evaluated generation since the last reset or load,
    // oldest first.
    const std::vector<GAData>& History() const { return history_; }
    // Names the history as it is: the same number as long as records were
    // only appended, a number never used before once the history is cleared
    // or replaced (reset, resize, load) or the GA is copied. The chart uses it
    // to tell an extension of what it shows from another history.
    uint64_t HistoryRevision() const { return historyRevision_.Value(); }
    // Appends (generation, fitness of individuals 0 .. N-1); sets IsEvaluated.
    void RecordGeneration();
    // Max, average, min and generation of every History() record, in order.
    // Each record is summarised once and remembered; while the console is
    // open, the two log lines of every record are written at every call.
    std::vector<GAFitInfo> GetFitInfo() const;
    // The same list without copying it, valid until the history changes: what
    // the evolution loop hands to the chart once per generation, so that a
    // long run does not copy its whole history every generation.
    const std::vector<GAFitInfo>& FitInfo() const;
    // Statistics of the current fitness values of individuals 0 .. N-1.
    double MaxFitness() const;
    double MinFitness() const;
    double AverageFitness() const;

    // --- Population files ---------------------------------------------------

    // Appends the current generation as one block to fileName (created when
    // missing). Tries to open the file three times; never rewrites or loses
    // what the file already holds.
    virtual GAFileResult SaveGeneration(const std::string& fileName) const;
    // Appends individual i's line ("0110 12.000000\n") to block.
    virtual void WriteIndividual(std::string& block, uint32_t i) const;
    // The block that SaveGeneration appends.
    std::string GenerationBlock() const;

    // Generation number and fitness values of every block of the file.
    static GAGenerationList ReadGenerationList(const std::string& fileName);
    static GAGenerationList ReadGenerationListFromText(std::string_view text);

    // Replaces the population by the first block numbered generation and the
    // history by every block up to it; sets IsEvaluated. N and L come from
    // the file; the GA parameters stay as they are. On any failure (no such
    // file or block, a malformed block on the way) nothing changes.
    virtual GAFileResult LoadGeneration(const std::string& fileName, int32_t generation);
    GAFileResult LoadGenerationFromText(std::string_view text, int32_t generation);
    // The same load for block `index` of a list ReadGenerationList made of
    // the file: reads only that block, from its listed place, and takes the
    // history of the blocks before it from the list. Refused, changing
    // nothing, when the block there is not the listed one any more.
    GAFileResult LoadListedGeneration(const std::string& fileName, const GAGenerationList& list,
                                      std::size_t index);

private:
    static void CheckSizes(uint32_t n, uint32_t l);
    void ClearHistory();
    GAFileResult LoadFrom(PopulationInput& input, int32_t generation);
    // Makes the read block the population and history + its record the history.
    void InstallBlock(PopulationBlock& block, std::vector<GAData> history);
    void CheckChromosomeLengths() const;
    void SortOrderFittestFirst();
    void SelectParents(uint32_t rank);
    void ShuffleParents();
    void DrawCuts();
    void BuildPool();
    void InsertElites(int32_t elitism);
    uint32_t RankParentsForStep() const;
    int32_t ElitismForStep() const;

    LcgGenerator* random_;
    ShuffleGenerator* shuffler_;
    std::vector<GAData> history_;
    UniqueRevision historyRevision_;
    bool evaluated_ = false;
    std::vector<Individual> population_;
    uint32_t populationSize_;
    uint32_t chromosomeLength_;
    int32_t generation_ = 0;
    double mutationRate_ = 0.005;
    double crossoverRate_ = 0.8;
    uint32_t rankParents_ = 1;
    uint8_t selection_ = 0;
    int32_t elitism_ = 1;

    GAStepBuffers step_;
    StepKernel stepKernel_ = StepKernel::Portable;
    BuildChildrenFunction buildChildren_ = &BuildChildrenPortable;

    // GetFitInfo's summaries of history_[0 .. size-1]; emptied whenever the
    // history is emptied or replaced, extended as records are appended.
    mutable std::vector<GAFitInfo> fitInfo_;
};
