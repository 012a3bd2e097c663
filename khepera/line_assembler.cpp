#include "line_assembler.h"

#include <utility>

namespace ksim {

std::vector<LineAssembler::Line> LineAssembler::feed(std::string_view bytes)
{
    std::vector<Line> lines;
    for (char c : bytes) {
        if (c == '\r') {
            lines.push_back(std::exchange(m_pending, Line{}));
        } else if (c == '\n') {
            continue;
        } else if (m_pending.text.size() < kMaxLineLength) {
            m_pending.text.push_back(c);
        } else {
            m_pending.overflowed = true;
        }
    }
    return lines;
}

void LineAssembler::reset()
{
    m_pending = Line{};
}

} // namespace ksim
