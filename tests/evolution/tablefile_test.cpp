// The ".tbl" format: exact bytes written, tolerant reading of white space,
// refusal of truncated or non-numeric files, and header mismatches.
#include "tablefile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using Status = TableFileContent::Status;

TEST(TableFile, WritesHeaderThenOneLinePerRowWithASpaceAfterEachValue)
{
    // A 2-input, 1-output truth table with an "X" in row 3.
    EXPECT_EQ(FormatTableFile(2, 1, {0, 1, 1, TableDontCare}), QByteArray("2 1\n0 \n1 \n1 \n-1 \n"));
    EXPECT_EQ(FormatTableFile(1, 3, {0, 1, -1, 1, 0, 0}), QByteArray("1 3\n0 1 -1 \n1 0 0 \n"));
    // The default motor assignment.
    EXPECT_EQ(FormatTableFile(2, 1, {-5, 0, 5, 10}), QByteArray("2 1\n-5 \n0 \n5 \n10 \n"));
}

TEST(TableFile, ReadsValuesSeparatedByAnyWhiteSpace)
{
    const TableFileContent content = ParseTableFile("2 1\r\n0\t1\n\n  1 -1 \n", 2, 1);
    ASSERT_EQ(content.status, Status::Ok);
    EXPECT_EQ(content.values, (std::vector<int32_t>{0, 1, 1, -1}));

    // A leading '+' is a sign; anything after the values needed is ignored.
    const TableFileContent signs = ParseTableFile("1 2 +1 -7 12 0 trailing words", 1, 2);
    ASSERT_EQ(signs.status, Status::Ok);
    EXPECT_EQ(signs.values, (std::vector<int32_t>{1, -7, 12, 0}));
}

TEST(TableFile, ReadsBackWhatItWrites)
{
    std::vector<int32_t> values;
    for (int32_t i = 0; i < (1 << 5) * 3; ++i)
        values.push_back(i % 3 - 1);
    const TableFileContent content = ParseTableFile(FormatTableFile(5, 3, values), 5, 3);
    ASSERT_EQ(content.status, Status::Ok);
    EXPECT_EQ(content.values, values);
}

TEST(TableFile, HeaderMismatchReportsTheFilesNumbers)
{
    const TableFileContent content = ParseTableFile("3 2\n0 0 \n", 4, 2);
    EXPECT_EQ(content.status, Status::HeaderMismatch);
    EXPECT_EQ(content.keyBits, 3);
    EXPECT_EQ(content.valueColumns, 2);
    EXPECT_EQ(HeaderMismatchMessage(content.keyBits, content.valueColumns),
              QStringLiteral("Error: file doesn't contain the same number of input and outputs as the truth "
                             "table. File has 3 inputs and 2 outputs."));

    EXPECT_EQ(ParseTableFile("4 3\n", 4, 2).status, Status::HeaderMismatch);
}

TEST(TableFile, RefusesFilesThatEndEarlyOrHoldNonNumbers)
{
    struct Case {
        const char* text;
        const char* problemMentions;
    };
    const Case cases[] = {
        {"", "does not begin"},
        {"2", "does not begin"},
        {"two 1\n", "does not begin"},
        {"2 1\n0 \n1 \n1 \n", "3 of its 4"},
        {"2 1\n", "0 of its 4"},
        {"2 1\n0 \n1 \nX \n0 \n", "\"X\""},
        {"2 1\n0 1.5 1 0", "value 2 of 4"},
        {"2 1\n0 1 1 5a", "\"5a\""},
        {"2 1\n0 1 1 99999999999", "99999999999"},
        {"2 1\n0 1 1 +-1", "+-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TableFileContent content = ParseTableFile(c.text, 2, 1);
        EXPECT_EQ(content.status, Status::Malformed);
        EXPECT_TRUE(content.values.empty());
        EXPECT_TRUE(content.problem.contains(QString::fromLatin1(c.problemMentions))) << content.problem.toStdString();
    }
}

TEST(TableFile, TruthValuesOtherThanZeroAndOneShowAsX)
{
    EXPECT_EQ(TruthValueText(0), "0");
    EXPECT_EQ(TruthValueText(1), "1");
    EXPECT_EQ(TruthValueText(-1), "X");
    EXPECT_EQ(TruthValueText(7), "X");
    EXPECT_EQ(TruthValueText(2), "X");
}

TEST(TableFile, TextFilesWriteAndReadAndReportFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("t.tbl");
    ASSERT_TRUE(WriteTextFile(path, "1 1\n0 \n1 \n"));
    const std::optional<QByteArray> text = ReadTextFile(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, QByteArray("1 1\n0 \n1 \n"));

    EXPECT_FALSE(WriteTextFile(dir.filePath("missing/t.tbl"), "1 1\n"));
    EXPECT_FALSE(ReadTextFile(dir.filePath("absent.tbl")).has_value());
}
