#include "tfgaconfigure.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "dialogvalidation.h"
#include "uiseam.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
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
      RBEvolutionStrategy(new QRadioButton(QStringLiteral("(1+\u03bb) evolution strategy"), GroupSelection)),
      ELambda(MakeNumberEdit(this, "ELambda", "4")),
      EESMutationRate(MakeNumberEdit(this, "EESMutationRate", "")),
      LESPopulation(new QLabel(this)),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FGAConfigure"));
    setWindowTitle(QStringLiteral("Configure GA Parameters"));

    form_ = new QFormLayout;
    form_->addRow(tr("Population size:"), EditPopSize);
    form_->addRow(tr("Mutation rate:"), EditMutationRate);
    form_->addRow(tr("Crossover rate:"), EditCrossoverRate);
    form_->addRow(tr("Parents for rank selection:"), EditRankNumber);
    form_->addRow(tr("Elitism (keep # best individuals):"), EElitism);

    GroupSelection->setObjectName(QStringLiteral("GroupSelection"));
    RBRank->setObjectName(QStringLiteral("RBRank"));
    RBRoulette->setObjectName(QStringLiteral("RBRoulette"));
    RBRank->setChecked(true);
    RBEvolutionStrategy->setObjectName(QStringLiteral("RBEvolutionStrategy"));
    auto* selectionLayout = new QVBoxLayout(GroupSelection);
    selectionLayout->addWidget(RBRank);
    selectionLayout->addWidget(RBRoulette);
    selectionLayout->addWidget(RBEvolutionStrategy);
    auto* esForm = new QFormLayout;
    esForm->addRow(QStringLiteral("Offspring per generation (\u03bb):"), ELambda);
    esForm->addRow(tr("ES mutation rate (blank = 1/L):"), EESMutationRate);
    EESMutationRate->setPlaceholderText(QStringLiteral("1/L"));
    selectionLayout->addLayout(esForm);
    LESPopulation->setObjectName(QStringLiteral("LESPopulation"));
    LESPopulation->setWordWrap(true);
    selectionLayout->addWidget(LESPopulation);
    connect(RBEvolutionStrategy, &QRadioButton::toggled, this, [this] { UpdateStrategyFields(); });
    connect(ELambda, &QLineEdit::textChanged, this, [this] { UpdateStrategyFields(); });
    UpdateStrategyFields();

    QDialogButtonBox* buttons = MakeOkCancelButtons(this, BOk, BCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
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
    ELambda->setText(QString::number(Lambda));
    EESMutationRate->setText(ESMutationRate > 0.0 ? RealText(ESMutationRate) : QString());
    gaPopulationText_ = EditPopSize->text();
    if (EvolutionStrategy)
        RBEvolutionStrategy->setChecked(true);
    else if (Selection != 0)
        RBRank->setChecked(true);
    else
        RBRoulette->setChecked(true);
    UpdateStrategyFields();
    FocusField(EditPopSize);
    return Ui().Exec(this);
}

void TFGAConfigure::UpdateStrategyFields()
{
    const bool es = RBEvolutionStrategy->isChecked();
    ELambda->setEnabled(es);
    EESMutationRate->setEnabled(es);
    LESPopulation->setVisible(es);
    // The strategy has a mutation rate of its own and no crossover, rank
    // selection or elitism: those fields, and their labels, do not apply.
    for (QLineEdit* gaOnly : GAOnlyFields()) {
        gaOnly->setEnabled(!es);
        if (QWidget* label = form_->labelForField(gaOnly))
            label->setEnabled(!es);
    }
    if (!es) {
        if (!EditPopSize->isEnabled())
            EditPopSize->setText(gaPopulationText_);
        EditPopSize->setEnabled(true);
        return;
    }
    if (EditPopSize->isEnabled())
        gaPopulationText_ = EditPopSize->text();
    EditPopSize->setEnabled(false);
    int32_t lambda = 0;
    const bool valid = ParseDecimalInt(ELambda->text(), lambda) && lambda > 0 && lambda < MaxPopulationSize;
    EditPopSize->setText(valid ? QString::number(lambda + 1) : QString());
    const QString size = valid ? QStringLiteral("1 + %1 = %2").arg(lambda).arg(lambda + 1)
                               : QStringLiteral("1 + \u03bb");
    LESPopulation->setText(QStringLiteral("Population size %1: the parent and its offspring.").arg(size));
}

bool TFGAConfigure::FormCloseQuery()
{
    const bool es = RBEvolutionStrategy->isChecked();
    GAConfigureValues values{PopulationSize, MutationRate, CrossoverRate, RankParents, Elitism};
    int faultyField = -1;
    // With the evolution strategy the GA's fields are checked against the
    // largest population, so that only the rules that compare them with the
    // population size are left out; the size itself is 1 + λ.
    const QString populationText = es ? QString::number(MaxPopulationSize, 'f', 0) : EditPopSize->text();
    QString message = CheckGAConfigure(populationText, EditMutationRate->text(), EditCrossoverRate->text(),
                                       EditRankNumber->text(), EElitism->text(), values, &faultyField);
    ESConfigureValues esValues{Lambda, ESMutationRate};
    if (es && message.isEmpty()) {
        message = CheckESConfigure(ELambda->text(), EESMutationRate->text(), esValues, &faultyField);
        if (faultyField >= 0)
            faultyField += 5;
        Lambda = esValues.Lambda;
        ESMutationRate = esValues.MutationRate;
        values.PopulationSize = Lambda + 1.0;
    }
    if (!es)
        PopulationSize = values.PopulationSize;
    else if (message.isEmpty())
        PopulationSize = values.PopulationSize;
    MutationRate = values.MutationRate;
    CrossoverRate = values.CrossoverRate;
    RankParents = values.RankParents;
    Elitism = values.Elitism;
    const std::array<QLineEdit*, 4> gaOnly = GAOnlyFields();
    if (es && faultyField >= 1 && faultyField <= static_cast<int>(gaOnly.size()))
        message += QStringLiteral("\nThe field at fault serves the GA only and is greyed out under the "
                                  "evolution strategy: choose Rank or Roulette wheel to correct it.");
    if (!message.isEmpty()) {
        Ui().Message(this, QStringLiteral("Error"), message);
        const std::array<QLineEdit*, 7> fields{EditPopSize, EditMutationRate, EditCrossoverRate, EditRankNumber,
                                               EElitism,    ELambda,          EESMutationRate};
        if (faultyField >= 0 && faultyField < static_cast<int>(fields.size()))
            FocusField(fields[static_cast<std::size_t>(faultyField)]);
        return false;
    }
    EvolutionStrategy = es;
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
