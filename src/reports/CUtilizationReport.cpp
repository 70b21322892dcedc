#include "reports/CUtilizationReport.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "reports/CUtilizationOptions.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>

namespace orv {

namespace {

constexpr long kWeekSeconds = 7 * CUtilizationCriteria::kDaySeconds;

std::time_t localMoment(const CDate& date, int minutes) {
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = minutes / 60;
    tm.tm_min = minutes % 60;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

// Seconds between two local times of one date: the difference of the two local moments. Only a
// day that is not 24 hours long (a daylight-saving change) needs the time zone; the records of a
// date come one after another, so each date is looked at once.
class DayClock {
public:
    long seconds(const CDate& date, int startMinute, int endMinute) {
        const long serial = date.serial();
        if (serial != m_serial) {
            m_serial = serial;
            m_regular = localMoment(date.addDays(1), 0) - localMoment(date, 0) ==
                        CUtilizationCriteria::kDaySeconds;
        }
        if (m_regular) return (endMinute - startMinute) * 60L;
        return static_cast<long>(localMoment(date, endMinute) - localMoment(date, startMinute));
    }

private:
    long m_serial = LONG_MIN;
    bool m_regular = true;
};

// Hour 0-11 as itself with "am", 12 with "pm", 13-23 less 12 with "pm"; 24 (the end of the day)
// as 00 with "am".
std::string hourText(int hour) {
    char text[16];
    if (hour == 24) hour = 0;
    std::snprintf(text, sizeof text, "%02d%s", CFieldText::hour12(hour),
                  CFieldText::afternoon(hour) ? "pm" : "am");
    return text;
}

} // namespace

CUtilizationReport::CUtilizationReport(CORVSchedDoc& doc, CUtilizationCriteria criteria)
    : m_doc(doc), m_criteria(std::move(criteria)) {}

const std::string& CUtilizationReport::description() const {
    return m_doc.description();
}

CUtilizationReport::Week CUtilizationReport::available(const CUtilizationCriteria& c) {
    const long d = c.window ? (c.endHour - c.startHour) * 3600L : CUtilizationCriteria::kDaySeconds;
    const long span = c.endMoment() - c.startMoment() + CUtilizationCriteria::kDaySeconds;
    const long weeks = span / kWeekSeconds;
    const long extra = (span % kWeekSeconds) / CUtilizationCriteria::kDaySeconds;
    const int first = c.startDate.weekday();
    const int last = c.endDate.weekday();
    Week week{};
    for (int i = 0; i < 7; ++i) {
        const bool inRange = first == last  ? i == first
                             : first < last ? first <= i && i <= last
                                            : i >= first || i <= last;
        week[static_cast<std::size_t>(i)] =
            static_cast<double>(d * weeks + (extra != 0 && inRange ? d : 0));
    }
    return week;
}

bool CUtilizationReport::clip(int& start, int& end, int ws, int we) {
    start = std::max(start, ws * 60);
    end = std::min(end, we * 60);
    return start < end;
}

std::string CUtilizationReport::heading(const CUtilizationCriteria& c) {
    std::string hours;
    if (c.window)
        hours = "for the hours of " + hourText(c.startHour) + " to " + hourText(c.endHour);
    return "Utilization from " + CReservationText::shortDate(c.startDate) + " to " + CReservationText::shortDate(c.endDate) + " " +
           hours;
}

int CUtilizationReport::compute() {
    m_lines.clear();
    m_error.clear();
    const CItemList& items = m_doc.items();
    const auto count = static_cast<std::size_t>(items.count());
    m_values.assign(count, Week{});
    m_included.assign(count, false);
    for (std::size_t i = 0; i < count; ++i)
        m_included[i] = m_criteria.items.empty() || m_criteria.items.count(static_cast<int>(i));
    const Week offered = available(m_criteria);

    // From the first record of the range's first day; the tag holds the records in date order,
    // so the walk ends at the first record after the range.
    const long first = m_criteria.startMoment();
    const long last = m_criteria.endMoment();
    CSchedule& schedule = m_doc.schedule();
    DayClock clock;
    std::string itemName;
    bool looked = false;
    int target = -1;
    int rc = schedule.seekFrom(m_criteria.startDate.key());
    for (; rc == 0; rc = schedule.skip()) {
        const CScheduleRecord& r = schedule.peekSlot();
        if (r.year() < 1900 || r.month() < 1 || r.month() > 12 || r.day() < 1 || r.day() > 31) {
            m_error = "The reservation database holds a record dated " + r.dateKey() +
                      ", which is not a calendar date: the utilization cannot be computed.";
            return kBadRecordDate;
        }
        const long midnight = CUtilizationCriteria::moment(r.date(), 0);
        if (midnight > last) break;
        if (r.isBlockout() || midnight < first) continue;
        if (!looked || r.itemName() != itemName) {
            itemName = r.itemName();
            looked = true;
            const int index = items.find(itemName);
            target = index >= 0 && m_included[static_cast<std::size_t>(index)] ? index : -1;
        }
        if (target < 0) continue;
        int start = r.startHour() * 60 + r.startMinute();
        int end = r.endHour() * 60 + r.endMinute();
        if (m_criteria.window && !clip(start, end, m_criteria.startHour, m_criteria.endHour))
            continue;
        // A record that ends before it starts holds no time.
        if (end <= start) continue;
        m_values[static_cast<std::size_t>(target)][static_cast<std::size_t>(r.date().weekday())] +=
            static_cast<double>(clock.seconds(r.date(), start, end));
    }
    if (rc != 0 && rc != res4eof) {
        error4take(&m_doc.code());
        return rc;
    }

    double activeDays = 0, activeWorkdays = 0;
    for (std::size_t i = 0; i < 7; ++i)
        if (offered[i] != 0) {
            activeDays += 1;
            if (i >= 1 && i <= 5) activeWorkdays += 1;
        }
    m_lines.push_back(heading(m_criteria));
    m_lines.push_back(" ");
    m_lines.push_back(kColumns);
    for (std::size_t item = 0; item < count; ++item) {
        if (!m_included[item]) continue;
        Week& v = m_values[item];
        double sum = 0, workdays = 0;
        for (std::size_t i = 0; i < 7; ++i) {
            v[i] = offered[i] != 0 ? v[i] / offered[i] : 0;
            sum += v[i];
            if (i >= 1 && i <= 5) workdays += v[i];
        }
        char line[256];
        std::snprintf(line, sizeof line,
                      "%-20s %.02f  %.02f  %.02f  %.02f  %.02f  %.02f  %.02f      %.02f         "
                      "%.02f",
                      items.at(static_cast<int>(item)).name().c_str(), v[0], v[1], v[2], v[3], v[4],
                      v[5], v[6], activeDays != 0 ? sum / activeDays : 0,
                      activeWorkdays != 0 ? workdays / activeWorkdays : 0);
        m_lines.push_back(line);
    }
    return 0;
}

CPrintRequest CUtilizationReport::printRequest() const {
    return CPrintRequest::utilization(m_doc.description(), m_lines);
}

bool CUtilizationReport::run(CORVSchedDoc& doc, int startHour) {
    CUserPrompt& prompt = doc.prompt();
    int month = 0, day = 0, year = 0;
    if (doc.schedule().earliestDate(month, day, year) != 0) {
        error4take(&doc.code());
        prompt.message(kNoReservations, kNoReservationsTitle, PromptIcon::information);
        return false;
    }
    CUtilizationOptions options(doc, {year, month, day}, startHour);
    if (!prompt.runDialog(options)) return false;
    CUtilizationReport report(doc, options.criteria());
    int rc = 0;
    {
        CWaitCursor wait(prompt);
        rc = report.compute();
    }
    if (rc == kBadRecordDate) {
        prompt.message(report.error(), kBadDateTitle, PromptIcon::error);
        return false;
    }
    if (rc != 0) {
        prompt.message(CItemDayModel::kNotRead, CItemDayModel::kDatabaseError, PromptIcon::error);
        return false;
    }
    return prompt.runDialog(report);
}

} // namespace orv
