#pragma once
// View > "A Person's Reservations...": the reservations made for one person from a date on (today
// unless told otherwise), in schedule key order (date, item, start), and the detail of one of
// them. The person is chosen first from the people who can make reservations.
//
// Each line keeps the record it shows; "Show Reservation" finds it again and opens it only when it
// is still that reservation, so a reservation cancelled meanwhile is never shown.

#include "group/CUserPrompt.h"
#include "tables/CPeopleKey.h"
#include "tables/CScheduleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CPersonReservations : public CDialogModel {
public:
    static constexpr const char* kId = "PersonReservations";
    static constexpr const char* kSelectToView = "You must select a reservation to view";
    static constexpr const char* kNotRead = "Could not read reservation detail";
    static constexpr const char* kPersonNotRead = "Could not read person from database";
    static constexpr const char* kDatabaseError = "Database Error";

    // Lists the person's reservations from `from` (not set: today) on.
    CPersonReservations(CORVSchedDoc& doc, CPeopleKey person, CDate from = {});

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    // "List of Future Reservations for %s, %s %s".
    std::string title() const;
    const CPeopleKey& person() const { return m_person; }
    // Reads the list again.
    void load();
    const std::vector<std::string>& lines() const { return m_lines; }
    const CScheduleRecord& recordAt(int line) const {
        return m_records.at(static_cast<std::size_t>(line));
    }
    int selected = -1;

    // "Show Reservation" on the selected line.
    void showReservation();

    // "%02d/%02d/%04d   %02d:%02d %s   %02d:%02d %s \t%s   %s".
    static std::string lineFor(const CScheduleRecord& record);

    // The chooser, then the list. False when no list was shown.
    static bool run(CORVSchedDoc& doc);

private:
    CORVSchedDoc& m_doc;
    CPeopleKey m_person;
    CDate m_from;
    std::vector<std::string> m_lines;
    std::vector<CScheduleRecord> m_records;
};

} // namespace orv
