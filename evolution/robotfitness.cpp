#include "robotfitness.h"

#include "console.h"
#include "evaluatepal.h"
#include "kheperaincrement.h"
#include "proximitygroups.h"
#include "robotbody.h"
#include "serialrobotbody.h"
#include "truthtablefitness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using namespace std::chrono_literals;
constexpr std::chrono::milliseconds StepPeriod = 100ms;
constexpr int DefaultRunLength = 10;
constexpr int MinRunLength = 1;
constexpr int MaxRunLength = 100;
// The loop reads and writes four inputs and four outputs whatever the PAL's
// size; buffers are at least this large so a mis-sized PAL cannot overrun them.
constexpr int RobotPalPins = 4;

RobotRunContext OnTheLink(const RobotFitnessContext& context, SerialRobotBody& body)
{
    return {body, context.view, context.motorTable, context.proximityThreshold};
}
} // namespace

int ParseRunLength(const QString& text)
{
    int seconds = 0;
    if (std::sscanf(text.toLatin1().constData(), "%d", &seconds) != 1)
        return DefaultRunLength;
    return std::clamp(seconds, MinRunLength, MaxRunLength);
}

double ComputeFitnessKheperaInc(const RobotRunContext& context, const uint32_t readings[8])
{
    int left = 0;
    int right = 0;
    if (!context.body.ReadSpeeds(left, right)) {
        ConsolePrintf("ComputeFitnessKheperaInc failed due to CommandReadSpeed. Returning 0\n");
        return 0.0;
    }
    context.view.SetCurrentSpeedText(QStringLiteral("Current speed: %1; %2").arg(left).arg(right));
    return FitnessIncrement(readings, left, right);
}

double ComputeFitnessKheperaInc(const RobotFitnessContext& context, const uint32_t readings[8])
{
    SerialRobotBody body(context.khepera);
    return ComputeFitnessKheperaInc(OnTheLink(context, body), readings);
}

RobotRunResult ComputeFitnessKhepera(const RobotRunContext& context, PalConfig config,
                                     BitString chromosome, int runLengthSeconds)
{
    CheckChromosomeLength(config, chromosome); // refused before the robot moves
    std::vector<unsigned char> inputs(std::max(config.NumInputs, RobotPalPins), 0);
    std::vector<unsigned char> outputs(std::max(config.NumOutputs, RobotPalPins), 0);
    const RobotBody::Time runLength =
        std::chrono::seconds(std::clamp(runLengthSeconds, MinRunLength, MaxRunLength));
    RobotBody& body = context.body;
    BodyStopOnExit stopAtTheEnd(body);

    const RobotBody::Time t0 = body.Now();
    double sum = 0.0;
    int steps = 0;
    bool stopped = false;
    // A robot that no longer answers at all ends the run at the command that
    // found it out.
    while (body.Now() - t0 < runLength) {
        const RobotBody::Time ts = body.Now();

        uint32_t readings[8];
        body.ReadProximity(readings); // all 0 after a failure
        if (body.Lost())
            break;
        ConsolePrintf("Proximity: ");
        for (uint32_t r : readings)
            ConsolePrintf("%d ", static_cast<int>(r));
        ShowProximity(context.view, readings, context.proximityThreshold);

        // Scores the speeds commanded by the previous step.
        const double f = ComputeFitnessKheperaInc(context, readings);
        if (body.Lost())
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
        body.SetSpeeds(speeds.left, speeds.right);
        if (body.Lost())
            break;
        context.view.ProcessEvents();
        if (context.view.RunStopRequested()) {
            stopped = true;
            break;
        }

        // Steps start StepPeriod apart (or later, never earlier).
        body.WaitUntil(ts + StepPeriod);
        const RobotBody::Time te = body.Now();
        ConsolePrintf("Elapsed time fiddling with serial stuff and simulating the PAL: %lf\n",
                      std::chrono::duration<double>(te - ts).count() * 0.001);
    }
    const RobotRunEnd end = body.Lost() ? RobotRunEnd::LinkLost
                            : stopped   ? RobotRunEnd::Stopped
                                        : RobotRunEnd::Completed;
    stopAtTheEnd.StopNow();
    if (!body.Lost())
        context.view.SetCurrentSpeedText(QStringLiteral("Current speed: 0; 0")); // the wheels were stopped
    if (end == RobotRunEnd::LinkLost)
        ConsolePrintf("The robot stopped answering: run abandoned after %d steps\n", steps);
    else if (end == RobotRunEnd::Stopped)
        ConsolePrintf("Run stopped after %d steps\n", steps);
    ConsolePrintf("Sum of fitness: %lf. Numstep: %d\n", sum, steps);
    return {steps > 0 ? sum / steps : 0.0, end};
}

RobotRunResult ComputeFitnessKhepera(const RobotFitnessContext& context, PalConfig config,
                                     BitString chromosome, const QString& lengthRunText)
{
    SerialRobotBody body(context.khepera);
    return ComputeFitnessKhepera(OnTheLink(context, body), std::move(config), std::move(chromosome),
                                 ParseRunLength(lengthRunText));
}
