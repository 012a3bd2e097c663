#include "sensor_noise.h"

#include <algorithm>
#include <cmath>

namespace ksim {

namespace {

constexpr double kAmbientUnitsAtFullNoise = 20.0;

} // namespace

SensorNoise::SensorNoise(double percent, std::uint32_t seed)
    : m_percent(std::max(0.0, percent))
    , m_generator(seed)
{
}

ProximityReadings SensorNoise::apply(const ProximityReadings &readings)
{
    if (m_percent <= 0.0)
        return readings;
    const double level = m_percent / 100.0;
    ProximityReadings noisy{};
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const double gain = 1.0 + m_normal(m_generator) * level;
        const double ambient = std::abs(m_normal(m_generator)) * kAmbientUnitsAtFullNoise * level;
        const double value = readings[i] * gain + ambient;
        noisy[i] = static_cast<int>(std::clamp(std::lround(value), 0L, static_cast<long>(kMaxReading)));
    }
    return noisy;
}

} // namespace ksim
