// orvik-batch: truth-table evolution without a window (see batchmain.h).
#include "batchmain.h"
#include "safeoutputfile.h"

#include <csignal>
#include <cstring>
#include <ctime>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
std::atomic<bool> stopRequested {false};
std::atomic<int> stopSignal {0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free
        && std::atomic<long long>::is_always_lock_free,
    "set from a signal handler");

// GNU timeout sends SIGTERM twice, to the program and then to its process
// group, and other tools may too: a SIGTERM this soon after the first is the
// same request. A person's second Ctrl+C always quits at once.
constexpr long long sameRequestNanoseconds = 2'000'000'000;

long long Now()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now); // safe in a signal handler
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

void RequestStop(int signal)
{
    // The signals are blocked while the handler runs, but another thread may
    // take the next one at the same time: a request's signal and time may
    // not be set yet, which counts as "just now".
    static std::atomic<int> received {0};
    static std::atomic<long long> firstAt {0};
    const long long now = Now();
    if (received.fetch_add(1) > 0) {
        const long long at = firstAt.load();
        if (signal == SIGTERM && stopSignal.load() != SIGINT && (at == 0 || now - at < sameRequestNanoseconds))
            return;
        // The program ends at once: its temporary files go first (unlink()
        // is safe in a signal handler), then the signal takes its default
        // action, so the shell sees the program killed by it.
        RemoveUnfinishedOutputFiles();
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    firstAt = now;
    stopSignal = signal;
    stopRequested = true;
    static const char note[] = "\norvik-batch: stopping after the current generation of every run "
                               "(press Ctrl+C again to quit at once, leaving no files)\n";
    // write() is safe in a signal handler; what it returns does not matter here.
    [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, note, sizeof note - 1);
}

// The first SIGINT or SIGTERM asks for the orderly stop, a second ends the
// program (see RequestStop).
void InstallStopHandler(int signal)
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(signal, &action, nullptr);
}
} // namespace

int main(int argc, char** argv)
{
    InstallStopHandler(SIGINT);
    InstallStopHandler(SIGTERM);
    // A pipe whose reader has gone then fails the write (EPIPE), which ends
    // the batch quietly with its other files complete, instead of killing it.
    std::signal(SIGPIPE, SIG_IGN);
    BatchStreams streams;
    if (isatty(STDERR_FILENO)) {
        winsize size {};
        const bool known = ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0;
        streams.errTerminalColumns = known ? size.ws_col : 80;
    }
    return RunBatch(std::vector<std::string>(argv + 1, argv + argc), stopRequested, stopSignal, streams);
}
