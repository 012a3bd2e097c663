#pragma once
// The table editor: one modal dialog for two tables of the main window.
//  - Truth-table mode: 2^NumIn rows (input combinations) x NumOut PAL outputs,
//    cells "0", "1" or "X" (don't care), stored as 0, 1 and -1.
//  - Motor mode: 2^NumIn rows (codes of the output bits driving one wheel) x
//    NumOut columns "Motor speed", cells integers in [-5;10].
// The dialog edits its grid only; the caller's table is written back when the
// user confirms with "Ok" and every cell is valid. "Save" and "Load" exchange
// the grid with ".tbl" files (format in tablefile.h).
//
// Grid: the horizontal header is the header row ("In %d"/"Out %d" over the
// key columns, "Out %d"/"Motor speed" over the value columns); grid row i is
// table row i. The first NumIn columns are read-only key cells showing the
// bits of i, most significant first, shaded like buttons.
#include <QDialog>
#include <QTableWidget>

#include <cstdint>
#include <utility>

class MinimumTermsTask;
class NeededTermsLabel;
class QLabel;
class QPushButton;
class QTimer;

// The editor's grid: a QTableWidget whose Enter key moves to the cell below
// (committing an edit) instead of reaching the dialog's default button, and
// that can commit an open cell editor on demand.
//
// Every key typed into a value cell lands in that cell: a click on the
// current cell opens its editor at once (a delayed "edit on second click"
// would swallow the keys typed while it waits and hand them to the item
// search, which moves the selection), the item search is off, and Enter in
// an editor commits it on the spot rather than through a queued call that
// would meet an editor already closed.
class TruthTableGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TruthTableGrid(QWidget* parent = nullptr);

    // Writes the text of an open cell editor into its cell and closes it, so
    // that OK, Save and Load see what the user typed last.
    void CommitEdit();
    // Enter: commits an open editor and makes the cell below current.
    void EnterPressed();

    void keyboardSearch(const QString& search) override;

    // Wide enough for every column, tall enough for up to VisibleRows rows.
    QSize sizeHint() const override;

    static constexpr int VisibleRows = 16;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The cell pressed was already the current one.
    bool pressOnCurrent_ = false;
};

class TFTruthTable : public QDialog {
    Q_OBJECT
public:
    explicit TFTruthTable(QWidget* parent = nullptr);

    // Edits `table` (not owned): 2^numIn rows of numOut entries, row-major,
    // entry (i, j) at j + i x numOut. Sets caption and help text for the mode,
    // rebuilds the grid, fills it from the table and runs the dialog modally.
    // Returns QDialog::Accepted or QDialog::Rejected; the table changes only
    // on Accepted.
    int EditTable(int32_t* table, int32_t numIn, bool motorMode, int32_t numOut);

    // Whether `text` is a valid value cell in the current mode: "0", "1", "X",
    // "x" exactly in truth-table mode; in motor mode an optional sign and
    // digits (surrounding white space ignored) within [-5;10].
    bool IsValidCell(const QString& text) const;
    // Every value cell valid, checked row by row, column by column.
    bool CheckGrid() const;
    // The mode's invalid-fields message, captioned "Error"; then the first
    // invalid cell is made current, selected and given the focus.
    void ShowInvalidMessage();
    // -5 below -5, 10 above 10, else v.
    static int ClampSpeed(int v);

    // The close query of "Ok": refuses (with the invalid-fields message) while
    // a cell is invalid, else copies the grid into the caller's table.
    bool FormCloseQuery();
    // Writes the grid as shown (including edits not yet confirmed) to a file.
    void BSaveClick();
    // Loads a file into the grid; the caller's table is untouched until "Ok".
    void BLoadClick();

    // "Ok" closes only when FormCloseQuery() allows it; "Cancel", Escape and
    // the window's close button reject without validating or copying.
    void accept() override;

    TruthTableGrid* StringGrid1;
    QPushButton* BOk;
    QPushButton* BCancel;
    QPushButton* BSave;
    QPushButton* BLoad;
    QLabel* Label1; // truth-table help
    QLabel* Label2; // motor help
    // Truth-table mode: how many AND terms the table in the grid needs,
    // recomputed in the background after every change of a cell.
    NeededTermsLabel* LNeededTerms;

    // Set by the caller before EditTable in truth-table mode: the PAL's AND
    // terms per output (for the needed-terms warning; 0: no warning), and the
    // names of the inputs and outputs for the header (empty: "In %d" and
    // "Out %d").
    int32_t PalAndTerms = 0;
    QStringList InputLabels;
    QStringList OutputLabels;

    // The computation behind LNeededTerms (tests wait for it).
    MinimumTermsTask* MinimumTask;

signals:
    // "Save" wrote the table: `note` says where ("Truth table saved to /home/...").
    void FileWritten(const QString& note);

private:
    // tftruthtable_minimum.cpp
    void SetUpMinimum();
    void StartMinimum();
    void StopMinimum();

    void BuildGrid();
    void FillFromTable();
    void FitToGrid();
    // Grid row and column of the first invalid value cell, or (-1, -1).
    std::pair<int, int> FirstInvalidCell() const;
    // The first value cell current and selected, the keyboard in the grid.
    void FocusCell(int row, int column);
    QString CellText(int row, int column) const;
    void SetValueText(int row, int column, const QString& text);
    // Stored value of a valid value cell (grid row i, value column j).
    int32_t CellValue(int row, int valueColumn) const;

    int32_t* Table = nullptr;
    bool MotorMode = false;
    int32_t NumIn = 0;
    int32_t NumOut = 0;
    // Last files chosen; empty until the first choice (then "default.tbl" in
    // the working directory is proposed).
    QString LastSavePath;
    QString LastOpenPath;
    // Waits for the user to pause before recounting the AND terms.
    QTimer* minimumTimer_;
};
