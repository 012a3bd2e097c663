// orvik-batch: truth-table evolution without a window (see batchmain.h).
#include "batchmain.h"

#include <csignal>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
std::atomic<bool> stopRequested {false};
std::atomic<int> stopSignal {0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
    "set from a signal handler");

void RequestStop(int signal)
{
    stopSignal = signal;
    stopRequested = true;
    static const char note[] = "\norvik-batch: stopping after the current generation of every run "
                               "(press Ctrl+C again to quit at once, leaving no files)\n";
    // write() is safe in a signal handler; what it returns does not matter here.
    [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, note, sizeof note - 1);
}

// The first SIGINT or SIGTERM asks for the orderly stop; the handler then
// resets itself, so a second one ends the program at once.
void InstallStopHandler(int signal)
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = RequestStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}
} // namespace

int main(int argc, char** argv)
{
    InstallStopHandler(SIGINT);
    InstallStopHandler(SIGTERM);
    BatchStreams streams;
    if (isatty(STDERR_FILENO)) {
        winsize size {};
        const bool known = ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0;
        streams.errTerminalColumns = known ? size.ws_col : 80;
    }
    return RunBatch(std::vector<std::string>(argv + 1, argv + argc), stopRequested, stopSignal, streams);
}
