#include "populationinput.h"

#include <algorithm>

namespace {
constexpr std::size_t defaultChunkBytes = std::size_t{1} << 20;
std::size_t chunkBytes = defaultChunkBytes;
} // namespace

void PopulationInput::SetChunkBytesForTests(std::size_t bytes)
{
    chunkBytes = bytes == 0 ? defaultChunkBytes : bytes;
}

PopulationInput::PopulationInput(std::string_view text) : text_(text), end_(text.size()) {}

PopulationInput::PopulationInput(std::FILE* file, uint64_t start, uint64_t end)
    : file_(file), start_(start), end_(std::max(start, end))
{
}

std::string_view PopulationInput::Look(std::size_t count)
{
    if (text_.size() - pos_ < count && file_)
        Fill(count);
    return text_.substr(pos_, count);
}

void PopulationInput::Skip(std::size_t count) { pos_ += count; }

void PopulationInput::Fill(std::size_t count)
{
    // Drop what has been read, then read at least a chunk, never past end_.
    buffer_.erase(0, pos_);
    start_ += pos_;
    pos_ = 0;
    const uint64_t unread = end_ - start_ - buffer_.size();
    const std::size_t wanted = std::max(count - buffer_.size(), chunkBytes);
    const auto toRead = static_cast<std::size_t>(std::min<uint64_t>(wanted, unread));
    const std::size_t old = buffer_.size();
    buffer_.resize(old + toRead);
    std::size_t got = 0;
    while (got < toRead && !failed_) {
        const std::size_t n = std::fread(buffer_.data() + old + got, 1, toRead - got, file_);
        got += n;
        // A file cut short since its size was taken fails too.
        if (n == 0)
            failed_ = true;
    }
    buffer_.resize(old + got);
    if (failed_)
        end_ = start_ + buffer_.size(); // the text ends where reading stopped
    text_ = buffer_;
}
