#include "tfcomconfigure.h"

#include "dialogbuttons.h"
#include "uiseam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace {

QString PortCaption(int portNumber)
{
    const QString name = QStringLiteral("COM%1").arg(portNumber);
    const QString device = TFComConfigure::PortDeviceName(portNumber);
    // Where the device has another name, show it so the user knows what opens.
    return device == name ? name : QStringLiteral("%1 (%2)").arg(name, device);
}

} // namespace

QString TFComConfigure::PortDeviceName(int portNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

TFComConfigure::TFComConfigure(QWidget* parent)
    : QDialog(parent),
      RadioGroup1(new QGroupBox(tr("Khepera on"), this)),
      RBCom1(new QRadioButton(PortCaption(1), RadioGroup1)),
      RBCom2(new QRadioButton(PortCaption(2), RadioGroup1)),
      RBOther(new QRadioButton(tr("Other device:"), RadioGroup1)),
      CBOtherDevice(new QComboBox(RadioGroup1)),
      BOk(new QPushButton(tr("OK"), this)),
      BCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FComConfigure"));
    setWindowTitle(QStringLiteral("FComConfigure"));
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RBCom1->setObjectName(QStringLiteral("RBCom1"));
    RBCom2->setObjectName(QStringLiteral("RBCom2"));
    RBOther->setObjectName(QStringLiteral("RBOther"));
    CBOtherDevice->setObjectName(QStringLiteral("CBOtherDevice"));

    CBOtherDevice->setEditable(true);
    CBOtherDevice->setInsertPolicy(QComboBox::NoInsert);
    CBOtherDevice->setMinimumContentsLength(16);
    CBOtherDevice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CBOtherDevice->lineEdit()->setPlaceholderText(QStringLiteral("/dev/pts/3"));
    CBOtherDevice->setEnabled(false);
    RBCom1->setChecked(true);

    auto* group = new QGridLayout(RadioGroup1);
    group->addWidget(RBCom1, 0, 0, 1, 2);
    group->addWidget(RBCom2, 1, 0, 1, 2);
    group->addWidget(RBOther, 2, 0);
    group->addWidget(CBOtherDevice, 2, 1);
    group->setColumnStretch(1, 1);

    QDialogButtonBox* buttons = MakeOkCancelButtons(this, BOk, BCancel);

    // The device field matters only for "Other device:", and OK needs a path then.
    connect(RBOther, &QRadioButton::toggled, CBOtherDevice, &QWidget::setEnabled);
    connect(RBOther, &QRadioButton::toggled, this, &TFComConfigure::UpdateOkButton);
    connect(CBOtherDevice, &QComboBox::editTextChanged, this, &TFComConfigure::UpdateOkButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup1);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

void TFComConfigure::FillDevices()
{
    const QString typed = CBOtherDevice->currentText();
    CBOtherDevice->clear();
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        CBOtherDevice->addItem(port.systemLocation());
        const QString description = port.description().isEmpty() ? port.manufacturer() : port.description();
        if (!description.isEmpty())
            CBOtherDevice->setItemData(CBOtherDevice->count() - 1, description, Qt::ToolTipRole);
    }
    CBOtherDevice->setEditText(typed);
}

void TFComConfigure::SetChoice(int portNumber, const QString& otherPath)
{
    FillDevices();
    CBOtherDevice->setEditText(otherPath);
    if (portNumber == 1)
        RBCom1->setChecked(true);
    else if (portNumber == 2)
        RBCom2->setChecked(true);
    else
        RBOther->setChecked(true);
    UpdateOkButton();
}

int TFComConfigure::ChosenPort() const
{
    if (RBCom1->isChecked())
        return 1;
    if (RBCom2->isChecked())
        return 2;
    return 0;
}

QString TFComConfigure::ChosenPath() const
{
    const int port = ChosenPort();
    return port != 0 ? PortDeviceName(port) : CBOtherDevice->currentText().trimmed();
}

int TFComConfigure::ShowDialog() { return Ui().Exec(this); }

void TFComConfigure::UpdateOkButton()
{
    BOk->setEnabled(!RBOther->isChecked() || !CBOtherDevice->currentText().trimmed().isEmpty());
}
