// The window's file readers (Load&Program, the table editor's Load, Import
// PLA) refuse devices, FIFOs and oversized files at once, with an "Error"
// box, and change nothing.
#include "orvikfixture.h"

#include "tftruthtable.h"

#include <QFile>
#include <filesystem>
#include <sys/stat.h>

TEST_F(OrvikWindowTest, DevicesFifosAndOversizedFilesAreRefusedByEveryReader)
{
    namespace fs = std::filesystem;
    const QString fifo = TempFile("fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString zero = TempFile("zero.pla");
    fs::create_symlink("/dev/zero", zero.toStdString());
    const QString huge = TempFile("huge.tbl");
    {
        QFile out(huge);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("4 3\n");
        ASSERT_TRUE(out.resize((1 << 20) + 1));
    }
    const auto loadTable = [this] {
        ui.onExec = [](QDialog* dialog) {
            static_cast<TFTruthTable*>(dialog)->BLoadClick();
            dialog->reject();
            return int(QDialog::Rejected);
        };
        window->Truthtable1->trigger();
    };
    struct Case {
        QString file;
        std::function<void()> read;
        QString message;
    };
    const Case cases[] = {
        {fifo, [this] { window->BLoadProgramClick(); }, "Can't open '" + fifo + "': not a regular file"},
        {zero, [this] { window->BLoadProgramClick(); }, "Can't open '" + zero + "': not a regular file"},
        {fifo, loadTable, "Error loading truth table: not a regular file."},
        {huge, loadTable, "Error loading truth table: larger than 1048576 bytes."},
        {zero, [this] { window->ImportPla1->trigger(); }, "zero.pla cannot be read: not a regular file."},
        {fifo, [this] { window->ImportPla1->trigger(); }, "fifo cannot be read: not a regular file."},
    };
    const Individual first = window->Population.At(0);
    const std::vector<int32_t> table = window->Table;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ui.messages.clear();
        ui.fileAnswers = {c.file};
        c.read();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Error");
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_TRUE(window->Population.At(0) == first);
        EXPECT_EQ(window->Table, table);
        EXPECT_EQ(window->Pal.NumInputs, 4);
    }
}
