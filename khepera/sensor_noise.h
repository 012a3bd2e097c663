#pragma once

#include "proximity_sensors.h"

#include <cstdint>
#include <random>

namespace ksim {

// Disturbs readings the way a real infrared sensor wanders. With a level of
// p percent each reading r becomes
//     r * (1 + g1 * p/100) + |g2| * 20 * p/100
// (g1, g2 standard normal draws; the second term is ambient light, always
// adding), rounded and clamped to 0..1023. Level 0 leaves readings untouched
// and draws nothing. The same seed gives the same sequence.
class SensorNoise {
public:
    explicit SensorNoise(double percent = 0.0, std::uint32_t seed = 1);

    ProximityReadings apply(const ProximityReadings &readings);

    double percent() const { return m_percent; }

private:
    double m_percent;
    std::mt19937 m_generator;
    std::normal_distribution<double> m_normal;
};

} // namespace ksim
