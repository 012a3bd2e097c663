#pragma once
// The text of a population file as the parser reads it: either a text held
// in memory, or a file read chunk by chunk from a given offset, so that a
// file of any size is read with a bounded amount of memory (about one chunk,
// or the longest run of text asked for at once).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class PopulationInput {
public:
    // Reads `text`, which must outlive the input.
    explicit PopulationInput(std::string_view text);
    // Reads `file` (not owned, opened in binary mode) from its current
    // position, taken to be byte `start` of the file, up to byte `end`: bytes
    // appended after `end` meanwhile are not read.
    PopulationInput(std::FILE* file, uint64_t start, uint64_t end);

    // The next `count` characters, or all that are left when fewer are.
    // Valid until the next call.
    std::string_view Look(std::size_t count);
    // Moves the read position `count` characters on; count <= Look(count).size().
    void Skip(std::size_t count);

    // Offset of the read position from the start of the text or file.
    uint64_t Position() const { return start_ + pos_; }
    // Characters from the read position to the end.
    uint64_t Remaining() const { return end_ - Position(); }
    // True once reading the file failed; Look then returns what was read.
    bool ReadFailed() const { return failed_; }

    // How much a file input reads at once. Tests make it tiny so that every
    // chunk boundary falls inside some block; 0 restores the default.
    static void SetChunkBytesForTests(std::size_t bytes);

private:
    void Fill(std::size_t count);

    std::FILE* file_ = nullptr;
    std::string buffer_;   // a file's bytes from offset start_ on
    std::string_view text_; // buffer_, or the text held in memory
    std::size_t pos_ = 0;   // read position within text_
    uint64_t start_ = 0;    // offset of text_[0]
    uint64_t end_ = 0;
    bool failed_ = false;
};
