#pragma once
// "Person Information" / "Attendee Information": one person, read-only.

#include "group/CUserPrompt.h"
#include "tables/CPeopleRecord.h"

namespace orv {

class CPersonInfoModel : public CDialogModel {
public:
    static constexpr const char* kId = "PersonInfo";

    CPersonInfoModel(const CPeopleRecord& person, bool attendee)
        : m_person(person), m_attendee(attendee) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }

    const char* title() const { return m_attendee ? "Attendee Information" : "Person Information"; }
    const CPeopleRecord& person() const { return m_person; }

private:
    CPeopleRecord m_person;
    bool m_attendee;
};

} // namespace orv
