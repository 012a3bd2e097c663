// The validation rules of the PAL, GA and table-editor dialogs, called with
// the texts a user might type. Each table row names the first rule that must
// fire, so the rows also pin the order of precedence.
#include "dialogvalidation.h"

#include <gtest/gtest.h>

namespace {

const QString InvalidPal = QStringLiteral("Invalid input in the fields");
const QString NulPal = QStringLiteral("Nul or negative numbers are not allowed");
const QString MaxPal = QStringLiteral("Maximum number of input/outputs: 10. Maximum number of AND terms: 40");

const QString InvalidGA = QStringLiteral("Invalid data in the input fields");
const QString NegativeGA = QStringLiteral("Negative or null numbers disallowed");
const QString RankGA = QStringLiteral("Rank must be lower than the population size");
const QString ElitismGA = QStringLiteral("Elitism must be lower than the population size");
const QString RatesGA = QStringLiteral("Crossover and mutation probabilities must be inside [0;1]");
const QString SizeGA = QStringLiteral("Population size must be at most 1000000");

} // namespace

TEST(DialogValidation, PalSetupRulesInOrderOfPrecedence)
{
    struct Case {
        const char* inputs;
        const char* outputs;
        const char* andTerms;
        QString expected;
    };
    const Case cases[] = {
        {"10", "10", "40", {}},
        {"1", "1", "1", {}},
        {" 4 ", "3", "2", {}}, // surrounding blanks are not part of the number
        {"+4", "3", "2", {}},
        {"11", "1", "1", MaxPal},
        {"1", "11", "1", MaxPal},
        {"1", "1", "41", MaxPal},
        {"0", "3", "2", NulPal},
        {"4", "0", "2", NulPal},
        {"4", "3", "0", NulPal},
        {"-1", "3", "2", NulPal},
        {"0", "11", "2", NulPal},  // sign rule before maximum rule
        {"4", "3", "-50", NulPal}, // also when the other fields are fine
        {"11", "0", "41", NulPal},
        {"", "3", "2", InvalidPal},
        {"4", "abc", "2", InvalidPal},
        {"4", "3", "2.5", InvalidPal},
        {"4", "3", "4a", InvalidPal},
        {"4 4", "3", "2", InvalidPal},
        {"99999999999", "3", "2", InvalidPal}, // beyond 32 bits
        {"0", "x", "2", InvalidPal},           // conversions come before every rule
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inputs << " / " << c.outputs << " / " << c.andTerms);
        PalSetupValues values;
        EXPECT_EQ(CheckPalSetup(QString::fromLatin1(c.inputs), QString::fromLatin1(c.outputs),
                                QString::fromLatin1(c.andTerms), values),
                  c.expected);
    }
}

TEST(DialogValidation, PalSetupStoresEachFieldAsSoonAsItIsParsed)
{
    PalSetupValues values{4, 3, 2};
    EXPECT_EQ(CheckPalSetup("7", "oops", "9", values), InvalidPal);
    EXPECT_EQ(values.NumInputs, 7);
    EXPECT_EQ(values.NumOutputs, 3);
    EXPECT_EQ(values.NumAndTerms, 2);

    EXPECT_EQ(CheckPalSetup("10", "10", "40", values), QString());
    EXPECT_EQ(values.NumInputs, 10);
    EXPECT_EQ(values.NumOutputs, 10);
    EXPECT_EQ(values.NumAndTerms, 40);
}

