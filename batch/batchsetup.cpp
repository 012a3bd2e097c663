#include "batchsetup.h"

#include "batchassessment.h"
#include "brieftext.h"
#include "arena_file.h"
#include "batchjedec.h"
#include "dialogvalidation.h"
#include "inputfilecheck.h"
#include "plafile.h"
#include "tablefile.h"
#include "truthtablefitness.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}
std::string S(const QString& text)
{
    return text.toStdString();
}

// The target: its inputs, outputs and cells, row-major.
struct Target {
    int32_t inputs = 0;
    int32_t outputs = 0;
    std::vector<int32_t> values;
};

// A ".tbl" file, or a message. The table's size is only known from its
// header, so the header is read first against an impossible size (0 x 0) and
// then the whole file against the size it gave.
std::string ReadTblTarget(const std::string& path, Target& target)
{
    QString reason;
    const std::optional<QByteArray> text = ReadTextFile(Q(path), TableFileMaxBytes, &reason);
    if (!text)
        return "Error loading truth table " + path + ": " + S(reason);
    const TableFileContent header = ParseTableFile(*text, 0, 0);
    if (header.status == TableFileContent::Status::Malformed)
        return path + ": " + S(header.problem);
    target.inputs = header.keyBits;
    target.outputs = header.valueColumns;
    if (target.inputs < PalConfig::MinCount || target.inputs > PalConfig::MaxInputs
        || target.outputs < PalConfig::MinCount || target.outputs > PalConfig::MaxOutputs)
        return path + ": the table has " + std::to_string(target.inputs) + " inputs and "
            + std::to_string(target.outputs) + " outputs; a PAL has 1 to 10 of each";
    const TableFileContent content = ParseTableFile(*text, target.inputs, target.outputs);
    if (content.status != TableFileContent::Status::Ok)
        return path + ": " + S(content.problem);
    target.values = content.values;
    return {};
}

bool EndsWithPla(std::string path)
{
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".pla") == 0;
}

// A Berkeley PLA file (by its name's ending) or a ".tbl" file, or a message.
std::string ReadTarget(const std::string& path, Target& target)
{
    if (!EndsWithPla(path))
        return ReadTblTarget(path, target);
    const std::string reason = CheckInputFile(path, PlaFileMaxBytes);
    if (!reason.empty())
        return "Error loading truth table " + path + ": " + reason;
    PlaReadResult read = ReadPlaFile(path);
    if (!read)
        return path + ": " + read.message;
    target.inputs = read.table.numInputs;
    target.outputs = read.table.numOutputs;
    target.values = std::move(read.table.cells);
    return {};
}

// The PAL from --pal, or from the table's size and --terms.
std::string ChoosePal(const BatchOptions& options, int32_t tableInputs, int32_t tableOutputs, PalConfig& pal)
{
    QString inputs = QString::number(tableInputs);
    QString outputs = QString::number(tableOutputs);
    QString terms = Q(options.terms.value_or("2"));
    std::string option = options.terms ? "--terms " + BriefText(*options.terms) : "";
    if (options.pal) {
        option = "--pal " + BriefText(*options.pal);
        const QStringList parts = Q(*options.pal).split('/');
        if (parts.size() != 3)
            return option + ": expected inputs/AND terms/outputs, e.g. --pal 4/2/3";
        inputs = parts[0];
        terms = parts[1];
        outputs = parts[2];
    }
    PalSetupValues values;
    const QString error = CheckPalSetup(inputs, outputs, terms, values);
    if (!error.isEmpty())
        return option + ": " + S(error);
    if (values.NumInputs != tableInputs || values.NumOutputs != tableOutputs)
        return option + ": " + S(HeaderMismatchMessage(tableInputs, tableOutputs));
    pal = PalConfig {values.NumInputs, values.NumAndTerms, values.NumOutputs};
    return {};
}

// The arena `choice` names ("default", "open" or a file), appended to
// `arenas`; or a message naming `option`.
std::string ReadArena(const std::string& option, const std::string& choice,
    std::vector<BatchSetup::PlacedArena>& arenas)
{
    const ksim::ArenaFileContent content = ksim::chooseArena(choice);
    if (!content.arena)
        return option + " " + ksim::arenaFileProblem(choice, content);
    arenas.push_back({*content.arena, content.start, choice});
    return {};
}

// "a", "a and b", "a, b and c".
std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k)
        text += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    return text;
}

