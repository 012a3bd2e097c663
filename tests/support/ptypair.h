#pragma once
// A pseudo-terminal pair: the slave's path serves as a serial device that
// opens cleanly; the test holds the master side (and may answer on it).
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QString>

struct PtyPair {
    int master = -1;
    int slave = -1;
    QString slavePath;

    PtyPair()
    {
        char name[256] = {};
        struct termios raw {};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0)
            slavePath = QString::fromLocal8Bit(name);
    }
    ~PtyPair()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
};
