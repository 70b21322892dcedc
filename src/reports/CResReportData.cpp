#include "reports/CResReportData.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CReservationText.h"
#include "tables/CDate.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace orv {

namespace {

std::string dateText(int month, int day, int year) {
    return CReservationText::shortDate(CDate(year, month, day));
}

} // namespace

CResReportData::CResReportData(CORVSchedDoc& doc, CReportCriteria criteria)
    : m_doc(doc), m_criteria(std::move(criteria)) {}

const std::string& CResReportData::description() const {
    return m_doc.description();
}

std::string CResReportData::detailLine(const CScheduleRecord& r) {
    // "%-15s %02d/%02d/%04d %02d:%02d%c %02d:%02d%c %s", put together by hand: a month's
    // report has a hundred thousand of these lines.
    std::string line;
    line.reserve(96);
    const auto number = [&line](int value, int digits) {
        if (value < 0 || value >= (digits == 2 ? 100 : 10000)) {
            line += std::to_string(value);
            return;
        }
        char text[4];
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[i] = static_cast<char>('0' + value % 10);
        line.append(text, static_cast<std::size_t>(digits));
    };
    const auto time = [&](int hour, int minute) {
        number(CFieldText::hour12(hour), 2);
        line += ':';
        number(minute, 2);
        line += CFieldText::afternoon(hour) ? 'p' : 'a';
    };
    line += CFieldText::cText(r.itemName());
    if (line.size() < 15) line.append(15 - line.size(), ' ');
    line += ' ';
    number(r.month(), 2);
    line += '/';
    number(r.day(), 2);
    line += '/';
    number(r.year(), 4);
    line += ' ';
    time(r.startHour(), r.startMinute());
    line += ' ';
    time(r.endHour(), r.endMinute());
    line += ' ';
    if (r.isBlockout()) {
        line += "*Blocked Out*";
        return line;
    }
    line += CFieldText::cText(r.lastName());
    line += ", ";
    line += CFieldText::cText(r.firstName());
    line += ' ';
    line += CFieldText::cText(r.middleInitial());
    line += " (";
    line += CFieldText::cText(r.department());
    line += ')';
    return line;
}

bool CResReportData::passes(const CScheduleRecord& r,
                            const std::vector<std::string>& itemNames) const {
    const long date = CReportCriteria::dateNumber(r.month(), r.day(), r.year());
    if (date < m_criteria.startNumber() || date > m_criteria.endNumber()) return false;
    if (!m_criteria.items.empty() &&
        std::find(itemNames.begin(), itemNames.end(), r.itemName()) == itemNames.end())
        return false;
    if (!m_criteria.people.empty()) {
        const CPeopleKey person = r.personKey();
        return std::find(m_criteria.people.begin(), m_criteria.people.end(), person) !=
               m_criteria.people.end();
    }
    return !m_criteria.blockoutsOnly || r.isBlockout();
}

int CResReportData::build() {
    CORVSchedDoc::Busy busy(m_doc);
    m_lines.clear();
    const CReportCriteria& c = m_criteria;
    m_lines.push_back("Reservation Report from " + dateText(c.startMonth, c.startDay, c.startYear) +
                      " to " + dateText(c.endMonth, c.endDay, c.endYear));
    m_lines.push_back(" ");
    char heading[96];
    std::snprintf(heading, sizeof heading, "%-15s %-10s %-6s %-6s %s", "Item Name", "Date", "Start",
                  "End", "Person Name");
    m_lines.push_back(heading);

    const std::vector<std::string> itemNames = m_doc.items().namesOf(c.items);
    // The walk starts at the first day of the range and ends after its last: the tag holds
    // the records in date order, and no record outside the range could pass.
    CSchedule& schedule = m_doc.schedule();
    const std::string firstKey = CFieldText::dateKey(c.startYear, c.startMonth, c.startDay);
    const long last = c.endNumber();
    bool open = false;
    long groupDate = 0;
    std::string groupItem;
    int groupMonth = 0, groupDay = 0, groupYear = 0, count = 0;
    auto total = [&] {
        char text[160];
        std::snprintf(text, sizeof text, "Total Reservations for %s for %02d/%02d/%04d is %i",
                      groupItem.c_str(), groupMonth, groupDay, groupYear, count);
        return std::string(text);
    };
    int rc = schedule.seek(firstKey, {}, {}, {});
    // The report may stop halfway: it only reads. Progress goes by date through the range.
    const auto progress = m_doc.prompt().progress(kProgress, true);
    const long first = CDate(c.startYear, c.startMonth, c.startDay).serial();
    const long days = CDate(c.endYear, c.endMonth, c.endDay).serial() - first + 1;
    bool stopped = false;
    try {
        for (; rc == 0; rc = schedule.next()) {
            const CScheduleRecord& r = schedule.image();
            const long date = CReportCriteria::dateNumber(r.month(), r.day(), r.year());
            if (date > last) break;
            if (!progress->step(CDate(r.year(), r.month(), r.day()).serial() - first, days)) {
                stopped = true;
                break;
            }
            if (!passes(r, itemNames)) continue;
            if (!open || date != groupDate || r.itemName() != groupItem) {
                if (open) {
                    m_lines.push_back(total());
                    m_lines.push_back(" ");
                    count = 0;
                }
                open = true;
                groupDate = date;
                groupItem = r.itemName();
                groupMonth = r.month();
                groupDay = r.day();
                groupYear = r.year();
            }
            m_lines.push_back(detailLine(r));
            if (!r.isBlockout()) ++count;
        }
    } catch (const std::bad_alloc&) {
        m_doc.prompt().message(kOutOfMemory, kAppTitle, PromptIcon::none);
        rc = 0;
    }
    const int failure = m_doc.takeReadFailure(rc == 0 || rc == res4eof ? 0 : rc);
    if (failure != 0) {
        // No report cut short: it would end as if complete.
        m_lines.clear();
        return failure;
    }
    if (open) m_lines.push_back(total());
    m_lines.push_back(stopped ? kStopped : kEnd);
    return 0;
}

CPrintRequest CResReportData::printRequest() const {
    return CPrintRequest::reservationReport(m_doc.description(), m_lines);
}

} // namespace orv