// The fittest individual of the last generation of population file `file`
// (the first of equals), a robot controller of 4 inputs and 4 outputs.
std::string ReadController(const std::string& file, std::vector<BatchSetup::Controller>& controllers)
{
    const GAGenerationList list = GA::ReadGenerationList(file);
    if (list.records.empty())
        return file + ": " + (list.message.empty() ? std::string("no population in the file") : list.message);
    GA loaded(1, 1);
    const GAFileResult result = loaded.LoadListedGeneration(file, list, list.records.size() - 1);
    if (!result)
        return file + ": " + result.message;
    const uint32_t length = loaded.GetChromosomeLength();
    const uint32_t terms = length / 32;
    if (length % 32 != 0 || terms < 1 || terms > static_cast<uint32_t>(PalConfig::MaxAndTerms))
        return file + ": chromosomes of " + std::to_string(length)
            + " bits are no robot controller's (4 inputs, 4 outputs: 32 bits per AND term)";
    const uint32_t best = FittestIndex(loaded);
    controllers.push_back({file, PalConfig {4, static_cast<int32_t>(terms), 4}, loaded.At(best),
        loaded.At(best).GetFitness()});
    return {};
}

// The robot's PAL (4 inputs, --terms AND terms, 4 outputs) and its arena.
std::string PrepareRobot(const BatchOptions& options, BatchSetup& setup)
{
    PalSetupValues values;
    const QString error = CheckPalSetup(QStringLiteral("4"), QStringLiteral("4"),
        Q(options.terms.value_or("2")), values);
    if (!error.isEmpty())
        return "--terms " + *options.terms + ": " + S(error);
    setup.pal = PalConfig {values.NumInputs, values.NumAndTerms, values.NumOutputs};
    setup.maxFitness = options.target.value_or(std::numeric_limits<double>::infinity());

    setup.robot = BatchSetup::Robot {};
    for (const std::string& choice : options.arenas.empty() ? std::vector<std::string> {options.arena} : options.arenas) {
        const std::string problem = ReadArena("--arena", choice, setup.robot->arenas);
        if (!problem.empty())
            return problem;
    }
    std::vector<std::string> names;
    for (const BatchSetup::PlacedArena& arena : setup.robot->arenas)
        names.push_back(ArenaTitle(arena.name));
    setup.robot->arenaName = JoinedNames(names);
    for (const std::string& choice : options.assessArenas) {
        const std::string problem = ReadArena("--assess-arena", choice, setup.robot->assessArenas);
        if (!problem.empty())
            return problem;
    }
    if (options.assess && options.assessArenas.empty())
        setup.robot->assessArenas = setup.robot->arenas;
    for (const std::string& file : options.populations) {
        const std::string problem = ReadController(file, setup.robot->populations);
        if (!problem.empty())
            return problem;
    }
    return {};
}

std::string LoadStart(const BatchOptions& options, const PalConfig& pal, std::optional<GA>& start)
{
    GA loaded(1, 1);
    const GAFileResult result = loaded.LoadGeneration(*options.startFile, options.startGeneration);
    if (!result)
        return "--start: " + result.message;
    const auto needed = static_cast<uint32_t>(pal.ChromosomeSize());
    if (loaded.GetChromosomeLength() != needed)
        return "--start: The file's chromosomes have " + std::to_string(loaded.GetChromosomeLength())
            + " bits; the PAL needs " + std::to_string(needed) + " (" + std::to_string(pal.NumInputs)
            + " inputs, " + std::to_string(pal.NumAndTerms) + " AND terms, " + std::to_string(pal.NumOutputs)
            + " outputs).";
    start = std::move(loaded);
    return {};
}

// "1/L" as a number for chromosomes of `length` bits; any other text as it is.
std::string MutationText(const std::string& text, uint32_t length)
{
    if (text != "1/L")
        return text;
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", 1.0 / length);
    return number;
}

