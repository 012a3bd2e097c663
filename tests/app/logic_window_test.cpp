// PLA import, circuit and table export, the count of AND terms the table
// needs (table editor and PAL dialog) and "Program minimum solution".
#include "orvikfixture.h"

#include "minimumtermstask.h"
#include "neededtermslabel.h"
#include "palviewer.h"
#include "plafile.h"
#include "tfpalsetup.h"
#include "tftruthtable.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <random>

namespace {
// A full adder: cout needs 3 AND terms, sum 4.
const char* const AdderPla = "# full adder\n"
                             ".i 3\n.o 2\n.ilb a b cin\n.ob cout sum\n.p 7\n"
                             "11- 10\n1-1 10\n-11 10\n001 01\n010 01\n100 01\n111 01\n.e\n";
const TruthTable AdderTable{0, 0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0, 1, 1};

bool WaitUntilDone(MinimumTermsTask* task)
{
    return QTest::qWaitFor([task] { return !task->Busy(); }, 20000) && task->Result().has_value();
}

std::vector<int> Bits(const BitString& b)
{
    std::vector<int> bits;
    for (uint32_t i = 0; i < b.Size(); ++i)
        bits.push_back(b[i]);
    return bits;
}

QStringList HeaderTexts(QTableWidget* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->horizontalHeaderItem(c)->text();
    return texts;
}

class LogicWindowTest : public OrvikWindowTest {
protected:
    QString WriteFile(const QString& name, const QByteArray& text)
    {
        const QString path = TempFile(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    void Import(const QString& path)
    {
        ui.fileAnswers.push_back(path);
        window->ImportPla1->trigger();
    }

    void ImportAdder() { Import(WriteFile("adder.pla", AdderPla)); }

    std::string ReadBack(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
        return file.readAll().toStdString();
    }
};
} // namespace

TEST_F(LogicWindowTest, ImportSetsThePalTheTableAndTheNames)
{
    ImportAdder();
    ASSERT_TRUE(ui.messages.empty()) << ui.Lines()[0].toStdString();
    EXPECT_EQ(window->Pal, (PalConfig{3, 2, 2})) << "the AND terms are kept";
    EXPECT_EQ(window->Table, AdderTable);
    EXPECT_EQ(window->Population.At(0).Size(), 24u);
    EXPECT_EQ(window->StatusPanels[3]->text(), "Max possible fit: 16.00");
    EXPECT_EQ(window->InputLabels, (QStringList{"a", "b", "cin"}));
    EXPECT_EQ(window->OutputLabels, (QStringList{"cout", "sum"}));
    EXPECT_EQ(window->Viewer->InputTitle(2), "cin");
    EXPECT_EQ(window->Viewer->OutputTitle(1), "sum");

    // The table editor shows the names and, once counted, the AND terms
    // needed with the warning for the PAL's 2.
    QStringList headers;
    QString sentence, warning;
    ui.onExec = [&](QDialog* dialog) {
        auto* editor = static_cast<TFTruthTable*>(dialog);
        headers = HeaderTexts(editor->StringGrid1);
        EXPECT_TRUE(WaitUntilDone(editor->MinimumTask));
        sentence = editor->LNeededTerms->Sentence();
        warning = editor->LNeededTerms->Warning();
        dialog->reject();
        return QDialog::Rejected;
    };
    window->Truthtable1->trigger();
    EXPECT_EQ(headers, (QStringList{"a", "b", "cin", "cout", "sum"}));
    EXPECT_EQ(sentence, "Needs at least 4 AND terms: output 0 needs 3, output 1 needs 4.");
    EXPECT_EQ(warning, "The PAL has 2 AND terms per output, fewer than the 4 the truth table needs: evolution "
                       "cannot reach the maximum fitness.");
}

TEST_F(LogicWindowTest, TheEditorRecountsAfterAnEditAndKeepsTheNumberedHeadersWithoutNames)
{
    QStringList headers;
    QString before, after;
    ui.onExec = [&](QDialog* dialog) {
        auto* editor = static_cast<TFTruthTable*>(dialog);
        headers = HeaderTexts(editor->StringGrid1);
        EXPECT_TRUE(WaitUntilDone(editor->MinimumTask));
        before = editor->LNeededTerms->Sentence();
        editor->StringGrid1->item(5, 4)->setText("1"); // row 5, output 0
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor->MinimumTask->Busy(); }, 5000));
        EXPECT_TRUE(WaitUntilDone(editor->MinimumTask));
        after = editor->LNeededTerms->Sentence();
        dialog->reject();
        return QDialog::Rejected;
    };
    window->Truthtable1->trigger();
    EXPECT_EQ(headers, (QStringList{"In 0", "In 1", "In 2", "In 3", "Out 0", "Out 1", "Out 2"}));
    EXPECT_EQ(before, "Needs at least 0 AND terms: output 0 needs 0, output 1 needs 0, output 2 needs 0.");
    EXPECT_EQ(after, "Needs at least 1 AND term: output 0 needs 1, output 1 needs 0, output 2 needs 0.");
}

