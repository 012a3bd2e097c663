#include "bitstring.h"

#include <cstring>

namespace {
unsigned char* AllocateCells(uint32_t length)
{
    if (length == 0)
        throw EBitString("BitString: can't create a null sized BitString");
    return new unsigned char[length]();
}
} // namespace

BitString::BitString(uint32_t length) : length_(length), cells_(AllocateCells(length)) {}

BitString::BitString(const BitString& other)
    : length_(other.length_), cells_(new unsigned char[other.length_])
{
    std::memcpy(cells_, other.cells_, length_);
}

BitString& BitString::operator=(const BitString& other)
{
    if (this == &other)
        return *this;
    if (length_ == other.length_) {
        // Same length: the cells are reused, nothing is allocated.
        std::memcpy(cells_, other.cells_, length_);
        return *this;
    }
    auto* cells = new unsigned char[other.length_];
    std::memcpy(cells, other.cells_, other.length_);
    delete[] cells_;
    cells_ = cells;
    length_ = other.length_;
    return *this;
}

BitString::~BitString() { delete[] cells_; }

bool BitString::operator==(const BitString& other) const
{
    if (length_ != other.length_)
        return false;
    for (uint32_t i = 0; i < length_; ++i)
        if ((cells_[i] != 0) != (other.cells_[i] != 0))
            return false;
    return true;
}

unsigned char& BitString::operator[](uint32_t i)
{
    if (i >= length_)
        throw EBitString("BitString: index out of bounds");
    unsigned char& cell = cells_[i];
    cell = cell != 0;
    return cell;
}

unsigned char BitString::operator[](uint32_t i) const
{
    if (i >= length_)
        throw EBitString("BitString: index out of bounds");
    return cells_[i] != 0;
}
