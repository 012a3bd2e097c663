// Every file the window writes is named, with its full path, in the status
// bar's note line; the note is cut to fit the window, never widens it.
#include "orvikfixture.h"
#include "tffitnessdisplay.h"
#include "tftruthtable.h"

#include <QDir>
#include <QLabel>
#include <functional>

TEST_F(OrvikWindowTest, EveryFileWrittenIsNamedWithItsFullPath)
{
    const struct {
        const char* file;
        const char* note;
        std::function<void()> write;
    } cases[] = {
        {"pal.v", "Individual 0 written to ", [&] { window->ExportIndividual1Click(); }},
        {"table.pla", "Truth table written to ", [&] { window->ExportTablePla1Click(); }},
        {"fitness.png", "Figure written to ", [] { FFitnessDisplay->BSaveClick(); }},
        {"fitness.csv", "Statistics written to ", [] { FFitnessDisplay->BSaveStatsClick(); }},
        {"xor.tbl", "Truth table saved to ", [&] {
             ui.onExec = [](QDialog* dialog) {
                 static_cast<TFTruthTable*>(dialog)->BSaveClick();
                 return int(QDialog::Rejected);
             };
             window->Truthtable1Click();
         }},
    };
    for (const auto& c : cases) {
        ui.fileAnswer = TempFile(c.file);
        c.write();
        EXPECT_EQ(window->LRunNote->text(), c.note + QDir::toNativeSeparators(TempFile(c.file))) << c.file;
        EXPECT_TRUE(QFileInfo::exists(TempFile(c.file))) << c.file;
    }
}
