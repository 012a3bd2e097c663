// The built simulator program, driven through its pseudo-terminal with
// QSerialPort exactly as the workbench opens the robot's port.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Generous limits against hangs only; a healthy exchange takes milliseconds.
constexpr int kStartLimitMs = 10000;
constexpr int kReplyLimitMs = 3000;

class Simulator {
public:
    explicit Simulator(const QStringList &arguments)
    {
        m_process.setProgram(QStringLiteral(KHEPERA_SIM_EXECUTABLE));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(kStartLimitMs))
            return;
        const QDeadlineTimer deadline(kStartLimitMs);
        while (!m_process.canReadLine() && !deadline.hasExpired()
               && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(100);
        m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    ~Simulator() { stop(); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(kStartLimitMs))
            m_process.kill();
        m_process.waitForFinished(kStartLimitMs);
    }

    const QString &devicePath() const { return m_devicePath; }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_devicePath;
};

std::unique_ptr<QSerialPort> openRobotPort(const QString &path)
{
    auto port = std::make_unique<QSerialPort>(path);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    port->setBaudRate(QSerialPort::Baud38400);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::TwoStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->clear();
    return port;
}

// Sends one command line and returns the reply line with its CR LF, or
// whatever arrived before the limit.
QByteArray exchange(QSerialPort &port, const QByteArray &command)
{
    port.write(command);
    port.waitForBytesWritten(kReplyLimitMs);
    QByteArray reply;
    const QDeadlineTimer deadline(kReplyLimitMs);
    while (!reply.endsWith("\r\n") && !deadline.hasExpired()) {
        if (port.bytesAvailable() == 0)
            port.waitForReadyRead(50);
        reply += port.read(1); // one byte at a time: never swallow the next line
    }
    return reply;
}

bool matches(const QByteArray &text, const char *pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(QString::fromLatin1(text)).hasMatch();
}

class KheperaSimProgram : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "khepera_sim_end_to_end_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }
};

TEST_F(KheperaSimProgram, PrintsTheDeviceAndAnswersInTheRobotsFormats)
{
    Simulator sim({"--open"});
    ASSERT_TRUE(sim.devicePath().startsWith("/dev/")) << sim.devicePath().toStdString();
    auto port = openRobotPort(sim.devicePath());
    ASSERT_TRUE(port) << "cannot open " << sim.devicePath().toStdString();

    EXPECT_TRUE(matches(exchange(*port, "N\r"), R"(n(,\d{1,4}){8}\r\n)"));
    EXPECT_EQ(exchange(*port, "D,10,10\r").left(1), "d");
    EXPECT_EQ(exchange(*port, "E\r"), "e,10,10\r\n");
    EXPECT_TRUE(matches(exchange(*port, "B\r"), R"(b,[^\r\n]+\r\n)"));
    EXPECT_EQ(exchange(*port, "e\r"), "e,10,10\r\n");
    EXPECT_EQ(exchange(*port, "X\r"), "z,Protocol error\r\n");
    EXPECT_EQ(exchange(*port, "D,5\r"), "z,Protocol error\r\n");
}

TEST_F(KheperaSimProgram, KeepsAnsweringAfterThePortIsClosedAndReopened)
{
    Simulator sim({});
    ASSERT_FALSE(sim.devicePath().isEmpty());
    for (int round = 0; round < 4; ++round) {
        auto port = openRobotPort(sim.devicePath());
        ASSERT_TRUE(port) << "round " << round;
        EXPECT_TRUE(matches(exchange(*port, "N\r"), R"(n(,\d{1,4}){8}\r\n)")) << "round " << round;
        EXPECT_EQ(exchange(*port, "D,0,0\r"), "d\r\n") << "round " << round;
        port->close();
    }
    EXPECT_EQ(sim.process().state(), QProcess::Running);
}

TEST_F(KheperaSimProgram, CommandSplitAcrossWritesIsAnsweredOnce)
{
    Simulator sim({});
    auto port = openRobotPort(sim.devicePath());
    ASSERT_TRUE(port);
    port->write("D,3");
    port->waitForBytesWritten(kReplyLimitMs);
    EXPECT_EQ(exchange(*port, ",4\r"), "d\r\n");
    EXPECT_EQ(exchange(*port, "E\r"), "e,3,4\r\n");
}

TEST_F(KheperaSimProgram, LinkPointsAtTheDeviceAndIsRemovedAtExit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("khepera");
    Simulator sim({"--link", link});
    ASSERT_FALSE(sim.devicePath().isEmpty());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.devicePath());

    auto port = openRobotPort(link);
    ASSERT_TRUE(port);
    EXPECT_EQ(exchange(*port, "D,1,1\r"), "d\r\n");
    port.reset();

    sim.stop();
    EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process().exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

// QSerialPort marks the device for exclusive use; a client that dies
// without closing would leave the mark and lock every later (non-root)
// client out. The simulator must clear it by itself.
TEST_F(KheperaSimProgram, ClearsAnExclusiveUseMarkLeftBehind)
{
#ifdef TIOCGEXCL
    Simulator sim({});
    ASSERT_FALSE(sim.devicePath().isEmpty());
    const int fd = ::open(sim.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ioctl(fd, TIOCEXCL), 0);
    int exclusive = 1;
    const QDeadlineTimer deadline(kReplyLimitMs);
    while (exclusive != 0 && !deadline.hasExpired()) {
        ::usleep(10000);
        ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    }
    ::close(fd);
    EXPECT_EQ(exclusive, 0);
#else
    GTEST_SKIP() << "this system cannot query the exclusive-use mark";
#endif
}

TEST_F(KheperaSimProgram, RefusesBadOptionsWithoutPrintingADevice)
{
    Simulator sim({"--start", "9000,0,0"});
    EXPECT_TRUE(sim.devicePath().isEmpty());
    sim.process().waitForFinished(kStartLimitMs);
    EXPECT_NE(sim.process().exitCode(), 0);
}

// An arena file's inner wall stands where the file says, and a bad file is
// refused with its line.
TEST_F(KheperaSimProgram, RunsInTheArenaOfAFile)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("wall.txt");
    const QString bad = dir.filePath("bad.txt");
    for (const auto &[path, text] : {std::pair{good, "floor 1000 1000\nwall 60 -100 60 100\nstart 0 0 0\n"},
                                     std::pair{bad, "floor 1000 1000\nbox 1 2 3\n"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    {
        Simulator sim({"--arena", good});
        ASSERT_FALSE(sim.devicePath().isEmpty());
        auto port = openRobotPort(sim.devicePath());
        ASSERT_TRUE(port);
        // The wall is 35 mm ahead of the front sensors (x = 25): about 240.
        EXPECT_TRUE(matches(exchange(*port, "N\r"), "n,\\d+,\\d+,2\\d\\d,2\\d\\d,\\d+,\\d+,0,0\r\n"));
    }
    Simulator sim({"--arena", bad});
    EXPECT_TRUE(sim.devicePath().isEmpty());
    sim.process().waitForFinished(kStartLimitMs);
    EXPECT_EQ(sim.process().exitCode(), 2);
    EXPECT_TRUE(sim.process().readAllStandardError().contains(", line 2: box needs 4 numbers"));
}

} // namespace
