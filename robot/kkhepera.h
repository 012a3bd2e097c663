#pragma once
// KKhepera: the serial link to the Khepera robot (38400 baud, 8 data bits,
// no parity, 2 stop bits) and its request/reply exchange `DoCommand`.
//
// The link speaks in lines: the program writes a command line ending in CR,
// the robot answers one line ending in CR LF. Reads never block in the port
// itself; all waiting is done by ReadByte, which gives up after one second
// without a byte, and by ReadLn and EmptyBuffer, which also give up after a
// few seconds overall. Everything runs on the caller's thread and blocks it.
//
// The library shows no windows. Failures of an open that the owner asks for
// (construction, SetPort, SetDevicePath, Open) are handed to an error
// reporter that the owner installs (the main window turns each into a message
// box with an empty caption); the reopening inside DoCommand's recovery
// reports nothing, it only logs: a robot that has gone shows as Lost() instead.
// Every other diagnostic goes to the debug log through ConsolePrintf.
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <functional>

class KKhepera {
public:
    // Every line buffer handed to ReadLn and DoCommand holds this many bytes;
    // a command line with its CR and terminator must fit in it.
    static constexpr int LineBufferSize = 256;

    // Receives "error in createfile", "error in getcommstate" or
    // "error in setcommstate" when opening or configuring the port fails.
    using ErrorReporter = std::function<void(const QString& message)>;
    // Told true when the caller starts to wait for the link (an open, the
    // retries of a failed command) and false when that wait is over. Never
    // called while a report is shown.
    using BusyIndicator = std::function<void(bool busy)>;

    // Opens the numbered port at once (1 -> COM1 / /dev/ttyS0, 2 -> COM2 /
    // /dev/ttyS1). A failed open leaves the object usable: writes fail and
    // reads time out.
    explicit KKhepera(int port, ErrorReporter reporter = {});
    // Opens the device at `devicePath` at once (a USB adapter, a pseudo-terminal).
    explicit KKhepera(const QString& devicePath, ErrorReporter reporter = {});
    ~KKhepera();

    KKhepera(const KKhepera&) = delete;
    KKhepera& operator=(const KKhepera&) = delete;

    // Installs the reporter for later opens (nullptr-like empty function: none).
    void SetErrorReporter(ErrorReporter reporter);
    // Installs the indicator for later waits (empty function: none).
    void SetBusyIndicator(BusyIndicator indicator);

    // Opens and configures the current device; see ErrorReporter for failures.
    void Open();
    // Purges, then closes the port.
    void Close();
    // Switches to the numbered port (forgetting any device path), then closes
    // and reopens, even when the port does not change.
    void SetPort(int port);
    int GetPort() const { return port_; }
    // Switches to an arbitrary device path, then closes and reopens.
    void SetDevicePath(const QString& devicePath);
    // The device that Open uses: the path set by SetDevicePath, otherwise the
    // name of the numbered port.
    QString DevicePath() const;
    // True while a path set by SetDevicePath is in use instead of a numbered port.
    bool UsesDevicePath() const { return !devicePath_.isEmpty(); }
    bool IsOpen() const { return serial_.isOpen(); }
    // The system's text for the last failed open, empty after a good one.
    QString LastOpenError() const { return lastOpenError_; }

    // Makes reads return at once with whatever has arrived and writes wait
    // without limit. Qt's reads already behave so (read() never waits); this
    // records the values that EmptyBuffer reports.
    void SetTimeouts();
    // Drops pending input and output, in the kernel and in Qt's buffers.
    void Purge();

    // Writes n bytes and waits until they are handed to the device. Returns n,
    // or 0 on failure or a short write (both logged).
    int WriteCom(const char* bytes, int n);
    // WriteCom with the string's length; the terminator is not sent.
    int WriteString(const char* text);

    // Reads one byte, waiting at most one second for it. The wait sleeps in
    // the port's poll rather than spinning.
    bool ReadByte(char* byte);
    // Reads one line up to LF into `buffer` (`capacity` bytes) and drops its
    // last two bytes (the robot's CR LF); returns the line's length, or -1
    // when a byte did not arrive within one second or the LF not within
    // LineTimeoutMs (then the bytes read so far stay in the buffer,
    // unterminated). A lone LF gives 0 with the buffer holding LF and a
    // terminator. A line longer than capacity - 1 bytes is still read up to
    // its LF but only its first capacity - 1 bytes are kept; nothing is ever
    // written past the buffer.
    int ReadLn(char* buffer, int capacity = LineBufferSize);
    // Reads and discards whatever input is pending, logging what it finds;
    // input that keeps arriving is read for at most DrainTimeoutMs.
    void EmptyBuffer();

    // Sends `command` (zero-terminated, ending in CR) and reads the reply line
    // into `reply` (LineBufferSize bytes; may be the command's own buffer).
    // True when, within `tries` tries (three unless told), a reply began with
    // the command's first byte in lower case. Each failed try drains, purges,
    // closes and reopens the port. `reply` is always terminated when this
    // returns.
    bool DoCommand(const char* command, char* reply, int tries = CommandTries);

    // True when the last DoCommand got no reply line at all in any of its
    // tries: the robot is silent, or its device has gone and cannot be
    // reopened. A reply (even a wrong one) and a good Open clear it.
    bool Lost() const { return lost_; }

    static constexpr int CommandTries = 3;
    // Overall limits of ReadLn and EmptyBuffer, for a device that keeps
    // sending without ending its line.
    static constexpr int LineTimeoutMs = 2000;
    static constexpr int DrainTimeoutMs = 2000;

private:
    struct CommTimeouts {
        int ReadIntervalTimeout = 0;
        int ReadTotalTimeoutMultiplier = 0;
        int ReadTotalTimeoutConstant = 0;
        int WriteTotalTimeoutMultiplier = 0;
        int WriteTotalTimeoutConstant = 0;
    };

    // Opens the current device; returns the reports of what failed, in order.
    QStringList OpenDevice();
    bool ApplyLineSettings();
    void Recover();
    void SetBusy(bool busy) const;

    QSerialPort serial_;
    int port_;
    QString devicePath_;
    ErrorReporter reporter_;
    BusyIndicator busyIndicator_;
    CommTimeouts timeouts_;
    QString lastOpenError_;
    bool lost_ = false;
};

// The device name of numbered port n: "COMn" on Windows, /dev/ttyS(n-1) elsewhere.
QString SerialPortName(int port);
