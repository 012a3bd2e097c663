#pragma once
// Moves the robot to a new, random place before an evaluation: a short
// obstacle-avoiding walk, a random spin and a short reverse, then a stop.
#include "motortable.h"

#include <cstdint>

class KKhepera;
class LcgGenerator;
class RobotBody;

// The walk's wheel speeds for these readings (sensor 0 first):
// sum(reading k * weight k) / 800 + 10 per wheel, in int arithmetic
// truncating toward zero. All readings 0 give 10 and 10.
WheelSpeeds WanderSpeeds(const uint32_t readings[8]);

// Walks for a random 0..1999 ms in steps of 100 ms (at least one step), then
// spins (10, -10) for a random 0..1999 ms, reverses (-3, -3) for 200 ms and
// stops. Both durations are drawn from `random`, in that order, and nothing
// else is drawn. Time passes by the body's Pause (on the serial link a sleep,
// without processing GUI events; in virtual time whole 10 ms physics steps,
// so the walk makes exactly walk / 100 + 1 steps). A robot that stops
// answering altogether (the body is Lost()) ends the manoeuvre at once and
// gives false. However it ends, the wheels are told to stop.
bool RepositionKhepera(RobotBody& body, LcgGenerator& random);

// The same on the serial link, drawing from ProcessRandom, the generator the
// window's GA draws from too.
bool RepositionKhepera(KKhepera& khepera);
