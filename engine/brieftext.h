#pragma once
// Text found in a file or typed on a command line, made fit to quote in a
// one-line message: at most `limit` characters, printable ASCII kept, every
// other byte (NUL, control characters, bytes of non-ASCII text) shown as
// \xNN, and "…" when more follows. A 200 MB line quotes as 40 characters.
#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t BriefTextLimit = 40;

std::string BriefText(std::string_view text, std::size_t limit = BriefTextLimit);
