#include "uniquerevision.h"

#include <atomic>

uint64_t UniqueRevision::Next()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}
