#pragma once
// Robot fitness: the PAL drives the Khepera in a closed loop for a fixed
// time and scores the motion.
//
// Every 0.1 s a step reads the eight proximity sensors, scores the wheel
// speeds the robot reports (FitnessIncrement), reduces the readings to four
// thresholded PAL inputs, simulates the PAL and sends the wheel speeds its
// outputs select from the motor table. The run's fitness is the mean of the
// step increments. The robot is reached only through the commands of
// robotcommands.h; a failed command counts as zero readings, zero speeds or a
// zero increment, so a run always ends with a value.
#include "motortable.h"
#include "robotrunview.h"

#include <QString>

#include <cstdint>

class BitString;
class KKhepera;
struct PalConfig;

// What one robot evaluation works with, all owned by the main window.
struct RobotFitnessContext {
    KKhepera& khepera;
    RobotRunView& view;
    const MotorTable& motorTable;
    uint32_t proximityThreshold;
};

// Run length in seconds from the text of "Length of run (sec)": an integer
// read as "%d" reads it (leading blanks allowed, trailing text ignored), 10
// when there is none, clamped to 1..100.
int ParseRunLength(const QString& text);

// One step's increment: reads the wheel speeds, shows them as
// "Current speed: <left>; <right>" and scores them with the readings.
// 0 (logged) when the speeds cannot be read.
double ComputeFitnessKheperaInc(const RobotFitnessContext& context, const uint32_t readings[8]);

// Runs the PAL given by `config` (4 inputs, 4 outputs in robot mode) and
// `chromosome` on the robot for ParseRunLength(lengthRunText) seconds and
// returns the mean increment. Steps start at least 0.1 s apart; a step that
// takes longer just ends later. The robot is stopped at the end. The view
// is updated and processes its events once per step.
double ComputeFitnessKhepera(const RobotFitnessContext& context, const PalConfig& config,
                             const BitString& chromosome, const QString& lengthRunText);
