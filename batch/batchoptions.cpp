#include "batchoptions.h"

#include <charconv>
#include <functional>
#include <limits>
#include <set>
#include <string_view>

namespace {

// A whole decimal number of digits only, within [low, high].
bool ParseUnsigned(const std::string& text, uint64_t low, uint64_t high, uint64_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    uint64_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

std::string OutOfRange(const std::string& option, const std::string& text, uint64_t low, uint64_t high)
{
    return option + " " + text + ": must be a whole number from " + std::to_string(low) + " to "
        + std::to_string(high);
}

constexpr uint64_t maxUint32 = std::numeric_limits<uint32_t>::max();

// The options in the order --help lists them; `handle` stores the value and
// returns an error line, or an empty string.
struct OptionSpec {
    const char* name;
    bool takesValue;
    std::function<std::string(BatchOptions&, const std::string&)> handle;
};

std::function<std::string(BatchOptions&, const std::string&)> Count(
    uint32_t BatchOptions::*field, const char* name, uint64_t low)
{
    return [field, name, low](BatchOptions& options, const std::string& text) -> std::string {
        uint64_t value = 0;
        if (!ParseUnsigned(text, low, maxUint32, value))
            return OutOfRange(name, text, low, maxUint32);
        options.*field = static_cast<uint32_t>(value);
        return {};
    };
}

std::function<std::string(BatchOptions&, const std::string&)> Text(std::string BatchOptions::*field)
{
    return [field](BatchOptions& options, const std::string& text) -> std::string {
        options.*field = text;
        return {};
    };
}

std::function<std::string(BatchOptions&, const std::string&)> OptionalText(
    std::optional<std::string> BatchOptions::*field)
{
    return [field](BatchOptions& options, const std::string& text) -> std::string {
        options.*field = text;
        return {};
    };
}

std::function<std::string(BatchOptions&, const std::string&)> Path(
    std::optional<std::string> BatchOptions::*field, const char* name)
{
    return [field, name](BatchOptions& options, const std::string& text) -> std::string {
        if (text.empty())
            return std::string(name) + " needs a file name";
        options.*field = text;
        return {};
    };
}

std::function<std::string(BatchOptions&, const std::string&)> Flag(bool BatchOptions::*field, bool value)
{
    return [field, value](BatchOptions& options, const std::string&) -> std::string {
        options.*field = value;
        return {};
    };
}

std::string ParseStart(BatchOptions& options, const std::string& text)
{
    // The file name may itself hold colons: the generation follows the last one.
    const std::size_t colon = text.rfind(':');
    uint64_t generation = 0;
    if (colon == std::string::npos || colon == 0
        || !ParseUnsigned(text.substr(colon + 1), 0, std::numeric_limits<int32_t>::max(), generation))
        return "--start " + text + ": expected file.ga:generation, e.g. --start run.ga:250";
    options.startFile = text.substr(0, colon);
    options.startGeneration = static_cast<int32_t>(generation);
    return {};
}

std::string ParseGenerations(BatchOptions& options, const std::string& text)
{
    if (text == "unlimited") {
        options.generations.reset();
        return {};
    }
    uint64_t value = 0;
    if (!ParseUnsigned(text, 0, maxUint32, value))
        return "--generations " + text + ": must be a whole number from 0 to " + std::to_string(maxUint32)
            + " or \"unlimited\"";
    options.generations = static_cast<uint32_t>(value);
    return {};
}

std::string ParseSelection(BatchOptions& options, const std::string& text)
{
    if (text == "rank")
        options.selection = 1;
    else if (text == "roulette")
        options.selection = 0;
    else
        return "--selection " + text + ": must be rank or roulette";
    return {};
}

std::string ParseStrategy(BatchOptions& options, const std::string& text)
{
    if (text == "ga")
        options.strategy = BatchOptions::Strategy::GA;
    else if (text == "es")
        options.strategy = BatchOptions::Strategy::ES;
    else
        return "--strategy " + text + ": must be ga or es";
    return {};
}

std::string ParseLambda(BatchOptions& options, const std::string& text)
{
    // The population, 1 + lambda, must pass the GA dialog's bound.
    const uint64_t high = 999999;
    uint64_t value = 0;
    if (!ParseUnsigned(text, 1, high, value))
        return OutOfRange("--lambda", text, 1, high);
    options.lambda = static_cast<uint32_t>(value);
    return {};
}

std::string ParseESMutation(BatchOptions& options, const std::string& text)
{
    uint64_t bits = 0;
    if (text != "per-bit" && text != "fuse-pairs"
        && (text.compare(0, 5, "bits:") != 0 || !ParseUnsigned(text.substr(5), 1, maxUint32, bits)))
        return "--es-mutation " + text + ": must be per-bit, fuse-pairs or bits:K (K >= 1)";
    options.esMutation = text;
    return {};
}

std::string ParseEvaluations(BatchOptions& options, const std::string& text)
{
    const uint64_t high = std::numeric_limits<uint64_t>::max();
    uint64_t value = 0;
    if (!ParseUnsigned(text, 1, high, value))
        return OutOfRange("--evaluations", text, 1, high);
    options.evaluations = value;
    return {};
}

const std::vector<OptionSpec>& Specs()
{
    static const std::vector<OptionSpec> specs = {
        {"--pal", true, OptionalText(&BatchOptions::pal)},
        {"--terms", true, OptionalText(&BatchOptions::terms)},
        {"--population", true, OptionalText(&BatchOptions::population)},
        {"--mutation", true, Text(&BatchOptions::mutation)},
        {"--crossover", true, Text(&BatchOptions::crossover)},
        {"--selection", true, ParseSelection},
        {"--rank-parents", true, Text(&BatchOptions::rankParents)},
        {"--elitism", true, Text(&BatchOptions::elitism)},
        {"--strategy", true, ParseStrategy},
        {"--lambda", true, ParseLambda},
        {"--es-mutation", true, ParseESMutation},
        {"--generations", true, ParseGenerations},
        {"--no-stop-at-max", false, Flag(&BatchOptions::stopAtMax, false)},
        {"--evaluations", true, ParseEvaluations},
        {"--runs", true, Count(&BatchOptions::runs, "--runs", 1)},
        {"--seed", true, Count(&BatchOptions::seed, "--seed", 0)},
        {"--jobs", true, Count(&BatchOptions::jobs, "--jobs", 1)},
        {"--start", true, ParseStart},
        {"--stats", true, Path(&BatchOptions::statsFile, "--stats")},
        {"--every", true, Count(&BatchOptions::every, "--every", 1)},
        {"--summary", true, Path(&BatchOptions::summaryFile, "--summary")},
        {"--save-best", true, Path(&BatchOptions::saveDirectory, "--save-best")},
        {"--no-header", false, Flag(&BatchOptions::header, false)},
        {"--help", false, Flag(&BatchOptions::help, true)},
    };
    return specs;
}

const OptionSpec* FindSpec(std::string_view name)
{
    for (const OptionSpec& spec : Specs())
        if (name == spec.name)
            return &spec;
    return nullptr;
}

// Checks that involve several options.
std::string CheckCombinations(const BatchOptions& options)
{
    if (options.table.empty())
        return "no table given (see --help)";
    if (options.pal && options.terms)
        return "--pal and --terms both set the AND terms: give one of them";
    if (options.startFile && options.population)
        return "--start takes the population size from the file: leave out --population";
    if (options.strategy == BatchOptions::Strategy::ES && options.population)
        return "--strategy es takes the population size from --lambda (1 + lambda): leave out --population";
    if (options.lambda && options.strategy != BatchOptions::Strategy::ES)
        return "--lambda is the evolution strategy's: add --strategy es";
    if (options.esMutation != "per-bit" && options.strategy != BatchOptions::Strategy::ES)
        return "--es-mutation is the evolution strategy's: add --strategy es";
    if (options.startFile && options.lambda)
        return "--start takes the population size from the file: leave out --lambda";
    if (!options.generations && !options.stopAtMax && !options.evaluations)
        return "--generations unlimited with --no-stop-at-max would never stop";
    if (uint64_t {options.seed} + options.runs - 1 > maxUint32)
        return "--seed " + std::to_string(options.seed) + " with --runs " + std::to_string(options.runs)
            + " goes past seed " + std::to_string(maxUint32);
    return {};
}

} // namespace

BatchOptionsResult ParseBatchOptions(const std::vector<std::string>& arguments, uint32_t cores)
{
    BatchOptionsResult result;
    BatchOptions& options = result.options;
    options.jobs = cores > 0 ? cores : 1;
    std::set<std::string> seen;
    bool onlyFiles = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.size() < 2 || argument.compare(0, 2, "--") != 0 || argument == "--") {
            if (argument == "--" && !onlyFiles) {
                onlyFiles = true;
                continue;
            }
            if (!onlyFiles && argument.size() > 1 && argument[0] == '-') {
                result.error = "unknown option " + argument + " (see --help)";
                return result;
            }
            if (!options.table.empty()) {
                result.error = "more than one table given: " + options.table + " and " + argument;
                return result;
            }
            options.table = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionSpec* spec = FindSpec(name);
        if (!spec) {
            result.error = "unknown option " + name + " (see --help)";
            return result;
        }
        if (!seen.insert(name).second) {
            result.error = name + " given twice";
            return result;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!spec->takesValue) {
                result.error = name + " takes no value";
                return result;
            }
            value = argument.substr(equals + 1);
        } else if (spec->takesValue) {
            if (i + 1 >= arguments.size()) {
                result.error = name + " needs a value (see --help)";
                return result;
            }
            value = arguments[++i];
        }
        result.error = spec->handle(options, value);
        if (!result.error.empty())
            return result;
    }
    options.countsEvaluations = seen.count("--strategy") + seen.count("--lambda") + seen.count("--evaluations") > 0;
    if (options.evaluations && !seen.count("--generations"))
        options.generations.reset();
    if (options.strategy == BatchOptions::Strategy::ES && !seen.count("--mutation"))
        options.mutation = "1/L";
    if (!options.help)
        result.error = CheckCombinations(options);
    return result;
}

