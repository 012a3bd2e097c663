#pragma once
// Robot link library: see kkhepera.h (serial link and command exchange) and
// robotcommands.h (the robot's commands).
