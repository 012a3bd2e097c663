#pragma once

#include <string>
#include <string_view>

// The bytes in double quotes, with CR, LF and other control or non-ASCII
// bytes written as escapes (\r, \n, \xHH), for one-line logging.
std::string printableBytes(std::string_view bytes);
