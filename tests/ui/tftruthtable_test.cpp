// The table editor in both modes: the grid it builds, OK/Cancel and what they
// do to the caller's table, and Save/Load through ".tbl" files. A recording
// UiSeam answers message boxes, file dialogs (with temporary paths) and the
// modal run, so nothing ever blocks.
#include "tftruthtable.h"
#include "fakeuiseam.h"
#include "uiseam.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QKeyEvent>
#include <QLineEdit>

#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using RecordingUi = FakeUiSeam;

const QString TruthInvalid =
    QStringLiteral("Error | Invalid fields in the truth table. Valid fields are \"0\", \"1\" or \"X\"....");
const QString MotorInvalid =
    QStringLiteral("Error | Invalid fields in the truth table. Valid values are in the range [-5;10]");

class TFTruthTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetUiSeam(&ui);
    }
    void TearDown() override { SetUiSeam(nullptr); }

    // Opens the editor on `table`; `whileOpen` plays the user and returns the result.
    int Edit(std::vector<int32_t>& table, int32_t numIn, bool motor, int32_t numOut,
             std::function<int()> whileOpen)
    {
        ui.onExec = [whileOpen](QDialog*) { return whileOpen(); };
        return dialog.EditTable(table.data(), numIn, motor, numOut);
    }
    // Text of value cell (row, value column j) and of key cell (row, column).
    QString Value(int row, int j) const { return dialog.StringGrid1->item(row, keyColumns + j)->text(); }
    void SetValue(int row, int j, const QString& text) { dialog.StringGrid1->item(row, keyColumns + j)->setText(text); }
    QString Key(int row, int column) const { return dialog.StringGrid1->item(row, column)->text(); }
    QString Header(int column) const
    {
        return dialog.StringGrid1->horizontalHeaderItem(column)->text();
    }
    int Accept()
    {
        dialog.accept();
        return dialog.result();
    }
    QByteArray FileText(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void WriteFile(const QString& path, const QByteArray& text) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static void Press(QWidget* target, int key, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }

    QTemporaryDir dir;
    RecordingUi ui;
    TFTruthTable dialog;
    int keyColumns = 0; // set by each test to the NumIn it opens with
};

} // namespace

TEST_F(TFTruthTableTest, TruthModeGridShowsKeysHeadersAndValues)
{
    std::vector<int32_t> table(16 * 2, 0);
    table[0 + 5 * 2] = 1;
    table[1 + 5 * 2] = -1;
    table[1 + 6 * 2] = 7; // anything but 0 and 1 shows as "X"
    keyColumns = 4;
    Edit(table, 4, false, 2, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Truth table edit");
        EXPECT_FALSE(dialog.Label1->isHidden());
        EXPECT_TRUE(dialog.Label2->isHidden());
        EXPECT_EQ(dialog.StringGrid1->rowCount(), 16);
        EXPECT_EQ(dialog.StringGrid1->columnCount(), 6);
        QStringList headers;
        for (int column = 0; column < 6; ++column)
            headers << Header(column);
        EXPECT_EQ(headers, (QStringList{"In 0", "In 1", "In 2", "In 3", "Out 0", "Out 1"}));
        // Row 5 is combination 0101, most significant bit first.
        EXPECT_EQ(QStringList({Key(5, 0), Key(5, 1), Key(5, 2), Key(5, 3)}), (QStringList{"0", "1", "0", "1"}));
        EXPECT_EQ(QStringList({Key(15, 0), Key(15, 3)}), (QStringList{"1", "1"}));
        EXPECT_FALSE(dialog.StringGrid1->item(5, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(dialog.StringGrid1->item(5, 4)->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(Value(5, 0), "1");
        EXPECT_EQ(Value(5, 1), "X");
        EXPECT_EQ(Value(6, 1), "X");
        EXPECT_EQ(Value(0, 0), "0");
        return int(QDialog::Rejected);
    });
}

TEST_F(TFTruthTableTest, MotorModeGridAndSingleInputGrid)
{
    std::vector<int32_t> motor{-5, 0, 5, 10};
    keyColumns = 2;
    Edit(motor, 2, true, 1, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Output bits -> motor speed assignment");
        EXPECT_TRUE(dialog.Label1->isHidden());
        EXPECT_FALSE(dialog.Label2->isHidden());
        EXPECT_EQ(dialog.StringGrid1->rowCount(), 4);
        EXPECT_EQ(QStringList({Header(0), Header(1), Header(2)}), (QStringList{"Out 0", "Out 1", "Motor speed"}));
        EXPECT_EQ(QStringList({Value(0, 0), Value(1, 0), Value(2, 0), Value(3, 0)}),
                  (QStringList{"-5", "0", "5", "10"}));
        EXPECT_EQ(QStringList({Key(2, 0), Key(2, 1)}), (QStringList{"1", "0"}));
        return int(QDialog::Rejected);
    });

    // N = 1: header plus the rows "0" and "1".
    std::vector<int32_t> single{1, 0};
    keyColumns = 1;
    Edit(single, 1, false, 1, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Truth table edit");
        EXPECT_EQ(dialog.StringGrid1->rowCount(), 2);
        EXPECT_EQ(dialog.StringGrid1->columnCount(), 2);
        EXPECT_EQ(Key(0, 0), "0");
        EXPECT_EQ(Key(1, 0), "1");
        EXPECT_EQ(Value(0, 0), "1");
        return int(QDialog::Rejected);
    });
}