TEST(DialogValidation, GAConfigureRulesInOrderOfPrecedence)
{
    struct Case {
        const char* size;
        const char* mutation;
        const char* crossover;
        const char* rank;
        const char* elitism;
        QString expected;
    };
    const Case cases[] = {
        {"100", "0.01", "0.7", "30", "5", {}},
        {"100.5", "0.01", "0.7", "30", "5", {}},   // the caller converts the size
        {"100", "0", "0", "30", "5", {}},          // zero rates are fine
        {"100", "0.999", "0.999", "30", "5", {}},
        {"100", "1e-3", "7e-1", "30", "5", {}},
        {"100", "0.01", "0.7", "100", "5", {}},    // rank equal to the size
        {"100", "0.01", "0.7", "30", "99", {}},    // elitism one below the size
        {"100", "0.01", "0.7", "30", "0", {}},
        {" 100 ", "0.01", "0.7", "30", " 5", {}},
        {"100", "1", "0.7", "30", "5", RatesGA},
        {"100", "0.01", "1.0", "30", "5", RatesGA},
        {"100", "1.5", "2", "30", "5", RatesGA},
        {"100", "0.01", "0.7", "30", "100", ElitismGA},
        {"100", "0.01", "0.7", "30", "150", ElitismGA},
        {"10", "1", "0.7", "5", "10", ElitismGA},  // elitism before rates
        {"100", "0.01", "0.7", "100.5", "5", RankGA},
        {"10", "0.01", "0.7", "20", "10", RankGA}, // rank before elitism
        {"10", "1", "1", "20", "10", RankGA},
        {"0", "0.01", "0.7", "30", "5", NegativeGA},
        {"-1", "0.01", "0.7", "200", "5", NegativeGA}, // sign before rank
        {"100", "-0.01", "0.7", "30", "5", NegativeGA},
        {"100", "0.01", "-0.7", "30", "5", NegativeGA},
        {"100", "0.01", "0.7", "0", "5", NegativeGA},
        {"100", "0.01", "0.7", "30", "-1", NegativeGA},
        {"abc", "0.01", "0.7", "30", "5", InvalidGA},
        {"100", "abc", "0.7", "30", "5", InvalidGA},
        {"100", "0.01", "abc", "30", "5", InvalidGA},
        {"100", "0.01", "0.7", "abc", "5", InvalidGA},
        {"100", "0.01", "0.7", "30", "abc", InvalidGA},
        {"100", "0.01", "0.7", "30", "2.5", InvalidGA}, // elitism is an integer
        {"", "0.01", "0.7", "30", "5", InvalidGA},
        {"100", "0,01", "0.7", "30", "5", InvalidGA},   // '.' is the decimal separator
        {"1,000", "0.01", "0.7", "30", "5", InvalidGA}, // no group separators
        {"nan", "0.01", "0.7", "30", "5", InvalidGA},
        {"100", "0.01", "0.7", "inf", "5", InvalidGA},
        {"-1", "0.01", "0.7", "30", "x", InvalidGA},    // conversions come before every rule
        {"1000000", "0.01", "0.7", "1000000", "999999", {}},
        {"1000000.5", "0.01", "0.7", "30", "5", SizeGA},
        {"1e9", "0.01", "0.7", "30", "5", SizeGA},
        {"4294967306", "0.01", "0.7", "15", "1", SizeGA}, // would wrap to 10 as a 32-bit count
        {"1e300", "0.01", "0.7", "1e300", "5", SizeGA},   // size before rank
        {"-1e9", "0.01", "0.7", "30", "5", NegativeGA},   // sign before size
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " / " << c.mutation << " / " << c.crossover << " / "
                                        << c.rank << " / " << c.elitism);
        GAConfigureValues values;
        EXPECT_EQ(CheckGAConfigure(QString::fromLatin1(c.size), QString::fromLatin1(c.mutation),
                                   QString::fromLatin1(c.crossover), QString::fromLatin1(c.rank),
                                   QString::fromLatin1(c.elitism), values),
                  c.expected);
    }
}

// The dialogs point at the field a message is about: the first one at fault.
TEST(DialogValidation, TheFieldAtFaultIsNamed)
{
    const struct {
        const char* texts[5];
        int field;
    } ga[] = {
        {{"100", "0.01", "0.7", "30", "5"}, -1},
        {{"abc", "0.01", "0.7", "30", "5"}, 0},
        {{"100", "0.01", "0.7", "x", "y"}, 3},
        {{"100", "0.01", "0.7", "30", "2.5"}, 4},
        {{"100", "0.01", "-1", "-2", "5"}, 2},
        {{"2e6", "0.01", "0.7", "30", "5"}, 0},
        {{"100", "0.01", "0.7", "101", "5"}, 3},
        {{"100", "0.01", "0.7", "30", "100"}, 4},
        {{"100", "0.01", "1", "30", "5"}, 2},
        {{"100", "1", "1", "30", "5"}, 1},
    };
    for (const auto& row : ga) {
        GAConfigureValues values;
        int field = 99;
        CheckGAConfigure(row.texts[0], row.texts[1], row.texts[2], row.texts[3], row.texts[4], values, &field);
        EXPECT_EQ(field, row.field) << row.texts[0] << " " << row.texts[1] << " " << row.texts[2] << " "
                                    << row.texts[3] << " " << row.texts[4];
    }

    const struct {
        const char* texts[3];
        int field;
    } pal[] = {
        {{"4", "3", "2"}, -1}, {{"4", "x", "2"}, 1}, {{"4", "3", "0"}, 2}, {{"11", "3", "2"}, 0}, {{"4", "3", "41"}, 2},
    };
    for (const auto& row : pal) {
        PalSetupValues values;
        int field = 99;
        CheckPalSetup(row.texts[0], row.texts[1], row.texts[2], values, &field);
        EXPECT_EQ(field, row.field) << row.texts[0] << " " << row.texts[1] << " " << row.texts[2];
    }
}

