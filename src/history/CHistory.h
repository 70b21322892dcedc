#pragma once
// The group's journal read back as entries, newest first, filtered, and as lines in words:
//
//   "    17  12/09/2026 10:02  jsmith@office-pc  cancelled  Boardroom 12/10/2026 09:00-10:00 for
//    Morgan, Alex J (Sales)"
//
// (one line), the entry's number first, then when, who, what kind of change and the record, and
// the reason in quotes when one was given. The history window and `orvsched-cli history` show
// the same lines.

#include "tables/CDate.h"
#include "tables/CJournal.h"
#include "tables/CPeopleKey.h"

#include <optional>
#include <string>
#include <vector>

namespace orv {

struct CHistoryEntry {
    long entry = 0;
    long batch = 0;
    std::string date; // "%04d%02d%02d"
    std::string time; // "%02d%02d%02d"
    std::string user;
    std::string host;
    std::string kind;
    std::string reason;
    long undoes = 0;
    std::vector<CJournalRow> rows; // the record first, then its links

    const CJournalRow& record() const { return rows.front(); }
    // The image that names the record: after the change, or before it when it was removed.
    const std::string& shownImage() const;
};

struct CHistoryFilter {
    CDate from; // unset: no limit
    CDate to;
    std::string item;
    std::optional<CPeopleKey> person;
    std::string user;
    std::string kind;
    // One reservation's changes: its key (date, item, start) as RECKEY holds it.
    std::string reservation;
    bool matches(const CHistoryEntry& entry) const;
};

class CHistory {
public:
    // The journal's entries, oldest first. 0, or the failing result with `entries` empty.
    static int load(CJournal& journal, std::vector<CHistoryEntry>& entries);
    // Those that pass `filter`, newest first.
    static std::vector<const CHistoryEntry*> newestFirst(const std::vector<CHistoryEntry>& entries,
                                                         const CHistoryFilter& filter);
    // The entry's line in words.
    static std::string line(const CHistoryEntry& entry);
    // When the change was made: "12/09/2026 10:02".
    static std::string when(const CHistoryEntry& entry);
    // The record in words, as in the line.
    static std::string describe(const CHistoryEntry& entry);
    // The kinds of change a filter can choose, in the order a list shows them.
    static const std::vector<std::string>& kinds();
};

} // namespace orv
