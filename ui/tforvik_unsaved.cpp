// Work the user could lose (unsaved generations on closing, an evolved
// population replaced by a PAL change), and what the plotted fitness means
// (marked in the chart where it changes).
#include "tforvik.h"

#include "tffitnessdisplay.h"
#include "orvikwindows.h"
#include "truthtablefitness.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QStringList>

namespace {
// "robot ..." or "table ...", followed by the cells of the table that scores.
template <typename Cells>
QString Meaning(const char* kind, const Cells& cells)
{
    QStringList parts{kind};
    for (const auto cell : cells)
        parts << QString::number(cell);
    return parts.join(' ');
}

bool IsRobot(const QString& meaning) { return meaning.startsWith("robot"); }
} // namespace

bool TFOrvik::HasUnsavedGenerations() const
{
    const std::vector<GAData>& history = Population.History();
    return !history.empty()
        && (Population.HistoryRevision() != savedHistoryRevision_ || history.size() != savedHistorySize_);
}

bool TFOrvik::MayClose()
{
    if (!HasUnsavedGenerations())
        return true;
    return MaySaveFirst(QString("The population (generation %1) holds generations that have not been saved. "
                                "Save the current population before closing?")
                            .arg(Population.GetGeneration()));
}

bool TFOrvik::MaySaveFirst(const QString& question)
{
    switch (Ui().AskSaveDiscardCancel(this, "Warning", question)) {
    case UiSeam::SaveChoice::Save:
        return SavePopulation();
    case UiSeam::SaveChoice::Discard:
        return true;
    case UiSeam::SaveChoice::Cancel:
        break;
    }
    return false;
}

bool TFOrvik::MayReplacePopulation(const QString& change)
{
    const QString lost = QString("You are about to change %1: all the individuals will be lost").arg(change);
    if (!HasUnsavedGenerations())
        return Ui().AskYesNo(this, "Warning", lost + ". Proceed?");
    // As on closing: what has not been saved can be saved first.
    return MaySaveFirst(lost
                        + QString(", and the population (generation %1) holds generations that have not been "
                                  "saved. Save the current population first?")
                              .arg(Population.GetGeneration()));
}

bool TFOrvik::MayReplaceEvolvedPopulation()
{
    if (Population.History().empty())
        return true; // nothing evaluated yet: a random population for a random one
    return MayReplacePopulation("the PAL");
}

void TFOrvik::NoteFitnessMeaning()
{
    const bool robot = CBKhepera->isChecked();
    const QString meaning = robot ? Meaning("robot", Motors) : Meaning("table", Table);
    // The generation this run records first (a recorded one is bred first).
    const int32_t next = Population.GetGeneration() + (Population.IsEvaluated() ? 1 : 0);
    const double tableMaximum = MaxPossibleFitness(Table);
    if (Population.History().empty()) {
        fitnessMeaningSince_ = next;
    } else if (!plottedFitnessMeaning_) {
        // Plotted generations scored in a way not known (loaded): nothing to
        // compare with, so no mark; the maximum is looked for in them too.
    } else if (*plottedFitnessMeaning_ != meaning || (robot && !robotEvaluationChanges_.isEmpty())) {
        QStringList notes;
        if (IsRobot(*plottedFitnessMeaning_) != robot)
            notes << (robot ? QString("robot runs from here (0 to 1)")
                            : QString("truth table from here (at most %1)").arg(tableMaximum));
        else if (*plottedFitnessMeaning_ != meaning)
            notes << (robot ? QString("motor table changed")
                            : QString("truth table changed (at most %1)").arg(tableMaximum));
        if (robot)
            notes << robotEvaluationChanges_;
        FFitnessDisplay->AddMark(next, notes.join("; "));
        fitnessMeaningSince_ = next;
    }
    robotEvaluationChanges_.clear();
    plottedFitnessMeaning_ = meaning;
    const std::optional<double> best = robot ? std::nullopt : std::optional<double>(tableMaximum);
    FFitnessDisplay->SetReachTarget(best, fitnessMeaningSince_);
}

void TFOrvik::RobotEvaluationChanged(const QString& note)
{
    robotEvaluationChanges_.removeAll(note);
    robotEvaluationChanges_ << note;
}

void TFOrvik::RescorePopulation()
{
    if (CBKhepera->isChecked() || !Population.IsEvaluated()
        || Population.GetChromosomeLength() != static_cast<uint32_t>(Pal.ChromosomeSize()))
        return;
    for (uint32_t i = 0; i < Population.GetPopulationSize(); ++i)
        Population.At(i).SetFitness(ComputeFitnessTruthTable(Population.At(i)));
}
