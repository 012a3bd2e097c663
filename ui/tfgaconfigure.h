#pragma once
// "Configure GA Parameters": the modal dialog behind "&GA...". The caller
// writes the public fields, calls ShowDialog(), and on QDialog::Accepted reads
// them back and applies them to the population. The dialog only shows, parses
// and validates (rules in dialogvalidation.h); it never touches the population.
#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;

class TFGAConfigure : public QDialog {
    Q_OBJECT
public:
    explicit TFGAConfigure(QWidget* parent = nullptr);

    // Writes the fields into the edits (reals in their shortest form, e.g.
    // "0.01", "100"; elitism as an integer), checks RBRank when Selection is
    // non-zero, else RBRoulette, and runs the dialog modally; returns
    // QDialog::Accepted or QDialog::Rejected.
    int ShowDialog();

    // The close query of OK: parses the edits into the fields in order and
    // applies the rules; on a broken rule shows the message captioned "Error"
    // and returns false. On success also sets Selection from the radio buttons.
    bool FormCloseQuery();

    // OK closes only when FormCloseQuery() allows it; Cancel, Escape and the
    // window's close button reject without validating.
    void accept() override;

    // Population size and rank parents are reals here; the caller converts them.
    double PopulationSize = 100;
    double MutationRate = 0.01;  // per-bit probability
    double CrossoverRate = 0.7;  // per-pair probability
    double RankParents = 30;
    int32_t Elitism = 5;         // best individuals kept
    uint8_t Selection = 1;       // 1 = rank, 0 = roulette wheel

    QLineEdit* EditPopSize;
    QLineEdit* EditMutationRate;
    QLineEdit* EditCrossoverRate;
    QLineEdit* EditRankNumber;
    QLineEdit* EElitism;
    QGroupBox* GroupSelection;
    QRadioButton* RBRank;
    QRadioButton* RBRoulette;
    QPushButton* BOk;
    QPushButton* BCancel;
};
