#pragma once
// Robot link library: kkhepera.h (the serial link and its request/reply
// exchange) and robotcommands.h (the robot's commands on top of it).
#include "kkhepera.h"
#include "robotcommands.h"
