#pragma once
// What a series is: its rule in words, its stored members and the dates it skipped (conflicts,
// blockouts, months without the day, dates left out). A series made by a custom rule has its
// rule in the series table; any other series (a classic kind, one made by another program, or
// one whose rule row is gone) is described by its recurrence code and last date. The detail
// dialog and the command line's `series` show it, and book the skipped dates that are free now.

#include "reservations/CRepeatRule.h"
#include "tables/CScheduleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CSeriesInfo {
public:
    static constexpr const char* kNotASeries = "This reservation is not part of a series.";

    // Reads the series of `member` (a record of the schedule).
    CSeriesInfo(CORVSchedDoc& doc, const CScheduleRecord& member);

    // 0, or the failure of a read (the user was told).
    int readFailure() const { return m_failure; }
    bool isSeries() const { return m_member.recurrenceCode() != 0; }
    bool hasRule() const { return m_hasRule; }
    const CRepeatRule& rule() const { return m_rule; }
    // "Every 2 weeks on Monday and Wednesday, until 3/31/2027, 16 dates", or for a series without
    // a rule "Every week through 01/27/2027, 8 dates".
    const std::string& words() const { return m_words; }
    const std::vector<CScheduleRecord>& members() const { return m_members; }
    const std::vector<CSkippedDate>& skipped() const { return m_skipped; }
    // The words, then one line a member ("12/14/2026   09:00 AM   10:00 AM   Morgan, Alex J"),
    // then one a skipped date ("12/21/2026   skipped: conflicts with ...").
    std::vector<std::string> lines() const;
    // The skipped dates (conflicts and blockouts) on which the item is free now.
    std::vector<CDate> freeNow() const;
    // Books those of `dates` that are free, each checked and written under the schedule lock
    // like a new member (the series' stamp, times, person and note), and takes them off the
    // skipped list. How many were booked; a date taken meanwhile is told and stays skipped.
    int bookSkipped(const std::vector<CDate>& dates);

private:
    void read();

    CORVSchedDoc& m_doc;
    CScheduleRecord m_member;
    CRepeatRule m_rule;
    CDate m_first;
    std::string m_key; // of the rows found
    bool m_hasRule = false;
    std::string m_words;
    std::vector<CScheduleRecord> m_members;
    std::vector<CSkippedDate> m_skipped;
    int m_failure = 0;
};

} // namespace orv
