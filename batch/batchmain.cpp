#include "batchmain.h"

#include "batchassessment.h"
#include "batchexperiment.h"
#include "batchoutput.h"
#include "batchprogress.h"
#include "batchsummary.h"
#include "safeoutputfile.h"

#include <filesystem>
#include <new>
#include <sched.h>
#include <thread>

namespace {
// Hands each finished run to the statistics file and the display.
class BatchObserver : public ExperimentObserver {
public:
    BatchObserver(BatchOutput& output, ProgressDisplay& display, std::atomic<bool>& stop)
        : output_(output)
        , display_(display)
        , stop_(stop)
    {
    }
    void RunFinished(const RunResult& result) override
    {
        // A reader that has gone (`--stats /dev/stdout | head`) ends the
        // batch as Ctrl+C does: the other files are still completed.
        if (!output_.WriteRun(result) && output_.ReaderGone())
            stop_ = true;
        display_.RunFinished(result);
    }
    void Tick(const ExperimentProgress& progress) override { display_.Tick(progress); }

private:
    BatchOutput& output_;
    ProgressDisplay& display_;
    std::atomic<bool>& stop_;
};

// The cores this process may run on: those of its affinity mask, which
// taskset, cgroup cpusets and batch schedulers such as Slurm restrict.
uint32_t AvailableCores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<uint32_t>(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

int Refuse(const BatchStreams& streams, const std::string& message)
{
    std::fprintf(streams.err, "orvik-batch: %s\n", message.c_str());
    return BatchBadArguments;
}

// Opens the --assessment file, if any, refusing one that would replace an
// input or another output.
std::string OpenAssessmentFile(const BatchSetup& setup, SafeOutputFile& file)
{
    const BatchOptions& options = setup.options;
    if (!options.assessmentFile)
        return {};
    const std::string& path = *options.assessmentFile;
    std::vector<std::string> others = options.populations;
    others.insert(others.end(), options.arenas.begin(), options.arenas.end());
    others.insert(others.end(), options.assessArenas.begin(), options.assessArenas.end());
    for (const std::optional<std::string>& output : {options.statsFile, options.summaryFile, options.startFile})
        if (output)
            others.push_back(*output);
    std::error_code ignored;
    for (const std::string& other : others)
        if (std::filesystem::weakly_canonical(path, ignored) == std::filesystem::weakly_canonical(other, ignored))
            return "--assessment " + path + ": the batch reads or writes " + other + " too";
    const std::string reason = file.Open(path);
    if (!reason.empty())
        return "--assessment " + path + ": " + reason;
    if (options.header)
        file.Write(AssessmentHeader(!options.populations.empty()));
    return {};
}

// Writes and completes the --assessment file; the line for the user when it failed.
std::vector<std::string> FinishAssessmentFile(SafeOutputFile& file, const std::string& rows)
{
    if (!file.IsOpen())
        return {};
    file.Write(rows);
    const std::string reason = file.Commit();
    if (reason.empty() || file.ReaderGone())
        return {};
    return {CannotWrite(file.Path(), reason)};
}

// orvik-batch --robot --assess N FILE.ga ...: assesses the files' fittest
// controllers and evolves nothing.
int AssessPopulationFiles(const BatchSetup& setup, const BatchStreams& streams)
{
    SafeOutputFile file;
    const std::string openError = OpenAssessmentFile(setup, file);
    if (!openError.empty())
        return Refuse(streams, openError);
    std::vector<ControllerAssessment> assessments;
    std::vector<std::string> labels;
    std::string rows;
    for (const BatchSetup::Controller& controller : setup.robot->populations) {
        assessments.push_back(AssessControllerOf(setup, controller.pal, controller.chromosome));
        labels.push_back(controller.file);
        rows += AssessmentRows(setup, CsvField(controller.file), assessments.back());
    }
    const std::vector<std::string> errors = FinishAssessmentFile(file, rows);
    for (const std::string& line : errors)
        std::fprintf(streams.err, "orvik-batch: %s\n", line.c_str());
    std::vector<const ControllerAssessment*> all;
    for (const ControllerAssessment& assessment : assessments)
        all.push_back(&assessment);
    std::fputs(AssessmentText(setup, all, labels).c_str(), streams.out);
    std::fflush(streams.out);
    return errors.empty() ? BatchOk : BatchWriteFailed;
}

// The whole batch; RunBatch adds the last resort for a failure.
int Batch(const std::vector<std::string>& arguments, std::atomic<bool>& stop, const std::atomic<int>& stopSignal,
    const BatchStreams& streams)
{
    const uint32_t cores = AvailableCores();
    const BatchOptionsResult parsed = ParseBatchOptions(arguments, cores);
    if (parsed.options.help) {
        std::fputs(BatchHelpText(cores).c_str(), streams.out);
        return BatchOk;
    }
    if (!parsed.error.empty())
        return Refuse(streams, parsed.error);
    const BatchSetupResult prepared = PrepareBatch(parsed.options);
    if (!prepared.setup)
        return Refuse(streams, prepared.error);
    const BatchSetup& setup = *prepared.setup;
    if (setup.robot && !setup.robot->populations.empty())
        return AssessPopulationFiles(setup, streams);

    SafeOutputFile assessmentFile;
    const std::string assessmentError = OpenAssessmentFile(setup, assessmentFile);
    if (!assessmentError.empty())
        return Refuse(streams, assessmentError);
    BatchOutput output;
    const std::string openError = output.Open(setup.options);
    if (!openError.empty()) {
        assessmentFile.Abandon();
        return Refuse(streams, openError);
    }

    ProgressDisplay display(streams.err, streams.errTerminalColumns, setup.maxFitness);
    BatchObserver observer(output, display, stop);
    std::string runError;
    const std::vector<RunResult> results = RunExperiment(setup, setup.options.jobs, stop, observer, runError);
    display.Finish();

    // Every file that could not be written is named, one line each.
    int status = BatchOk;
    std::vector<std::string> errors = output.Finish(results);
    for (const RunResult& result : results)
        if (!result.saveError.empty())
            errors.push_back(result.saveError);
    std::string assessmentRows;
    std::vector<const ControllerAssessment*> assessed;
    for (const RunResult& result : results)
        if (result.assessment) {
            assessmentRows += AssessmentRows(
                setup, std::to_string(result.run) + "," + std::to_string(result.seed), *result.assessment);
            assessed.push_back(&*result.assessment);
        }
    for (const std::string& line : FinishAssessmentFile(assessmentFile, assessmentRows))
        errors.push_back(line);
    if (!errors.empty())
        status = BatchWriteFailed;
    if (!runError.empty()) {
        errors.insert(errors.begin(), runError);
        status = BatchRunFailed;
    }
    for (const std::string& line : errors)
        std::fprintf(streams.err, "orvik-batch: %s\n", line.c_str());
    std::fputs(SummaryText(setup, results).c_str(), streams.out);
    if (setup.options.assess)
        std::fputs(AssessmentText(setup, assessed, {}).c_str(), streams.out);
    std::fflush(streams.out);

    bool allFinished = true;
    for (const RunResult& result : results)
        allFinished = allFinished && result.Finished();
    if (status == BatchOk && !allFinished && stopSignal != 0)
        status = 128 + stopSignal;
    else if (status == BatchOk && output.ReaderGone())
        status = BatchReaderGone;
    return status;
}
} // namespace

int RunBatch(const std::vector<std::string>& arguments, std::atomic<bool>& stop,
    const std::atomic<int>& stopSignal, const BatchStreams& streams)
{
    try {
        return Batch(arguments, stop, stopSignal, streams);
    } catch (const std::exception& failure) {
        // The unfinished files went with the unwinding.
        const bool memory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
        std::fprintf(streams.err, "orvik-batch: %s; nothing written\n", memory ? "out of memory" : failure.what());
        return BatchRunFailed;
    }
}
