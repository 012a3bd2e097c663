#include "tfrobotevaluation.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "dialogvalidation.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

QString CheckRobotEvaluation(bool sharedStarts, const QString& reevaluations, const QString& penalty,
                             RobotEvaluation& evaluation, int* faulty)
{
    int32_t runs = 0;
    int32_t percent = 0;
    if (!ParseDecimalInt(reevaluations, runs) || runs < 0 || runs > 10) {
        if (faulty)
            *faulty = 0;
        return QStringLiteral("The runs more for the fittest must be a whole number from 0 to 10 (0: none).");
    }
    if (!ParseDecimalInt(penalty, percent) || percent < 0 || percent > 100) {
        if (faulty)
            *faulty = 1;
        return QStringLiteral("The stall penalty must be a whole number of percent from 0 to 100 (0: none).");
    }
    evaluation = RobotEvaluation{sharedStarts, static_cast<uint32_t>(runs), percent / 100.0};
    return {};
}

TFRobotEvaluation::TFRobotEvaluation(QWidget* parent)
    : QDialog(parent),
      CBSharedStarts(new QCheckBox(tr("The same start places for every individual of a generation"), this)),
      EReevaluations(new QLineEdit(QStringLiteral("0"), this)),
      EStallPenalty(new QLineEdit(QStringLiteral("0"), this)),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FRobotEvaluation"));
    setWindowTitle(tr("Robot evaluation"));
    CBSharedStarts->setObjectName(QStringLiteral("CBSharedStarts"));
    EReevaluations->setObjectName(QStringLiteral("EReevaluations"));
    EStallPenalty->setObjectName(QStringLiteral("EStallPenalty"));
    for (QLineEdit* field : {EReevaluations, EStallPenalty})
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
    CBSharedStarts->setToolTip(tr("Run k of each individual starts from place k, drawn for the generation, "
                                  "instead of where the repositioning walk takes the robot"));

    auto* note = new QLabel(tr("For the simulated Khepera (in Orvik); a robot on a serial port is always moved "
                               "by the repositioning walk, every run counting in full. Everything off or 0 is "
                               "the usual evaluation."),
                            this);
    note->setWordWrap(true);
    auto* fields = new QFormLayout;
    fields->addRow(CBSharedStarts);
    fields->addRow(tr("Runs more for the fittest of each generation:"), EReevaluations);
    fields->addRow(tr("Stall penalty (% of a stalled run's fitness):"), EStallPenalty);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addStretch(1);
    layout->addWidget(MakeOkCancelButtons(this, BOk, BCancel));
}

void TFRobotEvaluation::SetEvaluation(const RobotEvaluation& evaluation)
{
    chosen_ = evaluation;
    CBSharedStarts->setChecked(evaluation.sharedStarts);
    EReevaluations->setText(QString::number(evaluation.reevaluations));
    EStallPenalty->setText(QString::number(std::lround(evaluation.stallPenalty * 100.0)));
}

int TFRobotEvaluation::ShowDialog() { return Ui().Exec(this); }

bool TFRobotEvaluation::FormCloseQuery()
{
    int faulty = -1;
    const QString message = CheckRobotEvaluation(CBSharedStarts->isChecked(), EReevaluations->text(),
                                                 EStallPenalty->text(), chosen_, &faulty);
    if (message.isEmpty())
        return true;
    Ui().Message(this, QStringLiteral("Error"), message);
    FocusField(faulty == 0 ? EReevaluations : EStallPenalty);
    return false;
}

void TFRobotEvaluation::accept()
{
    if (FormCloseQuery())
        QDialog::accept();
}
