#pragma once
// "Reservation Detail for %s": one schedule record, of which only the note and the attendee
// list can be changed. A change reaches the record and the later members of its series; the
// attendee changes reach them only with "Include in all later recurring reservations".
//
// Before anything is written the record is found again by date, item and start time and must
// still be the one shown: the schedule table may have moved (the display timer reloads today's
// list through it) and another user may have cancelled it.

#include "group/CUserPrompt.h"
#include "tables/CScheduleRecord.h"

#include <optional>
#include <string>

namespace orv {

class CORVSchedDoc;

class CShowReservation : public CDialogModel {
public:
    static constexpr const char* kId = "ShowReservation";
    static constexpr const char* kRecurringNotice =
        "This reservation is part of a recurring reservation";
    static constexpr int kNoteLimit = 80;
    // A write of the record or of a later member of its series failed.
    static constexpr const char* kNotChanged = "Could not change record in database";
    static constexpr const char* kAttendeesNotChanged =
        "The attendee list could not be written to the database";

    // `record` is the record as just read; `location` and `phone` those of its person (empty
    // for a blockout or a person no longer there).
    CShowReservation(CORVSchedDoc& doc, const CScheduleRecord& record, std::string location,
                     std::string phone);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override;

    // Opens the detail of `record` (as just read) with its person's location and phone from the
    // people table. A person no longer there is told with `personMissing` (title "Database
    // Error", error icon) and the detail opens without them; a blockout has no person to look
    // up. True when the list the record came from must be read again.
    static bool open(CORVSchedDoc& doc, const CScheduleRecord& record, const char* personMissing);

    std::string title() const { return "Reservation Detail for " + m_record.itemName(); }
    // "Reservation Date", "Start", "End", "Reserved For", "Phone", "Dept", "Location".
    std::string dateText() const;
    std::string startText() const;
    std::string endText() const;
    const std::string& reservedFor() const { return m_reservedFor; }
    const std::string& phone() const { return m_phone; }
    const std::string& department() const { return m_record.department(); }
    const std::string& location() const { return m_location; }
    // The notice, or empty when the record is not part of a series.
    std::string recurringText() const;
    bool recurring() const { return m_record.recurEndYear() != 0; }
    const CScheduleRecord& record() const { return m_record; }
    // History...: the changes of this reservation, newest first.
    void showHistory();
    const std::string& openingNote() const { return m_record.note(); }

    // Editable: "Notes" and "View/Change Attendees".
    std::string note;
    // Goes into the history with the changes made from this dialog.
    std::string reason;
    bool viewAttendees = false;
    bool viewAttendeesEnabled() const { return m_attendeesEnabled; }
    // Only the command line sets it: "show the note" changed along the series like the note.
    std::optional<bool> showNote;

    bool noteChanged() const { return note != m_record.note(); }
    // The record was cancelled meanwhile: nothing was written.
    bool recordGone() const { return m_gone; }

    CORVSchedDoc& document() { return m_doc; }
    // "Change...": the change of this reservation, the following members or the whole series
    // (CSeriesChange), run through the prompt. True when members were changed; the detail then
    // closes without writing and its list is read again.
    bool changeSeries();
    bool seriesChanged() const { return m_seriesChanged; }

private:
    // Writes one member, the table's current record held under its lock: the note, the show-note
    // and attendee flags, then the attendee changes when `attendeeChanges` (a failure there is
    // kept in m_linksFailed). 0, or the failure of the record's write.
    int writeMember(CScheduleRecord& image, const CDate& date, int startHour, int startMinute,
                    bool attendeeChanges);

    CORVSchedDoc& m_doc;
    CScheduleRecord m_record;
    std::string m_reservedFor;
    std::string m_location;
    std::string m_phone;
    bool m_attendeesEnabled = false;
    bool m_gone = false;
    bool m_linksFailed = false;
    bool m_seriesChanged = false;
};

} // namespace orv
