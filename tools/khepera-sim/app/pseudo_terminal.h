#pragma once

#include <memory>
#include <string>

// A pseudo-terminal whose slave side plays the robot's serial port.
//
// The simulator talks on the master side. It also keeps one descriptor of the
// slave open for its whole life: then a client closing its side (the main
// program closes and reopens the port after every failed command) never hangs
// up the master, and data written meanwhile waits in the terminal's queue. We
// never read from that descriptor, so every byte still goes to the client.
class PseudoTerminal {
public:
    // Opens and configures a new pseudo-terminal; nullptr with a reason in
    // `error` when the system refuses.
    static std::unique_ptr<PseudoTerminal> open(std::string *error);
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    int masterFd() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

    // Clears the slave's exclusive-use flag. QSerialPort sets it on open and
    // clears it on close; a client that dies without closing would otherwise
    // lock every later (non-root) client out with EBUSY.
    void releaseExclusiveUse();

private:
    PseudoTerminal(int master, int slaveKeeper, std::string slavePath);

    int m_master;
    int m_slaveKeeper;
    std::string m_slavePath;
};
