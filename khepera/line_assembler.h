#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ksim {

// Cuts the incoming byte stream into command lines. CR ends a line; LF is
// dropped wherever it appears (a terminal may send CR LF), so it never makes an
// empty line of its own. A line longer than kMaxLineLength is cut there and
// flagged, so the caller can answer it with an error instead of a command.
class LineAssembler {
public:
    static constexpr std::size_t kMaxLineLength = 255;

    struct Line {
        std::string text; // without the CR
        bool overflowed = false;
    };

    // Returns every line completed by `bytes`, in order; keeps the rest.
    std::vector<Line> feed(std::string_view bytes);

    // Forgets a partly received line.
    void reset();

private:
    Line m_pending;
};

} // namespace ksim
