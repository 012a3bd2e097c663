#include "serial_session.h"

#include "printable_bytes.h"
#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kHangupProbeMs = 20;
constexpr int kExclusiveReleaseMs = 50;
// Replies nobody reads pile up here; beyond this they are dropped.
constexpr std::size_t kMaxPendingOutput = 64 * 1024;

} // namespace

SerialSession::SerialSession(PseudoTerminal &terminal, Responder responder, bool verbose,
                             QObject *parent)
    : QObject(parent)
    , m_terminal(terminal)
    , m_responder(std::move(responder))
    , m_verbose(verbose)
    , m_readNotifier(terminal.masterFd(), QSocketNotifier::Read)
    , m_writeNotifier(terminal.masterFd(), QSocketNotifier::Write)
{
    m_writeNotifier.setEnabled(false);
    connect(&m_readNotifier, &QSocketNotifier::activated, this, &SerialSession::readAvailable);
    connect(&m_writeNotifier, &QSocketNotifier::activated, this, &SerialSession::writePending);

    m_hangupProbe.setInterval(kHangupProbeMs);
    m_hangupProbe.setSingleShot(true);
    connect(&m_hangupProbe, &QTimer::timeout, this, &SerialSession::probeAfterHangup);

    m_exclusiveRelease.setInterval(kExclusiveReleaseMs);
    connect(&m_exclusiveRelease, &QTimer::timeout, this, [this] { m_terminal.releaseExclusiveUse(); });
    m_exclusiveRelease.start();
}

void SerialSession::readAvailable()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_terminal.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            for (const auto &line : m_lines.feed({buffer, static_cast<std::size_t>(n)})) {
                const std::string reply = m_responder(line.text, line.overflowed);
                if (m_verbose)
                    std::fprintf(stderr, "rx %s\ntx %s\n", printableBytes(line.text + "\r").c_str(),
                                 printableBytes(reply).c_str());
                queueReply(reply);
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        enterHangup(); // EIO, or end of file: the slave side is gone for now
        return;
    }
}

void SerialSession::queueReply(const std::string &reply)
{
    if (m_output.size() + reply.size() > kMaxPendingOutput)
        return;
    m_output += reply;
    writePending();
}

void SerialSession::writePending()
{
    while (!m_output.empty()) {
        const ssize_t n = ::write(m_terminal.masterFd(), m_output.data(), m_output.size());
        if (n > 0) {
            m_output.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            m_writeNotifier.setEnabled(true);
            return;
        }
        m_output.clear(); // nobody on the other side: the reply is lost, as on a real line
        break;
    }
    m_writeNotifier.setEnabled(false);
}

void SerialSession::enterHangup()
{
    if (m_verbose)
        std::fprintf(stderr, "terminal hung up; waiting for a client\n");
    m_readNotifier.setEnabled(false);
    m_writeNotifier.setEnabled(false);
    m_output.clear();
    m_lines.reset();
    m_hangupProbe.start();
}

void SerialSession::probeAfterHangup()
{
    pollfd probe{m_terminal.masterFd(), POLLIN, 0};
    if (::poll(&probe, 1, 0) < 0 || (probe.revents & (POLLHUP | POLLERR))) {
        m_hangupProbe.start();
        return;
    }
    if (m_verbose)
        std::fprintf(stderr, "terminal usable again\n");
    m_readNotifier.setEnabled(true);
    readAvailable();
}