std::string BatchHelpText(uint32_t cores)
{
    return "Usage: orvik-batch [options] TABLE\n"
           "\n"
           "Evolves PAL fuse maps against a truth table with the same GA, generation step\n"
           "and fitness as Orvik's window, without a window: repeated runs from seeds,\n"
           "statistics files, and runs spread over several threads. TABLE is a \".tbl\"\n"
           "file of the table editor or a Berkeley PLA file (name ending in \".pla\").\n"
           "\n"
           "PAL\n"
           "  --pal I/T/O          inputs, AND terms per output, outputs; I and O must be\n"
           "                       the table's (default: the table's, with --terms)\n"
           "  --terms K            AND terms per output with the table's inputs and\n"
           "                       outputs (default 2)\n"
           "GA (the GA dialog's rules apply)\n"
           "  --population N       individuals (default 100)\n"
           "  --mutation P         per-bit mutation probability, or 1/L for one bit of a\n"
           "                       chromosome of L bits (default 0.01; es: 1/L)\n"
           "  --crossover P        crossover probability of a pair (default 0.7)\n"
           "  --selection S        rank or roulette (default rank)\n"
           "  --rank-parents R     the R best are the parents under rank selection\n"
           "                       (default 15)\n"
           "  --elitism E          E >= 1 keeps the E + 1 best individuals (default 1)\n"
           "  --strategy S         ga, or es: the (1+lambda) evolution strategy, a parent\n"
           "                       and lambda mutants of it, each bit flipped with\n"
           "                       probability --mutation and at least one; the fittest\n"
           "                       mutant replaces the parent when at least as fit\n"
           "                       (default ga)\n"
           "  --lambda L           the evolution strategy's offspring per generation; the\n"
           "                       population is 1 + L (default 4)\n"
           "  --es-mutation M      per-bit; fuse-pairs: each AND term's two fuses of an\n"
           "                       input change together to one of their other three\n"
           "                       states, with probability --mutation per pair (1/L\n"
           "                       stands for 2/L here); bits:K: exactly K bits\n"
           "                       (default per-bit)\n"
           "Stop\n"
           "  --generations G      stop a run after generation G, counted from its start\n"
           "                       population (generation 0); \"unlimited\" for no limit\n"
           "                       (default 1000)\n"
           "  --no-stop-at-max     go on after the maximum possible fitness is reached\n"
           "                       (default: a run stops at the first generation that\n"
           "                       reaches it)\n"
           "  --evaluations E      stop a run after exactly E fitness evaluations, also\n"
           "                       inside a generation; without --generations there is no\n"
           "                       generation limit then (default: no budget)\n"
           "Runs\n"
           "  --runs R             independent runs (default 1)\n"
           "  --seed S             run r draws from generators seeded S + r; --seed 1\n"
           "                       draws what a fresh start of the window draws (default 1)\n"
           "  --jobs J             threads; the results do not depend on J\n"
           "                       (default: the cores it may use, "
        + std::to_string(cores)
        + " here)\n"
          "  --start FILE:GEN     start every run from generation GEN of the population\n"
          "                       file FILE instead of a random population (default: random)\n"
          "Output (numbers in the C locale; existing files are replaced)\n"
          "  --stats FILE         one row per generation and run:\n"
          "                       run,seed,generation,max,average,min (default: none)\n"
          "  --every K            write every K-th generation to --stats; the last\n"
          "                       generation of each run is always written (default 1)\n"
          "  --summary FILE       one row per run:\n"
          "                       run,seed,generations,best,reached_max,seconds,finished\n"
          "                       and, with --strategy, --lambda or --evaluations,\n"
          "                       evaluations: those made until the maximum fitness was\n"
          "                       first reached, else all the run made (default: none)\n"
          "  --save-best DIR      the final population of each run as DIR/seed-S.ga, which\n"
          "                       Orvik's \"Load&Program\" opens (default: none)\n"
          "  --no-header          CSV files without a header line, to concatenate them\n"
          "                       (default: with header)\n"
          "  --help               this text\n"
          "\n"
          "A progress bar goes to standard error when it is a terminal, plain lines\n"
          "otherwise; a short summary goes to standard output. Ctrl+C stops every run\n"
          "after its current generation and still writes every file, marking the runs\n"
          "that did not finish (finished = 0). Exit status: 0 done, 1 a file could not\n"
          "be written, 2 bad arguments (nothing written), 130 interrupted.\n";
}
