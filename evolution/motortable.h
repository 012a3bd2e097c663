#pragma once
// The motor-assignment table: the wheel speed that each 2-bit PAL output code
// selects in robot mode. Speeds are in the robot's own units (one unit is
// 8 mm/s on the Khepera).
#include <array>
#include <cstdint>

// Entry c is the speed for output code c (first output of the pair = high bit).
using MotorTable = std::array<int32_t, 4>;

inline constexpr MotorTable DefaultMotorTable{-5, 0, 5, 10};
// The range the table editor keeps its entries in.
inline constexpr int32_t MotorSpeedMin = -5;
inline constexpr int32_t MotorSpeedMax = 10;

struct WheelSpeeds {
    int left = 0;
    int right = 0;
    bool operator==(const WheelSpeeds&) const = default;
};

// The wheel speeds a robot-mode PAL asks for: `outputs` holds its 4 output
// bytes (non-zero means 1); the left wheel takes code 2*o0 + o1, the right
// wheel code 2*o2 + o3.
WheelSpeeds MotorSpeeds(const unsigned char outputs[4], const MotorTable& table);
