#pragma once
// Stored text is single-byte Windows-1252 everywhere (tables, keys, the group file). These
// convert at the boundary to the user (Qt strings, the terminal), which speaks UTF-8.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

std::string cp1252ToUtf8(std::string_view stored);
// A character that Windows-1252 cannot hold becomes '?'; invalid UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);
// The same, and `unstorable` (when given) gets each character that became '?' once, in order of
// appearance, as "U+XXXX" (an invalid byte as "0xNN"). Text typed or imported is refused when
// this is not empty: a '?' in its place would be stored without a word.
std::string utf8ToCp1252(std::string_view utf8, std::vector<std::string>* unstorable);
// "<what> holds characters that cannot be stored: U+6771, U+4EAC." (`what` is stored text).
std::string unstorableMessage(const std::string& what, const std::vector<std::string>& characters);

} // namespace orv
