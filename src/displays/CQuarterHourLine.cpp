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
    std::string line = CFieldText::padRight(name, static_cast<std::size_t>(nameWidth));
    line.append(kGap, ' ');
    line += part;
    return line;
}

} // namespace orv
