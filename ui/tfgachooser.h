#pragma once
// The generation chooser "FGAChooser": the user picks one generation of a
// list of GAData records and one individual of it. The dialog only shows and
// reports; it reads no file and changes no population.
#include "gadata.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QLabel;
class QListWidget;

class TFGAChooser : public QDialog {
    Q_OBJECT
public:
    explicit TFGAChooser(QWidget* parent = nullptr);

    // Shows `list` (not owned; it must outlive the call), runs the dialog
    // modally and returns QDialog::Accepted or QDialog::Rejected. Read
    // ChosenGeneration and ChosenIndividual only after Accepted. A non-empty
    // `notice` is shown above the lists (e.g. that the file's last block is
    // damaged and left out).
    int Choose(const std::vector<GAData>* list, const QString& notice = {});

    // One line per record: its generation number; highlights line 0.
    void FillGenerations();
    // One line "%04d   %lf" per individual of record `index`; highlights line 0.
    void FillIndividuals(int index);
    // Shows the individuals of the highlighted generation. A click that took
    // the highlight away (Ctrl+click) puts it back: one generation line is
    // always highlighted, the one whose individuals are shown.
    void LBGenerationsClick();

    // Generation number of the highlighted record, set on closing (left as it
    // was when the list is empty).
    int32_t ChosenGeneration = 0;
    // Index of the highlighted individual, set on closing: 0 when none is
    // highlighted, -1 when the generation has no individuals.
    int32_t ChosenIndividual = -1;

    QLabel* LNotice = nullptr;
    QListWidget* LBGenerations = nullptr;
    QListWidget* LBIndividuals = nullptr;

    // The text of one individual's line, e.g. "0012   3.000000" (C locale).
    static QString IndividualLine(int index, double fitness);

protected:
    // The close query: closing is always allowed; it records the choice.
    void done(int result) override;

private:
    const std::vector<GAData>* list_ = nullptr;
    int shownRecord_ = -1; // the record whose individuals are listed
};
