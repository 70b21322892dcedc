#include "people/CPersonModel.h"

#include "tables/CPeople.h"

#include <string>

namespace orv {

CPersonModel::CPersonModel(CPeople& people, Mode mode, bool reserve, bool attend)
    : m_people(people), m_mode(mode) {
    if (mode == Mode::Change) {
        const CPeopleRecord& r = people.image();
        firstName = r.firstName();
        middleInitial = r.middleInitial();
        lastName = r.lastName();
        department = r.department();
        phone = r.phone();
        location = r.location();
        notes = r.notes();
        f1 = r.f1();
        f2 = r.f2();
        mayReserve = r.mayReserve();
        attendee = r.isAttendee();
        m_record = people.recordNumber();
        m_oldFirst = firstName;
        m_oldMiddle = middleInitial;
        m_oldLast = lastName;
        m_oldDepartment = department;
    } else {
        mayReserve = reserve;
        attendee = attend;
    }
    if (!mayReserve && !attendee) mayReserve = true;
    if (mode == Mode::Change)
        m_title = mayReserve ? "Modify Person" : "Modify Attendee";
    else
        m_title = mayReserve ? "Add a New Person" : "Add a New Attendee";
}

bool CPersonModel::write(CUserPrompt& prompt) {
    if (adding()) {
        m_people.clearImage();
    } else {
        // The record the dialog was opened on, as it is now: another user may have changed or
        // deleted it while the dialog was open.
        int rc = m_people.goTo(m_record);
        if (rc == res4success) rc = m_people.relockCurrent();
        if (rc != res4success) {
            error4take(&m_people.code());
            prompt.message(kDeletedMeanwhile, kDeletedMeanwhileTitle, PromptIcon::error);
            return false;
        }
    }
    CPeopleRecord& r = m_people.image();
    r.setName(firstName, middleInitial, lastName);
    r.setDepartment(department);
    r.setLocation(location);
    r.setNotes(notes);
    r.setPhone(phone);
    r.setFreeFields(f1, f2);
    // An unchecked box takes nothing away from a person who has the mark.
    if (attendee) r.setAttendeeFlag(true);
    if (mayReserve) r.setMayReserveFlag(true);
    const int rc = adding() ? m_people.append() : m_people.update();
    if (rc == res4unique) {
        prompt.message(kExists, kExistsTitle, PromptIcon::error);
        return false;
    }
    if (rc != 0) {
        error4take(&m_people.code());
        prompt.message("Error adding/updating person in database, already exist or busy? (" +
                           std::to_string(rc) + ")",
                       "Error", PromptIcon::error);
        return false;
    }
    m_record = m_people.recordNumber();
    if (!adding() &&
        (firstName != m_oldFirst || middleInitial != m_oldMiddle || lastName != m_oldLast)) {
        if (m_people.seekPerson(m_oldFirst, m_oldMiddle, m_oldLast, m_oldDepartment) == res4success)
            m_people.deleteCurrent();
        // The changed record stays the current one.
        m_people.goTo(m_record);
    }
    return true;
}

bool CPersonModel::confirm(CUserPrompt& prompt, bool addAndNew) {
    if (firstName.empty() || lastName.empty()) {
        prompt.message(kNameMissing, kNameMissingTitle, PromptIcon::error);
        return false;
    }
    if (!mayReserve && !attendee) {
        prompt.message(kNoKind, kNoKindTitle, PromptIcon::error);
        return false;
    }
    if (!write(prompt)) return false;
    if (addAndNew && addAndNewOffered()) {
        firstName.clear();
        middleInitial.clear();
        lastName.clear();
        department.clear();
        phone.clear();
        location.clear();
        notes.clear();
        f1.clear();
        f2.clear();
    }
    return true;
}

} // namespace orv
