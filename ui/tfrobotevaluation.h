#pragma once
// "FRobotEvaluation": the modal dialog behind Setup > Robot evaluation...,
// how "Evolve" scores controllers on the simulated Khepera beside the
// window's own evaluation (robotevaluation.h): start places shared by a
// generation, re-evaluation of the fittest, a stall penalty. Everything off
// is the window's evaluation. The caller sets the values, shows the dialog
// and reads Chosen() after QDialog::Accepted; OK is refused (an "Error" box,
// the dialog stays open, the faulty field focused) while a field is out of
// range.
#include "robotevaluation.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Checks the dialog's texts: the extra runs a whole number 0..10, the
// penalty a whole number of percent 0..100. Returns the message for an
// "Error" box (and which field, 0 or 1, is at fault), or an empty string and
// the values in `evaluation`, which is left unchanged on a message.
QString CheckRobotEvaluation(bool sharedStarts, const QString& reevaluations, const QString& penalty,
                             RobotEvaluation& evaluation, int* faulty = nullptr);

class TFRobotEvaluation : public QDialog {
    Q_OBJECT
public:
    explicit TFRobotEvaluation(QWidget* parent = nullptr);

    void SetEvaluation(const RobotEvaluation& evaluation);
    const RobotEvaluation& Chosen() const { return chosen_; }

    int ShowDialog();
    bool FormCloseQuery();
    void accept() override;

    QCheckBox* CBSharedStarts;
    QLineEdit* EReevaluations;
    QLineEdit* EStallPenalty;
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    RobotEvaluation chosen_;
};
