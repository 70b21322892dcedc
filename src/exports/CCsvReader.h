#pragma once
// A reader of CSV text as RFC 4180 writes it: fields quoted or not, a doubled quote inside quotes,
// line breaks inside quotes, CRLF or LF line ends, a UTF-8 byte order mark at the start.

#include <string>
#include <vector>

namespace orv {

struct CCsvRow {
    int line = 0; // the file's line on which the row begins, from 1
    std::vector<std::string> fields;
};

class CCsvReader {
public:
    // Every row of `text`; blank lines are passed over. False with `error` (naming the line)
    // when a quoted field is not closed; the rows before it are kept.
    static bool read(const std::string& text, std::vector<CCsvRow>& rows, std::string& error);
};

} // namespace orv
