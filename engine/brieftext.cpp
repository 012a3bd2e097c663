#include "brieftext.h"

std::string BriefText(std::string_view text, std::size_t limit)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string brief;
    std::size_t shown = 0; // characters of `brief`, an escape counting as its four
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool printable = c >= 0x20 && c < 0x7F;
        const std::size_t width = printable ? 1 : 4;
        if (shown + width > limit) {
            brief += "\u2026";
            return brief;
        }
        if (printable) {
            brief += static_cast<char>(c);
        } else {
            brief += "\\x";
            brief += hex[c >> 4];
            brief += hex[c & 0xF];
        }
        shown += width;
    }
    return brief;
}
