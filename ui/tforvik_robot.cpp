// The Khepera panel of the main window: robot mode, manual commands, the
// proximity indicators, the motor table and the port choice.
#include "tforvik.h"

#include "console.h"
#include "kkhepera.h"
#include "orvikwindows.h"
#include "proximitygroups.h"
#include "proximityring.h"
#include "repositionkhepera.h"
#include "robot_world.h"
#include "simulatedarena.h"
#include "tfrobotarena.h"
#include "watchedrobotbody.h"
#include "robotcommands.h"
#include "tfcomconfigure.h"
#include "tftruthtable.h"
#include "truthtablefitness.h"
#include "uiseam.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

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
    if (CBKhepera->isChecked() && !SimulatedRobot) {
        // Asking for robot mode is asking for the link: a port that is not
        // open is opened again here, with its error boxes.
        if (!Khepera->IsOpen())
            Khepera->Open();
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
    if (SimulatedRobot) {
        SimBody->ReadProximity(readings);
    } else if (!CommandProximity(*Khepera, readings)) {
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
    left = std::clamp(left, -30, 30);
    right = std::clamp(right, -30, 30);
    if (SimulatedRobot) {
        SimBody->SetSpeeds(left, right); // the robot moves once simulated time passes
    } else {
        CommandSetSpeed(*Khepera, left, right);
        if (Khepera->Lost())
            return;
    }
    LCurrentSpeed->setText(QString("Current speed: %1; %2").arg(left).arg(right));
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
    FComConfigure->SetSimulation(SimulatedRobot, Simulation);
    FComConfigure->CheckArenaFile = ArenaFileRefusal;
    if (FComConfigure->ShowDialog() != QDialog::Accepted)
        return;
    const QString robotBefore = RobotDescription();
    SimulatedRobot = FComConfigure->ChosenSimulated();
    if (SimulatedRobot) {
        // The serial link stays as it is, unused, until a port is chosen again.
        Simulation = FComConfigure->ChosenSimulation();
        SimulatedRobot = UseSimulation();
    } else if (FComConfigure->ChosenPort() == 0) {
        // OK always reopens the link, even on the same port.
        Khepera->SetDevicePath(FComConfigure->ChosenPath());
    } else {
        Khepera->SetPort(FComConfigure->ChosenPort());
    }
    ShowLinkState();
    if (RobotDescription() != robotBefore)
        RobotEvaluationChanged(RobotDescription());
}

QString TFOrvik::RobotDescription() const
{
    return SimulatedRobot ? "simulated Khepera, " + DescribeSimulation(Simulation)
                          : "Khepera on " + Khepera->DevicePath();
}

void TFOrvik::ComputeFitnessOnRobot()
{
    RobotRunResult result;
    {
        // Only the panel's "Stop" takes input while the run processes events.
        ComputingOnRobot = true;
        runStopRequested_ = false;
        controlsLock_.Lock(centralWidget(), BStopRun, menuBar());
        BStopRun->setEnabled(true);
        BStopRun->show();
        struct Idle {
            TFOrvik& window;
            ~Idle()
            {
                window.BStopRun->hide();
                window.controlsLock_.Unlock();
                window.ComputingOnRobot = false;
            }
        } idleAfterwards{*this};
        result = RunOnRobot(CurrentChromosome);
    }
    switch (result.end) {
    case RobotRunEnd::Completed:
        // A run in virtual time is over at once: the arena window plays it
        // back at the robot's pace while the result is shown.
        if (SimulatedRobot && !FRobotArena->RealTime())
            FRobotArena->Replay(SimWorld->arena(), SimBody->Recording(),
                                QString("Compute fitness: individual %1 (replay)").arg(CurrentIndividual));
        Ui().Message(this, "Fitness",
                     QString::asprintf("Fitness of individual %d: %lf", CurrentIndividual, result.fitness));
        break;
    case RobotRunEnd::Stopped:
        break; // the user ended it: there is no fitness to tell
    case RobotRunEnd::LinkLost:
        ShowRobotLost("The fitness run was stopped.");
        break;
    }
    if (closeWhenIdle_) {
        closeWhenIdle_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

RobotRunResult TFOrvik::RunOnRobot(const BitString& chromosome)
{
    if (SimulatedRobot) {
        // Again from where the last evaluation started, standing still.
        SimWorld->setPose(lastStartPose_);
        SimWorld->setWheelSpeeds({0, 0});
        return RunOnSimulation(chromosome, QString("Compute fitness: individual %1").arg(CurrentIndividual));
    }
    const RobotFitnessContext context{*Khepera, *this, Motors, ProximityThreshold};
    return ComputeFitnessKhepera(context, Pal, chromosome, ELengthRun->text());
}

std::optional<double> TFOrvik::EvaluateOnRobot()
{
    CheckChromosomeLength(Pal, CurrentChromosome); // refused before the robot moves
    if (!RepositionKhepera(*Khepera))
        return std::nullopt;
    const RobotRunResult result = RunOnRobot(CurrentChromosome);
    if (result.end == RobotRunEnd::LinkLost)
        return std::nullopt;
    return result.fitness;
}

void TFOrvik::ShowRobotLost(const QString& consequence)
{
    ShowError(QString("The Khepera is not answering on %1. %2").arg(Khepera->DevicePath(), consequence));
}

void TFOrvik::BStopRunClick()
{
    runStopRequested_ = true;
    BStopRun->setEnabled(false); // taken: the run ends after the step under way
}

void TFOrvik::ShowLinkBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
    if (!busy)
        ShowLinkState(); // an opening or a retried command may have changed it
}

void TFOrvik::ShowProximity(const uint32_t readings[8]) { ::ShowProximity(*this, readings, ProximityThreshold); }

void TFOrvik::ShowProximityIndicators(const std::array<bool, 4>& white) { Image1->SetIndicators(white); }

void TFOrvik::SetCurrentFitnessText(const QString& text) { LCurrentFitness->setText(text); }

void TFOrvik::SetCurrentSpeedText(const QString& text) { LCurrentSpeed->setText(text); }
