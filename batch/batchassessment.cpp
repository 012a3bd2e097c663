#include "batchassessment.h"

#include "batchsummary.h"
#include "start_places.h"
#include "statisticsfile.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace {
std::string Fixed(double value, int digits = 3)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits).ptr;
    return std::string(buffer, end);
}

std::string SpreadLine(const std::vector<double>& values)
{
    if (values.size() == 1)
        return Fixed(values.front());
    const Spread spread = SpreadOf(values);
    return "median " + Fixed(spread.median) + ", quartiles " + Fixed(spread.q1) + " and " + Fixed(spread.q3)
        + ", range " + Fixed(spread.min) + " to " + Fixed(spread.max);
}

std::string Share(uint32_t count, uint64_t of)
{
    return std::to_string(count) + " of " + std::to_string(of) + " runs ("
        + Fixed(of ? 100.0 * count / static_cast<double>(of) : 0.0, 1) + " %)";
}

std::string ArenaLine(const AssessmentFigures& f)
{
    return "mean " + Fixed(f.mean) + ", worst " + Fixed(f.worst) + ", " + std::to_string(f.stalled) + " of "
        + std::to_string(f.runs) + " stalled, " + std::to_string(f.contact) + " in contact"
        + (f.Passes() ? ", passes" : ", fails");
}
} // namespace

bool ControllerAssessment::PassesEvery() const
{
    for (const ArenaAssessment& arena : arenas)
        if (!arena.figures.Passes())
            return false;
    return !arenas.empty();
}

ControllerAssessment AssessControllerOf(const BatchSetup& setup, const PalConfig& pal, const BitString& chromosome)
{
    const BatchOptions& options = setup.options;
    const RobotRunSettings settings {pal, options.motor, options.threshold, static_cast<int>(options.assessLength)};
    ControllerAssessment assessment;
    for (const BatchSetup::PlacedArena& arena : setup.robot->assessArenas) {
        ksim::StartPlaces places(options.assessSeed);
        const std::vector<ksim::Pose> starts =
            places.spread(arena.arena, arena.start, static_cast<int>(options.assess.value_or(0)));
        ArenaAssessment assessed;
        assessed.runs = AssessController(settings, options.noise, chromosome, arena.arena, starts);
        assessed.figures = FiguresOf(assessed.runs);
        assessment.arenas.push_back(std::move(assessed));
    }
    return assessment;
}

uint32_t FittestIndex(const GA& ga)
{
    uint32_t best = 0;
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i)
        if (ga.At(i).GetFitness() > ga.At(best).GetFitness())
            best = i;
    return best;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string AssessmentHeader(bool files)
{
    return std::string(files ? "file" : "run,seed") + ",arena,place,x,y,heading,fitness,stalled,contact\n";
}

std::string AssessmentRows(const BatchSetup& setup, const std::string& label, const ControllerAssessment& assessment)
{
    std::string rows;
    for (std::size_t a = 0; a < assessment.arenas.size(); ++a) {
        const std::string arena = CsvField(setup.robot->assessArenas[a].name);
        const std::vector<AssessedRun>& runs = assessment.arenas[a].runs;
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const AssessedRun& r = runs[k];
            // Exact, so that orvik-khepera-sim --start can put the robot there again.
            rows += label + "," + arena + "," + std::to_string(k) + "," + StatisticsFile::Number(r.start.x) + ","
                + StatisticsFile::Number(r.start.y) + ","
                + StatisticsFile::Number(r.start.heading * 180.0 / std::numbers::pi) + ","
                + StatisticsFile::Number(r.run.fitness) + (r.run.stalled ? ",1" : ",0")
                + (r.run.contact ? ",1\n" : ",0\n");
        }
    }
    return rows;
}

std::string AssessmentText(const BatchSetup& setup, const std::vector<const ControllerAssessment*>& assessments,
    const std::vector<std::string>& labels)
{
    const BatchOptions& options = setup.options;
    const std::vector<BatchSetup::PlacedArena>& arenas = setup.robot->assessArenas;
    std::string text = "assessed: the fittest of "
        + std::string(labels.empty() ? "each run's last generation" : "each file's last generation") + ", from "
        + std::to_string(options.assess.value_or(0)) + " start places per arena (seed "
        + std::to_string(options.assessSeed) + "), " + std::to_string(options.assessLength)
        + " s each; it passes an arena with a mean of at least " + Fixed(AssessmentPassMean, 1)
        + " and no run stalled\n";
    for (std::size_t c = 0; c < labels.size() && c < assessments.size(); ++c) {
        text += labels[c] + ":";
        for (std::size_t a = 0; a < arenas.size(); ++a)
            text += std::string(a ? ";" : "") + " " + ArenaTitle(arenas[a].name) + " "
                + ArenaLine(assessments[c]->arenas[a].figures);
        text += "\n";
    }
    const std::string count = " of " + std::to_string(assessments.size());
    for (std::size_t a = 0; a < arenas.size() && !assessments.empty(); ++a) {
        std::vector<double> means;
        std::vector<double> worsts;
        uint32_t passing = 0;
        uint32_t stalled = 0;
        uint32_t contact = 0;
        uint64_t runs = 0;
        for (const ControllerAssessment* assessment : assessments) {
            const AssessmentFigures& f = assessment->arenas[a].figures;
            means.push_back(f.mean);
            worsts.push_back(f.worst);
            passing += f.Passes() ? 1 : 0;
            stalled += f.stalled;
            contact += f.contact;
            runs += f.runs;
        }
        text += ArenaTitle(arenas[a].name) + ": " + std::to_string(passing) + count + " pass; mean "
            + SpreadLine(means) + "; worst " + SpreadLine(worsts) + "; stalled " + Share(stalled, runs)
            + ", in contact " + Share(contact, runs) + "\n";
    }
    if (arenas.size() > 1) {
        uint32_t passing = 0;
        for (const ControllerAssessment* assessment : assessments)
            passing += assessment->PassesEvery() ? 1 : 0;
        text += "every arena: " + std::to_string(passing) + count + " pass\n";
    }
    return text;
}
