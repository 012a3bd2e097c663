#include "tfcomconfigure.h"

#include "dialogbuttons.h"
#include "dialogfocus.h"
#include "dialogvalidation.h"
#include "uiseam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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
      RBSimulated(new QRadioButton(tr("Simulated Khepera (in Orvik)"), RadioGroup1)),
      CBArena(new QComboBox(RadioGroup1)),
      EArenaFile(new QLineEdit(RadioGroup1)),
      BArenaBrowse(new QPushButton(tr("Browse..."), RadioGroup1)),
      ENoise(new QLineEdit(QStringLiteral("0"), RadioGroup1)),
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
    RBSimulated->setObjectName(QStringLiteral("RBSimulated"));
    CBArena->setObjectName(QStringLiteral("CBArena"));
    EArenaFile->setObjectName(QStringLiteral("EArenaFile"));
    BArenaBrowse->setObjectName(QStringLiteral("BArenaBrowse"));
    ENoise->setObjectName(QStringLiteral("ENoise"));
    // In the order of SimulationSetup::ArenaKind.
    CBArena->addItems({tr("Default arena (1 m square, 5 obstacles)"), tr("Open arena (4 m square, empty)"),
                       tr("Arena file:")});
    EArenaFile->setPlaceholderText(tr("path of an arena file"));
    ENoise->setMaximumWidth(ENoise->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);

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
    group->addWidget(RBSimulated, 3, 0, 1, 2);
    auto* simulation = new QGridLayout;
    simulation->setContentsMargins(24, 0, 0, 0); // under the radio button's text
    simulation->addWidget(new QLabel(tr("Arena:"), RadioGroup1), 0, 0);
    simulation->addWidget(CBArena, 0, 1, 1, 2);
    simulation->addWidget(EArenaFile, 1, 1);
    simulation->addWidget(BArenaBrowse, 1, 2);
    simulation->addWidget(new QLabel(tr("Sensor noise (%):"), RadioGroup1), 2, 0);
    simulation->addWidget(ENoise, 2, 1, Qt::AlignLeft);
    simulation->setColumnStretch(1, 1);
    group->addLayout(simulation, 4, 0, 1, 2);
    group->setColumnStretch(1, 1);

    QDialogButtonBox* buttons = MakeOkCancelButtons(this, BOk, BCancel);

    // The device field matters only for "Other device:", and OK needs a path then.
    connect(RBOther, &QRadioButton::toggled, CBOtherDevice, &QWidget::setEnabled);
    connect(RBOther, &QRadioButton::toggled, this, &TFComConfigure::UpdateOkButton);
    connect(CBOtherDevice, &QComboBox::editTextChanged, this, &TFComConfigure::UpdateOkButton);
    // The arena and the noise matter only for the simulated Khepera.
    connect(RBSimulated, &QRadioButton::toggled, this, &TFComConfigure::UpdateSimulationFields);
    connect(CBArena, &QComboBox::currentIndexChanged, this, &TFComConfigure::UpdateSimulationFields);
    connect(BArenaBrowse, &QPushButton::clicked, this, &TFComConfigure::BArenaBrowseClick);
    UpdateSimulationFields();

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

void TFComConfigure::SetSimulation(bool on, const SimulationSetup& setup)
{
    simulation_ = setup;
    CBArena->setCurrentIndex(static_cast<int>(setup.arena));
    EArenaFile->setText(setup.arenaFile);
    ENoise->setText(QString::number(setup.noisePercent));
    if (on)
        RBSimulated->setChecked(true);
    UpdateSimulationFields();
    UpdateOkButton();
}

bool TFComConfigure::ChosenSimulated() const { return RBSimulated->isChecked(); }

int TFComConfigure::ShowDialog() { return Ui().Exec(this); }

bool TFComConfigure::FormCloseQuery()
{
    if (!RBSimulated->isChecked())
        return true;
    const auto arena = static_cast<SimulationSetup::ArenaKind>(CBArena->currentIndex());
    const QString message = CheckSimulationSetup(arena, EArenaFile->text(), ENoise->text(), CheckArenaFile,
                                                 simulation_);
    if (message.isEmpty())
        return true;
    Ui().Message(this, QStringLiteral("Error"), message);
    int32_t noise = 0;
    const bool noiseFine = ParseDecimalInt(ENoise->text(), noise) && noise >= 0 && noise <= 100;
    FocusField(noiseFine ? EArenaFile : ENoise);
    return false;
}

void TFComConfigure::accept()
{
    if (FormCloseQuery())
        QDialog::accept();
}

void TFComConfigure::UpdateSimulationFields()
{
    const bool on = RBSimulated->isChecked();
    const bool file = CBArena->currentIndex() == static_cast<int>(SimulationSetup::ArenaKind::File);
    CBArena->setEnabled(on);
    ENoise->setEnabled(on);
    EArenaFile->setEnabled(on && file);
    BArenaBrowse->setEnabled(on && file);
}

void TFComConfigure::BArenaBrowseClick()
{
    const QString path = Ui().OpenFileName(
        this, {tr("Arena file"), EArenaFile->text(), QStringLiteral("txt"),
               tr("Arena files (*.txt *.arena);;All files (*)"), true});
    if (!path.isEmpty())
        EArenaFile->setText(path);
}

void TFComConfigure::UpdateOkButton()
{
    BOk->setEnabled(!RBOther->isChecked() || !CBOtherDevice->currentText().trimmed().isEmpty());
}
