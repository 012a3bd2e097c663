#pragma once
// Robot fitness: the PAL drives the Khepera in a closed loop for a fixed
// time and scores the motion.
//
// Every 0.1 s a step reads the eight proximity sensors, scores the wheel
// speeds the robot reports (FitnessIncrement), reduces the readings to four
// thresholded PAL inputs, simulates the PAL and sends the wheel speeds its
// outputs select from the motor table. The run's fitness is the mean of the
// step increments. The robot is reached only through a RobotBody
// (robotbody.h): the Khepera on its serial link on the wall clock, or the
// simulated one in virtual time; a failed command counts as zero readings,
// zero speeds or a zero increment. A robot that stops answering altogether
// (the body is Lost()) ends the run at once, and so does a stop request: the
// result says how the run ended. However the run ends, the wheels are told to
// stop.
#include "bitstring.h"
#include "motortable.h"
#include "palconfig.h"
#include "robotrunview.h"

#include <QString>

#include <cstdint>

class KKhepera;
class RobotBody;

// What one robot evaluation works with. The body and the view belong to the
// caller; the motor table is the run's own copy, so that editing the table
// while a run processes events cannot reach it.
struct RobotRunContext {
    RobotBody& body;
    RobotRunView& view;
    MotorTable motorTable;
    uint32_t proximityThreshold;
};

// The same for the Khepera on its serial link (a SerialRobotBody over it).
struct RobotFitnessContext {
    KKhepera& khepera;
    RobotRunView& view;
    MotorTable motorTable;
    uint32_t proximityThreshold;
};

enum class RobotRunEnd {
    Completed, // ran its full length
    Stopped,   // the view asked for a stop
    LinkLost,  // the robot stopped answering; the fitness means nothing
};

struct RobotRunResult {
    double fitness = 0.0; // mean increment of the steps run (0 without steps)
    RobotRunEnd end = RobotRunEnd::Completed;
};

// Run length in seconds from the text of "Length of run (sec)": an integer
// read as "%d" reads it (leading blanks allowed, trailing text ignored), 10
// when there is none, clamped to 1..100.
int ParseRunLength(const QString& text);

// One step's increment: reads the wheel speeds, shows them as
// "Current speed: <left>; <right>" and scores them with the readings.
// 0 (logged) when the speeds cannot be read.
double ComputeFitnessKheperaInc(const RobotRunContext& context, const uint32_t readings[8]);
double ComputeFitnessKheperaInc(const RobotFitnessContext& context, const uint32_t readings[8]);

// Runs the PAL given by `config` (4 inputs, 4 outputs in robot mode) and
// `chromosome` on the robot for `runLengthSeconds` (1..100) of the body's
// clock and returns the mean increment. Steps start at least 0.1 s apart; a
// step that takes longer just ends later (on the wall clock; in virtual time
// a step takes no time, so a run has exactly 10 x runLengthSeconds steps).
// The view is updated and processes its events once per step; a stop it
// requests ends the run after that step. The run keeps its own copies of the
// PAL and the chromosome. A chromosome shorter than the PAL raises EBitString
// "BitString: index out of bounds" before anything is sent to the robot.
RobotRunResult ComputeFitnessKhepera(const RobotRunContext& context, PalConfig config,
                                     BitString chromosome, int runLengthSeconds);

// The same on the serial link, for ParseRunLength(lengthRunText) seconds.
RobotRunResult ComputeFitnessKhepera(const RobotFitnessContext& context, PalConfig config,
                                     BitString chromosome, const QString& lengthRunText);
