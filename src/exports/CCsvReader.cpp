#include "exports/CCsvReader.h"

namespace orv {

bool CCsvReader::read(const std::string& text, std::vector<CCsvRow>& rows, std::string& error) {
    rows.clear();
    std::size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    int line = 1;
    CCsvRow row;
    std::string field;
    bool rowStarted = false;
    auto endRow = [&] {
        row.fields.push_back(std::move(field));
        field.clear();
        // A line with nothing on it is no row.
        if (row.fields.size() > 1 || !row.fields[0].empty()) rows.push_back(std::move(row));
        row = CCsvRow();
        rowStarted = false;
    };
    while (i < text.size()) {
        if (!rowStarted) {
            row.line = line;
            rowStarted = true;
        }
        const char c = text[i];
        if (c == '"' && field.empty()) {
            const int opened = line;
            ++i;
            for (;; ++i) {
                if (i >= text.size()) {
                    error = "line " + std::to_string(opened) + ": a quoted field is not closed";
                    return false;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n') ++line;
                field += text[i];
            }
            continue;
        }
        if (c == ',') {
            row.fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            ++line;
            endRow();
        } else if (c == '\n') {
            ++line;
            endRow();
        } else {
            field += c;
        }
        ++i;
    }
    if (rowStarted) endRow();
    return true;
}

} // namespace orv
