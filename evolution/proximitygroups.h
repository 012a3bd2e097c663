#pragma once
// From the robot's eight proximity readings to four directions and from
// there to the PAL's four inputs. Readings run 0..1023 and rise as an
// obstacle nears. Sensors 0 and 1 face left, 2 and 3 ahead, 4 and 5 right,
// 6 and 7 behind, so the directions are left, front, right and back.
#include <array>
#include <cstdint>

// A direction value strictly above this is an obstacle.
inline constexpr uint32_t DefaultProximityThreshold = 300;

using Directions = std::array<uint32_t, 4>;

// Direction k = the larger of readings 2k and 2k + 1.
Directions GroupProximity(const uint32_t readings[8]);

// PAL input k = 1 when direction k > threshold, else 0.
void ProximityInputs(const Directions& directions, uint32_t threshold, unsigned char inputs[4]);

// Indicator k is white when direction k >= threshold, black below it. At
// exactly the threshold the indicator is white while the input is still 0.
std::array<bool, 4> ProximityIndicatorsWhite(const uint32_t readings[8], uint32_t threshold);
