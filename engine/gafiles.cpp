// GA: population files. The writer appends one whole block per save; the
// readers stream the file through PopulationFileParser a chunk at a time, so
// that any file the writer can grow can be read back, and change the GA only
// when the whole load has succeeded.
#include "ga.h"

#include "console.h"
#include "inputfilecheck.h"
#include "populationfileparser.h"
#include "populationinput.h"
#include "populationtext.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/types.h>

namespace {
constexpr int saveAttempts = 3;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Quoted(const std::string& fileName) { return "'" + fileName + "'"; }

// A population file opened for reading in binary mode (CR bytes are
// whitespace to the parser), its size taken at opening and its read position
// at `offset`.
struct InputFile {
    File file;
    uint64_t size = 0;

    bool Open(const std::string& fileName, uint64_t offset, std::string& error)
    {
        // A FIFO would block the opening and a device never ends: only
        // regular files are read (their size is unbounded, as the reader streams).
        const std::string refusal = CheckInputFile(fileName);
        if (!refusal.empty()) {
            error = "Can't open " + Quoted(fileName) + ": " + refusal;
            return false;
        }
        file.reset(std::fopen(fileName.c_str(), "rb"));
        bool ok = file && ::fseeko(file.get(), 0, SEEK_END) == 0;
        const off_t end = ok ? ::ftello(file.get()) : -1;
        ok = end >= 0 && static_cast<uint64_t>(end) >= offset &&
             ::fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) == 0;
        if (!ok) {
            error = "Can't open " + Quoted(fileName) + ": " + std::strerror(errno);
            file.reset();
            return false;
        }
        size = static_cast<uint64_t>(end);
        return true;
    }

    std::string ReadError(const std::string& fileName) const
    {
        const char* reason = std::ferror(file.get()) ? std::strerror(errno) : "the file got shorter while it was read";
        return "Can't read " + Quoted(fileName) + ": " + reason;
    }
};

GAGenerationList ListBlocks(PopulationInput& input)
{
    GAGenerationList list;
    PopulationFileParser parser(input);
    for (;;) {
        PopulationBlock block;
        switch (parser.ReadHeader(block, list.message)) {
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
        list.places.push_back(GABlockPlace{block.offset, block.size, block.length});
        list.records.push_back(GAData{block.generation, std::move(block.fitness)});
    }
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
    InputFile in;
    std::string error;
    if (!in.Open(fileName, 0, error)) {
        ConsolePrintf("Cannot open test.ga\n");
        return GAGenerationList{false, error, {}, {}};
    }
    PopulationInput input(in.file.get(), 0, in.size);
    GAGenerationList list = ListBlocks(input);
    if (input.ReadFailed()) {
        list.ok = false;
        list.message = in.ReadError(fileName);
    } else if (!list.ok) {
        list.message = Quoted(fileName) + ": " + list.message;
    }
    return list;
}

GAGenerationList GA::ReadGenerationListFromText(std::string_view text)
{
    PopulationInput input(text);
    return ListBlocks(input);
}

GAFileResult GA::LoadGeneration(const std::string& fileName, int32_t generation)
{
    InputFile in;
    std::string error;
    if (!in.Open(fileName, 0, error)) {
        ConsolePrintf("Can't open '%s'\n", fileName.c_str());
        return Failure(error);
    }
    PopulationInput input(in.file.get(), 0, in.size);
    GAFileResult result = LoadFrom(input, generation);
    if (input.ReadFailed())
        return Failure(in.ReadError(fileName));
    if (!result.ok)
        result.message = Quoted(fileName) + ": " + result.message;
    return result;
}

GAFileResult GA::LoadGenerationFromText(std::string_view text, int32_t generation)
{
    PopulationInput input(text);
    return LoadFrom(input, generation);
}

GAFileResult GA::LoadFrom(PopulationInput& input, int32_t generation)
{
    // Everything is read into locals first; the GA changes only at the end,
    // so a refused load leaves population, sizes, counter and history alone.
    PopulationFileParser parser(input);
    std::vector<GAData> history;
    PopulationBlock block;
    std::string error;
    for (;;) {
        switch (parser.ReadHeader(block, error)) {
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
    InstallBlock(block, std::move(history));
    return GAFileResult{};
}

GAFileResult GA::LoadListedGeneration(const std::string& fileName, const GAGenerationList& list, std::size_t index)
{
    if (index >= list.records.size() || index >= list.places.size())
        return Failure(Quoted(fileName) + ": the list holds no block " + std::to_string(index));
    const GABlockPlace& place = list.places[index];
    InputFile in;
    std::string error;
    if (!in.Open(fileName, place.offset, error)) {
        ConsolePrintf("Can't open '%s'\n", fileName.c_str());
        return Failure(error);
    }
    for (std::size_t k = 0; k <= index; ++k)
        ConsolePrintf("Seeking: %d\r", list.records[k].generation);

    PopulationInput input(in.file.get(), place.offset, in.size);
    PopulationFileParser parser(input);
    PopulationBlock block;
    bool read = parser.ReadHeader(block, error) == PopulationFileParser::Header::Read &&
                block.generation == list.records[index].generation && block.offset == place.offset;
    if (read && !parser.ReadBody(block, true, error)) {
        if (input.ReadFailed())
            return Failure(in.ReadError(fileName));
        return Failure(Quoted(fileName) + ": " + error);
    }
    if (!read || block.size != place.size || block.length != place.length)
        return Failure(Quoted(fileName) + ": the file has changed since its blocks were listed");
    InstallBlock(block, std::vector<GAData>(list.records.begin(), list.records.begin() + static_cast<std::ptrdiff_t>(index)));
    return GAFileResult{};
}

void GA::InstallBlock(PopulationBlock& block, std::vector<GAData> history)
{
    const int32_t generation = block.generation;
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
    historyRevision_.Renew();
    evaluated_ = true;
    ConsolePrintf("Loading done\n");
}
