#include "dialogvalidation.h"

#include "palconfig.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <initializer_list>

namespace {

// Optional sign and ASCII digits only ("\d" would also admit other scripts' digits).
bool IsSignedDigits(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    return pattern.match(text).hasMatch();
}

} // namespace

bool ParseDecimalInt(const QString& text, int32_t& value)
{
    const QString trimmed = text.trimmed();
    if (!IsSignedDigits(trimmed))
        return false;
    bool ok = false;
    const int parsed = trimmed.toInt(&ok, 10); // fails on overflow
    if (!ok)
        return false;
    value = parsed;
    return true;
}

bool ParseReal(const QString& text, double& value)
{
    QLocale c = QLocale::c();
    // In the C locale ',' would be a group separator: "1,5" must not become 15.
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double parsed = c.toDouble(text.trimmed(), &ok);
    // "inf" and "nan" parse but are no numbers a user means; NaN would also
    // slip through every comparison of the rules below.
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

namespace {
// Index of the first true flag, or -1.
int FirstOf(std::initializer_list<bool> flags)
{
    int index = 0;
    for (bool flag : flags) {
        if (flag)
            return index;
        ++index;
    }
    return -1;
}

QString Fault(int field, int* faultyField, const char* message)
{
    if (faultyField)
        *faultyField = field;
    return QString::fromLatin1(message);
}
} // namespace

QString CheckPalSetup(const QString& inputs, const QString& outputs, const QString& andTerms,
                      PalSetupValues& values, int* faultyField)
{
    if (faultyField)
        *faultyField = -1;
    // Parsed in order up to the first failure, each stored as soon as it parses.
    int unparsed = -1;
    if (!ParseDecimalInt(inputs, values.NumInputs))
        unparsed = 0;
    else if (!ParseDecimalInt(outputs, values.NumOutputs))
        unparsed = 1;
    else if (!ParseDecimalInt(andTerms, values.NumAndTerms))
        unparsed = 2;
    if (unparsed >= 0)
        return Fault(unparsed, faultyField, "Invalid input in the fields");
    const int negative = FirstOf({values.NumInputs <= 0, values.NumOutputs <= 0, values.NumAndTerms <= 0});
    if (negative >= 0)
        return Fault(negative, faultyField, "Nul or negative numbers are not allowed");
    const int tooLarge = FirstOf({values.NumInputs > PalConfig::MaxInputs, values.NumOutputs > PalConfig::MaxOutputs,
                                  values.NumAndTerms > PalConfig::MaxAndTerms});
    if (tooLarge >= 0)
        return Fault(tooLarge, faultyField, "Maximum number of input/outputs: 10. Maximum number of AND terms: 40");
    return {};
}

QString CheckGAConfigure(const QString& populationSize, const QString& mutationRate,
                         const QString& crossoverRate, const QString& rankParents,
                         const QString& elitism, GAConfigureValues& values, int* faultyField)
{
    if (faultyField)
        *faultyField = -1;
    int unparsed = -1;
    if (!ParseReal(populationSize, values.PopulationSize))
        unparsed = 0;
    else if (!ParseReal(mutationRate, values.MutationRate))
        unparsed = 1;
    else if (!ParseReal(crossoverRate, values.CrossoverRate))
        unparsed = 2;
    else if (!ParseReal(rankParents, values.RankParents))
        unparsed = 3;
    else if (!ParseDecimalInt(elitism, values.Elitism))
        unparsed = 4;
    if (unparsed >= 0)
        return Fault(unparsed, faultyField, "Invalid data in the input fields");
    const int negative = FirstOf({values.PopulationSize <= 0, values.MutationRate < 0, values.CrossoverRate < 0,
                                  values.RankParents <= 0, values.Elitism < 0});
    if (negative >= 0)
        return Fault(negative, faultyField, "Negative or null numbers disallowed");
    if (values.PopulationSize > MaxPopulationSize)
        return Fault(0, faultyField, "Population size must be at most 1000000");
    if (values.RankParents > values.PopulationSize)
        return Fault(3, faultyField, "Rank must be lower than the population size");
    if (values.Elitism >= values.PopulationSize)
        return Fault(4, faultyField, "Elitism must be lower than the population size");
    const int rate = FirstOf({values.MutationRate >= 1.0, values.CrossoverRate >= 1.0});
    if (rate >= 0)
        return Fault(rate + 1, faultyField, "Crossover and mutation probabilities must be inside [0;1]");
    return {};
}

QString CheckESConfigure(const QString& lambda, const QString& mutationRate, ESConfigureValues& values,
                         int* faultyField)
{
    if (faultyField)
        *faultyField = -1;
    if (!ParseDecimalInt(lambda, values.Lambda))
        return Fault(0, faultyField, "Invalid data in the input fields");
    const bool defaultRate = mutationRate.trimmed().isEmpty();
    if (defaultRate)
        values.MutationRate = 0.0;
    else if (!ParseReal(mutationRate, values.MutationRate))
        return Fault(1, faultyField, "Invalid data in the input fields");
    const int negative = FirstOf({values.Lambda <= 0, !defaultRate && values.MutationRate <= 0});
    if (negative >= 0)
        return Fault(negative, faultyField, "Negative or null numbers disallowed");
    if (values.Lambda + 1.0 > MaxPopulationSize)
        return Fault(0, faultyField, "Population size must be at most 1000000");
    if (values.MutationRate >= 1.0)
        return Fault(1, faultyField, "Crossover and mutation probabilities must be inside [0;1]");
    return {};
}

bool IsValidTruthCell(const QString& text)
{
    return text == QLatin1String("0") || text == QLatin1String("1") || text == QLatin1String("X")
        || text == QLatin1String("x");
}

int32_t TruthCellValue(const QString& text)
{
    if (text == QLatin1String("0"))
        return 0;
    if (text == QLatin1String("1"))
        return 1;
    return -1;
}

bool ParseMotorCell(const QString& text, int32_t& value)
{
    return ParseDecimalInt(text, value);
}

bool IsValidMotorCell(const QString& text)
{
    int32_t value = 0;
    return ParseMotorCell(text, value) && value >= MinMotorSpeed && value <= MaxMotorSpeed;
}
