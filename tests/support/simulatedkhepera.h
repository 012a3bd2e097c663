#pragma once
// The simulated Khepera (orvik-khepera-sim) as a child process for the
// end-to-end tests. The test's CMake passes the simulator's path as
// KHEPERA_SIM_PATH; without it the tests that need it skip.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>

#ifdef KHEPERA_SIM_PATH
// One simulator process; its first line on stdout is the device to open.
class SimulatedKhepera {
public:
    explicit SimulatedKhepera(const QStringList& arguments)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(KHEPERA_SIM_PATH), arguments);
        if (!process_.waitForStarted(10000))
            return;
        const auto start = std::chrono::steady_clock::now();
        while (!process_.canReadLine() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            process_.waitForReadyRead(100);
        if (process_.canReadLine())
            path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimulatedKhepera()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }
    SimulatedKhepera(const SimulatedKhepera&) = delete;
    SimulatedKhepera& operator=(const SimulatedKhepera&) = delete;

    QString DevicePath() const { return path_; }
    // The robot is pulled away at once: the process dies without tidying up.
    void Kill()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
    QString path_;
};
#endif