std::string CheckGA(const BatchOptions& options, const std::string& populationText, BatchSetup& setup)
{
    const bool es = options.strategy == BatchOptions::Strategy::ES;
    const std::string mutation =
        MutationText(options.mutation, static_cast<uint32_t>(setup.pal.ChromosomeSize()));
    // The evolution strategy does not use rank parents or elitism; they are
    // held to the GA dialog's rules against its largest population.
    const std::string checkedPopulation = es ? "1000000" : populationText;
    // The options in the dialog's field order. (--start takes the population
    // size from the file.)
    const std::pair<const char*, const std::string*> fields[] = {
        {"--population", &populationText},
        {"--mutation", &mutation},
        {"--crossover", &options.crossover},
        {"--rank-parents", &options.rankParents},
        {"--elitism", &options.elitism},
    };
    // "nan" and "inf" read as numbers but are none a user means.
    for (const auto& [name, text] : fields) {
        bool read = false;
        const double value = QLocale::c().toDouble(Q(*text).trimmed(), &read);
        if (read && !std::isfinite(value))
            return std::string(name) + " " + BriefText(*text) + ": not a number";
    }
    GAConfigureValues values;
    int faulty = -1;
    const QString error = CheckGAConfigure(Q(checkedPopulation), Q(mutation), Q(options.crossover),
        Q(options.rankParents), Q(options.elitism), values, &faulty);
    // The dialog points at the field at fault; here the message names its
    // option. A rank or elitism too large for a population the user gave,
    // with the default rank and elitism, is the population's fault.
    if (!error.isEmpty() && faulty >= 0) {
        const bool byPopulation = (faulty == 3 || faulty == 4) && options.population
            && options.rankParents == BatchOptions().rankParents && options.elitism == BatchOptions().elitism;
        const auto& [name, text] = fields[byPopulation ? 0 : faulty];
        return std::string(name) + " " + BriefText(*text) + ": " + S(error);
    }
    if (!error.isEmpty())
        return S(error);
    if (es && !(values.MutationRate > 0.0))
        return "--mutation " + options.mutation + ": Negative or null numbers disallowed";
    if (es) {
        values.PopulationSize = std::stod(populationText);
        if (values.PopulationSize < 2.0)
            return "--start: the evolution strategy needs a parent and at least one offspring";
    }
    if (values.PopulationSize < 1.0)
        return "--population " + BriefText(populationText) + ": GA: can't create null sized population";
    // As the window converts the dialog's values: counts truncated toward zero.
    setup.populationSize = static_cast<uint32_t>(std::trunc(values.PopulationSize));
    setup.rankParents = static_cast<uint32_t>(std::trunc(values.RankParents));
    setup.mutationRate = values.MutationRate;
    setup.crossoverRate = values.CrossoverRate;
    setup.elitism = values.Elitism;
    setup.selection = options.selection;
    setup.esMutation = ESMutation {ESMutation::Kind::PerBit, values.MutationRate, 1};
    if (options.esMutation == "fuse-pairs")
        setup.esMutation.kind = ESMutation::Kind::FusePairs;
    if (options.esMutation == "fuse-pairs" && options.mutation == "1/L")
        setup.esMutation.rate = 0.0; // the operator's own default, 2/L per pair
    if (options.esMutation.compare(0, 5, "bits:") == 0) {
        setup.esMutation.kind = ESMutation::Kind::ExactBits;
        setup.esMutation.bits = static_cast<uint32_t>(std::stoul(options.esMutation.substr(5)));
    }
    return {};
}

} // namespace

std::string ArenaTitle(const std::string& choice)
{
    return choice == "default" || choice == "open" ? "the " + choice + " arena" : "arena " + choice;
}

BatchSetupResult PrepareBatch(const BatchOptions& options)
{
    BatchSetupResult result;
    BatchSetup setup;
    setup.options = options;

    if (options.robot) {
        result.error = PrepareRobot(options, setup);
        if (!result.error.empty())
            return result;
    } else {
        Target target;
        result.error = ReadTarget(options.table, target);
        if (result.error.empty())
            result.error = ChoosePal(options, target.inputs, target.outputs, setup.pal);
        if (!result.error.empty())
            return result;
        // As the table editor loads a file: 0 and 1 are kept, anything else is "X".
        setup.table.reserve(target.values.size());
        for (int32_t value : target.values)
            setup.table.push_back(value == 0 || value == 1 ? value : DontCare);
        setup.maxFitness = MaxPossibleFitness(setup.table);
    }

    std::string populationText = options.population.value_or("100");
    if (options.strategy == BatchOptions::Strategy::ES)
        populationText = std::to_string(uint64_t {options.lambda.value_or(4)} + 1);
    if (options.startFile) {
        result.error = LoadStart(options, setup.pal, setup.start);
        if (!result.error.empty())
            return result;
        populationText = std::to_string(setup.start->GetPopulationSize());
    }
    result.error = CheckGA(options, populationText, setup);
    if (result.error.empty() && options.jedecDevice)
        result.error = JedecDeviceProblem(*options.jedecDevice, setup.pal);
    if (result.error.empty())
        result.setup = std::move(setup);
    return result;
}
