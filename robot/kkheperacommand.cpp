// The request/reply exchange with its echo check, retries and recovery.
#include "kkhepera.h"

#include "console.h"

#include <cstring>

namespace {
// A reply begins with the command's letter in lower case; a letter sent in
// lower case comes back unchanged.
constexpr char LowerCaseBit = 0x20;
} // namespace

// After a failed try the port is drained, cleared and fully reopened, so the
// next try starts from a clean line with the settings applied again. Nobody
// asked for this reopening: a failure is logged, not reported, and shows in
// Lost() once the command has given up.
void KKhepera::Recover()
{
    EmptyBuffer();
    Purge();
    Close();
    for (const QString& failure : OpenDevice())
        ConsolePrintf("Reopening %s: %s\n", DevicePath().toLocal8Bit().constData(),
                      failure.toLatin1().constData());
}

bool KKhepera::DoCommand(const char* command, char* reply, int tries)
{
    ConsolePrintf("KKhepera::DoCommand\n");
    // Every try sends and compares this copy, so `reply` may be the command's
    // own buffer.
    char sent[LineBufferSize];
    std::strncpy(sent, command, sizeof sent - 1);
    sent[sizeof sent - 1] = '\0';
    ConsolePrintf("Command is : '%s'\n", sent);

    // The busy indicator shows from the first failed try until the command
    // ends, however it ends.
    struct RetryWait {
        const KKhepera& link;
        bool shown = false;
        ~RetryWait()
        {
            if (shown)
                link.SetBusy(false);
        }
    } wait{*this};
    const auto recover = [&] {
        if (!wait.shown)
            SetBusy(true);
        wait.shown = true;
        Recover();
    };

    bool answered = false; // some try got a whole reply line, right or wrong
    for (int attempt = 0; attempt < tries; ++attempt) {
        ConsolePrintf("DoCommand. Try %d\n", attempt);
        if (WriteString(sent) == 0) {
            ConsolePrintf("Write failed\n");
            recover();
            continue;
        }
        // Cleared before every read so that whatever a failed read leaves
        // behind is still a terminated string (ReadLn never fills the last byte).
        std::memset(reply, 0, LineBufferSize);
        if (ReadLn(reply, LineBufferSize) == -1) {
            ConsolePrintf("ReadLn Failed\n");
            recover();
            continue;
        }
        answered = true;
        if (reply[0] == static_cast<char>(sent[0] | LowerCaseBit)) {
            lost_ = false;
            return true;
        }
        ConsolePrintf("Answer does not match what we sent. Sent: '%c'. received: '%c'\n",
                      sent[0], reply[0]);
        recover();
    }
    reply[LineBufferSize - 1] = '\0'; // terminated even if no read ever reached it
    lost_ = !answered;
    return false;
}
