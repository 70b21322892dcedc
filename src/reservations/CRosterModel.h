#pragma once
// "Select Attendees": the attendee list of one reservation. It edits only the document's
// working lists (current attendees, attendees to add, attendees to remove); the caller writes
// the links. Both lists are kept in alphabetical order, ignoring case, and every line carries
// the person's record number in the people table, or -1 when the person is not there.

#include "group/CUserPrompt.h"
#include "tables/CDate.h"
#include "tables/CListLine.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CRosterModel : public CDialogModel {
public:
    static constexpr const char* kId = "Roster";
    static constexpr const char* kTitle = "Select Attendees";

    enum class Mode { NewReservation, Existing };

    // Empties the working lists; for an existing reservation loads its attendees.
    CRosterModel(CORVSchedDoc& doc, Mode mode, bool recurring, const CDate& date, int startHour,
                 int startMinute, int endHour, int endMinute, std::string itemName);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    // Read-only texts: "Reserved", "Date", "Start", "End".
    const std::string& itemName() const { return m_itemName; }
    std::string dateText() const;
    std::string startText() const;
    std::string endText() const;

    // "All Attendees", whose first line is always "<Add a new person>".
    const std::vector<CListLine>& allAttendees() const { return m_all; }
    // "Attending This Reservation".
    const std::vector<CListLine>& attending() const { return m_attending; }
    // The line of a person in either list, or -1.
    static int lineOf(const std::vector<CListLine>& lines, const std::string& text);

    // "------>" with the selected lines of "All Attendees"; "<------" with those of
    // "Attending This Reservation". Indices in any order.
    void moveRight(std::vector<int> selected);
    void moveLeft(std::vector<int> selected);

    // "Include in all later recurring reservations".
    bool includeLater = false;
    bool includeLaterEnabled() const { return m_recurring; }

private:
    void sortLines(std::vector<CListLine>& lines, std::size_t from);

    CORVSchedDoc& m_doc;
    bool m_recurring;
    CDate m_date;
    int m_startHour;
    int m_startMinute;
    int m_endHour;
    int m_endMinute;
    std::string m_itemName;
    std::vector<CListLine> m_all;
    std::vector<CListLine> m_attending;
};

} // namespace orv
