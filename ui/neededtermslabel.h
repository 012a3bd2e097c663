#pragma once
// A label that says how many AND terms the truth table needs ("Needs at least
// 5 AND terms: output 0 needs 5, ...") and, given the PAL's AND terms per
// output, warns when they are too few for evolution to reach the maximum.
#include "minimumcover.h"

#include <QLabel>

class NeededTermsLabel : public QLabel {
    Q_OBJECT
public:
    explicit NeededTermsLabel(QWidget* parent = nullptr);

    void ShowComputing();
    // A sentence in place of the count (e.g. why there is none).
    void ShowNote(const QString& note);
    void ShowCover(const TableCover& cover);
    // The PAL's AND terms per output to compare with (0: none).
    void SetAndTerms(int32_t andTerms);

    // The warning shown, or empty.
    QString Warning() const;
    // The sentence shown, without the warning.
    QString Sentence() const { return sentence_; }

private:
    void Render();

    QString sentence_;
    int32_t lowerBound_ = 0; // 0 while unknown
    int32_t andTerms_ = 0;
};
