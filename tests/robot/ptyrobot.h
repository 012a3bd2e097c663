#pragma once
// Test doubles for the robot link: a pseudo-terminal whose slave side the
// program opens as its serial device while the test plays the robot on the
// master side, either by writing bytes itself or through a scripted responder
// thread; a watch that counts how often the device is opened; a log recorder.
#include "console.h"

#include <QString>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

// Collects everything logged through ConsolePrintf while it lives.
class LogRecorder : public ConsoleSink {
public:
    LogRecorder() { SetConsoleSink(this); }
    ~LogRecorder() override { SetConsoleSink(nullptr); }
    void Write(const char* data, std::size_t length) override { text.append(data, length); }

    // Number of times `line` occurs in the log.
    int Count(const std::string& line) const
    {
        int n = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++n;
        return n;
    }
    // True when the pieces occur in this order (others may lie between).
    bool InOrder(const std::vector<std::string>& pieces) const
    {
        std::size_t at = 0;
        for (const std::string& piece : pieces) {
            at = text.find(piece, at);
            if (at == std::string::npos)
                return false;
            at += piece.size();
        }
        return true;
    }

    std::string text;
};

// A robot on a pseudo-terminal. The slave is kept open by the test too, so
// the master never sees a hang-up while the program closes and reopens its
// side; Vanish() takes the whole device away.
class PtyRobot {
public:
    // Answers one command line (without its CR) with the bytes to send back;
    // an empty string sends nothing.
    using Responder = std::function<std::string(const std::string& line)>;

    PtyRobot()
    {
        termios raw{};
        cfmakeraw(&raw);
        cfsetispeed(&raw, B38400);
        cfsetospeed(&raw, B38400);
        char name[128] = {};
        if (openpty(&master_, &slave_, name, &raw, nullptr) == 0)
            path_ = QString::fromLocal8Bit(name);
    }
    ~PtyRobot()
    {
        StopAnswering();
        Vanish();
    }
    PtyRobot(const PtyRobot&) = delete;
    PtyRobot& operator=(const PtyRobot&) = delete;

    bool Ok() const { return !path_.isEmpty(); }
    QString SlavePath() const { return path_; }

    // Writes bytes as the robot would, at once.
    void Send(const std::string& bytes) const
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }

    // Writes as much of `bytes` as the terminal takes within `wait`; returns
    // how much that was. Never blocks longer, even when nobody reads.
    std::size_t SendSome(const std::string& bytes, std::chrono::milliseconds wait) const
    {
        pollfd p{master_, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0 || !(p.revents & POLLOUT))
            return 0;
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    // Everything the program has sent so far that the responder has not
    // consumed (only without a responder running).
    std::string Drain() const
    {
        std::string got;
        char chunk[256];
        for (;;) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN))
                return got;
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                return got;
            got.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Starts a thread that answers each CR-terminated command line.
    void Answer(Responder responder)
    {
        StopAnswering();
        responder_ = std::move(responder);
        stop_ = false;
        thread_ = std::thread([this] { Run(); });
    }
    void StopAnswering()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    // Command lines received by the responder, in order, without their CR.
    std::vector<std::string> Commands() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return commands_;
    }

    // The robot disappears: both sides of the pseudo-terminal are closed and
    // its device node goes away. Safe while a responder runs.
    void Vanish()
    {
        StopAnswering();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
        master_ = slave_ = -1;
    }

private:
    void Run()
    {
        std::string pending;
        char chunk[256];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
                continue;
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                continue;
            pending.append(chunk, static_cast<std::size_t>(n));
            for (std::size_t cr = pending.find('\r'); cr != std::string::npos; cr = pending.find('\r')) {
                const std::string line = pending.substr(0, cr);
                pending.erase(0, cr + 1);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    commands_.push_back(line);
                }
                Send(responder_(line));
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    Responder responder_;
    std::thread thread_;
    std::atomic<bool> stop_{true};
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
};

// A device that talks without end: from its own thread it writes bytes that
// are never a line feed as fast as they are taken, for at most `duration` (a
// bound that only keeps a test from hanging when a read fails to give up).
class Babbler {
public:
    Babbler(const PtyRobot& robot, std::chrono::milliseconds duration)
        : thread_([this, &robot, duration] {
              const std::string chunk(64, 'a');
              const auto end = std::chrono::steady_clock::now() + duration;
              while (!stop_ && std::chrono::steady_clock::now() < end)
                  robot.SendSome(chunk, std::chrono::milliseconds(10));
          })
    {
    }
    ~Babbler()
    {
        stop_ = true;
        thread_.join();
    }
    Babbler(const Babbler&) = delete;
    Babbler& operator=(const Babbler&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Counts the opens of one device node from now on (inotify reports each open
// and close; alternating events are never merged).
class OpenCounter {
public:
    explicit OpenCounter(const QString& path)
    {
        fd_ = inotify_init1(IN_NONBLOCK);
        if (fd_ >= 0)
            inotify_add_watch(fd_, path.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE);
    }
    ~OpenCounter()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    int Opens()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = fd_ >= 0 ? ::read(fd_, buffer, sizeof buffer) : -1;
            if (n <= 0)
                return opens_;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->mask & IN_OPEN)
                    ++opens_;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_ = -1;
    int opens_ = 0;
};

// A scripted robot that answers the three commands like the real one.
inline std::string AnswerLikeKhepera(const std::string& line)
{
    if (line.empty())
        return "z\r\n";
    switch (line[0]) {
    case 'D': return "d\r\n";
    case 'N': return "n,0,0,0,0,0,0,0,0\r\n";
    case 'E': return "e,0,0\r\n";
    default: return "z\r\n";
    }
}

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
