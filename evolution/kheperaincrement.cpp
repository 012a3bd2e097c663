#include "kheperaincrement.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double ProximityScale = 1.0 / 1023.0;
constexpr double SpeedScale = 1.0 / 15.0;
constexpr double SpeedOffset = 1.0 / 3.0;
constexpr double SpeedFactor = 3.0 * 0.5;

double WheelTerm(int speed) { return std::clamp(speed * SpeedScale + SpeedOffset, 0.0, 1.0); }
} // namespace

double FitnessIncrement(const uint32_t readings[8], int left, int right)
{
    double i = 0.0;
    for (int k = 0; k < 8; ++k)
        i = std::max(i, readings[k] * ProximityScale);
    i = std::clamp(i, 0.0, 1.0);

    const double vl = WheelTerm(left);
    const double vr = WheelTerm(right);
    const double v = SpeedFactor * std::fabs(((vl - SpeedOffset) + (vr - SpeedOffset)) * 0.5);
    const double dv = std::sqrt(std::fabs(vl - vr));
    return v * (1.0 - dv) * (1.0 - i);
}
