#include "batchoptions.h"

#include "brieftext.h"
#include "galdevice.h"
#include "kheperaincrement.h"

#include <charconv>
#include <cmath>
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
    return option + " " + BriefText(text) + ": must be a whole number from " + std::to_string(low) + " to "
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
    uint32_t BatchOptions::*field, const char* name, uint64_t low, uint64_t high = maxUint32)
{
    return [field, name, low, high](BatchOptions& options, const std::string& text) -> std::string {
        uint64_t value = 0;
        if (!ParseUnsigned(text, low, high, value))
            return OutOfRange(name, text, low, high);
        options.*field = static_cast<uint32_t>(value);
        return {};
    };
}

// A decimal number as the C locale reads it ("0.5", "-2", "1e-3"), finite.
bool ParseNumber(const std::string& text, double& value)
{
    double parsed = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string ParseNoise(BatchOptions& options, const std::string& text)
{
    if (!ParseNumber(text, options.noise) || options.noise < 0.0 || options.noise > 100.0)
        return "--noise " + text + ": must be a number from 0 to 100 (percent)";
    return {};
}

std::string ParseTarget(BatchOptions& options, const std::string& text)
{
    double value = 0.0;
    if (!ParseNumber(text, value))
        return "--target " + BriefText(text) + ": must be a number, e.g. --target 0.8";
    // Above the maximum a run would never reach its goal.
    if (value > MaxRobotFitness)
        return "--target " + BriefText(text) + ": a robot's fitness is at most 1";
    options.target = value;
    return {};
}

// "a,b,c,d": the speeds of output codes 0 to 3, in the table editor's range.
std::string ParseMotor(BatchOptions& options, const std::string& text)
{
    const std::string problem = "--motor " + text + ": expected four wheel speeds from "
        + std::to_string(MotorSpeedMin) + " to " + std::to_string(MotorSpeedMax)
        + ", e.g. --motor -5,0,5,10";
    MotorTable table {};
    std::size_t at = 0;
    for (std::size_t k = 0; k < table.size(); ++k) {
        const std::size_t comma = text.find(',', at);
        if ((comma == std::string::npos) != (k + 1 == table.size()))
            return problem;
        const std::string field = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        int32_t speed = 0;
        const auto [stop, error] = std::from_chars(field.data(), field.data() + field.size(), speed);
        if (field.empty() || error != std::errc() || stop != field.data() + field.size()
            || speed < MotorSpeedMin || speed > MotorSpeedMax)
            return problem;
        table[k] = speed;
        at = comma + 1;
    }
    options.motor = table;
    return {};
}

std::string ParseArena(BatchOptions& options, const std::string& text)
{
    if (text.empty())
        return "--arena needs default, open or a file name";
    if (options.arenas.empty())
        options.arena = text;
    options.arenas.push_back(text);
    return {};
}

// Robot evaluation and assessment options (robotevaluation.h, robotassessment.h).
std::string ParseStallPenalty(BatchOptions& options, const std::string& text)
{
    double percent = 0.0;
    if (!ParseNumber(text, percent) || percent < 0.0 || percent > 100.0)
        return "--stall-penalty " + BriefText(text) + ": must be a number from 0 to 100 (percent of a stalled run's fitness)";
    options.evaluation.stallPenalty = percent / 100.0;
    return {};
}

std::string ParseReevaluate(BatchOptions& options, const std::string& text)
{
    uint64_t value = 0;
    if (!ParseUnsigned(text, 1, 10, value))
        return OutOfRange("--reevaluate", text, 1, 10);
    options.evaluation.reevaluations = static_cast<uint32_t>(value);
    return {};
}

std::string ParseAssess(BatchOptions& options, const std::string& text)
{
    uint64_t value = 0;
    if (!ParseUnsigned(text, 1, 1000, value))
        return OutOfRange("--assess", text, 1, 1000) + " (start places per arena)";
    options.assess = static_cast<uint32_t>(value);
    return {};
}

std::string ParseAssessArena(BatchOptions& options, const std::string& text)
{
    if (text.empty())
        return "--assess-arena needs default, open or a file name";
    options.assessArenas.push_back(text);
    return {};
}

// Options that may be given more than once, each adding to a list.
constexpr const char* repeatable[] = {"--arena", "--assess-arena"};

bool Repeatable(std::string_view name)
{
    for (const char* option : repeatable)
        if (name == option)
            return true;
    return false;
}

// The options that only an assessment takes, and those that only evolving takes.
constexpr const char* assessOnly[] = {"--assess-arena", "--assess-length", "--assess-seed", "--assessment"};
constexpr const char* evolvingOnly[] = {"--stats", "--summary", "--save-best", "--start", "--shared-starts",
    "--reevaluate", "--stall-penalty", "--runs", "--generations", "--evaluations", "--target"};

std::string CheckRobotEvaluationOptions(const BatchOptions& options, const std::set<std::string>& seen)
{
    for (const char* option : assessOnly)
        if (seen.count(option) && !options.assess)
            return std::string(option) + " needs --assess N";
    if (!options.populations.empty())
        for (const char* option : evolvingOnly)
            if (seen.count(option))
                return std::string(option) + ": the population files named are assessed, not evolved; leave it out";
    if (options.arenas.size() > 10)
        return "--arena given " + std::to_string(options.arenas.size())
            + " times: at most 10 arenas, each needing a run of every individual";
    if (seen.count("--runs-per-individual") && options.runsPerIndividual < options.arenas.size())
        return "--runs-per-individual " + std::to_string(options.runsPerIndividual) + " with "
            + std::to_string(options.arenas.size()) + " arenas: each arena needs a run of every individual";
    return {};
}

// The options that only the GA takes (the evolution strategy neither
// crosses nor selects).
constexpr const char* gaOnly[] = {"--crossover", "--selection", "--rank-parents", "--elitism"};

// The options that only robot runs take.
constexpr const char* robotOnly[] = {"--run-length", "--runs-per-individual", "--motor", "--threshold",
    "--arena", "--noise", "--target", "--shared-starts", "--reevaluate", "--stall-penalty", "--assess",
    "--assess-arena", "--assess-length", "--assess-seed", "--assessment"};

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
        return "--start " + BriefText(text) + ": expected file.ga:generation, e.g. --start run.ga:250";
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
        return "--generations " + BriefText(text) + ": must be a whole number from 0 to " + std::to_string(maxUint32)
            + " or \"unlimited\"";
    options.generations = static_cast<uint32_t>(value);
    return {};
}

