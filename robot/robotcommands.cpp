#include "robotcommands.h"

#include "console.h"
#include "kkhepera.h"

#include <algorithm>
#include <cctype>
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

namespace {
// One decimal number as scanf's %d or %u reads it: leading white space, an
// optional sign, at least one digit. Its magnitude saturates at `cap` + 1,
// so that no reply overflows it. False when no digit follows.
bool ReadNumber(const char*& text, bool& negative, uint64_t& magnitude, uint64_t cap)
{
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    magnitude = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        magnitude = std::min(magnitude * 10 + static_cast<uint64_t>(*p - '0'), cap + 1);
    text = p;
    return true;
}

// The values of a reply "<letter>,v,v,...": how many were read, up to
// `count`, each handed to `store` (index, sign, magnitude within 0..cap),
// which may refuse it.
template <typename Store>
int ParseValues(const char* reply, char letter, int count, uint64_t cap, Store store)
{
    if (reply[0] != letter || reply[1] != ',')
        return 0;
    const char* p = reply + 2;
    for (int k = 0; k < count; ++k) {
        if (k > 0 && *p++ != ',')
            return k;
        bool negative = false;
        uint64_t magnitude = 0;
        if (!ReadNumber(p, negative, magnitude, cap) || !store(k, negative, std::min(magnitude, cap)))
            return k;
    }
    return count;
}
} // namespace

int ParseProximityReply(const char* reply, uint32_t readings[8])
{
    uint32_t v[ProximityCount] = {};
    // A negative reading is no reading: the reply counts as unreadable.
    const int converted = ParseValues(reply, 'n', ProximityCount, MaxProximityReading,
                                      [&v](int k, bool negative, uint64_t value) {
                                          v[k] = static_cast<uint32_t>(value);
                                          return !negative || value == 0;
                                      });
    std::copy(v, v + converted, readings);
    return converted;
}

int ParseSpeedReply(const char* reply, int& left, int& right)
{
    int v[2] = {};
    const int converted = ParseValues(reply, 'e', 2, MaxWheelSpeed, [&v](int k, bool negative, uint64_t value) {
        v[k] = static_cast<int>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
        return true;
    });
    if (converted >= 1)
        left = v[0];
    if (converted >= 2)
        right = v[1];
    return converted;
}
