#include "displays/CDayGlance.h"

#include "displays/CCalendar.h"
#include "displays/CItemStateText.h"
#include "displays/CQuarterHourLine.h"
#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <charconv>

namespace orv {

namespace {

constexpr int kHoursShown = CDayGlance::kHoursShown;

std::string_view shownPart(std::string_view line, CDayGlance::Form form, int startHour) {
    if (form == CDayGlance::Form::allDay) return line;
    return line.substr(static_cast<std::size_t>(4 * startHour), CDayGlance::partLength(CDayGlance::Form::twelveHours));
}

// Whole numbers with optional blanks around them; nothing else.
bool parseInteger(const std::string& text, int& value) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

} // namespace

CDayGlance::CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
                       OpenItemDay openItemDay)
    : CDayGlance(doc, form, occupiedColour, startHour, std::move(openItemDay),
                 CClock::current().localNow()) {}

CDayGlance::CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
                       OpenItemDay openItemDay, int month, int day, int year)
    : m_doc(doc), m_form(form), m_occupied(occupiedColour),
      m_startHour(std::clamp(startHour, kMinStartHour, kMaxStartHour)),
      m_openItemDay(std::move(openItemDay)) {
    setDate(month, day, year);
}

CDayGlance::CDayGlance(CORVSchedDoc& doc, Form form, int occupiedColour, int startHour,
                       OpenItemDay openItemDay, const std::tm& date)
    : CDayGlance(doc, form, occupiedColour, startHour, std::move(openItemDay), date.tm_mon + 1,
                 date.tm_mday, date.tm_year + 1900) {}

void CDayGlance::setDate(int month, int day, int year) {
    m_month = month;
    m_day = day;
    m_year = year;
    reload();
}

void CDayGlance::stepStartHour(int delta) {
    m_startHour = std::clamp(m_startHour + delta, kMinStartHour, kMaxStartHour);
    reload();
}

bool CDayGlance::typeStartHour(const std::string& text, CUserPrompt& prompt) {
    int hour = 0;
    if (!parseInteger(text, hour)) {
        prompt.message("Enter an integer.", kAppTitle, PromptIcon::warning);
        return false;
    }
    if (hour < kMinStartHour || hour > kMaxStartHour) {
        prompt.message("Enter an integer between " + std::to_string(kMinStartHour) + " and " +
                           std::to_string(kMaxStartHour) + ".",
                       kAppTitle, PromptIcon::warning);
        return false;
    }
    m_startHour = hour;
    reload();
    return true;
}

int CDayGlance::reload() {
    const std::string key = CFieldText::dateKey(m_year, m_month, m_day);
    m_loadResult =
        m_doc.takeReadFailure(m_doc.schedule().loadTodaysList(key, m_doc.items(), m_reservations));
    // A day read halfway would show the items after the failure as free.
    if (m_loadResult != 0) m_reservations.clear();
    refill();
    if (m_loadResult != 0) {
        m_lines.clear();
        m_marks.clear();
    }
    return m_loadResult;
}

bool CDayGlance::inWindow(const _SCHEDITEM& r, int startHour) {
    const int start = r.startHour * 60 + r.startMinute;
    const int end = r.endHour * 60 + r.endMinute;
    return start < (startHour + kHoursShown) * 60 && end > startHour * 60;
}

void CDayGlance::refill() {
    const int count = m_doc.items().count();
    // Each item's line is made once, free, and its reservations marked in the shown part.
    const std::string freeLine = CQuarterHourLine::empty();
    const std::string_view shown = shownPart(freeLine, m_form, m_startHour);
    const int shift = m_form == Form::allDay ? 0 : 4 * m_startHour;
    // The lines are written into the strings of the last fill: a reload allocates nothing.
    const std::size_t n = static_cast<std::size_t>(count) + 2;
    m_lines.resize(n);
    m_marks.resize(n);
    CQuarterHourLine::writeListLine(m_lines.front(), m_form == Form::allDay ? "--Name--" : "",
                                    kNameWidth,
                                    shownPart(CQuarterHourLine::kRuler, m_form, m_startHour));
    for (int i = 0; i < count; ++i)
        CQuarterHourLine::writeListLine(m_lines[static_cast<std::size_t>(i) + 1],
                                        m_doc.items().at(i).name(), kNameWidth, shown);
    m_lines.back() = m_lines.front();
    for (std::size_t i = 0; i < n; ++i)
        m_marks[i].assign(m_lines[i].size(), ' ');
    for (const _SCHEDITEM& r : m_reservations) {
        if (r.itemIndex < 0 || r.itemIndex >= count) continue;
        if (m_form == Form::twelveHours && !inWindow(r, m_startHour)) continue;
        const int from = r.startHour * 4 + r.startMinute / 15;
        const int to = r.endHour * 4 + r.endMinute / 15 + (r.endMinute % 15 != 0 ? 1 : 0);
        std::string& line = m_lines[static_cast<std::size_t>(r.itemIndex) + 1];
        const int at = static_cast<int>(line.size() - shown.size()) - shift;
        // Marks past the end of the day stay off the line; the shown part clips the rest.
        const int first = std::max({from, 0, shift});
        const int end = std::min({to, CQuarterHourLine::kLength, shift + static_cast<int>(shown.size())});
        std::string& marks = m_marks[static_cast<std::size_t>(r.itemIndex) + 1];
        for (int q = first; q < end; ++q) {
            line[static_cast<std::size_t>(at + q)] = '*';
            if (r.blockedOut) marks[static_cast<std::size_t>(at + q)] = kBlockoutMark;
        }
    }
}

std::vector<std::string> CDayGlance::blockoutLines() const {
    std::vector<std::string> out;
    const int count = m_doc.items().count();
    for (const _SCHEDITEM& r : m_reservations) {
        if (!r.blockedOut || r.itemIndex < 0 || r.itemIndex >= count) continue;
        if (m_form == Form::twelveHours && !inWindow(r, m_startHour)) continue;
        if (out.empty()) out.emplace_back(kBlockedOutHeading);
        std::string name = m_doc.items().at(r.itemIndex).name();
        name.resize(std::max<std::size_t>(name.size(), kNameWidth), ' ');
        out.push_back("  " + name + "  " + CItemStateText::shortTime(r.startHour, r.startMinute) +
                      " - " + CItemStateText::shortTime(r.endHour, r.endMinute));
    }
    return out;
}

bool CDayGlance::openLine(int line) {
    if (line < 1 || line > m_doc.items().count() || !m_openItemDay) return false;
    const CItemDayOutcome outcome = m_openItemDay(line - 1, m_month, m_day, m_year);
    if (outcome.changed) m_changedSomething = true;
    const bool otherDate =
        outcome.month != m_month || outcome.day != m_day || outcome.year != m_year;
    // A list closed with Cancel may still have made, cancelled or terminated something.
    if (!outcome.changed && !(outcome.ok && otherDate)) return false;
    reload();
    return true;
}

std::string CDayGlance::dateText() const {
    return CCalendar::longDate(m_month, m_day, m_year);
}

CPrintRequest CDayGlance::printRequest() const {
    // Paper has no colours: the blockouts follow the list, apart from the reservations.
    std::vector<std::string> printed = m_lines;
    if (std::vector<std::string> blocked = blockoutLines(); !blocked.empty()) {
        printed.emplace_back();
        printed.insert(printed.end(), blocked.begin(), blocked.end());
    }
    return CPrintRequest::dayGlance(dateText(), std::move(printed), m_form == Form::allDay);
}

} // namespace orv
