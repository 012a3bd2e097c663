// Opening, reopening and draining the link; the error reports of a failed open.
#include "kkhepera.h"
#include "ptyrobot.h"

#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
struct ReportRecorder {
    QStringList messages;
    KKhepera::ErrorReporter Reporter()
    {
        return [this](const QString& message) { messages << message; };
    }
};

const QStringList ThreeOpenErrors{"error in createfile", "error in getcommstate",
                                  "error in setcommstate"};

TEST(KKheperaPortName, NumberedPortsNameTheSerialDevices)
{
#ifdef Q_OS_WIN
    EXPECT_EQ(SerialPortName(1), "COM1");
    EXPECT_EQ(SerialPortName(2), "COM2");
#else
    EXPECT_EQ(SerialPortName(1), "/dev/ttyS0");
    EXPECT_EQ(SerialPortName(2), "/dev/ttyS1");
#endif
}

TEST(KKheperaOpen, MissingDevicePathReportsThreeErrorsInOrder)
{
    ReportRecorder reports;
    KKhepera link(QStringLiteral("/nonexistent/orvik-serial"), reports.Reporter());
    EXPECT_EQ(reports.messages, ThreeOpenErrors);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(link.LastOpenError().isEmpty());
}

// The boxes of a failed open come after the wait, never under a wait cursor.
TEST(KKheperaOpen, FailedOpenReportsOnceTheWaitIsOver)
{
    QStringList events;
    KKhepera link(QStringLiteral("/nonexistent/orvik-serial"));
    link.SetErrorReporter([&events](const QString& message) { events << message; });
    link.SetBusyIndicator([&events](bool busy) { events << (busy ? "busy" : "idle"); });
    link.Open();
    EXPECT_EQ(events, QStringList({"busy", "idle"}) + ThreeOpenErrors);
}

TEST(KKheperaOpen, AbsentNumberedPortReportsThreeErrorsAndKeepsItsNumber)
{
    const int absentPort = 100;
    if (QFileInfo::exists(SerialPortName(absentPort)))
        GTEST_SKIP() << "this machine has " << SerialPortName(absentPort).toStdString();
    ReportRecorder reports;
    KKhepera link(absentPort, reports.Reporter());
    EXPECT_EQ(reports.messages, ThreeOpenErrors);
    EXPECT_EQ(link.GetPort(), absentPort);
    EXPECT_EQ(link.DevicePath(), SerialPortName(absentPort));

    // A failed open leaves the object usable: a write fails and says so.
    LogRecorder log;
    EXPECT_EQ(link.WriteString("N\r"), 0);
    EXPECT_EQ(log.Count("KKhepera::WriteCom returned 0\n"), 1);
}

TEST(KKheperaOpen, PseudoTerminalOpensWithoutReports)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    ReportRecorder reports;
    KKhepera link(robot.SlavePath(), reports.Reporter());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(reports.messages.isEmpty());
    EXPECT_TRUE(link.UsesDevicePath());
    EXPECT_EQ(link.DevicePath(), robot.SlavePath());

    // Bytes go out unchanged: no line-ending translation on the way.
    EXPECT_EQ(link.WriteString("D,1,2\r"), 6);
    EXPECT_EQ(robot.Drain(), "D,1,2\r");
}

TEST(KKheperaOpen, FailedOpenCanBeMendedByChoosingAnotherDevice)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    ReportRecorder reports;
    KKhepera link(QStringLiteral("/nonexistent/orvik-serial"), reports.Reporter());
    reports.messages.clear();
    link.SetDevicePath(robot.SlavePath());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(reports.messages.isEmpty());
    EXPECT_TRUE(link.LastOpenError().isEmpty());
}

TEST(KKheperaOpen, SetPortForgetsTheDevicePath)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    link.SetPort(2);
    EXPECT_FALSE(link.UsesDevicePath());
    EXPECT_EQ(link.GetPort(), 2);
    EXPECT_EQ(link.DevicePath(), SerialPortName(2));
}

TEST(KKheperaOpen, ChoosingTheSameDeviceClosesAndReopensIt)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    OpenCounter opens(robot.SlavePath());
    link.SetDevicePath(robot.SlavePath());
    EXPECT_EQ(opens.Opens(), 1);
    EXPECT_TRUE(link.IsOpen());
}

TEST(KKheperaOpen, SecondLinkOnABusyDeviceReportsThreeErrors)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera first(robot.SlavePath());
    ReportRecorder reports;
    KKhepera second(robot.SlavePath(), reports.Reporter());
    EXPECT_EQ(reports.messages, ThreeOpenErrors);
    EXPECT_TRUE(first.IsOpen());
}

TEST(KKheperaEmptyBuffer, LogsTimeoutsAndCountsDiscardedBytes)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    {
        LogRecorder log;
        link.EmptyBuffer();
        EXPECT_EQ(log.text, "Empty buffer\n"
                            "ReadIntervalTimeout: -1\n"
                            "ReadTotalTimeoutMultiplier: 0\n"
                            "ReadTotalTimeoutConstant: 0\n"
                            "WriteTotalTimeoutMultiplier: 0\n"
                            "WriteTotalTimeoutConstant: 0\n"
                            "Read 0 bytes\n");
    }
    robot.Send("n,1,2\r\nxy");
    // Let the bytes cross the pseudo-terminal before draining.
    char first = 0;
    ASSERT_TRUE(link.ReadByte(&first));
    LogRecorder log;
    link.EmptyBuffer();
    EXPECT_EQ(log.Count("Read 8 bytes\n"), 1) << log.text;
}

TEST(KKheperaPurge, DropsPendingInput)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    robot.Send("stale\r\n");
    char byte = 0;
    ASSERT_TRUE(link.ReadByte(&byte)); // the line has arrived
    link.Purge();
    robot.Send("e,1,2\r\n");
    char line[KKhepera::LineBufferSize];
    EXPECT_EQ(link.ReadLn(line), 5);
    EXPECT_STREQ(line, "e,1,2");
}
} // namespace
