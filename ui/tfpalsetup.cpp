#include "tfpalsetup.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "dialogvalidation.h"
#include "neededtermslabel.h"
#include "uiseam.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

QLineEdit* MakeCountEdit(QWidget* parent, const char* name, const char* designText)
{
    auto* edit = new QLineEdit(QString::fromLatin1(designText), parent);
    edit->setObjectName(QString::fromLatin1(name));
    // Room for a few digits in any font; the layout may widen it.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
    return edit;
}

} // namespace

TFPalSetup::TFPalSetup(QWidget* parent)
    : QDialog(parent),
      ENInput(MakeCountEdit(this, "ENInput", "6")),
      ENOutput(MakeCountEdit(this, "ENOutput", "5")),
      ENAnd(MakeCountEdit(this, "ENAnd", "4")),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this)),
      LNeededTerms(new NeededTermsLabel(this))
{
    setObjectName(QStringLiteral("FPalSetup"));
    setWindowTitle(QStringLiteral("FPalSetup"));

    auto* form = new QFormLayout;
    form->addRow(tr("Number of inputs:"), ENInput);
    form->addRow(tr("Number of outputs:"), ENOutput);
    form->addRow(tr("Number of AND terms for the output:"), ENAnd);
    form->addRow(LNeededTerms);
    LNeededTerms->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    LNeededTerms->ShowComputing();
    for (QLineEdit* edit : {ENInput, ENOutput, ENAnd})
        connect(edit, &QLineEdit::textChanged, this, &TFPalSetup::UpdateNeededTerms);

    QDialogButtonBox* buttons = MakeOkCancelButtons(this, BOk, BCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

int TFPalSetup::ShowDialog()
{
    ENInput->setText(QString::number(NumInputs));
    ENOutput->setText(QString::number(NumOutputs));
    ENAnd->setText(QString::number(NumAndTerms));
    tableInputs_ = NumInputs;
    tableOutputs_ = NumOutputs;
    UpdateNeededTerms();
    FocusField(ENInput);
    return Ui().Exec(this);
}

bool TFPalSetup::FormCloseQuery()
{
    PalSetupValues values{NumInputs, NumOutputs, NumAndTerms};
    int faultyField = -1;
    const QString message = CheckPalSetup(ENInput->text(), ENOutput->text(), ENAnd->text(), values, &faultyField);
    NumInputs = values.NumInputs;
    NumOutputs = values.NumOutputs;
    NumAndTerms = values.NumAndTerms;
    if (message.isEmpty())
        return true;
    Ui().Message(this, QStringLiteral("Error"), message);
    const std::array<QLineEdit*, 3> fields{ENInput, ENOutput, ENAnd};
    if (faultyField >= 0 && faultyField < static_cast<int>(fields.size()))
        FocusField(fields[static_cast<std::size_t>(faultyField)]);
    return false;
}

void TFPalSetup::accept()
{
    if (FormCloseQuery())
        QDialog::accept();
}

void TFPalSetup::ShowNeededTerms(const TableCover* cover)
{
    if (cover)
        LNeededTerms->ShowCover(*cover);
    else
        LNeededTerms->ShowComputing();
}

void TFPalSetup::UpdateNeededTerms()
{
    int32_t inputs = 0, outputs = 0, andTerms = 0;
    const bool sameTable = ParseDecimalInt(ENInput->text(), inputs) && ParseDecimalInt(ENOutput->text(), outputs) &&
                           inputs == tableInputs_ && outputs == tableOutputs_;
    LNeededTerms->setVisible(sameTable);
    LNeededTerms->SetAndTerms(ParseDecimalInt(ENAnd->text(), andTerms) ? andTerms : 0);
}
