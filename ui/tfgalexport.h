#pragma once
// The small dialog of File > "Export individual..." for a GAL file: which
// device, and the signature kept in it. The caller sets Device, Signature
// and Circuit, runs ShowDialog(), and reads Device and Signature back only
// after QDialog::Accepted. While open it shows the pin-out the export will
// choose for the selected device, or why the individual does not fit it.
#include "circuitexport.h"
#include "galdevice.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFGalExport : public QDialog {
    Q_OBJECT
public:
    explicit TFGalExport(QWidget* parent = nullptr);

    int ShowDialog();
    // OK closes only with a valid signature; otherwise a message captioned
    // "Error" and the dialog stays open.
    void accept() override;

    GalType Device = GalType::Gal22V10;
    QString Signature;
    SumOfProducts Circuit;

    QComboBox* CBDevice;
    QLineEdit* ESignature;
    QLabel* LPinOut;
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    GalType SelectedDevice() const;
    void UpdatePinOut();
};
