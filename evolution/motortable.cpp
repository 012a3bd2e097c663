#include "motortable.h"

namespace {
int Code(unsigned char high, unsigned char low) { return 2 * (high != 0) + (low != 0); }
} // namespace

WheelSpeeds MotorSpeeds(const unsigned char outputs[4], const MotorTable& table)
{
    return {table[Code(outputs[0], outputs[1])], table[Code(outputs[2], outputs[3])]};
}