TEST_F(TFTruthTableTest, LargestTableBuilds)
{
    std::vector<int32_t> table(1024 * 10, 1);
    keyColumns = 10;
    Edit(table, 10, false, 10, [&] {
        EXPECT_EQ(dialog.StringGrid1->rowCount(), 1024);
        EXPECT_EQ(dialog.StringGrid1->columnCount(), 20);
        EXPECT_EQ(Key(1023, 0), "1");
        EXPECT_EQ(Key(512, 0), "1");
        EXPECT_EQ(Key(511, 0), "0");
        EXPECT_EQ(Value(1023, 9), "1");
        return int(QDialog::Rejected);
    });
}

TEST_F(TFTruthTableTest, OkCopiesTheGridIntoTheTable)
{
    std::vector<int32_t> table{0, 0, 0, 0, 0, 0, 0, 0};
    keyColumns = 2;
    const int result = Edit(table, 2, false, 2, [&] {
        SetValue(0, 1, "1");
        SetValue(1, 0, "x");
        SetValue(3, 1, "X");
        dialog.BOk->click();
        return dialog.result();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(table, (std::vector<int32_t>{0, 1, -1, 0, 0, 0, 0, -1}));

    std::vector<int32_t> motor{-5, 0, 5, 10};
    keyColumns = 2;
    Edit(motor, 2, true, 1, [&] {
        SetValue(0, 0, " 7 ");
        SetValue(3, 0, "+2");
        return Accept();
    });
    EXPECT_EQ(motor, (std::vector<int32_t>{7, 0, 5, 2}));
}

TEST_F(TFTruthTableTest, OkWithAnInvalidCellStaysOpenAndChangesNothing)
{
    struct Case {
        bool motor;
        const char* text;
    };
    const Case cases[] = {
        {false, " 1"}, {false, "1 "}, {false, ""}, {false, "2"}, {false, "-1"},
        {true, "11"},  {true, "-6"},  {true, "5a"}, {true, ""},  {true, "1.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.motor ? "motor " : "truth ") << '"' << c.text << '"');
        ui.messages.clear();
        std::vector<int32_t> table{0, 1, 1, 0};
        const std::vector<int32_t> before = table;
        keyColumns = 2;
        const int result = Edit(table, 2, c.motor, 1, [&] {
            dialog.show();
            SetValue(0, 0, "1");
            SetValue(2, 0, QString::fromLatin1(c.text));
            dialog.accept();
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(Value(2, 0), QString::fromLatin1(c.text)); // the user's edit is kept
            const int r = dialog.result();
            dialog.hide();
            return r;
        });
        EXPECT_NE(result, QDialog::Accepted);
        EXPECT_EQ(table, before);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Lines()[0], c.motor ? MotorInvalid : TruthInvalid);
    }
}

TEST_F(TFTruthTableTest, CancelNeverChangesTheTableEvenAfterALoad)
{
    const QString path = dir.filePath("ones.tbl");
    WriteFile(path, "2 1\n1 \n1 \n1 \n1 \n");
    ui.fileAnswer = path;
    std::vector<int32_t> table{0, 0, 0, 0};
    keyColumns = 2;
    const int result = Edit(table, 2, false, 1, [&] {
        dialog.BLoad->click();
        EXPECT_EQ(Value(3, 0), "1");
        dialog.BCancel->click();
        return dialog.result();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(table, (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TFTruthTableTest, SaveWritesTheGridIncludingUnconfirmedEdits)
{
    const QString path = dir.filePath("saved.tbl");
    ui.fileAnswer = path;
    std::vector<int32_t> table{0, 1, 1, 0};
    keyColumns = 2;
    Edit(table, 2, false, 1, [&] {
        SetValue(3, 0, "x");
        dialog.BSave->click();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(FileText(path), QByteArray("2 1\n0 \n1 \n1 \n-1 \n"));
    EXPECT_EQ(table, (std::vector<int32_t>{0, 1, 1, 0}));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.defaultSuffix, "tbl");
    EXPECT_EQ(request.filter, "Truth tables (*.tbl)");
    EXPECT_EQ(request.defaultName, QDir::current().absoluteFilePath("default.tbl"));
}

TEST_F(TFTruthTableTest, TextStillInACellEditorCountsForSaveAndOk)
{
    const QString path = dir.filePath("typed.tbl");
    ui.fileAnswer = path;
    std::vector<int32_t> table{0, 0, 0, 0};
    keyColumns = 2;
    // Types into a value cell and leaves its editor open; returns false if none opened.
    auto typeInto = [&](int row, int key, const QString& text) {
        dialog.StringGrid1->setCurrentCell(row, 2);
        Press(dialog.StringGrid1, key, text);
        for (QLineEdit* editor : dialog.StringGrid1->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible()) // a closed editor lingers until deleted later
                return editor->text() == text;
        return false;
    };
    const int result = Edit(table, 2, true, 1, [&] {
        dialog.show();
        EXPECT_TRUE(typeInto(2, Qt::Key_7, "7"));
        dialog.BSaveClick();
        EXPECT_TRUE(typeInto(3, Qt::Key_9, "9"));
        return Accept();
    });
    EXPECT_EQ(FileText(path), QByteArray("2 1\n0 \n0 \n7 \n0 \n"));
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(table, (std::vector<int32_t>{0, 0, 7, 9}));
}

TEST_F(TFTruthTableTest, SaveRefusesInvalidCellsAndReportsUnwritableFiles)
{
    ui.fileAnswer = dir.filePath("never.tbl");
    std::vector<int32_t> table{0, 1, 1, 0};
    keyColumns = 2;
    Edit(table, 2, false, 1, [&] {
        SetValue(1, 0, "2");
        dialog.BSaveClick();
        EXPECT_TRUE(ui.fileRequests.empty()); // no file dialog for an invalid grid
        SetValue(1, 0, "1");
        ui.fileAnswer = dir.filePath("no/such/folder/t.tbl");
        dialog.BSaveClick();
        ui.fileAnswer.clear(); // the user cancels the file dialog
        dialog.BSaveClick();
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(QFile::exists(dir.filePath("never.tbl")));
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{TruthInvalid, "Error | Error saving truth table"}));
}

TEST_F(TFTruthTableTest, SaveAndLoadRoundTripInBothModes)
{
    const QString truthPath = dir.filePath("truth.tbl");
    std::vector<int32_t> original;
    for (int i = 0; i < 8 * 3; ++i)
        original.push_back(i % 3 == 2 ? -1 : (i * 7 / 3) % 2);
    std::vector<int32_t> truth = original;
    ui.fileAnswer = truthPath;
    keyColumns = 3;
    Edit(truth, 3, false, 3, [&] {
        dialog.BSaveClick();
        return int(QDialog::Rejected);
    });
    std::vector<int32_t> other(8 * 3, 0);
    EXPECT_EQ(Edit(other, 3, false, 3, [&] {
                  dialog.BLoadClick();
                  return Accept();
              }),
              QDialog::Accepted);
    EXPECT_EQ(other, original);

    const QString motorPath = dir.filePath("motor.tbl");
    std::vector<int32_t> motor{10, -5, 3, 0};
    ui.fileAnswer = motorPath;
    keyColumns = 2;
    Edit(motor, 2, true, 1, [&] {
        dialog.BSaveClick();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(FileText(motorPath), QByteArray("2 1\n10 \n-5 \n3 \n0 \n"));
    std::vector<int32_t> motorBack{-5, 0, 5, 10};
    Edit(motorBack, 2, true, 1, [&] {
        dialog.BLoadClick();
        return Accept();
    });
    EXPECT_EQ(motorBack, (std::vector<int32_t>{10, -5, 3, 0}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TFTruthTableTest, LoadMapsTruthValuesToXAndClampsMotorSpeeds)
{
    const QString truthPath = dir.filePath("seven.tbl");
    WriteFile(truthPath, "1 2\n7 0\n1 -1\n");
    ui.fileAnswer = truthPath;
    std::vector<int32_t> truth{0, 0, 0, 0};
    keyColumns = 1;
    Edit(truth, 1, false, 2, [&] {
        dialog.BLoadClick();
        EXPECT_EQ(QStringList({Value(0, 0), Value(0, 1), Value(1, 0), Value(1, 1)}),
                  (QStringList{"X", "0", "1", "X"}));
        return Accept();
    });
    EXPECT_EQ(truth, (std::vector<int32_t>{-1, 0, 1, -1}));

    const QString motorPath = dir.filePath("fast.tbl");
    WriteFile(motorPath, "2 1\n12 \n-9 \n10 \n-5 \n");
    ui.fileAnswer = motorPath;
    std::vector<int32_t> motor{0, 0, 0, 0};
    keyColumns = 2;
    Edit(motor, 2, true, 1, [&] {
        dialog.BLoadClick();
        EXPECT_EQ(QStringList({Value(0, 0), Value(1, 0)}), (QStringList{"10", "-5"}));
        return Accept();
    });
    EXPECT_EQ(motor, (std::vector<int32_t>{10, -5, 10, -5}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TFTruthTableTest, RefusedLoadsLeaveTheGridUnchanged)
{
    struct Case {
        const char* file; // nullptr: the file does not exist
        QString message;
    };
    const Case cases[] = {
        {"3 2\n0 0 \n", "Error | Error: file doesn't contain the same number of input and outputs as the truth "
                        "table. File has 3 inputs and 2 outputs."},
        {nullptr, "Error | Error loading truth table"},
        {"4 2\n1 1 \n1 1 \n", "Error | Error loading truth table: the file ends after 4 of its 32 values."},
        {"4 2\n1 1 z", "Error | Error loading truth table: value 3 of 32, \"z\", is not a whole number."},
    };
    std::vector<int32_t> table(16 * 2, 0);
    table[3] = 1;
    keyColumns = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ui.messages.clear();
        const QString path = dir.filePath("bad.tbl");
        QFile::remove(path);
        if (c.file)
            WriteFile(path, c.file);
        ui.fileAnswer = path;
        Edit(table, 4, false, 2, [&] {
            SetValue(0, 0, "x"); // an unconfirmed edit survives the refused load
            dialog.BLoadClick();
            EXPECT_EQ(Value(0, 0), "x");
            EXPECT_EQ(Value(1, 1), "1");
            EXPECT_EQ(Value(1, 0), "0");
            return int(QDialog::Rejected);
        });
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Lines()[0], c.message);
    }
}

TEST_F(TFTruthTableTest, EnterInTheGridMovesDownInsteadOfClosing)
{
    std::vector<int32_t> table{0, 0, 0, 0};
    keyColumns = 2;
    Edit(table, 2, false, 1, [&] {
        dialog.show();
        dialog.StringGrid1->setCurrentCell(1, 2);
        Press(dialog.StringGrid1, Qt::Key_1, "1"); // typing starts an edit
        QLineEdit* editor = dialog.StringGrid1->viewport()->findChild<QLineEdit*>();
        if (!editor) {
            ADD_FAILURE() << "typing opened no cell editor";
            return int(QDialog::Rejected);
        }
        EXPECT_EQ(editor->text(), "1");
        Press(editor, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Value(1, 0), "1");
        EXPECT_EQ(dialog.StringGrid1->currentRow(), 2);
        const int r = Accept();
        EXPECT_FALSE(dialog.isVisible());
        return r;
    });
    EXPECT_EQ(table, (std::vector<int32_t>{0, 1, 0, 0}));
}

TEST_F(TFTruthTableTest, MotorFileRoundTripUnderACommaLocale)
{
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"};
    const char* found = nullptr;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    const QString path = dir.filePath("motor.tbl");
    ui.fileAnswer = path;
    std::vector<int32_t> motor{-5, 0, 5, 10};
    keyColumns = 2;
    Edit(motor, 2, true, 1, [&] {
        dialog.BSaveClick();
        return int(QDialog::Rejected);
    });
    const QByteArray written = FileText(path);
    std::vector<int32_t> back{0, 0, 0, 0};
    Edit(back, 2, true, 1, [&] {
        dialog.BLoadClick();
        return Accept();
    });

    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(previous);
    EXPECT_EQ(written, QByteArray("2 1\n-5 \n0 \n5 \n10 \n")) << "written under " << found;
    EXPECT_EQ(back, motor);
    EXPECT_TRUE(ui.messages.empty());
}

// Reopened after Save and Cancel were clicked, the editor takes typing in
// its grid, and Return never reaches "Save" or "Load": in the grid it moves
// down, on another button it acts as "Ok".
TEST_F(TFTruthTableTest, EveryOpeningTypesIntoTheGridAndReturnNeverSavesOrLoads)
{
    std::vector<int32_t> table{0, 0, 0, 0};
    keyColumns = 2;
    Edit(table, 2, false, 1, [&] {
        dialog.show();
        QTest::mouseClick(dialog.BSave, Qt::LeftButton); // the save dialog is cancelled
        QTest::mouseClick(dialog.BCancel, Qt::LeftButton);
        return dialog.result();
    });
    const std::size_t fileDialogs = ui.fileRequests.size();

    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        const int result = Edit(table, 2, false, 1, [&] {
            dialog.show();
            EXPECT_EQ(dialog.focusWidget(), dialog.StringGrid1);
            EXPECT_EQ(dialog.StringGrid1->currentRow(), 0);
            EXPECT_EQ(dialog.StringGrid1->currentColumn(), 2);
            // Where a user's keys go: to the widget with the focus.
            QTest::keyClick(dialog.focusWidget(), Qt::Key_1);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            EXPECT_EQ(dialog.StringGrid1->currentRow(), 2);
            EXPECT_TRUE(dialog.isVisible());
            if (opening == 0) {
                QTest::mouseClick(dialog.BLoad, Qt::LeftButton); // the open dialog is cancelled
                QTest::mouseClick(dialog.BCancel, Qt::LeftButton);
            } else {
                dialog.BLoad->setFocus();
                QTest::keyClick(dialog.BLoad, Qt::Key_Return);
            }
            return dialog.result();
        });
        EXPECT_EQ(ui.fileRequests.size(), fileDialogs + 1); // only the click on "Load"
        EXPECT_EQ(result, opening == 0 ? QDialog::Rejected : QDialog::Accepted);
    }
    EXPECT_EQ(table, (std::vector<int32_t>{1, 0, 0, 0}));
}

TEST_F(TFTruthTableTest, TheFirstInvalidCellIsSelectedWithTheMessage)
{
    std::vector<int32_t> table(8, 0);
    keyColumns = 2;
    Edit(table, 2, false, 2, [&] {
        dialog.show();
        SetValue(1, 1, "7");
        SetValue(3, 0, "y");
        dialog.BOk->setFocus();
        dialog.accept();
        EXPECT_EQ(dialog.focusWidget(), dialog.StringGrid1);
        EXPECT_EQ(dialog.StringGrid1->currentRow(), 1);
        EXPECT_EQ(dialog.StringGrid1->currentColumn(), 3);
        const QList<QTableWidgetItem*> selected = dialog.StringGrid1->selectedItems();
        EXPECT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.value(0), dialog.StringGrid1->item(1, 3));
        dialog.hide();
        return dialog.result();
    });
    ASSERT_EQ(ui.messages.size(), 1u);
}
