#pragma once
// "Configure GA Parameters": the modal dialog behind "&GA...". The caller
// writes the public fields, calls ShowDialog(), and on QDialog::Accepted reads
// them back and applies them to the population. The dialog only shows, parses
// and validates (rules in dialogvalidation.h); it never touches the population.
//
// Beside rank and roulette-wheel selection the dialog offers the (1+λ)
// evolution strategy with its offspring count λ and its per-bit mutation rate
// (blank: 1/L). While it is chosen the population size shows 1 + λ and cannot
// be typed, and OK returns that size; the GA's own fields (mutation and
// crossover rate, rank parents, elitism) are greyed out and keep their rules
// but for those that compare with the population size (they serve the GA
// only, which keeps them within whatever size it has).
#include <QDialog>

#include <array>
#include <cstdint>

class QFormLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QLabel;

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
    // The evolution strategy instead of the GA's selection (which Selection
    // then keeps as it was); Lambda offspring, ESMutationRate per bit with 0
    // standing for 1/L.
    bool EvolutionStrategy = false;
    int32_t Lambda = 4;
    double ESMutationRate = 0.0;

    QLineEdit* EditPopSize;
    QLineEdit* EditMutationRate;
    QLineEdit* EditCrossoverRate;
    QLineEdit* EditRankNumber;
    QLineEdit* EElitism;
    QGroupBox* GroupSelection;
    QRadioButton* RBRank;
    QRadioButton* RBRoulette;
    QRadioButton* RBEvolutionStrategy;
    QLineEdit* ELambda;
    QLineEdit* EESMutationRate;
    QLabel* LESPopulation;
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    // The ES fields enabled only while the strategy is chosen; the population
    // size following λ then, and given back its GA text when it is not.
    void UpdateStrategyFields();
    // The fields the evolution strategy does not use, in the order of the
    // form: mutation rate, crossover rate, rank parents, elitism.
    std::array<QLineEdit*, 4> GAOnlyFields() const
    {
        return {EditMutationRate, EditCrossoverRate, EditRankNumber, EElitism};
    }
    QString gaPopulationText_;
    QFormLayout* form_ = nullptr;
};
