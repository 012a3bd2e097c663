#include "dialogvalidation.h"

#include "palconfig.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

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

QString CheckPalSetup(const QString& inputs, const QString& outputs, const QString& andTerms,
                      PalSetupValues& values)
{
    if (!ParseDecimalInt(inputs, values.NumInputs) || !ParseDecimalInt(outputs, values.NumOutputs)
        || !ParseDecimalInt(andTerms, values.NumAndTerms))
        return QStringLiteral("Invalid input in the fields");
    if (values.NumInputs <= 0 || values.NumOutputs <= 0 || values.NumAndTerms <= 0)
        return QStringLiteral("Nul or negative numbers are not allowed");
    if (values.NumInputs > PalConfig::MaxInputs || values.NumOutputs > PalConfig::MaxOutputs
        || values.NumAndTerms > PalConfig::MaxAndTerms)
        return QStringLiteral("Maximum number of input/outputs: 10. Maximum number of AND terms: 40");
    return {};
}

QString CheckGAConfigure(const QString& populationSize, const QString& mutationRate,
                         const QString& crossoverRate, const QString& rankParents,
                         const QString& elitism, GAConfigureValues& values)
{
    if (!ParseReal(populationSize, values.PopulationSize) || !ParseReal(mutationRate, values.MutationRate)
        || !ParseReal(crossoverRate, values.CrossoverRate) || !ParseReal(rankParents, values.RankParents)
        || !ParseDecimalInt(elitism, values.Elitism))
        return QStringLiteral("Invalid data in the input fields");
    if (values.PopulationSize <= 0 || values.MutationRate < 0 || values.CrossoverRate < 0
        || values.RankParents <= 0 || values.Elitism < 0)
        return QStringLiteral("Negative or null numbers disallowed");
    if (values.RankParents > values.PopulationSize)
        return QStringLiteral("Rank must be lower than the population size");
    if (values.Elitism >= values.PopulationSize)
        return QStringLiteral("Elitism must be lower than the population size");
    if (values.MutationRate >= 1.0 || values.CrossoverRate >= 1.0)
        return QStringLiteral("Crossover and mutation probabilities must be inside [0;1]");
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
