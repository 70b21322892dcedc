#include "people/CPersonListModel.h"

#include "group/CWaitCursor.h"
#include "people/CPersonInfoModel.h"
#include "people/CPersonModel.h"

namespace orv {

namespace {

// The kind's people in key order, a list line each, and their keys where asked for.
std::vector<CListLine> readLines(CPeople& people, CPeople::Kind kind,
                                 std::vector<CPeopleKey>* keys) {
    std::vector<CPeopleRecord> records;
    error4take(&people.code(), people.listPeople(kind, records));
    std::vector<CListLine> lines;
    lines.reserve(records.size());
    for (const CPeopleRecord& r : records) {
        lines.push_back({r.listLine(), r.recordNumber()});
        if (keys) keys->push_back(r.key());
    }
    return lines;
}

} // namespace

std::vector<CListLine> CPersonListModel::linesOf(CPeople& people, CPeople::Kind kind) {
    return readLines(people, kind, nullptr);
}

CPersonListModel::CPersonListModel(CPeople& people, CUserPrompt& prompt, CPeople::Kind kind,
                                   Use use)
    : m_people(people), m_kind(kind), m_use(use) {
    CWaitCursor wait(prompt);
    m_lines = readLines(people, kind, &m_keys);
}

const char* CPersonListModel::title() const {
    const bool attendees = m_kind == CPeople::Kind::Attendee;
    switch (m_use) {
    case Use::Modify:
        return attendees ? "Select Attendee to Modify" : "Select Person to Modify";
    case Use::Browse:
        return attendees ? "List of Attendees in This Group" : "List of People in This Group";
    case Use::Choose:
        break;
    }
    return attendees ? "Select the Attendee Whose Attendance You Want to See"
                     : "Select Person Whose Reservations You Want to See";
}

int CPersonListModel::lineOf(const CPeopleKey& key) const {
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i] == key) return static_cast<int>(i);
    return -1;
}

bool CPersonListModel::onOk(CUserPrompt& prompt) {
    if (selected < 0 || selected >= static_cast<int>(m_lines.size())) {
        if (m_use == Use::Browse) return true;
        prompt.message(kNoSelection, kNoSelectionTitle, PromptIcon::error);
        return false;
    }
    if (m_people.goTo(m_lines[static_cast<std::size_t>(selected)].recordNumber) != res4success) {
        error4take(&m_people.code());
        prompt.message(kNotRead, "Database Error", PromptIcon::error);
        return false;
    }
    switch (m_use) {
    case Use::Modify: {
        CPersonModel person(m_people, CPersonModel::Mode::Change, false, false);
        prompt.runDialog(person);
        return true;
    }
    case Use::Browse: {
        CPersonInfoModel info(m_people.image(), m_kind == CPeople::Kind::Attendee);
        prompt.runDialog(info);
        return false;
    }
    case Use::Choose:
        m_chosen = m_people.image();
        return true;
    }
    return true;
}

} // namespace orv
