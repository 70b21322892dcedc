#include "reservations/CRosterModel.h"

#include "group/CORVSchedDoc.h"
#include "people/CPersonModel.h"
#include "reservations/CAddReservation.h"
#include "reservations/CReservationText.h"

#include <algorithm>
#include <cctype>

namespace orv {

namespace {

std::string folded(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool contains(const std::vector<CPeopleKey>& keys, const CPeopleKey& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

void erase(std::vector<CPeopleKey>& keys, const CPeopleKey& key) {
    keys.erase(std::remove(keys.begin(), keys.end(), key), keys.end());
}

std::vector<int> ascending(std::vector<int> selected, std::size_t size) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.erase(
        std::remove_if(selected.begin(), selected.end(),
                       [size](int i) { return i < 0 || static_cast<std::size_t>(i) >= size; }),
        selected.end());
    return selected;
}

} // namespace

CRosterModel::CRosterModel(CORVSchedDoc& doc, Mode mode, bool recurring, const CDate& date,
                           int startHour, int startMinute, int endHour, int endMinute,
                           std::string itemName)
    : m_doc(doc), m_recurring(recurring), m_date(date), m_startHour(startHour),
      m_startMinute(startMinute), m_endHour(endHour), m_endMinute(endMinute),
      m_itemName(std::move(itemName)) {
    includeLater = doc.settings().propAttendees != 0;
    CAttendeeLists& lists = doc.attendees();
    lists.clear();
    if (mode == Mode::Existing && doc.rosterLinks().isOpen()) {
        lists.loadAttendees(doc.rosterLinks(), doc.people(), date.month, date.day, date.year,
                            startHour, startMinute, m_itemName, &m_attending);
    }
    m_all.push_back({CAddReservation::kAddNewPerson, -1});
    std::vector<CPeopleRecord> people;
    doc.people().listPeople(CPeople::Kind::Attendee, people);
    for (const CPeopleRecord& p : people) {
        if (contains(lists.current(), p.key())) continue;
        m_all.push_back({p.listLine(), p.recordNumber()});
    }
    error4take(&doc.code());
    sortLines(m_all, 1);
    sortLines(m_attending, 0);
}

std::string CRosterModel::dateText() const {
    return CReservationText::shortDate(m_date);
}
std::string CRosterModel::startText() const {
    return CReservationText::clockTime(m_startHour, m_startMinute);
}
std::string CRosterModel::endText() const {
    return CReservationText::clockTime(m_endHour, m_endMinute);
}

int CRosterModel::lineOf(const std::vector<CListLine>& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].text == text) return static_cast<int>(i);
    return -1;
}

void CRosterModel::sortLines(std::vector<CListLine>& lines, std::size_t from) {
    if (lines.size() <= from) return;
    std::stable_sort(
        lines.begin() + static_cast<long>(from), lines.end(),
        [](const CListLine& a, const CListLine& b) { return folded(a.text) < folded(b.text); });
}

void CRosterModel::moveRight(std::vector<int> selected) {
    CAttendeeLists& lists = m_doc.attendees();
    CPeople& people = m_doc.people();
    std::vector<int> moved;
    for (int index : ascending(std::move(selected), m_all.size())) {
        CListLine line;
        if (index == 0) {
            CPersonModel person(people, CPersonModel::Mode::AddFromList, false, true);
            if (!m_doc.prompt().runDialog(person)) continue;
            if (!people.image().isAttendee()) continue;
            line = {people.image().key().listLine(), person.recordNumber()};
        } else {
            line = m_all[static_cast<std::size_t>(index)];
            moved.push_back(index);
        }
        if (line.recordNumber != -1) {
            if (people.goTo(line.recordNumber) != res4success) {
                line.recordNumber = -1;
            } else {
                const CPeopleKey key = people.image().key();
                if (contains(lists.toRemove(), key))
                    erase(lists.toRemove(), key);
                else
                    lists.toAdd().push_back(key);
            }
        }
        m_attending.push_back(line);
    }
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        m_all.erase(m_all.begin() + *it);
    error4take(&m_doc.code());
    sortLines(m_attending, 0);
}

void CRosterModel::moveLeft(std::vector<int> selected) {
    CAttendeeLists& lists = m_doc.attendees();
    CPeople& people = m_doc.people();
    const std::vector<int> indices = ascending(std::move(selected), m_attending.size());
    for (int index : indices) {
        const CListLine line = m_attending[static_cast<std::size_t>(index)];
        m_all.push_back(line);
        // A line whose person is gone moves without touching the lists: its link stays.
        if (line.recordNumber == -1 || people.goTo(line.recordNumber) != res4success) continue;
        const CPeopleKey key = people.image().key();
        erase(lists.toAdd(), key);
        if (contains(lists.current(), key)) lists.toRemove().push_back(key);
    }
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        m_attending.erase(m_attending.begin() + *it);
    error4take(&m_doc.code());
    sortLines(m_all, 1);
}

} // namespace orv
