#pragma once
// "FPalSetup": the modal dialog that edits the three PAL dimensions. The caller
// writes NumInputs, NumOutputs and NumAndTerms, calls ShowDialog(), and reads
// the fields back only when it returns QDialog::Accepted. The dialog itself
// only shows, parses and validates (rules in dialogvalidation.h).
#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

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

    int32_t NumInputs = 4;
    int32_t NumOutputs = 3;
    int32_t NumAndTerms = 2;

    QLineEdit* ENInput;
    QLineEdit* ENOutput;
    QLineEdit* ENAnd;
    QPushButton* BOk;
    QPushButton* BCancel;
};
