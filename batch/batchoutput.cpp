#include "batchoutput.h"

#include "statisticsfile.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

const char* const SummaryHeader = "run,seed,generations,best,reached_max,seconds,finished\n";

namespace {
// A summary line (ending in "\n") with one more column.
std::string WithEvaluations(std::string line, const std::string& value)
{
    line.insert(line.size() - 1, "," + value);
    return line;
}

std::string Seconds(double seconds)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

// Refuses outputs that would replace each other or the batch's own inputs.
std::string CheckOutputsApart(const BatchOptions& options)
{
    if (options.statsFile && options.summaryFile && SameFile(*options.statsFile, *options.summaryFile))
        return "--stats and --summary name the same file";
    for (const auto& [name, output] :
        {std::pair {"--stats", options.statsFile}, {"--summary", options.summaryFile}}) {
        if (output && SameFile(*output, options.table))
            return std::string(name) + " " + *output + " would replace the table";
        if (output && options.startFile && SameFile(*output, *options.startFile))
            return std::string(name) + " " + *output + " would replace the --start file";
    }
    if (options.saveDirectory && options.startFile) {
        // Is the start file DIR/seed-S.ga for the seed S of one of the runs?
        const std::filesystem::path start(*options.startFile);
        const std::string name = start.filename().string();
        uint64_t seed = 0;
        const bool seedName = name.size() > 8 && name.compare(0, 5, "seed-") == 0
            && name.compare(name.size() - 3, 3, ".ga") == 0
            && std::from_chars(name.data() + 5, name.data() + name.size() - 3, seed).ptr
                == name.data() + name.size() - 3;
        if (seedName && seed >= options.seed && seed - options.seed < options.runs
            && SameFile(
                start.parent_path().empty() ? "." : start.parent_path().string(), *options.saveDirectory))
            return "--save-best " + *options.saveDirectory + ": " + name + " would replace the --start file";
    }
    return {};
}
} // namespace

std::string SummaryRow(const RunResult& result)
{
    std::string row = std::to_string(result.run) + ',' + std::to_string(result.seed) + ',';
    if (result.end != RunResult::End::NotStarted) {
        row += std::to_string(result.generations) + ',';
        StatisticsFile::AppendNumber(row, result.best);
    } else {
        row += ',';
    }
    row += result.reachedMax ? ",1," : ",0,";
    if (result.end != RunResult::End::NotStarted)
        row += Seconds(result.seconds);
    row += result.Finished() ? ",1\n" : ",0\n";
    return row;
}

BatchOutput::~BatchOutput()
{
    Discard(stats_);
    Discard(summary_);
}

std::string BatchOutput::OpenFile(const std::string& path, File& file)
{
    file.path = path;
    file.partPath = path + ".part";
    file.file = std::fopen(file.partPath.c_str(), "wb");
    if (!file.file)
        return "cannot write " + file.partPath + ": " + std::strerror(errno);
    return {};
}

std::string BatchOutput::Open(const BatchOptions& options)
{
    header_ = options.header;
    evaluationsColumn_ = options.countsEvaluations;
    std::string error = CheckOutputsApart(options);
    if (!error.empty())
        return error;
    if (options.statsFile)
        error = OpenFile(*options.statsFile, stats_);
    if (error.empty() && options.summaryFile)
        error = OpenFile(*options.summaryFile, summary_);
    if (error.empty() && options.saveDirectory) {
        std::error_code failure;
        std::filesystem::create_directories(*options.saveDirectory, failure);
        if (failure || !std::filesystem::is_directory(*options.saveDirectory))
            error = "--save-best " + *options.saveDirectory + ": cannot create the folder"
                + (failure ? ": " + failure.message() : "");
    }
    if (!error.empty()) {
        Discard(stats_);
        Discard(summary_);
        return error;
    }
    if (header_)
        Write(stats_, StatisticsFile::Header);
    return {};
}

bool BatchOutput::Write(File& file, const std::string& text)
{
    if (file.file && std::fwrite(text.data(), 1, text.size(), file.file) != text.size())
        file.failed = true;
    return !file.failed;
}

bool BatchOutput::WriteRun(const RunResult& result)
{
    return Write(stats_, result.statsRows);
}

std::string BatchOutput::Complete(File& file)
{
    if (!file.file)
        return {};
    const bool closed = std::fclose(file.file) == 0;
    file.file = nullptr;
    if (file.failed || !closed) {
        Discard(file);
        return "cannot write " + file.path + ": " + std::strerror(errno);
    }
    std::error_code failure;
    std::filesystem::rename(file.partPath, file.path, failure);
    if (failure) {
        Discard(file);
        return "cannot write " + file.path + ": " + failure.message();
    }
    file.partPath.clear();
    return {};
}

std::string BatchOutput::Finish(const std::vector<RunResult>& results)
{
    if (summary_.file) {
        std::string text;
        if (header_)
            text = evaluationsColumn_ ? WithEvaluations(SummaryHeader, "evaluations") : SummaryHeader;
        for (const RunResult& result : results) {
            const std::string row = SummaryRow(result);
            const bool begun = result.end != RunResult::End::NotStarted;
            text += evaluationsColumn_ ? WithEvaluations(row, begun ? std::to_string(result.evaluations) : "")
                                       : row;
        }
        Write(summary_, text);
    }
    std::string error = Complete(stats_);
    const std::string summaryError = Complete(summary_);
    return error.empty() ? summaryError : error;
}

void BatchOutput::Discard(File& file)
{
    if (file.file)
        std::fclose(file.file);
    file.file = nullptr;
    if (!file.partPath.empty()) {
        std::error_code ignored;
        std::filesystem::remove(file.partPath, ignored);
        file.partPath.clear();
    }
}