TEST(DialogValidation, GAConfigureStoresParsedValues)
{
    GAConfigureValues values;
    ASSERT_EQ(CheckGAConfigure("100.5", "0", "0.25", "100.5", "3", values), QString());
    EXPECT_DOUBLE_EQ(values.PopulationSize, 100.5);
    EXPECT_DOUBLE_EQ(values.MutationRate, 0.0);
    EXPECT_DOUBLE_EQ(values.CrossoverRate, 0.25);
    EXPECT_DOUBLE_EQ(values.RankParents, 100.5);
    EXPECT_EQ(values.Elitism, 3);

    // Fields before a failed conversion are already updated, later ones are not.
    GAConfigureValues partial;
    EXPECT_EQ(CheckGAConfigure("50", "0.5", "bad", "7", "1", partial), InvalidGA);
    EXPECT_DOUBLE_EQ(partial.PopulationSize, 50);
    EXPECT_DOUBLE_EQ(partial.MutationRate, 0.5);
    EXPECT_DOUBLE_EQ(partial.CrossoverRate, 0.7);
    EXPECT_DOUBLE_EQ(partial.RankParents, 30);
}

TEST(DialogValidation, TruthCellsAreExactlyZeroOneOrX)
{
    for (const char* valid : {"0", "1", "X", "x"})
        EXPECT_TRUE(IsValidTruthCell(QString::fromLatin1(valid))) << valid;
    for (const char* invalid : {"", " 1", "1 ", " ", "2", "-1", "xx", "10", "O", "y"})
        EXPECT_FALSE(IsValidTruthCell(QString::fromLatin1(invalid))) << '"' << invalid << '"';

    EXPECT_EQ(TruthCellValue("0"), 0);
    EXPECT_EQ(TruthCellValue("1"), 1);
    EXPECT_EQ(TruthCellValue("X"), -1);
    EXPECT_EQ(TruthCellValue("x"), -1);
}

TEST(DialogValidation, MotorCellsAreWholeIntegersInRange)
{
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"-5", true},  {"10", true},  {"0", true},     {"+3", true},   {" 5", true},
        {"5 ", true},  {"007", true}, {"11", false},   {"-6", false},  {"5a", false},
        {"a5", false}, {"", false},   {" ", false},    {"5.0", false}, {"--5", false},
        {"5 5", false}, {"99999999999", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidMotorCell(QString::fromLatin1(c.text)), c.valid) << '"' << c.text << '"';

    // The parse that validation uses is the one that copies back and saves.
    int32_t value = 99;
    EXPECT_TRUE(ParseMotorCell(" -3 ", value));
    EXPECT_EQ(value, -3);
    EXPECT_FALSE(ParseMotorCell("5a", value));
    EXPECT_EQ(value, -3);
    EXPECT_TRUE(ParseMotorCell("12", value)); // range is the caller's rule
    EXPECT_EQ(value, 12);
}

TEST(DialogValidation, EvolutionStrategyRulesInOrderOfPrecedence)
{
    struct Case {
        const char* lambda;
        const char* rate;
        QString expected;
        int field;
        int32_t storedLambda;
        double storedRate;
    };
    const Case cases[] = {
        {"4", "", {}, -1, 4, 0.0}, // blank: 1/L, held as 0
        {" 7 ", "  ", {}, -1, 7, 0.0},
        {"1", "0.02", {}, -1, 1, 0.02},
        {"999999", "0.999", {}, -1, 999999, 0.999},
        {"1000000", "", SizeGA, 0, 1000000, 0.0},
        {"4", "1", RatesGA, 1, 4, 1.0},
        {"0", "1", NegativeGA, 0, 0, 1.0}, // sign before the rate's bound
        {"-3", "", NegativeGA, 0, -3, 0.0},
        {"4", "0", NegativeGA, 1, 4, 0.0},
        {"4", "-0.1", NegativeGA, 1, 4, -0.1},
        {"4.5", "", InvalidGA, 0, 9, 0.5},
        {"x", "0.1", InvalidGA, 0, 9, 0.5},
        {"4", "1/L", InvalidGA, 1, 4, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lambda << " / " << c.rate);
        ESConfigureValues values{9, 0.5};
        int field = 7;
        EXPECT_EQ(CheckESConfigure(QString::fromLatin1(c.lambda), QString::fromLatin1(c.rate), values, &field),
                  c.expected);
        EXPECT_EQ(field, c.field);
        EXPECT_EQ(values.Lambda, c.storedLambda);
        EXPECT_EQ(values.MutationRate, c.storedRate);
    }
}
