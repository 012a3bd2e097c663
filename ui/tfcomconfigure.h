#pragma once
// "FComConfigure": the modal port dialog behind Setup > Communication. It
// offers port 1 ("COM1"), port 2 ("COM2"), any other serial device (a USB
// adapter, or a pseudo-terminal such as the simulated robot's, which Qt does
// not list and must be typed), and the simulated Khepera inside Orvik with
// its arena and sensor noise. The caller sets the choice, shows the dialog,
// and after QDialog::Accepted reads ChosenSimulated() and either
// ChosenSimulation() or ChosenPort()/ChosenPath() and reopens the link; the
// dialog itself applies nothing. OK is refused (an "Error" box, the dialog
// stays open) while the simulation's noise or arena file is not acceptable.
#include "simulationsetup.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFComConfigure : public QDialog {
    Q_OBJECT
public:
    explicit TFComConfigure(QWidget* parent = nullptr);

    // Selects port 1 or 2, or for any other number "Other device:"; the combo
    // box is refilled with the serial devices present and shows `otherPath`
    // (kept whatever the port, so the last typed path is offered again).
    void SetChoice(int portNumber, const QString& otherPath);
    // 1 or 2 for the numbered ports, 0 for another device.
    int ChosenPort() const;
    // The device to open: the numbered port's device ("/dev/ttyS0" or "COM1",
    // "/dev/ttyS1" or "COM2"), or for another device the path typed or chosen,
    // without surrounding white space.
    QString ChosenPath() const;

    // Selects the simulated Khepera when `on` (otherwise leaves the choice
    // SetChoice made) and shows `setup` in its fields either way.
    void SetSimulation(bool on, const SimulationSetup& setup);
    bool ChosenSimulated() const;
    // The simulation's values as accepted by the last OK.
    const SimulationSetup& ChosenSimulation() const { return simulation_; }
    // How OK checks a chosen arena file (the caller's file reader); without
    // one any named file is accepted.
    ArenaFileCheck CheckArenaFile;

    // Runs the dialog modally; returns QDialog::Accepted or QDialog::Rejected.
    int ShowDialog();
    bool FormCloseQuery();
    void accept() override;

    // The system's device name of port 1 or 2 ("/dev/ttyS0", "COM1", ...).
    static QString PortDeviceName(int portNumber);

    QGroupBox* RadioGroup1;
    QRadioButton* RBCom1;
    QRadioButton* RBCom2;
    QRadioButton* RBOther;
    QComboBox* CBOtherDevice; // editable: any typed path is accepted
    QRadioButton* RBSimulated;
    QComboBox* CBArena; // "Default arena", "Open arena", "Arena file:"
    QLineEdit* EArenaFile;
    QPushButton* BArenaBrowse;
    QLineEdit* ENoise; // percent, 0..100
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    void FillDevices();
    void UpdateOkButton();
    void UpdateSimulationFields();
    void BArenaBrowseClick();

    SimulationSetup simulation_;
};
