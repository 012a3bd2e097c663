#pragma once
// BitString: a fixed-length string of bits, one byte per bit, used as the
// PAL fuse map (the chromosome). Every subscript is bounds-checked and
// normalises the cell to 0 or 1 first.
#include "engineerror.h"

#include <cstdint>

class EBitString : public EEngine {
public:
    using EEngine::EEngine;
};

class BitString {
public:
    explicit BitString(uint32_t length);
    BitString(const BitString& other);
    BitString& operator=(const BitString& other);
    virtual ~BitString();

    // True when both have the same length and agree bit by bit
    // (any non-zero cell counts as 1).
    virtual bool operator==(const BitString& other) const;

    uint32_t Size() const { return length_; }

    // Bounds-checked access; raises EBitString "BitString: index out of bounds".
    // The cell is normalised (non-zero -> 1) before the reference is handed out,
    // so a non-zero value stored through it reads back as 1.
    unsigned char& operator[](uint32_t i);
    // Read-only access with the same check; returns the normalised bit.
    unsigned char operator[](uint32_t i) const;

    // Raw cells for bulk readers that check sizes themselves. A cell may hold
    // any non-zero value that has not been normalised yet: treat non-zero as 1.
    const unsigned char* Data() const { return cells_; }
    // Raw cells for bulk writers that check sizes themselves; write 0 or 1.
    unsigned char* MutableData() { return cells_; }

private:
    uint32_t length_;
    unsigned char* cells_;
};
