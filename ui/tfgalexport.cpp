#include "tfgalexport.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "galfit.h"
#include "uiseam.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFGalExport::TFGalExport(QWidget* parent)
    : QDialog(parent),
      CBDevice(new QComboBox(this)),
      ESignature(new QLineEdit(this)),
      LPinOut(new QLabel(this)),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FGalExport"));
    setWindowTitle(tr("Export for a GAL"));
    CBDevice->setObjectName(QStringLiteral("CBDevice"));
    ESignature->setObjectName(QStringLiteral("ESignature"));
    LPinOut->setObjectName(QStringLiteral("LPinOut"));
    CBDevice->addItem(QStringLiteral("GAL22V10 (ATF22V10)"));
    CBDevice->addItem(QStringLiteral("GAL16V8 (ATF16V8)"));
    ESignature->setMaxLength(8);
    LPinOut->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LPinOut->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(tr("Device:"), CBDevice);
    form->addRow(tr("Signature (up to 8 characters):"), ESignature);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(LPinOut);
    layout->addStretch(1);
    layout->addWidget(MakeOkCancelButtons(this, BOk, BCancel));
    connect(CBDevice, &QComboBox::currentIndexChanged, this, &TFGalExport::UpdatePinOut);
}

GalType TFGalExport::SelectedDevice() const
{
    return CBDevice->currentIndex() == 1 ? GalType::Gal16V8 : GalType::Gal22V10;
}

int TFGalExport::ShowDialog()
{
    CBDevice->setCurrentIndex(Device == GalType::Gal16V8 ? 1 : 0);
    ESignature->setText(Signature);
    UpdatePinOut();
    FocusField(ESignature);
    return Ui().Exec(this);
}

void TFGalExport::accept()
{
    const std::string problem = GalSignatureProblem(ESignature->text().toStdString());
    if (!problem.empty()) {
        Ui().Message(this, QStringLiteral("Error"), QString::fromStdString(problem));
        FocusField(ESignature);
        return;
    }
    Device = SelectedDevice();
    Signature = ESignature->text();
    QDialog::accept();
}

void TFGalExport::UpdatePinOut()
{
    const GalFit fit = FitGal(SelectedDevice(), Circuit);
    if (!fit) {
        LPinOut->setText(QString::fromStdString(fit.problem) +
                         (fit.tooManyTerms ? tr("\nOn OK the export looks for a minimum sum of products of the same function that fits.") : QString()));
        LPinOut->setWordWrap(true);
        return;
    }
    QStringList lines{tr("Pin-out:")};
    for (const std::string& line : GalPinOut(*fit.design))
        lines << QStringLiteral("  ") + QString::fromStdString(line);
    LPinOut->setWordWrap(false);
    LPinOut->setText(lines.join('\n'));
}
