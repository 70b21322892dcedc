#pragma once
// View > "Attendance...": every reservation, past and future, whose attendee list holds one
// person, in the attendee links' key order (date, item, start), each with the reservation's note
// when the reservation is still there. The attendee is chosen first.

#include "group/CUserPrompt.h"
#include "reports/CPrintRequest.h"
#include "tables/CPeopleKey.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CAttendance : public CDialogModel {
public:
    static constexpr const char* kId = "Attendance";

    // Reads the list now. The group's attendee function must be available.
    CAttendance(CORVSchedDoc& doc, CPeopleKey person);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    // "Reservations Attended by %s %s %s".
    std::string title() const;
    const CPeopleKey& person() const { return m_person; }
    const std::vector<std::string>& lines() const { return m_lines; }
    CPrintRequest printRequest() const;

    // "%02d/%02d/%04d  %02d:%02d%02s  \t%s %s".
    static std::string lineFor(int month, int day, int year, int startHour, int startMinute,
                               const std::string& itemName, const std::string& note);

    // The chooser, then the list; nothing while the attendee function is off. False when no
    // list was shown.
    static bool run(CORVSchedDoc& doc);

private:
    CORVSchedDoc& m_doc;
    CPeopleKey m_person;
    std::vector<std::string> m_lines;
};

} // namespace orv
