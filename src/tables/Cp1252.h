#pragma once
// Stored text is single-byte Windows-1252 everywhere (tables, keys, the group file). These
// convert at the boundary to the user (Qt strings, the terminal), which speaks UTF-8.

#include <string>
#include <string_view>

namespace orv {

std::string cp1252ToUtf8(std::string_view stored);
// A character that Windows-1252 cannot hold becomes '?'; invalid UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace orv
