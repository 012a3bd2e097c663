// orvik-min-terms FILE.tbl...: for every table file, the least number of AND
// terms per output a PAL needs to reproduce it, as the table editor shows it
// ("FILE inputs/outputs terms", or "between A and B" where the proof was cut
// short), one line per file.
#include "minimumcover.h"
#include "tablefile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    int status = 0;
    for (int a = 1; a < argc; ++a) {
        const std::optional<QByteArray> text = ReadTextFile(QString::fromLocal8Bit(argv[a]));
        const TableFileContent header = text ? ParseTableFile(*text, 0, 0) : TableFileContent {};
        const TableFileContent content =
            text ? ParseTableFile(*text, header.keyBits, header.valueColumns) : TableFileContent {};
        if (!text || content.status != TableFileContent::Status::Ok) {
            std::fprintf(stderr, "%s: not a readable table file\n", argv[a]);
            status = 1;
            continue;
        }
        CoverLimits limits;
        limits.nodeBudget = DefaultCoverNodeBudget;
        limits.timeLimit = std::chrono::milliseconds {60000};
        const TableCover cover = MinimumTableCover(content.values, content.keyBits, content.valueColumns, limits);
        std::printf("%s %d/%d ", argv[a], content.keyBits, content.valueColumns);
        if (cover.Exact())
            std::printf("%d\n", cover.Terms());
        else
            std::printf("between %d and %d\n", cover.LowerBound(), cover.Terms());
    }
    return status;
}
