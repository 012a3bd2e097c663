// The request/reply exchange with its echo check, retries and recovery.
#include "kkhepera.h"

#include "console.h"

#include <cstring>

namespace {
constexpr int Tries = 3;
// A reply begins with the command's letter in lower case; a letter sent in
// lower case comes back unchanged.
constexpr char LowerCaseBit = 0x20;
} // namespace

// After a failed try the port is drained, cleared and fully reopened, so the
// next try starts from a clean line with the settings applied again.
void KKhepera::Recover()
{
    EmptyBuffer();
    Purge();
    Close();
    Open();
}

bool KKhepera::DoCommand(const char* command, char* reply)
{
    ConsolePrintf("KKhepera::DoCommand\n");
    // Every try sends and compares this copy, so `reply` may be the command's
    // own buffer.
    char sent[LineBufferSize];
    std::strncpy(sent, command, sizeof sent - 1);
    sent[sizeof sent - 1] = '\0';
    ConsolePrintf("Command is : '%s'\n", sent);

    for (int attempt = 0; attempt < Tries; ++attempt) {
        ConsolePrintf("DoCommand. Try %d\n", attempt);
        if (WriteString(sent) == 0) {
            ConsolePrintf("Write failed\n");
            Recover();
            continue;
        }
        // Cleared before every read so that whatever a failed read leaves
        // behind is still a terminated string (ReadLn never fills the last byte).
        std::memset(reply, 0, LineBufferSize);
        if (ReadLn(reply, LineBufferSize) == -1) {
            ConsolePrintf("ReadLn Failed\n");
            Recover();
            continue;
        }
        if (reply[0] == static_cast<char>(sent[0] | LowerCaseBit))
            return true;
        ConsolePrintf("Answer does not match what we sent. Sent: '%c'. received: '%c'\n",
                      sent[0], reply[0]);
        Recover();
    }
    reply[LineBufferSize - 1] = '\0'; // terminated even if no read ever reached it
    return false;
}
