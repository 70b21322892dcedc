#pragma once
// A change of a series member for "This reservation", "This and following" or "All in the
// series": start and end, item, person, note and show-note. Only the fields the user changes are
// written, so a member changed on its own before keeps its own values in every other field. A
// change of time or item is checked date by date like a new booking; when a date conflicts the
// user is told every such date and chooses again (nothing is written). The check and every write
// run under one lock of the schedule table, so two users changing one series at once leave it in
// one user's state. "This and following" gives the following members a creation stamp of their
// own: a series of their own, which cancelling the rest of the earlier part does not reach.

#include "group/CUserPrompt.h"
#include "tables/CPeopleKey.h"
#include "tables/CScheduleRecord.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CSeriesChange : public CDialogModel {
public:
    static constexpr const char* kId = "SeriesChange";
    static constexpr const char* kTitle = "Change Series";
    static constexpr const char* kScopes[] = {"This reservation", "This and following",
                                              "All in the series"};
    static constexpr const char* kNothingChanged = "Nothing was changed.";
    static constexpr const char* kGone = "This reservation is no longer in the database; it may "
                                         "have been cancelled by another user.";
    static constexpr const char* kNoItem = "There is no item of that name in this group.";
    // Each day of an overnight span has times of its own.
    static constexpr const char* kOvernightTimes =
        "The times of an overnight reservation can only be changed one day at a time.";
    static constexpr const char* kNotChanged = "Could not change record in database";
    static constexpr const char* kDatabaseError = "Database Error";
    static constexpr const char* kReservationError = "Reservation Error";
    static constexpr const char* kAttendeesNotChanged =
        "The attendee list could not be written to the database";

    enum class Scope { thisOne, following, all };

    CSeriesChange(CORVSchedDoc& doc, const CScheduleRecord& member);

    const char* id() const override { return kId; }
    // Checks and writes; false (the dialog stays) after a message.
    bool onOk(CUserPrompt& prompt) override;

    const CScheduleRecord& member() const { return m_member; }
    // The values the user edits; each starts as the member's own. Start and end are hhmm.
    Scope scope = Scope::thisOne;
    int start = 0;
    int end = 0;
    std::string item;
    CPeopleKey person;
    std::string note;
    bool showNote = false;

    // "Attendees...": the attendee dialog on this member's list. Its additions and removals reach
    // every member in the scope at OK (a person linked already is not linked twice). True when
    // the user chose.
    bool chooseAttendees(CUserPrompt& prompt);
    bool attendeesEnabled() const;

    // "The change conflicts with existing reservations on 12/16/2026, 12/23/2026."
    static std::string conflictsText(const std::vector<CDate>& dates);
    // The group's item names and the people who may reserve (list line and key), for the
    // dialog's choices.
    std::vector<std::string> itemNames() const;
    const std::vector<std::pair<std::string, CPeopleKey>>& people() const { return m_people; }
    // Whether the member belongs to a series (the two wider scopes need one).
    bool inSeries() const { return m_member.recurrenceCode() != 0; }

    // How many members the last OK changed.
    int changed() const { return m_changed; }

private:
    // The members in the scope, found again under the lock.
    std::vector<CScheduleRecord> membersInScope();
    // The member with the user's changes; `stamp` set gives it a new creation stamp.
    CScheduleRecord changedCopy(const CScheduleRecord& r, const CScheduleRecord* stamp) const;
    int moveLinks(const CScheduleRecord& from, const CScheduleRecord& to);
    // The chosen attendee changes for one member as it is now stored; false when a link failed.
    bool writeAttendees(const CScheduleRecord& member);
    int moveRule(const std::vector<CScheduleRecord>& before,
                 const std::vector<CScheduleRecord>& after);

    CORVSchedDoc& m_doc;
    CScheduleRecord m_member;
    std::vector<std::pair<std::string, CPeopleKey>> m_people;
    int m_changed = 0;
    bool m_attendeesChosen = false;
};

} // namespace orv