TEST_F(LogicWindowTest, ARefusedFileChangesNothing)
{
    const std::vector<std::pair<QByteArray, QString>> cases{
        {".i 11\n.o 1\n", "Line 1: the file has 11 inputs; the PAL has at most 10."},
        {".i 2\n.o 11\n", "Line 2: the file has 11 outputs; the PAL has at most 10."},
        {".i 2\n.o 1\n001 1\n", "Line 3: the cube has 4 values; .i 2 and .o 1 need 3."},
        {".i 2\n.o 1\n0? 1\n", "Line 3: '?' is not an input value (0, 1 or -)."},
        {".i 2\n.o 1\n.type fr\n0- 1\n01 0\n", "Line 5: row 1 (inputs 01), output 0 is both in the on-set and the off-set."},
        {".i 2\n.o 1\n00 1\n0", "The file ends inside a cube (line 4)."},
    };
    const PalConfig pal = window->Pal;
    const TruthTable table = window->Table;
    const std::vector<int> chromosome = Bits(window->CurrentChromosome);
    for (const auto& [text, message] : cases) {
        ui.messages.clear();
        Import(WriteFile("bad.pla", text));
        ASSERT_EQ(ui.messages.size(), 1u) << message.toStdString();
        EXPECT_EQ(ui.messages[0].caption, "Error");
        EXPECT_EQ(ui.messages[0].text, "bad.pla was not imported.\n" + message);
        EXPECT_EQ(window->Pal, pal);
        EXPECT_EQ(window->Table, table);
        EXPECT_EQ(Bits(window->CurrentChromosome), chromosome);
        EXPECT_TRUE(window->InputLabels.isEmpty());
    }
}

TEST_F(LogicWindowTest, ThePalDialogShowsTheCountAndDropsTheNamesOnANewSize)
{
    ImportAdder();
    ASSERT_TRUE(WaitUntilDone(window->TableMinimum));

    QString sentence, warningAt2, warningAt4;
    bool hiddenForNewInputs = false;
    ui.onExec = [&](QDialog* dialog) {
        auto* pal = static_cast<TFPalSetup*>(dialog);
        sentence = pal->LNeededTerms->Sentence();
        warningAt2 = pal->LNeededTerms->Warning();
        pal->ENAnd->setText("4");
        warningAt4 = pal->LNeededTerms->Warning();
        pal->ENInput->setText("4");
        hiddenForNewInputs = pal->LNeededTerms->isHidden();
        pal->ENInput->setText("3");
        return FakeUiSeam::PressOk(dialog);
    };
    window->PALparameters1->trigger();
    EXPECT_EQ(sentence, "Needs at least 4 AND terms: output 0 needs 3, output 1 needs 4.");
    EXPECT_FALSE(warningAt2.isEmpty());
    EXPECT_TRUE(warningAt4.isEmpty());
    EXPECT_TRUE(hiddenForNewInputs);
    // Only the AND terms changed: the table and its names stay.
    EXPECT_EQ(window->Pal, (PalConfig{3, 4, 2}));
    EXPECT_EQ(window->Table, AdderTable);
    EXPECT_EQ(window->Viewer->InputTitle(0), "a");

    ui.onExec = [&](QDialog* dialog) {
        static_cast<TFPalSetup*>(dialog)->ENOutput->setText("3");
        return FakeUiSeam::PressOk(dialog);
    };
    window->PALparameters1->trigger();
    EXPECT_TRUE(window->InputLabels.isEmpty());
    EXPECT_TRUE(window->OutputLabels.isEmpty());
    EXPECT_EQ(window->Viewer->InputTitle(0), "I0");
    EXPECT_EQ(window->Viewer->OutputTitle(2), "O2");
}

TEST_F(LogicWindowTest, ProgramMinimumSolutionReachesTheMaximumWhenItFits)
{
    ImportAdder();
    ASSERT_TRUE(WaitUntilDone(window->TableMinimum));
    const std::vector<int> before = Bits(window->CurrentChromosome);
    window->BProgramMinimum->click();
    ASSERT_EQ(ui.Lines(), (std::vector<QString>{"Error | The minimum solution needs 4 AND terms per output; the PAL "
                                                "has 2. Set at least 4 AND terms with Setup > PAL... first."}));
    EXPECT_EQ(Bits(window->CurrentChromosome), before);

    ui.messages.clear();
    window->SetPalSize(3, 5, 2);
    window->BProgramMinimum->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_DOUBLE_EQ(window->ComputeFitness(window->CurrentChromosome), 16.0);
    EXPECT_TRUE(window->Viewer->Fuses == window->CurrentChromosome);
    window->Button2->click(); // "Compute fitness"
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Fitness of individual 0: 16.000000");
}

