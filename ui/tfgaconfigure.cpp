#include "tfgaconfigure.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "dialogvalidation.h"
#include "uiseam.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

QLineEdit* MakeNumberEdit(QWidget* parent, const char* name, const char* designText)
{
    auto* edit = new QLineEdit(QString::fromLatin1(designText), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    return edit;
}

// The shortest text that reads back as the same value ("0.01", "100", "0.7").
QString RealText(double value) { return QString::number(value, 'g', 15); }

} // namespace

TFGAConfigure::TFGAConfigure(QWidget* parent)
    : QDialog(parent),
      EditPopSize(MakeNumberEdit(this, "EditPopSize", "100")),
      EditMutationRate(MakeNumberEdit(this, "EditMutationRate", "0.01")),
      EditCrossoverRate(MakeNumberEdit(this, "EditCrossoverRate", "0.7")),
      EditRankNumber(MakeNumberEdit(this, "EditRankNumber", "30")),
      EElitism(MakeNumberEdit(this, "EElitism", "5")),
      GroupSelection(new QGroupBox(tr("Selection mechanism"), this)),
      RBRank(new QRadioButton(tr("Rank"), GroupSelection)),
      RBRoulette(new QRadioButton(tr("Roulette wheel"), GroupSelection)),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FGAConfigure"));
    setWindowTitle(QStringLiteral("Configure GA Parameters"));

    auto* form = new QFormLayout;
    form->addRow(tr("Population size:"), EditPopSize);
    form->addRow(tr("Mutation rate:"), EditMutationRate);
    form->addRow(tr("Crossover rate:"), EditCrossoverRate);
    form->addRow(tr("Parents for rank selection:"), EditRankNumber);
    form->addRow(tr("Elitism (keep # best individuals):"), EElitism);

    GroupSelection->setObjectName(QStringLiteral("GroupSelection"));
    RBRank->setObjectName(QStringLiteral("RBRank"));
    RBRoulette->setObjectName(QStringLiteral("RBRoulette"));
    RBRank->setChecked(true);
    auto* selectionLayout = new QVBoxLayout(GroupSelection);
    selectionLayout->addWidget(RBRank);
    selectionLayout->addWidget(RBRoulette);

    QDialogButtonBox* buttons = MakeOkCancelButtons(this, BOk, BCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(GroupSelection);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

int TFGAConfigure::ShowDialog()
{
    EditPopSize->setText(RealText(PopulationSize));
    EditMutationRate->setText(RealText(MutationRate));
    EditCrossoverRate->setText(RealText(CrossoverRate));
    EditRankNumber->setText(RealText(RankParents));
    EElitism->setText(QString::number(Elitism));
    if (Selection != 0)
        RBRank->setChecked(true);
    else
        RBRoulette->setChecked(true);
    FocusField(EditPopSize);
    return Ui().Exec(this);
}

bool TFGAConfigure::FormCloseQuery()
{
    GAConfigureValues values{PopulationSize, MutationRate, CrossoverRate, RankParents, Elitism};
    int faultyField = -1;
    const QString message = CheckGAConfigure(EditPopSize->text(), EditMutationRate->text(),
                                             EditCrossoverRate->text(), EditRankNumber->text(),
                                             EElitism->text(), values, &faultyField);
    PopulationSize = values.PopulationSize;
    MutationRate = values.MutationRate;
    CrossoverRate = values.CrossoverRate;
    RankParents = values.RankParents;
    Elitism = values.Elitism;
    if (!message.isEmpty()) {
        Ui().Message(this, QStringLiteral("Error"), message);
        const std::array<QLineEdit*, 5> fields{EditPopSize, EditMutationRate, EditCrossoverRate, EditRankNumber,
                                               EElitism};
        if (faultyField >= 0 && faultyField < static_cast<int>(fields.size()))
            FocusField(fields[static_cast<std::size_t>(faultyField)]);
        return false;
    }
    if (RBRank->isChecked())
        Selection = 1;
    if (RBRoulette->isChecked())
        Selection = 0;
    return true;
}

void TFGAConfigure::accept()
{
    if (FormCloseQuery())
        QDialog::accept();
}
