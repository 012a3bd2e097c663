// GA: population files. The writer appends one whole block per save; the
// readers take the file into memory and parse it with PopulationFileParser,
// then change the GA only when the whole load has succeeded.
#include "ga.h"

#include "console.h"
#include "populationfileparser.h"
#include "populationtext.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {
constexpr int saveAttempts = 3;
// Larger files are refused rather than read: a population file this big is
// not one, and the limit keeps a device file from filling the memory.
constexpr std::size_t maxFileBytes = std::size_t{1} << 30;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Quoted(const std::string& fileName) { return "'" + fileName + "'"; }

// Reads the whole file in binary mode (CR bytes are whitespace to the
// parser). Returns false with a message when it cannot be opened or read.
bool ReadWholeFile(const std::string& fileName, std::string& text, std::string& error)
{
    File file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        error = "Can't open " + Quoted(fileName) + ": " + std::strerror(errno);
        return false;
    }
    text.clear();
    char chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        text.append(chunk, got);
        if (text.size() > maxFileBytes) {
            error = "Can't read " + Quoted(fileName) + ": larger than 1 GiB";
            return false;
        }
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(file.get())) {
        error = "Can't read " + Quoted(fileName) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

GAFileResult Failure(std::string message) { return GAFileResult{false, std::move(message)}; }
} // namespace

void GA::WriteIndividual(std::string& block, uint32_t i) const
{
    const Individual& individual = At(i);
    for (uint32_t p = 0; p < chromosomeLength_; ++p)
        block += individual[p] ? '1' : '0';
    block += ' ';
    PopulationText::AppendFixed6(block, individual.GetFitness());
    block += '\n';
}

std::string GA::GenerationBlock() const
{
    std::string block = "Generation ";
    PopulationText::AppendInteger(block, generation_);
    block += '\n';
    PopulationText::AppendInteger(block, populationSize_);
    block += ' ';
    PopulationText::AppendInteger(block, chromosomeLength_);
    block += '\n';
    block.reserve(block.size() + std::size_t{populationSize_} * (chromosomeLength_ + 16));
    for (uint32_t i = 0; i < populationSize_; ++i)
        WriteIndividual(block, i);
    return block;
}

GAFileResult GA::SaveGeneration(const std::string& fileName) const
{
    // The whole block is built in memory and handed over in one unbuffered
    // write; if that fails, the file is cut back to its old length, so a
    // failed save never leaves half a block behind. Append mode never
    // touches what the file already holds.
    const std::string block = GenerationBlock();
    File file;
    int openError = 0;
    for (int attempt = 0; attempt < saveAttempts && !file; ++attempt) {
        file.reset(std::fopen(fileName.c_str(), "a"));
        if (!file) {
            openError = errno;
            ConsolePrintf("Can't open file %s\n", fileName.c_str());
        }
    }
    if (!file)
        return Failure("Can't open file " + Quoted(fileName) + " for appending: " + std::strerror(openError));

    std::error_code sizeError;
    const std::uintmax_t oldSize = std::filesystem::file_size(fileName, sizeError);
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    bool saved = std::fwrite(block.data(), 1, block.size(), file.get()) == block.size();
    int writeError = saved ? 0 : errno;
    if (std::fclose(file.release()) != 0 && saved) {
        saved = false;
        writeError = errno;
    }
    if (saved)
        return GAFileResult{};
    if (!sizeError) {
        std::error_code ignored;
        std::filesystem::resize_file(fileName, oldSize, ignored);
    }
    return Failure("Can't write to file " + Quoted(fileName) + ": " + std::strerror(writeError) +
                   "; the population was not saved");
}

GAGenerationList GA::ReadGenerationList(const std::string& fileName)
{
    std::string text;
    std::string error;
    if (!ReadWholeFile(fileName, text, error)) {
        ConsolePrintf("Cannot open test.ga\n");
        return GAGenerationList{false, error, {}};
    }
    GAGenerationList list = ReadGenerationListFromText(text);
    if (!list.ok)
        list.message = Quoted(fileName) + ": " + list.message;
    return list;
}

GAGenerationList GA::ReadGenerationListFromText(std::string_view text)
{
    GAGenerationList list;
    PopulationFileParser parser(text);
    for (;;) {
        PopulationBlock block;
        switch (parser.ReadHeader(block.generation, list.message)) {
        case PopulationFileParser::Header::End:
            return list;
        case PopulationFileParser::Header::Malformed:
            list.ok = false;
            return list;
        case PopulationFileParser::Header::Read:
            break;
        }
        if (!parser.ReadBody(block, false, list.message)) {
            list.ok = false;
            return list;
        }
        list.records.push_back(GAData{block.generation, std::move(block.fitness)});
    }
}

GAFileResult GA::LoadGeneration(const std::string& fileName, int32_t generation)
{
    std::string text;
    std::string error;
    if (!ReadWholeFile(fileName, text, error)) {
        ConsolePrintf("Can't open '%s'\n", fileName.c_str());
        return Failure(error);
    }
    GAFileResult result = LoadGenerationFromText(text, generation);
    if (!result.ok)
        result.message = Quoted(fileName) + ": " + result.message;
    return result;
}

GAFileResult GA::LoadGenerationFromText(std::string_view text, int32_t generation)
{
    // Everything is read into locals first; the GA changes only at the end,
    // so a refused load leaves population, sizes, counter and history alone.
    PopulationFileParser parser(text);
    std::vector<GAData> history;
    PopulationBlock block;
    std::string error;
    for (;;) {
        switch (parser.ReadHeader(block.generation, error)) {
        case PopulationFileParser::Header::End:
            return Failure("no block of generation " + std::to_string(generation));
        case PopulationFileParser::Header::Malformed:
            return Failure(error);
        case PopulationFileParser::Header::Read:
            break;
        }
        ConsolePrintf("Seeking: %d\r", block.generation);
        const bool wanted = block.generation == generation;
        if (!parser.ReadBody(block, wanted, error))
            return Failure(error);
        if (wanted)
            break;
        history.push_back(GAData{block.generation, std::move(block.fitness)});
    }

    ConsolePrintf("\n");
    std::vector<Individual> population;
    population.reserve(block.size);
    const unsigned char* bits = block.bits.data();
    for (uint32_t i = 0; i < block.size; ++i) {
        Individual& individual = population.emplace_back(block.length);
        for (uint32_t p = 0; p < block.length; ++p)
            individual[p] = *bits++;
        ConsolePrintf("%03d->%05.2f \t", static_cast<int>(i), block.fitness[i]);
        individual.SetFitness(block.fitness[i]);
    }
    history.push_back(GAData{generation, std::move(block.fitness)});

    population_.swap(population);
    populationSize_ = block.size;
    chromosomeLength_ = block.length;
    generation_ = generation;
    history_.swap(history);
    fitInfo_.clear();
    evaluated_ = true;
    ConsolePrintf("Loading done\n");
    return GAFileResult{};
}
