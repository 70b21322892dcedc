#pragma once
// "Make Reservation": the values of the dialog and makeReservation behind its OK. One item is
// reserved for one person, once or as a series (every day, every weekday, every week, or one
// overnight span written as a record per date), with a note and optionally attendees. For each
// date the item's records are reloaded and checked for overlap, and the record appended, all
// under the schedule table's whole-table lock.

#include "group/CUserPrompt.h"
#include "reservations/CDayLoader.h"
#include "reservations/CRepeatRule.h"
#include "reservations/CSeriesPreview.h"
#include "tables/CListLine.h"
#include "tables/CScheduleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CAddReservation : public CDialogModel {
public:
    static constexpr const char* kId = "AddReservation";
    // Recurrence codes (units digit of RECURDAYS).
    static constexpr int kNone = 0;
    static constexpr int kDaily = 1;
    static constexpr int kWeekdays = 3;
    static constexpr int kWeekly = 7;
    static constexpr int kOvernight = 9;

    static constexpr const char* kAddNewPerson = "<Add a new person>";
    static constexpr const char* kEndBeforeStart =
        "The end date for a recurring reservation must be after the start date.";
    static constexpr const char* kRecurringErrorTitle = "Recurring Reservation Error";
    static constexpr const char* kOldFormat =
        "Recurring reservations not allowed with this version of the database. Use the Database "
        "Converson utility to rebuild the database to accept recurring reservations.";
    static constexpr const char* kOldFormatTitle = "Old Database Format";
    static constexpr const char* kNoPerson = "A person must be selected for the reservation";
    static constexpr const char* kNoPersonTitle = "No Person Selected";
    static constexpr const char* kPersonNotRead = "Could not read selected person from database";
    static constexpr const char* kDatabaseError = "Database Error";
    static constexpr const char* kEndNotAfterStart =
        "End time of reservation must be after start time";
    static constexpr const char* kReservationError = "Reservation Error";
    static constexpr const char* kNotWritten = "Could not make reservation to database";
    // The reservation is stored, its attendee links are not (all or some).
    static constexpr const char* kAttendeesNotWritten =
        "The reservation was made, but its attendee list could not be written to the database";
    static constexpr const char* kPartlyMade =
        "Part of the recurring reservation was not made because of conflicts. Any reservations "
        "not in conflict were made.";
    static constexpr const char* kPartlyMadeTitle = "Recurring Reservation Conflict";
    static constexpr const char* kRuleNotWritten =
        "The reservations were made, but their repeat rule could not be written to the database";

    // Opens on `date` with both times at the current minute (the end moved on by the default
    // length when that is not 0), the person list filled and nothing selected.
    CAddReservation(CORVSchedDoc& doc, std::string itemName, CDate date, int defaultLength,
                    CDayLoader& loader);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return makeReservation(); }

    // "Make a Reservation for %s", or "Make Reservation" without an item name.
    std::string title() const;
    const std::string& itemName() const { return m_itemName; }

    // The values the user edits.
    CDate date;
    CDate lastDate;
    std::string note;
    bool showNote = false;
    bool attendees = false;
    int selectedPerson = -1; // a line of personLines(); 0 is "<Add a new person>"

    int startHour() const { return m_startHour; }
    int startMinute() const { return m_startMinute; }
    int endHour() const { return m_endHour; }
    int endMinute() const { return m_endMinute; }
    // The start moves the end along by the default length until the end was edited, when the
    // end stays on the same day.
    void setStartTime(int hour, int minute);
    void setEndTime(int hour, int minute);
    int recurrence() const { return m_recurrence; }
    void setRecurrence(int code) { m_recurrence = code; }
    bool lastDateEnabled() const { return m_recurrence != kNone && customRule.empty(); }
    // A repeat rule beyond the classic choices ("Custom..."), RFC 5545 text, with the dates to
    // leave out. Set, it stands in for the recurrence code and the last date: the members are
    // written with code 1 and the last date in RECUREND, so that every walk of a daily series
    // finds them, and the rule goes to the series table.
    std::string customRule;
    std::vector<CDate> exceptions;
    // The custom rule read and expanded from `date`; false with the message in `error`.
    bool customDates(CRepeatRule& rule, CRepeatRule::Dates& dates, std::string& error) const;
    // The dates of a series are shown in a preview before anything is written.
    bool previewFirst = false;
    // The dates of a classic series with the times each is written with.
    std::vector<CSeriesSlot> plannedSlots(int code, const CDate& limit, int endHour,
                                          int endMinute) const;
    // "Reservation conflicts with existing reservation on %02i/%02i/%04i".
    static std::string conflictText(const CDate& date);
    // "Every week through 01/27/2027, 8 dates".
    static std::string classicSummary(int code, const CDate& limit, std::size_t dates);
    // "Show Note in Reservation" is off on a table without FLAGS.
    bool showNoteEnabled() const { return m_showNoteEnabled; }
    // "Specify attendee list" needs the group's attendee function.
    bool attendeesEnabled() const { return m_attendeesEnabled; }
    const std::vector<CListLine>& personLines() const { return m_personLines; }
    // The line of a person, or -1.
    int personLine(const CPeopleKey& key) const;

    // OK: true when the dialog ends (whether or not every date could be written), false when it
    // stays open after a message.
    bool makeReservation();

    // 0 when start-end fits between the loaded records, 1 when the end is not after the start,
    // 2 when it overlaps one of them (touching spans do not overlap).
    static int checkTimes(int startHour, int startMinute, int endHour, int endMinute,
                          const std::vector<int>& starts, const std::vector<int>& ends);

    // The date handed back to the opener: the date picked at the last OK.
    const CDate& pickedDate() const { return m_pickedDate; }
    // What the OKs of this dialog wrote, and how many dates the last OK tried.
    const std::vector<CScheduleRecord>& written() const { return m_written; }
    int requested() const { return m_requested; }

private:
    void fillPersonList(long select);
    // Keeps the rule of a custom series written by this OK in the series table.
    void writeRule(const CRepeatRule& rule, const CDate& last, std::vector<CSkippedDate> skipped,
                   const std::vector<CDate>& leftOut, const CScheduleRecord& member);
    // Deletes the records of the overnight span written by this OK, from its first date on, and
    // takes them out of written().
    void removeOvernightDays(const CScheduleRecord& first);

    CORVSchedDoc& m_doc;
    std::string m_itemName;
    int m_defaultLength;
    CDayLoader& m_loader;
    int m_startHour = 0;
    int m_startMinute = 0;
    int m_endHour = 0;
    int m_endMinute = 0;
    bool m_endEdited = false;
    int m_recurrence = kNone;
    bool m_showNoteEnabled = false;
    bool m_attendeesEnabled = false;
    std::vector<CListLine> m_personLines;
    CDate m_pickedDate;
    std::vector<CScheduleRecord> m_written;
    int m_requested = 0;
};

} // namespace orv
