#pragma once
// "Reservations for %s": every schedule record of one item on one date (reservations and
// blockouts), and the actions on them: make a reservation, cancel one (or the rest of its
// series), terminate the one running now, show and change one, refresh. CRoomInfoDlg shows it;
// the command line runs the same actions.
//
// Each line remembers the record it shows. An action finds its record again by date, item and
// start time and goes on only when it is still that record (same end, person and creation
// stamp): another user may have cancelled it and booked the same start meanwhile.

#include "group/CORVSchedDoc.h"
#include "group/CUserPrompt.h"
#include "reservations/CDayLoader.h"
#include "tables/CScheduleRecord.h"
#include "tables/CSeriesDates.h"

#include <functional>
#include <string>
#include <vector>

namespace orv {

class CAddReservation;
class CORVSchedDoc;

class CItemDayModel : public CDialogModel, public CDayLoader {
public:
    static constexpr const char* kId = "RoomInfo";
    static constexpr const char* kHeader = "  Start           End            Reserved for";
    static constexpr const char* kSelectToCancel = "You must select a reservation to cancel";
    static constexpr const char* kSelectToTerminate = "You must select a reservation to terminate";
    static constexpr const char* kSelectToView = "You must select a reservation to view";
    static constexpr const char* kConfirmCancel =
        "Are you sure you want to cancel this reservation?";
    static constexpr const char* kConfirmTerminate =
        "Are you sure you want to terminate this reservation?";
    static constexpr const char* kConfirmTitle = "Confirm Cancel";
    static constexpr const char* kSeriesQuestion =
        "This is part of a recurring reservation. Do you want to cancel the remaining "
        "reservations after this one?";
    static constexpr const char* kSeriesTitle = "Recurring Reservation";
    static constexpr const char* kNotDeleted = "Could not delete record from database";
    static constexpr const char* kNotTerminated = "Could not terminate record in database";
    static constexpr const char* kNotRead = CORVSchedDoc::kNotRead;
    static constexpr const char* kPersonGone =
        "Person who made this reservation is no longer in the database";
    static constexpr const char* kOnlyActive =
        "Only the currently active reservation can be terminated.";
    static constexpr const char* kOnlyActiveTitle = "Cannot Terminate This Reservation";
    static constexpr const char* kDatabaseError = "Database Error";
    static constexpr const char* kNotASeries =
        "This reservation is not part of a recurring reservation.";
    static constexpr const char* kBadRange =
        "The last date of the range must not be before the first, and the range at most ten years.";
    static constexpr long kRangeLimitDays = 3660;

    // `itemIndex` must be a valid index of the document's item list; a date that is not set
    // means today.
    CItemDayModel(CORVSchedDoc& doc, int itemIndex, CDate date = {});

    const char* id() const override { return kId; }
    // "Finished".
    bool onOk(CUserPrompt&) override { return true; }

    // CDayLoader.
    int loadItemDay(const CDate& date, bool reopen = true) override;
    const std::vector<int>& dayStarts() const override { return m_starts; }
    const std::vector<int>& dayEnds() const override { return m_ends; }

    CORVSchedDoc& document() { return m_doc; }
    std::string title() const { return "Reservations for " + m_itemName; }
    const std::string& itemName() const { return m_itemName; }
    const std::string& description() const { return m_description; }
    int occupancy() const { return m_occupancy; }
    // "Occupancy : %d", or empty when the occupancy is 0.
    std::string occupancyText() const;
    int defaultLength() const { return m_defaultLength; }

    const CDate& date() const { return m_date; }
    const CDate& openingDate() const { return m_openingDate; }
    // The user picked another date: its records are loaded.
    void setDate(const CDate& date);
    // Takes a date without loading it ("Finished" takes the picker's value).
    void takeDate(const CDate& date) { m_date = date; }
    // A reservation was made, cancelled or terminated here.
    bool changed() const { return m_changed; }
    // "Reason for a change": kept in the group's history with each change made from this list.
    std::string reason;

    const std::vector<std::string>& lines() const { return m_lines; }
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // The record behind a line, as it was loaded.
    const CScheduleRecord& recordAt(int line) const { return m_records.at(line); }
    int selected() const { return m_selected; }
    // -1 clears the selection; an index outside the list does too.
    void select(int line);
    // The line whose record starts at hhmm, or -1.
    int lineStartingAt(int hhmm) const;

    // Loads the shown date again; a failed read is told and leaves the list empty.
    void refresh() { reload(); }
    // Runs "Make Reservation"; true when it ended with OK. `preset` may fill the dialog's values
    // before it opens.
    bool makeReservation(const std::function<void(CAddReservation&)>& preset = {});
    // What the last "Make Reservation" wrote, and how many dates its last OK tried.
    const std::vector<CScheduleRecord>& lastWritten() const { return m_lastWritten; }
    int lastRequested() const { return m_lastRequested; }
    void cancelReservation();
    void terminateReservation();
    void showReservation();
    // Deletes the later members of the series of `record` (cancelled or terminated just now),
    // sought at the given start time.
    void cancelLaterInSeries(const CScheduleRecord& record, int startHour, int startMinute);
    // Cancels the members of the selected reservation's series dated `from` through `to` (the
    // selected one too when it is in the range), with their attendee links. How many went.
    int cancelSeriesRange(const CDate& from, const CDate& to);
    // "Cancel Part of Series...": asks for the two dates, then cancels the members between.
    void cancelPartOfSeries();

    // The list line of a record.
    static std::string lineFor(const CScheduleRecord& record);
    // Printed above the lines: "%s   Occupancy %d", or the description alone.
    std::string printedHeading() const;

private:
    // Deletes the stored members of `series` on `dates` at the start `startHhmm` (an overnight
    // span's days after the series' date at 00:00), each with its attendee links. How many went;
    // a member that could not be deleted is reported once.
    int deleteMembers(CSeriesDates dates, const CScheduleRecord& series, int startHhmm);
    void reload();
    // Finds the selected line's record again and checks that it is still that record; with
    // `lock` the record stays locked on success. False when it is gone.
    bool refind(bool lock);
    // A record of `date` was deleted or written: today's list follows when that is today.
    void touched(const CDate& date);
    void finishChange(bool reset);

    CORVSchedDoc& m_doc;
    std::string m_itemName;
    std::string m_description;
    int m_occupancy = 0;
    int m_defaultLength = 0;
    CDate m_date;
    CDate m_openingDate;
    bool m_changed = false;
    bool m_todayTouched = false;
    int m_selected = -1;
    std::vector<std::string> m_lines;
    std::vector<CScheduleRecord> m_records;
    std::vector<int> m_starts;
    std::vector<int> m_ends;
    std::vector<CScheduleRecord> m_lastWritten;
    int m_lastRequested = 0;
};

} // namespace orv
