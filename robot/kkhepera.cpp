// Opening, configuring and closing the link; port choice.
#include "kkhepera.h"

#include "console.h"

KKhepera::KKhepera(int port, ErrorReporter reporter)
    : port_(port), reporter_(std::move(reporter))
{
    Open();
}

KKhepera::KKhepera(const QString& devicePath, ErrorReporter reporter)
    : port_(1), devicePath_(devicePath), reporter_(std::move(reporter))
{
    Open();
}

KKhepera::~KKhepera() { Close(); }

void KKhepera::SetErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

void KKhepera::SetBusyIndicator(BusyIndicator indicator) { busyIndicator_ = std::move(indicator); }

void KKhepera::SetBusy(bool busy) const
{
    if (busyIndicator_)
        busyIndicator_(busy);
}

QString KKhepera::DevicePath() const
{
    return devicePath_.isEmpty() ? SerialPortName(port_) : devicePath_;
}

// The line settings are applied to the open port at once; everything else
// (flow control aside, which Qt turns off) keeps what the port had.
bool KKhepera::ApplyLineSettings()
{
    bool ok = serial_.setBaudRate(QSerialPort::Baud38400);
    ok = serial_.setDataBits(QSerialPort::Data8) && ok;
    ok = serial_.setParity(QSerialPort::NoParity) && ok;
    ok = serial_.setStopBits(QSerialPort::TwoStop) && ok;
    return ok;
}

// The three reports follow the three steps of opening a port: the open
// itself, reading the port's state and writing the new state back. When the
// open fails the two later steps would run on no port at all and fail too, so
// all three are reported, in that order. Qt reads the port's state as part of
// the open, so on an opened port only the write-back can fail on its own.
QStringList KKhepera::OpenDevice()
{
    QStringList failures;
    if (serial_.isOpen())
        serial_.close();
    serial_.setPortName(DevicePath());
    serial_.clearError();
    if (!serial_.open(QIODevice::ReadWrite)) {
        lastOpenError_ = serial_.errorString();
        serial_.clearError();
        failures << "error in createfile" << "error in getcommstate" << "error in setcommstate";
    } else {
        lastOpenError_.clear();
        if (!ApplyLineSettings())
            failures << "error in setcommstate";
    }
    Purge();
    SetTimeouts();
    return failures;
}

// The reports come after the wait is over, so that no box is shown under
// the busy indicator.
void KKhepera::Open()
{
    SetBusy(true);
    const QStringList failures = OpenDevice();
    SetBusy(false);
    if (serial_.isOpen())
        lost_ = false;
    if (reporter_)
        for (const QString& failure : failures)
            reporter_(failure);
}

void KKhepera::Close()
{
    Purge();
    if (serial_.isOpen())
        serial_.close();
}

void KKhepera::SetPort(int port)
{
    port_ = port;
    devicePath_.clear();
    Close();
    Open();
}

void KKhepera::SetDevicePath(const QString& devicePath)
{
    devicePath_ = devicePath;
    Close();
    Open();
}

void KKhepera::SetTimeouts()
{
    // Read interval "infinite" with no totals: a read returns at once with
    // what has arrived. Stored as the signed values the log prints.
    timeouts_ = CommTimeouts{-1, 0, 0, 0, 0};
}

void KKhepera::Purge()
{
    if (serial_.isOpen())
        serial_.clear(QSerialPort::AllDirections);
}

QString SerialPortName(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}
