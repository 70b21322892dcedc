#pragma once
// "Month at a Glance": one quarter-hour line per day of a month. A quarter is '*' when every
// item of the group is reserved for all of it, 'P' when some reservation time falls into it.
// A click on a day opens the whole-day "Day at a Glance" for that date (through the prompt),
// and the month counts again when something was changed from there.

#include "displays/CItemDayOutcome.h"
#include "group/CUserPrompt.h"
#include "reports/CPrintRequest.h"

#include <array>
#include <ctime>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CScheduleRecord;

class CMonthGlance : public CDialogModel {
public:
    static constexpr const char* kId = "MonthGlance";
    static constexpr const char* kTitle = "Month at a Glance";
    static constexpr int kNameWidth = 3;
    static constexpr int kQuarters = 96;

    // Shows the current month. The document must outlive the overview; `openItemDay` is handed
    // to the day overviews opened from here.
    CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour, OpenItemDay openItemDay);
    // The same for a given month (1-12).
    CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour, OpenItemDay openItemDay,
                 int month, int year);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    int occupiedColour() const { return m_occupied; }
    int partialColour() const { return m_partial; }
    int month() const { return m_month; }
    int year() const { return m_year; }

    // Shows another month (1-12): counts and fills again.
    void setMonth(int month, int year);
    // Counts the reserved minutes of each quarter of each day of the month; the engine's result.
    int recount();
    // The engine's result of the last count.
    int countResult() const { return m_countResult; }
    void refill();

    // Reserved minutes of a quarter (0-95) of a day (1-31), summed over every record.
    int minutes(int day, int quarter) const;
    const std::vector<std::string>& lines() const { return m_lines; }
    // Beside each line, a text of its length with 'B' on the quarters into which a blockout
    // falls, blank elsewhere: the list marks them apart from the reservations.
    const std::vector<std::string>& blockoutMarks() const { return m_marks; }
    // The month's blockouts as printed after the list, under "Blocked out:", one a line
    // ("   8  Boardroom             9:00 AM - 5:00 PM"); empty when there is none.
    std::vector<std::string> blockoutLines() const;
    // Line `line` (0-based, headings included) was clicked: a day line opens the whole-day
    // overview of that date. True when the month counted again afterwards.
    bool openLine(int line);

    // "%B, %Y" of the shown month.
    std::string monthText() const;
    CPrintRequest printRequest() const;

private:
    CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour, OpenItemDay openItemDay,
                 const std::tm& date);
    void count(const CScheduleRecord& r);

    CORVSchedDoc& m_doc;
    int m_occupied;
    int m_partial;
    OpenItemDay m_openItemDay;
    int m_month = 0;
    int m_year = 0;
    std::array<std::array<int, kQuarters>, 31> m_minutes{};
    std::vector<std::string> m_lines;
    std::vector<std::string> m_marks;
    std::array<std::array<bool, kQuarters>, 31> m_blocked{};
    struct Blockout {
        int day, startHour, startMinute, endHour, endMinute;
        std::string item;
    };
    std::vector<Blockout> m_blockouts;
    int m_countResult = 0;
};

} // namespace orv
