#pragma once
// JEDEC fuse files (JESD3-C) as device programmers read them: STX, a comment
// (free text), then fields each begun by '*': QF fuse count,
// F0 (fuses not listed are 0), G0 (no security fuse), L fuse lists, C fuse
// checksum, and after ETX the transmission checksum.
#include "galdesign.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Sum of the fuses taken eight at a time as bytes (fuse 0 the least
// significant bit of the first byte, the last byte padded with 0), modulo
// 2^16.
uint16_t JedecFuseChecksum(const std::vector<uint8_t>& fuses);
// Sum of the bytes from STX to ETX, both included, modulo 2^16.
uint16_t JedecTransmissionChecksum(std::string_view framed);

// A whole file for `fuses`: the comment lines (none may hold '*', STX or
// ETX), then the array in `rowLength` fuses per L field, then the fuses from
// `tailFuse` in the fields `tailLengths` gives (the mode fuses and the
// signature, each its own line).
std::string FormatJedec(const std::vector<std::string>& comment, const std::vector<uint8_t>& fuses,
                        int32_t rowLength, int32_t tailFuse, const std::vector<int32_t>& tailLengths);

// The JEDEC file of `design`; the comment names Orvik, the device, the
// signature and the pin-out. Raises std::invalid_argument like GalFuseMap.
std::string FormatGalJedec(const GalDesign& design);
