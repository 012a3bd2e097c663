#pragma once

#include "line_assembler.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>

class PseudoTerminal;

// Serves the robot's protocol on the master side of the pseudo-terminal, in
// the thread's event loop: reads whatever arrives, cuts it into CR-ended
// lines, asks the responder for each reply and writes the replies back in
// order. Never gives up on the terminal: when reading fails (a hang-up, seen
// as EIO until a client opens the slave again) it stops listening, looks
// again every 20 ms and resumes as soon as the terminal is usable.
class SerialSession : public QObject {
    Q_OBJECT

public:
    // line (without CR; cut short when `overflowed`) -> complete reply line.
    using Responder = std::function<std::string(std::string_view line, bool overflowed)>;

    SerialSession(PseudoTerminal &terminal, Responder responder, bool verbose,
                  QObject *parent = nullptr);

private:
    void readAvailable();
    void writePending();
    void enterHangup();
    void probeAfterHangup();
    void queueReply(const std::string &reply);

    PseudoTerminal &m_terminal;
    Responder m_responder;
    bool m_verbose;
    QSocketNotifier m_readNotifier;
    QSocketNotifier m_writeNotifier;
    QTimer m_hangupProbe;
    QTimer m_exclusiveRelease;
    ksim::LineAssembler m_lines;
    std::string m_output;
};
