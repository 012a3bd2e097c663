// The Khepera panel of the main window: robot mode, manual commands, the
// proximity indicators, the motor table and the port choice.
#include "tforvik.h"

#include "console.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "proximitygroups.h"
#include "proximityring.h"
#include "robotcommands.h"
#include "tfcomconfigure.h"
#include "tftruthtable.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>

namespace {
// One integer read from the start of `text` as "%d" does; false when none.
bool ScanInt(const QString& text, int& value)
{
    return std::sscanf(text.toLatin1().constData(), "%d", &value) == 1;
}
} // namespace

void TFOrvik::CBKheperaClick()
{
    if (CBKhepera->isChecked())
        CheckKheperaMode();
    if (CBKhepera->isChecked()) {
        int left = 0, right = 0;
        if (!CommandReadSpeed(*Khepera, left, right)) {
            ShowError("Error communicating with the Khepera");
            CBKhepera->setChecked(false);
        }
    }
    UpdateStatusBar();
}

void TFOrvik::BProximityClick()
{
    uint32_t readings[8];
    if (!CommandProximity(*Khepera, readings)) {
        ConsolePrintf("Error reading proximity sensors\n");
        return;
    }
    ConsolePrintf("Proximity: ");
    for (uint32_t r : readings)
        ConsolePrintf("%u ", r);
    ConsolePrintf("\n");
    ShowProximity(readings);
}

void TFOrvik::BMotorClick()
{
    int right = 0, left = 0;
    if (!ScanInt(Edit1->text(), right) || !ScanInt(Edit2->text(), left))
        return;
    CommandSetSpeed(*Khepera, std::clamp(left, -30, 30), std::clamp(right, -30, 30));
}

void TFOrvik::BSendClick() { SendRawCommand(*Khepera, ECommand->text()); }

void TFOrvik::Motor1Click()
{
    FTruthTable->EditTable(Motors.data(), 2, true, 1);
    UpdateStatusBar();
}

void TFOrvik::Communication1Click()
{
    const int port = Khepera->UsesDevicePath() ? 0 : Khepera->GetPort();
    FComConfigure->SetChoice(port, Khepera->UsesDevicePath() ? Khepera->DevicePath() : QString());
    if (FComConfigure->ShowDialog() != QDialog::Accepted)
        return;
    // OK always reopens the link, even on the same port.
    if (FComConfigure->ChosenPort() == 0)
        Khepera->SetDevicePath(FComConfigure->ChosenPath());
    else
        Khepera->SetPort(FComConfigure->ChosenPort());
}

void TFOrvik::ShowProximity(const uint32_t readings[8]) { ::ShowProximity(*this, readings, ProximityThreshold); }

void TFOrvik::ShowProximityIndicators(const std::array<bool, 4>& white) { Image1->SetIndicators(white); }

void TFOrvik::SetCurrentFitnessText(const QString& text) { LCurrentFitness->setText(text); }

void TFOrvik::SetCurrentSpeedText(const QString& text) { LCurrentSpeed->setText(text); }
