#pragma once
// "FPalSetup": the modal dialog that edits the three PAL dimensions. The caller
// writes NumInputs, NumOutputs and NumAndTerms, calls ShowDialog(), and reads
// the fields back only when it returns QDialog::Accepted. The dialog itself
// only shows, parses and validates (rules in dialogvalidation.h).
#include <QDialog>

#include <cstdint>

class NeededTermsLabel;
class QLineEdit;
class QPushButton;
struct TableCover;

class TFPalSetup : public QDialog {
    Q_OBJECT
public:
    explicit TFPalSetup(QWidget* parent = nullptr);

    // Writes the fields into the edits (inputs, outputs, AND terms) and runs
    // the dialog modally; returns QDialog::Accepted or QDialog::Rejected.
    int ShowDialog();

    // The close query of OK: parses the edits into the fields in order and
    // checks them. On a broken rule shows the message captioned "Error" and
    // returns false (the dialog stays open with the user's text).
    bool FormCloseQuery();

    // OK closes only when FormCloseQuery() allows it; Cancel, Escape and the
    // window's close button reject without validating.
    void accept() override;

    // Below the AND terms: how many AND terms the current truth table needs,
    // with a warning while the field asks for fewer. The caller hands the
    // count before ShowDialog and again when it changes (nullptr: still being
    // computed). Hidden while the inputs or outputs differ from those at
    // opening, since the new size clears the truth table.
    void ShowNeededTerms(const TableCover* cover);

    int32_t NumInputs = 4;
    int32_t NumOutputs = 3;
    int32_t NumAndTerms = 2;

    QLineEdit* ENInput;
    QLineEdit* ENOutput;
    QLineEdit* ENAnd;
    QPushButton* BOk;
    QPushButton* BCancel;
    NeededTermsLabel* LNeededTerms;

private:
    void UpdateNeededTerms();

    // The table's size: the fields' values at the last opening.
    int32_t tableInputs_ = 0;
    int32_t tableOutputs_ = 0;
};
