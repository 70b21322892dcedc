#pragma once
// The time line of the day and month overviews: 97 characters, one for each quarter hour from
// 00:00 to 24:00, so that position p stands for p x 15 minutes after midnight. An empty line has
// '|' on every full hour and '.' between; the ruler names the hours.

#include <string>
#include <string_view>

namespace orv {

class CQuarterHourLine {
public:
    static constexpr int kLength = 97;
    static constexpr int kQuarters = 96; // the last position, 24:00, is never marked
    static constexpr std::string_view kRuler = "M...1...2...3...4...5...6...7...8...9..10..11..."
                                               "N...1...2...3...4...5...6...7...8...9..10..11...M";

    static std::string empty();
    // Sets positions [from, to) to `c`; positions outside the line stay as they are.
    static void mark(std::string& line, int from, int to, char c);
    // Blanks between a list line's name and its part.
    static constexpr int kGap = 2;
    // A list line: the name padded with blanks to `nameWidth` (never cut), kGap blanks, the part.
    static std::string listLine(std::string_view name, int nameWidth, std::string_view part);
    // The same into `line`, whose storage is kept: a list made again keeps its lines' memory.
    static void writeListLine(std::string& line, std::string_view name, int nameWidth,
                              std::string_view part);
};

} // namespace orv
