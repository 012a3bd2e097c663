#include "robotclock.h"

#include <chrono>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
// Sleeps can overshoot by a scheduler tick or so; the last stretch is spun.
constexpr double SpinMargin = 0.002;
} // namespace

double HighResSeconds()
{
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

long long ProcessMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

void WaitUntilElapsed(double start, double seconds)
{
    const double sleepFor = seconds - (HighResSeconds() - start) - SpinMargin;
    if (sleepFor > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(sleepFor));
    while (HighResSeconds() - start < seconds) {
    }
}
