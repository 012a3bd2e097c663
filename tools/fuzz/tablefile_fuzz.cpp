// Feeds arbitrary text to the ".tbl" reader as the batch tool reads a table
// (the header first, then the whole file against the size it gives) and
// checks what it promises: it ends; a refusal carries a short message and no
// values; an accepted table has exactly the values its header asks for; and
// writing them out reads back to the very same values. Any broken promise traps.
#include "tablefile.h"

#include <cstdint>

namespace {
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A problem quotes what it found briefly, so its length is bounded.
constexpr qsizetype MaxProblemLength = 200;

void Check(const QByteArray& text, int32_t keyBits, int32_t columns)
{
    const TableFileContent content = ParseTableFile(text, keyBits, columns);
    Require(content.problem.size() <= MaxProblemLength);
    switch (content.status) {
    case TableFileContent::Status::Malformed:
        Require(!content.problem.isEmpty() && content.values.empty());
        return;
    case TableFileContent::Status::HeaderMismatch:
        Require(content.values.empty());
        Require(content.keyBits != keyBits || content.valueColumns != columns);
        return;
    case TableFileContent::Status::Ok:
        break;
    }
    Require(content.keyBits == keyBits && content.valueColumns == columns);
    Require(content.values.size() == (std::size_t{1} << keyBits) * static_cast<std::size_t>(columns));
    const TableFileContent again = ParseTableFile(FormatTableFile(keyBits, columns, content.values), keyBits, columns);
    Require(again.status == TableFileContent::Status::Ok && again.values == content.values);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Against an impossible size only the header is read (a header "0 0"
    // matches it and asks for no values).
    const TableFileContent header = ParseTableFile(text, 0, 0);
    Require(header.values.empty());
    Require(header.status != TableFileContent::Status::Ok || (header.keyBits == 0 && header.valueColumns == 0));
    if (header.status == TableFileContent::Status::HeaderMismatch && header.keyBits >= 1 && header.keyBits <= 10
        && header.valueColumns >= 1 && header.valueColumns <= 10)
        Check(text, header.keyBits, header.valueColumns);
    Check(text, 4, 3); // the window's start-up table
    return 0;
}
