#include "reports/CAttendance.h"

#include "group/CORVSchedDoc.h"
#include "people/CPersonListModel.h"
#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

CAttendance::CAttendance(CORVSchedDoc& doc, CPeopleKey person)
    : m_doc(doc), m_person(std::move(person)) {
    CRosterLink& links = doc.rosterLinks();
    CSchedule& schedule = doc.schedule();
    std::vector<std::string> found;
    int rc = links.first();
    for (; rc == 0; rc = links.next()) {
        if (links.personKey() != m_person) continue;
        const int month = links.month(), day = links.day(), year = links.year();
        const int hour = links.startHour(), minute = links.startMinute();
        const std::string item = links.itemName();
        // The tag holds no deleted record: a cancelled reservation gives no note.
        std::string note;
        if (schedule.seek(links.dateKey(), item, CFieldText::zeroPadded(hour, 2),
                          CFieldText::zeroPadded(minute, 2)) == 0)
            note = schedule.image().note();
        m_lines.push_back(lineFor(month, day, year, hour, minute, item, note));
    }
    // A list cut short would look like all of the person's attendances.
    if (doc.takeReadFailure(rc == res4eof ? 0 : rc) != 0) m_lines.clear();
}

std::string CAttendance::title() const {
    return "Reservations Attended by " + m_person.firstName() + " " + m_person.middleInitial() +
           " " + m_person.lastName();
}

std::string CAttendance::lineFor(int month, int day, int year, int startHour, int startMinute,
                                 const std::string& itemName, const std::string& note) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d  %02d:%02d%2s  \t", month, day, year,
                  CFieldText::hour12(startHour), startMinute,
                  CFieldText::afternoon(startHour) ? "PM" : "AM");
    return text + itemName + " " + (note.empty() ? std::string() : "(" + note + ")");
}

CPrintRequest CAttendance::printRequest() const {
    return CPrintRequest::attendance(title(), m_lines);
}

bool CAttendance::run(CORVSchedDoc& doc) {
    if (!doc.attendeeAvailable()) return false;
    CPeopleKey person;
    {
        CPersonListModel chooser(doc.people(), doc.prompt(), CPeople::Kind::Attendee,
                                 CPersonListModel::Use::Choose);
        if (!doc.prompt().runDialog(chooser)) return false;
        person = chooser.chosen().key();
    }
    CAttendance list(doc, person);
    return doc.prompt().runDialog(list);
}

} // namespace orv
