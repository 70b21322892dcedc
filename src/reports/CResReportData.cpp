#include "reports/CResReportData.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CReservationText.h"
#include "tables/CDate.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

namespace orv {

namespace {

// Writes into room made beforehand (CTextLines::room), without a check at every piece.
class LineCursor {
public:
    explicit LineCursor(char* at) : m_at(at) {}
    void append(const char* text, std::size_t n) {
        std::memcpy(m_at, text, n);
        m_at += n;
    }
    void append(std::size_t n, char c) {
        std::memset(m_at, c, n);
        m_at += n;
    }
    LineCursor& operator+=(char c) {
        *m_at++ = c;
        return *this;
    }
    LineCursor& operator+=(std::string_view text) {
        append(text.data(), text.size());
        return *this;
    }
    const char* end() const { return m_at; }

private:
    char* m_at;
};

// As "%0*d" writes the value with at least `digits` characters: any value.
template <class Line> void appendAnyNumber(Line& line, int value, int digits) {
    char text[16];
    int n = 0;
    long long v = value < 0 ? -static_cast<long long>(value) : value;
    do {
        text[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    const int width = value < 0 ? digits - 1 : digits;
    if (value < 0) line += '-';
    if (n < width) line.append(static_cast<std::size_t>(width - n), '0');
    std::reverse(text, text + n);
    line.append(text, static_cast<std::size_t>(n));
}

// The same, with the dates' and times' own widths written at once.
template <class Line> inline void appendNumber(Line& line, int value, int digits) {
    if (digits == 2 && value >= 0 && value < 100) {
        const char two[2] = {static_cast<char>('0' + value / 10),
                             static_cast<char>('0' + value % 10)};
        line.append(two, 2);
    } else if (digits == 4 && value >= 1000 && value < 10000) {
        const char four[4] = {
            static_cast<char>('0' + value / 1000), static_cast<char>('0' + value / 100 % 10),
            static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
        line.append(four, 4);
    } else {
        appendAnyNumber(line, value, digits);
    }
}

std::string dateText(int month, int day, int year) {
    return CReservationText::shortDate(CDate(year, month, day));
}

// "%02d" of 0 to 99.
inline void twoDigits(char* at, int value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
}

bool twoWide(int value) {
    return value >= 0 && value < 100;
}

// A detail line is "%-15s %02d/%02d/%04d %02d:%02d%c %02d:%02d%c %s", put together by hand: a
// month's report has a hundred thousand of them. Its numbers are written in one piece when
// they have their usual widths, as nearly all have. The first part, item and date, is the same
// for all lines of a group.
template <class Line> void writeItemAndDate(Line& line, const CScheduleRecord& r) {
    const std::string_view item = CFieldText::cText(r.itemName());
    line += item;
    if (item.size() < 15) line.append(15 - item.size(), ' ');
    if (twoWide(r.month()) && twoWide(r.day()) && r.year() >= 1000 && r.year() <= 9999) {
        char text[11];
        text[0] = ' ';
        twoDigits(text + 1, r.month());
        text[3] = '/';
        twoDigits(text + 4, r.day());
        text[6] = '/';
        twoDigits(text + 7, r.year() / 100);
        twoDigits(text + 9, r.year() % 100);
        line.append(text, sizeof text);
        return;
    }
    line += ' ';
    appendNumber(line, r.month(), 2);
    line += '/';
    appendNumber(line, r.day(), 2);
    line += '/';
    appendNumber(line, r.year(), 4);
}

// The rest of the line: " %02d:%02d%c %02d:%02d%c %s".
template <class Line>
void writeTimesAndPerson(Line& line, const CScheduleRecord& r, const CSchedule::NameParts& names) {
    const int startHour = CFieldText::hour12(r.startHour());
    const int endHour = CFieldText::hour12(r.endHour());
    if (twoWide(startHour) && twoWide(r.startMinute()) && twoWide(endHour) &&
        twoWide(r.endMinute())) {
        char text[15];
        text[0] = ' ';
        twoDigits(text + 1, startHour);
        text[3] = ':';
        twoDigits(text + 4, r.startMinute());
        text[6] = CFieldText::afternoon(r.startHour()) ? 'p' : 'a';
        text[7] = ' ';
        twoDigits(text + 8, endHour);
        text[10] = ':';
        twoDigits(text + 11, r.endMinute());
        text[13] = CFieldText::afternoon(r.endHour()) ? 'p' : 'a';
        text[14] = ' ';
        line.append(text, sizeof text);
    } else {
        const auto time = [&line](int hour, int minute) {
            line += ' ';
            appendNumber(line, CFieldText::hour12(hour), 2);
            line += ':';
            appendNumber(line, minute, 2);
            line += CFieldText::afternoon(hour) ? 'p' : 'a';
        };
        time(r.startHour(), r.startMinute());
        time(r.endHour(), r.endMinute());
        line += ' ';
    }
    if (r.isBlockout()) {
        line += "*Blocked Out*";
        return;
    }
    line += CFieldText::cText(names.lastName);
    line += ", ";
    line += CFieldText::cText(names.firstName);
    line += ' ';
    line += CFieldText::cText(names.middleInitial);
    line += " (";
    line += CFieldText::cText(names.department);
    line += ')';
}

} // namespace

CResReportData::CResReportData(CORVSchedDoc& doc, CReportCriteria criteria)
    : m_doc(doc), m_criteria(std::move(criteria)) {}

const std::string& CResReportData::description() const {
    return m_doc.description();
}

std::string CResReportData::detailLine(const CScheduleRecord& r) {
    std::string line;
    writeItemAndDate(line, r);
    writeTimesAndPerson(line, r, {r.firstName(), r.middleInitial(), r.lastName(), r.department()});
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

    // Every record passes the item test when no item was chosen.
    const std::vector<std::string> itemNames =
        c.items.empty() ? std::vector<std::string>{} : m_doc.items().namesOf(c.items);
    // The walk starts at the first day of the range and ends after its last: the tag holds
    // the records in date order, and no record outside the range could pass.
    CSchedule& schedule = m_doc.schedule();
    const std::string firstKey = CFieldText::dateKey(c.startYear, c.startMonth, c.startDay);
    const long last = c.endNumber();
    bool open = false;
    long groupDate = 0;
    std::string groupItem;
    int groupMonth = 0, groupDay = 0, groupYear = 0, count = 0;
    // The item and date part of the last detail line, which the next line of its group repeats.
    std::size_t repeated = 0;
    int repeatedMonth = 0, repeatedDay = 0, repeatedYear = 0;
    // "Total Reservations for %s for %02d/%02d/%04d is %i", put together by hand as the lines.
    auto total = [&] {
        m_lines += "Total Reservations for ";
        m_lines += CFieldText::cText(groupItem);
        m_lines += " for ";
        appendNumber(m_lines, groupMonth, 2);
        m_lines += '/';
        appendNumber(m_lines, groupDay, 2);
        m_lines += '/';
        appendNumber(m_lines, groupYear, 4);
        m_lines += " is ";
        appendNumber(m_lines, count, 1);
        m_lines.endLine();
    };
    // Only the fields a line shows are decoded.
    int rc = schedule.seekFrom(firstKey);
    // The report may stop halfway: it only reads. Progress goes by date through the range.
    const auto progress = m_doc.prompt().progress(kProgress, true);
    const long first = CDate(c.startYear, c.startMonth, c.startDay).serial();
    const long days = CDate(c.endYear, c.endMonth, c.endDay).serial() - first + 1;
    bool stopped = false;
    long dayOf = -1, dayNumber = 0; // the day of the last date met, counted from the first
    try {
        for (; rc == 0; rc = schedule.skip()) {
            const CScheduleRecord& r = schedule.peekSlot();
            const long date = CReportCriteria::dateNumber(r.month(), r.day(), r.year());
            if (date > last) break;
            if (date != dayOf) {
                dayOf = date;
                dayNumber = CDate(r.year(), r.month(), r.day()).serial() - first;
            }
            if (!progress->step(dayNumber, days)) {
                stopped = true;
                break;
            }
            // Only a choice of people looks at the name parts before the line is written.
            if (!c.people.empty()) schedule.peekPerson();
            if (!passes(r, itemNames)) continue;
            if (!open || date != groupDate || r.itemName() != groupItem) {
                if (open) {
                    total();
                    m_lines.push_back(" ");
                    count = 0;
                }
                open = true;
                repeated = 0;
                groupDate = date;
                groupItem = r.itemName();
                groupMonth = r.month();
                groupDay = r.day();
                groupYear = r.year();
            }
            const CSchedule::NameParts names = schedule.peekNameParts();
            // Seven numbers of at most 11 characters, the padding and the separators.
            char* const start =
                m_lines.room(r.itemName().size() + names.lastName.size() + names.firstName.size() +
                             names.middleInitial.size() + names.department.size() + 160);
            LineCursor line(start);
            if (repeated != 0 && r.month() == repeatedMonth && r.day() == repeatedDay &&
                r.year() == repeatedYear) {
                line.append(m_lines.back().data(), repeated);
            } else {
                writeItemAndDate(line, r);
                repeated = static_cast<std::size_t>(line.end() - start);
                repeatedMonth = r.month();
                repeatedDay = r.day();
                repeatedYear = r.year();
            }
            writeTimesAndPerson(line, r, names);
            m_lines.endLine(line.end());
            if (!r.isBlockout()) ++count;
        }
    } catch (const std::bad_alloc&) {
        m_lines.dropOpenLine();
        m_doc.prompt().message(kOutOfMemory, kAppTitle, PromptIcon::none);
        rc = 0;
    }
    const int failure = m_doc.takeReadFailure(rc == 0 || rc == res4eof ? 0 : rc);
    if (failure != 0) {
        // No report cut short: it would end as if complete.
        m_lines.clear();
        return failure;
    }
    if (open) total();
    m_lines.push_back(stopped ? kStopped : kEnd);
    return 0;
}

CPrintRequest CResReportData::printRequest() const {
    return CPrintRequest::reservationReport(m_doc.description(), m_lines.strings());
}

} // namespace orv
