#pragma once
// orvik-screenshot OUTPUT_DIR --transfer FILE.ga DEVICE MOTOR RUNS: the step
// from simulation to the robot. Loads the last generation of FILE.ga (as
// "Load&Program" does), makes its fittest individual current, sets the motor
// table MOTOR ("a,b,c,d"), and runs "Compute fitness" RUNS times with "With
// Khepera" on DEVICE (a real robot or orvik-khepera-sim, in real time; or
// "simulated": the simulated Khepera inside Orvik, in virtual time),
// printing each fitness; saves transfer-window.png.
#include <QDir>
#include <QString>

class TFOrvik;

int TransferRun(TFOrvik* window, const QDir& out, const QString& file, const QString& device,
                const QString& motor, int runs);
