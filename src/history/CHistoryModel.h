#pragma once
// View > History...: the group's journal, newest first, filtered by date range, item, person,
// user and kind of change, each line in words (CHistory::line). "Restore" writes again what the
// selected line's change cancelled; "Print" prints the lines shown as every list is printed.
// The history holds only this program's changes: other programs sharing the group's tables
// leave no entry.

#include "group/CUserPrompt.h"
#include "history/CHistory.h"
#include "reports/CPrintRequest.h"
#include "tables/CScheduleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CHistoryModel : public CDialogModel {
public:
    static constexpr const char* kId = "History";
    static constexpr const char* kTitle = "History";
    static constexpr const char* kAll = "(all)";
    static constexpr const char* kSelectFirst = "Select a line of the history first.";

    explicit CHistoryModel(CORVSchedDoc& doc);
    // The history of one reservation (the reservation detail's History...): its title names it.
    CHistoryModel(CORVSchedDoc& doc, const CScheduleRecord& reservation);
    const std::string& title() const { return m_title; }

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    // The filter; an empty text or line 0 ("(all)") of a choice does not filter.
    CDate from;
    CDate to;
    int item = 0;   // a line of itemChoices()
    int person = 0; // a line of personChoices()
    std::string user;
    int kind = 0; // a line of kindChoices()
    int selected = -1;

    const std::vector<std::string>& itemChoices() const { return m_items; }
    const std::vector<std::string>& personChoices() const { return m_people; }
    const std::vector<std::string>& kindChoices() const { return m_kinds; }

    // Reads the journal again and applies the filter; false after telling the user it could
    // not be read.
    bool refresh();
    const std::vector<std::string>& lines() const { return m_lines; }
    // The entry of a line, or 0.
    long entryAt(int line) const;
    // Restores what the selected line's change cancelled, then refreshes.
    bool restoreSelected();
    CPrintRequest printRequest() const;

private:
    CORVSchedDoc& m_doc;
    std::string m_title = kTitle;
    std::string m_reservation;
    std::vector<CHistoryEntry> m_entries;
    std::vector<std::string> m_items;
    std::vector<std::string> m_people;
    std::vector<CPeopleKey> m_peopleKeys;
    std::vector<std::string> m_kinds;
    std::vector<std::string> m_lines;
    std::vector<long> m_lineEntries;
};

} // namespace orv
