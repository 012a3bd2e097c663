#pragma once
// The debug log. Every part of the program writes through ConsolePrintf;
// while no sink is attached (the console is closed) a call costs one
// comparison and formats nothing. The debug window and the tests attach
// themselves as the sink.
#include <cstddef>

class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    // Receives one formatted message (not terminated, no newline added).
    virtual void Write(const char* text, std::size_t length) = 0;
};

namespace console_detail {
extern ConsoleSink* activeSink;
int Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
} // namespace console_detail

// Attaches the sink that receives the log, or detaches it with nullptr
// (console off). The caller keeps ownership.
void SetConsoleSink(ConsoleSink* sink);
ConsoleSink* CurrentConsoleSink();
inline bool ConsoleIsOpen() { return console_detail::activeSink != nullptr; }

// printf-style log line into a 2048-byte buffer (longer messages are cut to
// 2047 characters). Returns the number of characters written to the sink, or
// 0 while the console is off.
#define ConsolePrintf(...) \
    (console_detail::activeSink ? console_detail::Format(__VA_ARGS__) : 0)
