#include "batchoutput.h"

#include "statisticsfile.h"

#include <charconv>
#include <filesystem>
#include <tuple>

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
    // Devices and pipes such as /dev/null may take both outputs.
    std::error_code ignored;
    if (options.statsFile && options.summaryFile && SameFile(*options.statsFile, *options.summaryFile)
        && !std::filesystem::is_character_file(*options.statsFile, ignored)
        && !std::filesystem::is_fifo(*options.statsFile, ignored))
        return "--stats and --summary name the same file";
    for (const auto& [name, output] :
        {std::pair {"--stats", options.statsFile}, {"--summary", options.summaryFile}}) {
        if (output && SameFile(*output, options.table))
            return std::string(name) + " " + *output + " would replace the table";
        if (output && options.robot && SameFile(*output, options.arena))
            return std::string(name) + " " + *output + " would replace the arena file";
        for (const std::vector<std::string>* arenas : {&options.arenas, &options.assessArenas})
            for (const std::string& arena : *arenas)
                if (output && SameFile(*output, arena))
                    return std::string(name) + " " + *output + " would replace the arena file";
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
// Creates the --save-best folder and checks, before any run, that the runs'
// files can be written there: new files can be created, and every seed-S.ga
// (and with --jedec seed-S.jed) of the batch's seeds that exists is a
// regular file. A FIFO there would block the run that opens it.
std::string PrepareSaveFolder(const std::string& folder, const BatchOptions& options)
{
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure || !std::filesystem::is_directory(folder))
        return "cannot create the folder" + (failure ? ": " + failure.message() : std::string());
    std::string reason = CheckFolderWritable(folder);
    if (!reason.empty())
        return reason;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        const std::string name = entry.path().filename().string();
        uint32_t seed = 0;
        const auto [end, error] = std::from_chars(name.data() + std::min<std::size_t>(5, name.size()),
            name.data() + name.size(), seed);
        const std::string_view ending(end);
        const bool seedFile = name.compare(0, 5, "seed-") == 0 && error == std::errc()
            && (ending == ".ga" || (ending == ".jed" && options.jedecDevice)) && seed >= options.seed
            && seed - options.seed < options.runs;
        const std::filesystem::file_status status = entry.status(failure); // a link's target
        if (!seedFile || !std::filesystem::exists(status))
            continue;
        if (std::filesystem::is_directory(status))
            return name + " is a directory";
        if (!std::filesystem::is_regular_file(status))
            return name + " is not a regular file";
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

BatchOutput::~BatchOutput() = default;

std::string BatchOutput::Open(const BatchOptions& options)
{
    header_ = options.header;
    evaluationsColumn_ = options.countsEvaluations;
    std::string error = CheckOutputsApart(options);
    if (!error.empty())
        return error;
    for (const auto& [name, path, file] : {std::tuple {"--stats", options.statsFile, &stats_},
             std::tuple {"--summary", options.summaryFile, &summary_}}) {
        const std::string reason = path ? file->Open(*path) : std::string();
        if (!reason.empty()) {
            stats_.Abandon();
            summary_.Abandon();
            return std::string(name) + " " + *path + ": " + reason;
        }
    }
    if (options.saveDirectory) {
        const std::string reason = PrepareSaveFolder(*options.saveDirectory, options);
        if (!reason.empty()) {
            stats_.Abandon();
            summary_.Abandon();
            return "--save-best " + *options.saveDirectory + ": " + reason;
        }
    }
    if (header_)
        stats_.Write(StatisticsFile::Header);
    return {};
}

bool BatchOutput::WriteRun(const RunResult& result)
{
    return !stats_.IsOpen() || stats_.Write(result.statsRows);
}

std::vector<std::string> BatchOutput::Finish(const std::vector<RunResult>& results)
{
    if (summary_.IsOpen()) {
        std::string text;
        if (header_)
            text = evaluationsColumn_ ? WithEvaluations(SummaryHeader, "evaluations") : SummaryHeader;
        for (const RunResult& result : results) {
            const std::string row = SummaryRow(result);
            const bool begun = result.end != RunResult::End::NotStarted;
            text += evaluationsColumn_ ? WithEvaluations(row, begun ? std::to_string(result.evaluations) : "")
                                       : row;
        }
        summary_.Write(text);
    }
    std::vector<std::string> lines;
    for (SafeOutputFile* file : {&stats_, &summary_}) {
        const bool open = file->IsOpen();
        const std::string reason = file->Commit();
        if (open && !reason.empty() && !file->ReaderGone())
            lines.push_back(CannotWrite(file->Path(), reason));
    }
    return lines;
}