std::string ParseJedec(BatchOptions& options, const std::string& text)
{
    if (!GalTypeOfName(text))
        return "--jedec " + BriefText(text) + ": must be GAL22V10 or GAL16V8 (or ATF22V10C, ATF16V8B)";
    options.jedecDevice = text;
    return {};
}

std::string ParseSelection(BatchOptions& options, const std::string& text)
{
    if (text == "rank")
        options.selection = 1;
    else if (text == "roulette")
        options.selection = 0;
    else
        return "--selection " + BriefText(text) + ": must be rank or roulette";
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
        {"--runs", true, Count(&BatchOptions::runs, "--runs", 1, MaxBatchRuns)},
        {"--seed", true, Count(&BatchOptions::seed, "--seed", 0)},
        {"--jobs", true, Count(&BatchOptions::jobs, "--jobs", 1)},
        {"--start", true, ParseStart},
        {"--stats", true, Path(&BatchOptions::statsFile, "--stats")},
        {"--every", true, Count(&BatchOptions::every, "--every", 1)},
        {"--summary", true, Path(&BatchOptions::summaryFile, "--summary")},
        {"--save-best", true, Path(&BatchOptions::saveDirectory, "--save-best")},
        {"--jedec", true, ParseJedec},
        {"--no-header", false, Flag(&BatchOptions::header, false)},
        {"--robot", false, Flag(&BatchOptions::robot, true)},
        {"--run-length", true, Count(&BatchOptions::runLength, "--run-length", 1, 100)},
        {"--runs-per-individual", true, Count(&BatchOptions::runsPerIndividual, "--runs-per-individual", 1, 10)},
        {"--motor", true, ParseMotor},
        {"--threshold", true, Count(&BatchOptions::threshold, "--threshold", 0, 1023)},
        {"--arena", true, ParseArena},
        {"--noise", true, ParseNoise},
        {"--target", true, ParseTarget},
        {"--shared-starts", false, [](BatchOptions& options, const std::string&) -> std::string {
             options.evaluation.sharedStarts = true;
             return {};
         }},
        {"--reevaluate", true, ParseReevaluate},
        {"--stall-penalty", true, ParseStallPenalty},
        {"--assess", true, ParseAssess},
        {"--assess-arena", true, ParseAssessArena},
        {"--assess-length", true, Count(&BatchOptions::assessLength, "--assess-length", 1, 100)},
        {"--assess-seed", true, Count(&BatchOptions::assessSeed, "--assess-seed", 0)},
        {"--assessment", true, Path(&BatchOptions::assessmentFile, "--assessment")},
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
std::string CheckCombinations(const BatchOptions& options, const std::set<std::string>& seen)
{
    if (options.robot) {
        if (!options.table.empty())
            return "--robot evolves robot controllers: leave out the table " + options.table;
        if (options.pal)
            return "--robot: the PAL has 4 inputs and 4 outputs; give its AND terms with --terms";
        if (!options.generations && !options.target && !options.evaluations)
            return "--generations unlimited with --robot needs a --target to stop at";
    } else {
        for (const char* option : robotOnly)
            if (seen.count(option))
                return std::string(option) + " needs --robot";
    }
    if (options.table.empty() && !options.robot)
        return "no table given (see --help)";
    if (options.pal && options.terms)
        return "--pal and --terms both set the AND terms: give one of them";
    if (options.startFile && options.population)
        return "--start takes the population size from the file: leave out --population";
    if (options.jedecDevice && !options.saveDirectory)
        return "--jedec writes beside the files of --save-best: give --save-best too";
    if (options.strategy == BatchOptions::Strategy::ES && options.population)
        return "--strategy es takes the population size from --lambda (1 + lambda): leave out --population";
    if (options.strategy == BatchOptions::Strategy::ES)
        for (const char* option : gaOnly)
            if (seen.count(option))
                return std::string(option) + " applies to the GA only: leave it out with --strategy es";
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
                result.error = "unknown option " + BriefText(argument) + " (see --help)";
                return result;
            }
            if (!options.table.empty()) {
                options.populations.push_back(argument); // files to assess, or a second table
                continue;
            }
            options.table = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionSpec* spec = FindSpec(name);
        if (!spec) {
            result.error = "unknown option " + BriefText(name) + " (see --help)";
            return result;
        }
        if (!seen.insert(name).second && !Repeatable(name)) {
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
    // With --robot --assess the files named are populations to assess.
    if (options.robot && options.assess && !options.table.empty()) {
        options.populations.insert(options.populations.begin(), options.table);
        options.table.clear();
    } else if (!options.populations.empty()) {
        result.error = "more than one table given: " + options.table + " and " + options.populations.front();
        return result;
    }
    if (!seen.count("--runs-per-individual") && options.arenas.size() > 1)
        options.runsPerIndividual = static_cast<uint32_t>(std::min<std::size_t>(options.arenas.size(), 10));
    options.countsEvaluations = seen.count("--strategy") + seen.count("--lambda") + seen.count("--evaluations") > 0;
    // The evolution strategy gets the GA's default work, counted in
    // evaluations, so that the two compare fairly with their defaults.
    if (options.strategy == BatchOptions::Strategy::ES && !seen.count("--generations") && !options.evaluations)
        options.evaluations = DefaultESEvaluations;
    if (options.evaluations && !seen.count("--generations"))
        options.generations.reset();
    if (options.strategy == BatchOptions::Strategy::ES && !seen.count("--mutation"))
        options.mutation = "1/L";
    if (!options.help)
        result.error = CheckCombinations(options, seen);
    if (!options.help && result.error.empty())
        result.error = CheckRobotEvaluationOptions(options, seen);
    return result;
}

std::string BatchHelpText(uint32_t cores)
{
    return "Usage: orvik-batch [options] TABLE\n"
           "       orvik-batch --robot [options]\n"
           "       orvik-batch --robot --assess N [options] FILE.ga...\n"
           "\n"
           "Evolves PAL fuse maps against a truth table with the same GA, generation step\n"
           "and fitness as Orvik's window, without a window: repeated runs from seeds,\n"
           "statistics files, and runs spread over several threads. TABLE is a \".tbl\"\n"
           "file of the table editor or a Berkeley PLA file (name ending in \".pla\").\n"
           "With --robot it evolves robot controllers instead: each individual drives the\n"
           "simulated Khepera for its run in virtual time, far faster than real time.\n"
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
           "                       (default 1000; es: none, see --evaluations)\n"
           "  --no-stop-at-max     go on after the maximum possible fitness is reached\n"
           "                       (default: a run stops at the first generation that\n"
           "                       reaches it)\n"
           "  --evaluations E      stop a run after exactly E fitness evaluations, also\n"
           "                       inside a generation; without --generations there is no\n"
           "                       generation limit then (default: no budget; es: "
        + std::to_string(DefaultESEvaluations)
        + ",\n"
          "                       the GA's default work of 1000 generations of 100, so\n"
          "                       that the two compare fairly with their defaults)\n"
          "Runs\n"
          "  --runs R             independent runs, 1 to "
        + std::to_string(MaxBatchRuns)
        + " (default 1)\n"
          "  --seed S             run r draws from generators seeded S + r; --seed 1\n"
          "                       draws what a fresh start of the window draws (default 1)\n"
          "  --jobs J             threads; the results do not depend on J\n"
          "                       (default: the cores it may use, "
        + std::to_string(cores)
        + " here)\n"
          "  --start FILE:GEN     start every run from generation GEN of the population\n"
          "                       file FILE instead of a random population (default: random)\n"
          "Robot (with --robot; the window's defaults)\n"
          "  --robot              evolve robot controllers: a PAL of 4 inputs and 4\n"
          "                       outputs with --terms AND terms (default: tables)\n"
          "  --run-length S       seconds of robot time per evaluation, 1 to 100, ten\n"
          "                       control steps a second (default 10)\n"
          "  --runs-per-individual R\n"
          "                       evaluations per individual and generation, each from\n"
          "                       a new place, averaged; 1 to 10 (default 1)\n"
          "  --motor A,B,C,D      wheel speeds of output codes 0 to 3, each -5 to 10\n"
          "                       (default -5,0,5,10)\n"
          "  --threshold T        a direction reading above T is an obstacle, 0 to 1023\n"
          "                       (default 300)\n"
          "  --arena A            default (1 m square, two boxes, three cylinders), open\n"
          "                       (4 m square, empty) or an arena file (default: default)\n"
          "  --noise P            sensor noise in percent, 0 to 100 (default 0)\n"
          "  --target F           a run has reached its goal at this fitness, and stops\n"
          "                       there unless --no-stop-at-max (default: none)\n"
          "Robot evaluation beside the window's (with --robot; each off unless given)\n"
          "  --arena A            given again: another arena; each individual's runs\n"
          "                       take the arenas in turn, at least one run in each\n"
          "                       (--runs-per-individual defaults to their number)\n"
          "  --shared-starts      the k-th run of every individual of a generation\n"
          "                       starts from the same place, drawn for the generation\n"
          "                       and spread over the arena, instead of where the\n"
          "                       repositioning walk takes the robot\n"
          "  --reevaluate K       the fittest of each generation (those the next step\n"
          "                       keeps unchanged) run K more times, 1 to 10, and\n"
          "                       their fitness is the mean of all their runs\n"
          "  --stall-penalty P    a run that ends stalled loses P percent of its\n"
          "                       fitness, 0 to 100 (default 0)\n"
          "Assessment (with --robot)\n"
          "  --assess N           drive the fittest individual of each run's last\n"
          "                       generation from N fixed start places, 1 to 1000,\n"
          "                       spread over each assessment arena: mean, worst,\n"
          "                       runs that end stalled or in contact. With population\n"
          "                       files named (orvik-batch --robot --assess N FILE.ga\n"
          "                       ...) it assesses the fittest of each file's last\n"
          "                       generation instead, evolving nothing\n"
          "  --assess-arena A     an arena to assess in, may be repeated (default: the\n"
          "                       --arena ones)\n"
          "  --assess-length S    seconds per assessment run, 1 to 100 (default 10)\n"
          "  --assess-seed S      the seed of the start places (default 1)\n"
          "  --assessment FILE    one row per assessment run:\n"
          "                       run,seed,arena,place,x,y,heading,fitness,stalled,contact\n"
          "                       (file instead of run,seed for population files)\n"
          "A run ends stalled when its controller's last command was 0, 0, or when the\n"
          "robot stayed within 10 mm of one place for its last 2 s; in contact when the\n"
          "body touches a surface at its end. A controller passes an arena with a mean of\n"
          "at least 0.8 and no run there stalled.\n"
          "Output (numbers in the C locale; an existing file is replaced only once its\n"
          "new version is complete; devices, pipes and /dev/stdout are written directly)\n"
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
          "                       Orvik's \"Load&Program\" opens; these files (and those\n"
          "                       of --jedec) must be new or regular files (default: none)\n"
          "  --jedec DEVICE       with --save-best, also the fittest individual of each run\n"
          "                       as DIR/seed-S.jed, a JEDEC fuse map for a GAL22V10 or\n"
          "                       GAL16V8 (or ATF22V10C, ATF16V8B; any case), its minimum\n"
          "                       sum of products when its own AND terms do not fit\n"
          "                       (default: none)\n"
          "  --no-header          CSV files without a header line, to concatenate them\n"
          "                       (default: with header)\n"
          "  --help               this text\n"
          "\n"
          "An arena file has one item per line, in millimetres from the floor's centre\n"
          "(x right, y up); blanks separate the numbers and # starts a comment:\n"
          "  floor W H            the walled floor, W x H (once, required)\n"
          "  box X1 Y1 X2 Y2      a solid box between two opposite corners\n"
          "  cylinder X Y R       a solid cylinder of radius R\n"
          "  wall X1 Y1 X2 Y2     a thin inner wall\n"
          "  start X Y HEADING    where the robot starts, heading in degrees counter-\n"
          "                       clockwise from +x (at most once; default 0 0 0)\n"
          "Every number lies within -10000000 and 10000000 (10 km).\n"
          "Every run has its own world and its sensor noise seeded from its seed.\n"
          "\n"
          "A progress bar goes to standard error when it is a terminal, plain lines\n"
          "otherwise; a short summary goes to standard output. Ctrl+C (or SIGTERM) stops\n"
          "every run after its current generation and still writes every file, marking\n"
          "the runs that did not finish (finished = 0); a second Ctrl+C quits at once,\n"
          "leaving no temporary files. A SIGTERM repeated within 2 s of the first is the\n"
          "same request (GNU timeout sends two). Every output is checked before the\n"
          "first run.\n"
          "\n"
          "Exit status: 0 done; 1 a file could not be written after the runs began\n"
          "(each such file is named, and an older file of that name is kept); 2 bad\n"
          "arguments or an output that cannot be written (nothing written); 3 out of\n"
          "memory (the runs stop as on Ctrl+C and the files are completed); 130\n"
          "interrupted (128 + the signal); 141 the reader of an output pipe went away\n"
          "(the batch stops as on Ctrl+C and completes its other files).\n";
}
