#include "robotfitness.h"

#include "console.h"
#include "evaluatepal.h"
#include "kheperaincrement.h"
#include "proximitygroups.h"
#include "robotclock.h"
#include "kkhepera.h"
#include "robotcommands.h"
#include "truthtablefitness.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr double StepPeriod = 0.1; // seconds
constexpr int DefaultRunLength = 10;
constexpr int MinRunLength = 1;
constexpr int MaxRunLength = 100;
// The loop reads and writes four inputs and four outputs whatever the PAL's
// size; buffers are at least this large so a mis-sized PAL cannot overrun them.
constexpr int RobotPalPins = 4;
} // namespace

int ParseRunLength(const QString& text)
{
    int seconds = 0;
    if (std::sscanf(text.toLatin1().constData(), "%d", &seconds) != 1)
        return DefaultRunLength;
    return std::clamp(seconds, MinRunLength, MaxRunLength);
}

double ComputeFitnessKheperaInc(const RobotFitnessContext& context, const uint32_t readings[8])
{
    int left = 0;
    int right = 0;
    if (!CommandReadSpeed(context.khepera, left, right)) {
        ConsolePrintf("ComputeFitnessKheperaInc failed due to CommandReadSpeed. Returning 0\n");
        return 0.0;
    }
    context.view.SetCurrentSpeedText(QStringLiteral("Current speed: %1; %2").arg(left).arg(right));
    return FitnessIncrement(readings, left, right);
}

RobotRunResult ComputeFitnessKhepera(const RobotFitnessContext& context, PalConfig config,
                                     BitString chromosome, const QString& lengthRunText)
{
    CheckChromosomeLength(config, chromosome); // refused before the robot moves
    std::vector<unsigned char> inputs(std::max(config.NumInputs, RobotPalPins), 0);
    std::vector<unsigned char> outputs(std::max(config.NumOutputs, RobotPalPins), 0);
    const int runLength = ParseRunLength(lengthRunText);
    KKhepera& khepera = context.khepera;
    WheelStopOnExit stopAtTheEnd(khepera);

    const double t0 = HighResSeconds();
    double sum = 0.0;
    int steps = 0;
    bool stopped = false;
    // A robot that no longer answers at all ends the run at the command that
    // found it out.
    while (HighResSeconds() - t0 < runLength) {
        const double ts = HighResSeconds();

        uint32_t readings[8];
        CommandProximity(khepera, readings); // all 0 after a failure
        if (khepera.Lost())
            break;
        ConsolePrintf("Proximity: ");
        for (uint32_t r : readings)
            ConsolePrintf("%d ", static_cast<int>(r));
        ShowProximity(context.view, readings, context.proximityThreshold);

        // Scores the speeds commanded by the previous step.
        const double f = ComputeFitnessKheperaInc(context, readings);
        if (khepera.Lost())
            break;
        ConsolePrintf("tf: %lf\n", f);
        sum += f;
        ++steps;
        context.view.SetCurrentFitnessText(
            QString::asprintf("Current fitness: %0.3lf", sum / steps));

        const Directions directions = GroupProximity(readings);
        ProximityInputs(directions, context.proximityThreshold, inputs.data());
        ConsolePrintf("\nInput: ");
        for (int k = 0; k < 4; ++k)
            ConsolePrintf("%d(%d) ", static_cast<int>(directions[k]), inputs[k]);

        EvaluatePal(config, chromosome, inputs.data(), outputs.data());
        ConsolePrintf("\nOutput ");
        for (int k = 0; k < 4; ++k)
            ConsolePrintf("%d ", outputs[k]);
        ConsolePrintf("\n");

        const WheelSpeeds speeds = MotorSpeeds(outputs.data(), context.motorTable);
        CommandSetSpeed(khepera, speeds.left, speeds.right);
        if (khepera.Lost())
            break;
        context.view.ProcessEvents();
        if (context.view.RunStopRequested()) {
            stopped = true;
            break;
        }

        // Steps start StepPeriod apart (or later, never earlier). The wait
        // sleeps most of the time and spins only the last moment, instead of
        // spinning the whole remainder.
        WaitUntilElapsed(ts, StepPeriod);
        const double te = HighResSeconds();
        ConsolePrintf("Elapsed time fiddling with serial stuff and simulating the PAL: %lf\n",
                      (te - ts) * 0.001);
    }
    const RobotRunEnd end = khepera.Lost() ? RobotRunEnd::LinkLost
                            : stopped      ? RobotRunEnd::Stopped
                                           : RobotRunEnd::Completed;
    stopAtTheEnd.StopNow();
    if (!khepera.Lost())
        context.view.SetCurrentSpeedText(QStringLiteral("Current speed: 0; 0")); // the wheels were stopped
    if (end == RobotRunEnd::LinkLost)
        ConsolePrintf("The robot stopped answering: run abandoned after %d steps\n", steps);
    else if (end == RobotRunEnd::Stopped)
        ConsolePrintf("Run stopped after %d steps\n", steps);
    ConsolePrintf("Sum of fitness: %lf. Numstep: %d\n", sum, steps);
    return {steps > 0 ? sum / steps : 0.0, end};
}
