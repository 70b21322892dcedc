#include "reports/CPersonReservations.h"

#include "group/CORVSchedDoc.h"
#include "people/CPersonListModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CShowReservation.h"
#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

CPersonReservations::CPersonReservations(CORVSchedDoc& doc, CPeopleKey person, CDate from)
    : m_doc(doc), m_person(std::move(person)), m_from(from.isSet() ? from : CDate::today()) {
    load();
}

std::string CPersonReservations::title() const {
    return "List of Future Reservations for " + m_person.lastName() + ", " + m_person.firstName() +
           " " + m_person.middleInitial();
}

std::string CPersonReservations::lineFor(const CScheduleRecord& r) {
    char date[32];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d   ", r.month(), r.day(), r.year());
    return date + CReservationText::dayListTime(r.startHour(), r.startMinute()) + "   " +
           CReservationText::dayListTime(r.endHour(), r.endMinute()) + " \t" + r.itemName() +
           "   " + (r.hasNote() ? "(Note)" : "");
}

void CPersonReservations::load() {
    m_lines.clear();
    m_records.clear();
    selected = -1;
    CSchedule& schedule = m_doc.schedule();
    // Every record from the date on is looked at: only the names are read until one matches.
    int rc = schedule.seekFrom(m_from.key());
    for (; rc == 0; rc = schedule.skip()) {
        const CScheduleRecord& p = schedule.peekPerson();
        if (p.lastName() != m_person.lastName() || p.firstName() != m_person.firstName() ||
            p.middleInitial() != m_person.middleInitial() ||
            p.department() != m_person.department())
            continue;
        const CScheduleRecord& r = schedule.readCurrent();
        m_records.push_back(r);
        m_lines.push_back(lineFor(r));
    }
    if (m_doc.takeReadFailure(rc == res4eof ? 0 : rc) != 0) {
        // A list cut short would look like all of the person's reservations.
        m_lines.clear();
        m_records.clear();
    }
}

void CPersonReservations::showReservation() {
    CUserPrompt& prompt = m_doc.prompt();
    if (selected < 0 || selected >= static_cast<int>(m_lines.size())) {
        prompt.message(kSelectToView, "Error", PromptIcon::error);
        return;
    }
    // Found through the tag, which holds no deleted record, and only when it is still the
    // reservation listed.
    const CScheduleRecord& listed = recordAt(selected);
    CSchedule& schedule = m_doc.schedule();
    const int rc = schedule.seek(listed.dateKey(), listed.itemName(),
                                 CFieldText::zeroPadded(listed.startHour(), 2),
                                 CFieldText::zeroPadded(listed.startMinute(), 2));
    if (rc != 0 || schedule.image().recordNumber() != listed.recordNumber() ||
        !schedule.image().sameReservation(listed)) {
        error4take(&m_doc.code());
        prompt.message(kNotRead, kDatabaseError, PromptIcon::error);
        return;
    }
    const CScheduleRecord record = schedule.image();
    if (CShowReservation::open(m_doc, record, kPersonNotRead)) {
        const int keep = selected;
        load();
        if (keep < static_cast<int>(m_lines.size())) selected = keep;
    }
}

bool CPersonReservations::run(CORVSchedDoc& doc) {
    CPeopleKey person;
    {
        CPersonListModel chooser(doc.people(), doc.prompt(), CPeople::Kind::MayReserve,
                                 CPersonListModel::Use::Choose);
        if (!doc.prompt().runDialog(chooser)) return false;
        person = chooser.chosen().key();
    }
    CPersonReservations list(doc, person, {});
    return doc.prompt().runDialog(list);
}

} // namespace orv
