#include "displays/CQuarterHourLine.h"

#include "tables/CFieldText.h"

#include <algorithm>

namespace orv {

static_assert(CQuarterHourLine::kRuler.size() == CQuarterHourLine::kLength);

std::string CQuarterHourLine::empty() {
    std::string line(kLength, '.');
    for (int p = 0; p < kLength; p += 4)
        line[static_cast<std::size_t>(p)] = '|';
    return line;
}

void CQuarterHourLine::mark(std::string& line, int from, int to, char c) {
    const int first = std::max(from, 0);
    const int end = std::min(to, static_cast<int>(line.size()));
    for (int p = first; p < end; ++p)
        line[static_cast<std::size_t>(p)] = c;
}

std::string CQuarterHourLine::listLine(std::string_view name, int nameWidth,
                                       std::string_view part) {
    std::string line;
    writeListLine(line, name, nameWidth, part);
    return line;
}

void CQuarterHourLine::writeListLine(std::string& line, std::string_view name, int nameWidth,
                                     std::string_view part) {
    line.assign(CFieldText::cText(name));
    if (line.size() < static_cast<std::size_t>(nameWidth))
        line.append(static_cast<std::size_t>(nameWidth) - line.size(), ' ');
    line.append(kGap, ' ');
    line += part;
}

} // namespace orv
