#pragma once
// The rules by which the PAL, GA and truth-table dialogs accept what the user
// typed; the batch tool checks its command-line values by the same rules, with
// the same messages. Plain functions on strings (Qt Core only), so that every
// rule and the order in which the rules are checked can be tested without a
// widget. Each Check... function
// returns the message to show in an "Error" box, or an empty string when the
// texts are acceptable.
//
// Number syntax (the program runs with LC_NUMERIC = "C", so '.' is the decimal
// separator whatever the user's locale):
//  - integers: optional sign and decimal digits, surrounding white space
//    ignored, within the signed 32-bit range;
//  - reals: Qt's C-locale syntax ("0.01", "1e-3", ".5", "+2"), surrounding
//    white space ignored, no group separators, finite values only.
// An empty text, letters, or a real where an integer is expected ("2.5") fail.
#include <QString>

#include <cstdint>

// Parses a decimal integer as described above; `value` is written only on success.
bool ParseDecimalInt(const QString& text, int32_t& value);
// Parses a finite real as described above; `value` is written only on success.
bool ParseReal(const QString& text, double& value);

// PAL dimensions as held by the PAL parameters dialog.
struct PalSetupValues {
    int32_t NumInputs = 4;
    int32_t NumOutputs = 3;
    int32_t NumAndTerms = 2;
};

// Parses the three texts in the order inputs, outputs, AND terms, storing each
// into `values` as soon as it is parsed (a failed conversion leaves the fields
// parsed before it updated), then checks signs and maxima in that order.
// With a message, *faultyField (when given) is the position of the first
// field at fault among the arguments (0 inputs, 1 outputs, 2 AND terms), so
// that the dialog can point at it; -1 without a message.
QString CheckPalSetup(const QString& inputs, const QString& outputs, const QString& andTerms,
                      PalSetupValues& values, int* faultyField = nullptr);

// GA parameters as held by the GA parameters dialog. Population size and rank
// parents are reals here; the caller converts them to counts.
struct GAConfigureValues {
    double PopulationSize = 100;
    double MutationRate = 0.01;
    double CrossoverRate = 0.7;
    double RankParents = 30;
    int32_t Elitism = 5;
};

// Parses the five texts in the order population size, mutation rate, crossover
// rate, rank parents, elitism (the last an integer), storing each into `values`
// as soon as it is parsed, then applies the rules in their order of precedence:
// signs, size <= MaxPopulationSize, rank <= size, elitism < size, rates < 1.
// *faultyField as for CheckPalSetup (0 size .. 4 elitism, in argument order).
QString CheckGAConfigure(const QString& populationSize, const QString& mutationRate,
                         const QString& crossoverRate, const QString& rankParents,
                         const QString& elitism, GAConfigureValues& values, int* faultyField = nullptr);

// The largest population the GA dialog accepts; rank parents are at most the
// population size, so both fit a 32-bit count.
inline constexpr double MaxPopulationSize = 1000000;

// The evolution strategy's fields of the GA dialog: the offspring per
// generation and the per-bit mutation rate. An empty (or blank) rate stands
// for 1/L and is held as 0.
struct ESConfigureValues {
    int32_t Lambda = 4;
    double MutationRate = 0.0;
};

// Parses lambda (an integer) and the rate (blank, or a real), storing each as
// soon as it is parsed, then applies the GA dialog's rules with its messages:
// lambda and a given rate above 0 ("Negative or null numbers disallowed"),
// 1 + lambda <= MaxPopulationSize (the population-size message), the rate
// below 1. *faultyField as for CheckPalSetup (0 lambda, 1 rate).
QString CheckESConfigure(const QString& lambda, const QString& mutationRate, ESConfigureValues& values,
                         int* faultyField = nullptr);

// Truth-table cell: exactly "0", "1", "X" or "x" (no surrounding white space).
bool IsValidTruthCell(const QString& text);
// Stored value of a valid truth-table cell: 0, 1, or -1 (don't care) for
// anything else.
int32_t TruthCellValue(const QString& text);

// Motor cell: after removing surrounding white space, an optional sign and one
// or more decimal digits, nothing else ("5a" is refused). This one parse is used
// for validation, for copying the grid back and for saving. `value` is written
// only on success; the range is not checked here.
bool ParseMotorCell(const QString& text, int32_t& value);
// A motor cell that parses and lies in [MinMotorSpeed; MaxMotorSpeed].
bool IsValidMotorCell(const QString& text);

// Wheel speeds a motor-assignment cell may hold, in the robot's speed units.
inline constexpr int32_t MinMotorSpeed = -5;
inline constexpr int32_t MaxMotorSpeed = 10;
