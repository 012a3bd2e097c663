// Byte-level input and output of the link.
#include "kkhepera.h"

#include "console.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds ByteTimeout{1000};
constexpr milliseconds LineTimeout{KKhepera::LineTimeoutMs};
constexpr milliseconds DrainTimeout{KKhepera::DrainTimeoutMs};
// Longest single wait inside ReadByte; the wait returns early when data comes.
constexpr milliseconds WaitSlice{100};
// Pause after a wait that failed at once (port closed or hung up), so that a
// dead port does not turn the one-second wait into a busy loop.
constexpr milliseconds DeadPortPause{10};
// Writes have no time limit of their own; this only keeps a device that never
// drains its output from blocking the program for good.
constexpr int WriteDrainLimitMs = 5000;
} // namespace

int KKhepera::WriteCom(const char* bytes, int n)
{
    if (!serial_.isOpen()) {
        ConsolePrintf("FormatMessage: '%s'\n", "The device is not open.");
        ConsolePrintf("KKhepera::WriteCom returned 0\n");
        return 0;
    }
    const qint64 accepted = serial_.write(bytes, n);
    if (accepted < 0) {
        ConsolePrintf("FormatMessage: '%s'\n", serial_.errorString().toLocal8Bit().constData());
        serial_.clearError();
        ConsolePrintf("KKhepera::WriteCom returned 0\n");
        return 0;
    }
    // Synchronous like the robot expects: hand everything to the device.
    const auto deadline = Clock::now() + milliseconds(WriteDrainLimitMs);
    while (serial_.bytesToWrite() > 0 && Clock::now() < deadline) {
        if (!serial_.waitForBytesWritten(100)) {
            if (serial_.error() != QSerialPort::TimeoutError)
                break;
            serial_.clearError();
        }
    }
    const int written = static_cast<int>(accepted - serial_.bytesToWrite());
    if (written != n) {
        ConsolePrintf("KKhepera::WriteCom problem: w!=n\n");
        ConsolePrintf("w: %d. n: %d\n", written, n);
        serial_.clearError();
        return 0;
    }
    return written;
}

int KKhepera::WriteString(const char* text)
{
    return WriteCom(text, static_cast<int>(std::strlen(text)));
}

bool KKhepera::ReadByte(char* byte)
{
    const auto start = Clock::now();
    for (;;) {
        if (serial_.isOpen() && serial_.read(byte, 1) == 1)
            return true;
        const auto elapsed = Clock::now() - start;
        if (elapsed >= ByteTimeout)
            return false;
        const auto slice = std::min(WaitSlice, std::chrono::ceil<milliseconds>(ByteTimeout - elapsed));
        const auto waitStart = Clock::now();
        if (serial_.isOpen() && serial_.waitForReadyRead(static_cast<int>(slice.count())))
            continue;
        if (serial_.isOpen())
            serial_.clearError(); // a timeout error would otherwise stay set
        if (Clock::now() - waitStart < slice / 2)
            std::this_thread::sleep_for(std::min(DeadPortPause, slice));
    }
}

int KKhepera::ReadLn(char* buffer, int capacity)
{
    const int keep = capacity - 1; // room for the terminator
    int i = 0;                     // bytes of the line so far, kept or not
    const auto start = Clock::now();
    for (;;) {
        char byte;
        if (!ReadByte(&byte)) {
            ConsolePrintf("ReadLn: ReadByte failed\n");
            return -1;
        }
        if (i < keep)
            buffer[i] = byte;
        ++i;
        if (byte == '\n')
            break;
        // A device that keeps talking without ending its line is as good as
        // a silent one.
        if (Clock::now() - start >= LineTimeout) {
            ConsolePrintf("ReadLn: no line end within %d ms\n", KKhepera::LineTimeoutMs);
            return -1;
        }
    }
    if (i < 2) { // a lone LF: keep it and terminate after it
        buffer[1] = '\0';
        return 0;
    }
    // The last two bytes are the robot's CR LF; they are dropped unchecked.
    const int length = std::min(i - 2, keep);
    buffer[length] = '\0';
    return length;
}

void KKhepera::EmptyBuffer()
{
    ConsolePrintf("Empty buffer\n");
    const CommTimeouts saved = timeouts_;
    CommTimeouts working = timeouts_;
    ConsolePrintf("ReadIntervalTimeout: %d\n", working.ReadIntervalTimeout);
    ConsolePrintf("ReadTotalTimeoutMultiplier: %d\n", working.ReadTotalTimeoutMultiplier);
    ConsolePrintf("ReadTotalTimeoutConstant: %d\n", working.ReadTotalTimeoutConstant);
    ConsolePrintf("WriteTotalTimeoutMultiplier: %d\n", working.WriteTotalTimeoutMultiplier);
    ConsolePrintf("WriteTotalTimeoutConstant: %d\n", working.WriteTotalTimeoutConstant);
    working.ReadIntervalTimeout = -1; // reads return at once
    timeouts_ = working;

    int total = 0;
    if (serial_.isOpen()) {
        char scratch[255];
        // A device that never stops sending is drained for a while only;
        // the recovery purges what is left right after.
        const auto start = Clock::now();
        while (Clock::now() - start < DrainTimeout) {
            const qint64 n = serial_.read(scratch, sizeof scratch);
            if (n > 0) {
                total += static_cast<int>(n);
                continue;
            }
            // Qt's buffer is empty: pull in what the kernel holds, without waiting.
            if (!serial_.waitForReadyRead(0)) {
                serial_.clearError();
                break;
            }
        }
    }
    ConsolePrintf("Read %d bytes\n", total);
    timeouts_ = saved;
}
