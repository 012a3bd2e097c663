#include "robotcommands.h"

#include "console.h"
#include "kkhepera.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr char CR = 13;
constexpr int ProximityCount = 8;
} // namespace

namespace {
void SetSpeed(KKhepera& khepera, int left, int right, int tries)
{
    char buffer[KKhepera::LineBufferSize];
    std::snprintf(buffer, sizeof buffer, "D,%d,%d%c", left, right, CR);
    khepera.DoCommand(buffer, buffer, tries);
}
} // namespace

void CommandSetSpeed(KKhepera& khepera, int left, int right)
{
    SetSpeed(khepera, left, right, KKhepera::CommandTries);
}

void StopWheels(KKhepera& khepera)
{
    SetSpeed(khepera, 0, 0, khepera.Lost() ? 1 : KKhepera::CommandTries);
}

bool CommandProximity(KKhepera& khepera, uint32_t readings[8])
{
    char buffer[KKhepera::LineBufferSize];
    std::snprintf(buffer, sizeof buffer, "N%c", CR);
    if (!khepera.DoCommand(buffer, buffer)) {
        ConsolePrintf("Error reading proximity sensors\n");
        std::fill(readings, readings + ProximityCount, 0u);
        return false;
    }
    if (ParseProximityReply(buffer, readings) < ProximityCount) {
        ConsolePrintf("Error parsing proximity sensors\n");
        std::fill(readings, readings + ProximityCount, 0u);
        return false;
    }
    return true;
}

bool CommandReadSpeed(KKhepera& khepera, int& left, int& right)
{
    char buffer[KKhepera::LineBufferSize];
    std::snprintf(buffer, sizeof buffer, "E%c", CR);
    if (!khepera.DoCommand(buffer, buffer)) {
        ConsolePrintf("CommandReadSpeed Khepera.DoCommand error\n");
    } else {
        ConsolePrintf("CommandReadSpeed received: '%s'\n", buffer);
        if (ParseSpeedReply(buffer, left, right) == 2)
            return true;
        ConsolePrintf("CommandReadSpeed sscanf error\n");
    }
    left = 0;
    right = 0;
    return false;
}

bool SendRawCommand(KKhepera& khepera, const QString& text)
{
    char buffer[KKhepera::LineBufferSize];
    const QByteArray bytes = text.toLatin1();
    // Leave room for the CR and the terminator; "%s" also stops at an
    // embedded NUL as the typed text would.
    std::snprintf(buffer, sizeof buffer - 1, "%s", bytes.constData());
    const std::size_t length = std::strlen(buffer);
    buffer[length] = CR;
    buffer[length + 1] = '\0';
    const bool ok = khepera.DoCommand(buffer, buffer);
    ConsolePrintf("Received(%d): '%s'\n", ok ? 1 : 0, buffer);
    return ok;
}

int ParseProximityReply(const char* reply, uint32_t readings[8])
{
    unsigned v[ProximityCount] = {};
    const int n = std::sscanf(reply, "n,%u,%u,%u,%u,%u,%u,%u,%u",
                              &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
    const int converted = n < 0 ? 0 : n;
    for (int k = 0; k < converted; ++k)
        readings[k] = std::min<uint32_t>(v[k], MaxProximityReading);
    return converted;
}

int ParseSpeedReply(const char* reply, int& left, int& right)
{
    int l = 0;
    int r = 0;
    const int n = std::sscanf(reply, "e,%d,%d", &l, &r);
    if (n >= 1)
        left = l;
    if (n >= 2)
        right = r;
    return n < 0 ? 0 : n;
}
