#include "displays/CMonthGlance.h"

#include "displays/CCalendar.h"
#include "displays/CDayGlance.h"
#include "displays/CItemStateText.h"
#include "displays/CQuarterHourLine.h"
#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"
#include "tables/CDate.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <cstdio>

namespace orv {

CMonthGlance::CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour,
                           OpenItemDay openItemDay)
    : CMonthGlance(doc, occupiedColour, partialColour, std::move(openItemDay),
                   CClock::current().localNow()) {}

CMonthGlance::CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour,
                           OpenItemDay openItemDay, const std::tm& date)
    : CMonthGlance(doc, occupiedColour, partialColour, std::move(openItemDay), date.tm_mon + 1,
                   date.tm_year + 1900) {}

CMonthGlance::CMonthGlance(CORVSchedDoc& doc, int occupiedColour, int partialColour,
                           OpenItemDay openItemDay, int month, int year)
    : m_doc(doc), m_occupied(occupiedColour), m_partial(partialColour),
      m_openItemDay(std::move(openItemDay)) {
    setMonth(month, year);
}

void CMonthGlance::setMonth(int month, int year) {
    m_month = month;
    m_year = year;
    recount();
    refill();
}

int CMonthGlance::recount() {
    for (auto& day : m_minutes)
        day.fill(0);
    for (auto& day : m_blocked)
        day.fill(false);
    m_blockouts.clear();
    CSchedule& schedule = m_doc.schedule();
    // Year and month with two blanks sort before the month's first day.
    const std::string key = CFieldText::dateKey(m_year, m_month, 1).substr(0, 6) + "  ";
    // Only the date and the times of each record are decoded.
    int rc = schedule.seekFrom(key);
    while (rc == 0) {
        const CScheduleRecord& r = schedule.peekSlot();
        if (r.month() != m_month || r.year() != m_year) break;
        count(r);
        rc = schedule.skip();
    }
    m_countResult = m_doc.takeReadFailure(rc == 0 || rc == res4eof ? 0 : rc);
    if (m_countResult != 0) {
        for (auto& day : m_minutes)
            day.fill(0);
        for (auto& day : m_blocked)
            day.fill(false);
        m_blockouts.clear();
    }
    return m_countResult;
}

void CMonthGlance::count(const CScheduleRecord& r) {
    const int sh = r.startHour(), sm = r.startMinute(), eh = r.endHour(), em = r.endMinute();
    // A record that ends where it starts (terminated in its first minute) was never in use;
    // neither was one whose times make no sense.
    if (r.day() < 1 || r.day() > 31 || eh * 60 + em <= sh * 60 + sm) return;
    if (sh < 0 || sm < 0 || em < 0 || eh * 60 + em > 24 * 60) return;
    auto& quarters = m_minutes[static_cast<std::size_t>(r.day() - 1)];
    auto add = [&quarters](int q, int minutes) {
        if (q >= 0 && q < kQuarters) quarters[static_cast<std::size_t>(q)] += minutes;
    };
    const int s = sh * 4 + sm / 15;
    const int e = eh * 4 + em / 15 - (em % 15 == 0 ? 1 : 0);
    if (r.isBlockout()) {
        auto& blocked = m_blocked[static_cast<std::size_t>(r.day() - 1)];
        for (int q = std::max(s, 0); q <= e && q < kQuarters; ++q)
            blocked[static_cast<std::size_t>(q)] = true;
        m_blockouts.push_back({r.day(), sh, sm, eh, em, r.itemName()});
    }
    if (e == s) {
        add(s, (em == 0 ? 60 : em) - sm);
        return;
    }
    add(s, 15 * (sm / 15 + 1) - sm);
    for (int q = s + 1; q < e; ++q)
        add(q, 15);
    add(e, em % 15 == 0 ? 15 : em % 15);
}

void CMonthGlance::refill() {
    const int full = m_doc.items().count() * 15;
    const int days = CDate::daysInMonth(m_month, m_year);
    m_lines.clear();
    m_lines.reserve(static_cast<std::size_t>(days) + 2);
    const std::string header =
        CQuarterHourLine::listLine("Day", kNameWidth, CQuarterHourLine::kRuler);
    m_lines.push_back(header);
    m_marks.assign(1, std::string(header.size(), ' '));
    for (int d = 1; d <= days; ++d) {
        std::string line = CQuarterHourLine::empty();
        const auto& quarters = m_minutes[static_cast<std::size_t>(d - 1)];
        for (int q = 0; q < kQuarters; ++q) {
            const int m = quarters[static_cast<std::size_t>(q)];
            if (m >= 1) line[static_cast<std::size_t>(q)] = m == full ? '*' : 'P';
        }
        char number[16];
        std::snprintf(number, sizeof number, "%3d", d);
        m_lines.push_back(CQuarterHourLine::listLine(number, kNameWidth, line));
        std::string marks(m_lines.back().size(), ' ');
        const std::size_t at = m_lines.back().size() - line.size();
        const auto& blocked = m_blocked[static_cast<std::size_t>(d - 1)];
        for (int q = 0; q < kQuarters; ++q)
            if (blocked[static_cast<std::size_t>(q)]) marks[at + static_cast<std::size_t>(q)] = 'B';
        m_marks.push_back(std::move(marks));
    }
    m_lines.push_back(header);
    m_marks.emplace_back(header.size(), ' ');
    // A month read halfway would show its later days as free.
    if (m_countResult != 0) {
        m_lines.clear();
        m_marks.clear();
    }
}

std::vector<std::string> CMonthGlance::blockoutLines() const {
    std::vector<std::string> out;
    for (const Blockout& b : m_blockouts) {
        if (out.empty()) out.emplace_back(CDayGlance::kBlockedOutHeading);
        char day[16];
        std::snprintf(day, sizeof day, "%3d", b.day);
        std::string name = b.item;
        name.resize(std::max<std::size_t>(name.size(), CDayGlance::kNameWidth), ' ');
        out.push_back(std::string(day) + "  " + name + "  " +
                      CItemStateText::shortTime(b.startHour, b.startMinute) + " - " +
                      CItemStateText::shortTime(b.endHour, b.endMinute));
    }
    return out;
}

int CMonthGlance::minutes(int day, int quarter) const {
    if (day < 1 || day > 31 || quarter < 0 || quarter >= kQuarters) return 0;
    return m_minutes[static_cast<std::size_t>(day - 1)][static_cast<std::size_t>(quarter)];
}

bool CMonthGlance::openLine(int line) {
    if (line < 1 || line > CDate::daysInMonth(m_month, m_year)) return false;
    CDayGlance day(m_doc, CDayGlance::Form::allDay, m_occupied, 0, m_openItemDay, m_month, line,
                   m_year);
    m_doc.prompt().runDialog(day);
    if (!day.changedSomething()) return false;
    recount();
    refill();
    return true;
}

std::string CMonthGlance::monthText() const {
    return CCalendar::monthAndYear(m_month, m_year);
}

CPrintRequest CMonthGlance::printRequest() const {
    // Paper has no colours: the blockouts follow the list, apart from the reservations.
    std::vector<std::string> printed = m_lines;
    if (std::vector<std::string> blocked = blockoutLines(); !blocked.empty()) {
        printed.emplace_back();
        printed.insert(printed.end(), blocked.begin(), blocked.end());
    }
    return CPrintRequest::monthGlance(monthText(), std::move(printed));
}

} // namespace orv
