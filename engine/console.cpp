#include "console.h"

#include <cstdarg>
#include <cstdio>

namespace console_detail {
ConsoleSink* activeSink = nullptr;

int Format(const char* format, ...)
{
    ConsoleSink* sink = activeSink;
    if (!sink)
        return 0;
    char buffer[2048];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return 0;
    if (n > static_cast<int>(sizeof buffer) - 1)
        n = sizeof buffer - 1;
    sink->Write(buffer, static_cast<std::size_t>(n));
    return n;
}
} // namespace console_detail

void SetConsoleSink(ConsoleSink* sink) { console_detail::activeSink = sink; }
ConsoleSink* CurrentConsoleSink() { return console_detail::activeSink; }