TEST_F(LogicWindowTest, ProgramMinimumSolutionWaitsForTheCountOrIsCancelled)
{
    // All cells don't care: no AND term is needed; the one the PAL has is
    // programmed never true. The command waits for the count in its own
    // small window.
    window->Table.assign(window->Table.size(), DontCare);
    window->TableChanged();
    bool waited = false;
    ui.onExec = [&](QDialog* dialog) {
        waited = dialog->objectName() == "MinimumWait";
        // The count's end closes the window with "accepted".
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->result() == QDialog::Accepted; }, 20000));
        return dialog->result();
    };
    window->BProgramMinimum->click();
    EXPECT_TRUE(waited);
    EXPECT_TRUE(ui.messages.empty());
    // Both fuses of input 0 in every AND term (4 inputs: 8 fuses a term).
    for (uint32_t i = 0; i < window->CurrentChromosome.Size(); ++i)
        EXPECT_EQ(window->CurrentChromosome[i], i % 8 < 2 ? 1 : 0) << "bit " << i;

    // Cancelled while counting: nothing is programmed.
    const std::vector<int> before = Bits(window->CurrentChromosome);
    window->Table.assign(window->Table.size(), 1);
    window->TableChanged();
    ui.onExec = [&](QDialog* dialog) {
        waited = dialog->objectName() == "MinimumWait";
        window->TableMinimum->Cancel();
        dialog->reject();
        return QDialog::Rejected;
    };
    window->BProgramMinimum->click();
    EXPECT_TRUE(waited);
    EXPECT_EQ(Bits(window->CurrentChromosome), before);
}

TEST_F(LogicWindowTest, ExportsTheIndividualAndTheTable)
{
    ImportAdder();
    window->SetPalSize(3, 4, 2);
    ASSERT_TRUE(WaitUntilDone(window->TableMinimum));
    window->BProgramMinimum->click();

    ui.fileAnswers = {TempFile("adder.v"), TempFile("adder.blif"), TempFile("adder_pal.pla"), TempFile("adder.vhd")};
    for (int k = 0; k < 4; ++k)
        window->ExportIndividual1->trigger();
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{
                              "Error | Choose a file name ending in .v (Verilog), .blif (BLIF), .pla (PLA), .jed (JEDEC) or .pld (GAL assembler)."}));
    const std::string verilog = ReadBack(TempFile("adder.v"));
    EXPECT_NE(verilog.find("module orvik_pal(input I0, I1, I2, output O0, O1);"), std::string::npos) << verilog;
    EXPECT_NE(verilog.find("// I0 = a, I1 = b, I2 = cin, O0 = cout, O1 = sum"), std::string::npos);
    EXPECT_NE(ReadBack(TempFile("adder.blif")).find(".model orvik_pal"), std::string::npos);
    const PlaReadResult pal = ReadPlaFile(TempFile("adder_pal.pla").toStdString());
    ASSERT_TRUE(pal.ok) << pal.message;
    EXPECT_EQ(pal.table.cells, AdderTable) << "the minimum solution computes the table";
    EXPECT_EQ(pal.table.inputLabels, (std::vector<std::string>{"a", "b", "cin"}));

    ui.messages.clear();
    ui.fileAnswers = {TempFile("table.pla")};
    window->ExportTablePla1->trigger();
    EXPECT_TRUE(ui.messages.empty());
    const PlaReadResult table = ReadPlaFile(TempFile("table.pla").toStdString());
    ASSERT_TRUE(table.ok) << table.message;
    EXPECT_EQ(table.table.cells, AdderTable);
    EXPECT_EQ(table.table.outputLabels, (std::vector<std::string>{"cout", "sum"}));
}

TEST_F(LogicWindowTest, ANewTableCancelsTheCountUnderWayAndOnlyItsOwnCountIsShown)
{
    // A random 10-input function whose proof takes seconds: the window goes
    // on handling events meanwhile, and the next table's count replaces it.
    window->SetPalSize(10, 2, 1);
    std::mt19937 random(13);
    for (int32_t& cell : window->Table)
        cell = random() % 100 < 65 ? 1 : 0;
    window->TableChanged();
    EXPECT_TRUE(window->TableMinimum->Busy());
    QTest::qWait(50);
    window->Table.assign(window->Table.size(), 0);
    window->Table[5] = 1;
    window->TableChanged();
    ASSERT_TRUE(WaitUntilDone(window->TableMinimum));
    EXPECT_EQ(DescribeTableCover(*window->TableMinimum->Result()), "Needs at least 1 AND term: output 0 needs 1.");
}
