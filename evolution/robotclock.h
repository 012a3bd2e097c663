#pragma once
// Clocks of the robot's control loop.

// Seconds from an arbitrary origin on a monotonic high-resolution clock.
double HighResSeconds();

// Milliseconds from an arbitrary origin on the same monotonic clock.
long long ProcessMilliseconds();

// Returns once at least `seconds` have passed since `start` (a HighResSeconds
// value). It sleeps through most of the wait and spins only for the last
// stretch, so the moment of return is as exact as a busy wait's without
// keeping a core busy for the whole period. Returns at once when the time has
// already passed.
void WaitUntilElapsed(double start, double seconds);
