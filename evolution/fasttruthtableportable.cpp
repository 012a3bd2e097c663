// The truth-table kernel for any processor: 64-bit words.
#include "fasttruthtableplan.h"

#include <cstdint>
#include <cstring>

#include "fasttruthtablekernel.h"

namespace {
struct PortableIsa {
    static void Pack(const unsigned char* cells, uint32_t count, unsigned char* packed)
    {
        PackCellsSwar(cells, count, packed);
    }

    template <int Words>
    static int ScoreOutput(const FastTruthTableView& v, int output, int live)
    {
        return ScoreOutputWords<Words>(v, output, live);
    }
};
} // namespace

int EvaluateFastTruthTablePortable(const FastTruthTableView& view, const unsigned char* cells)
{
    return EvaluateAll<PortableIsa>(view, cells);
}
