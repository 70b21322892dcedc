#include "tables/CAttendeeLists.h"

#include "tables/CFieldText.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"

#include <algorithm>

namespace orv {

void CAttendeeLists::clear() {
    m_current.clear();
    m_toAdd.clear();
    m_toRemove.clear();
}

bool CAttendeeLists::contains(const std::vector<CPeopleKey>& keys, const CPeopleKey& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

int CAttendeeLists::loadAttendees(CRosterLink& links, CPeople& people, int month, int day, int year,
                                  int startHour, int startMinute, const std::string& itemName,
                                  std::vector<CListLine>* lines) {
    int rc = links.seek(CFieldText::dateKey(year, month, day), itemName, startHour, startMinute);
    while (rc == res4success &&
           links.belongsTo(month, day, year, startHour, startMinute, itemName)) {
        const CPeopleKey key = links.personKey();
        m_current.push_back(key);
        if (lines) {
            CListLine line;
            line.text = key.listLine();
            line.recordNumber = people.seekPerson(key) == res4success ? people.recordNumber() : -1;
            lines->push_back(std::move(line));
        }
        rc = links.next();
    }
    return rc;
}

int CAttendeeLists::deleteAttendees(CRosterLink& links, int month, int day, int year, int startHour,
                                    int startMinute, const std::string& itemName) {
    const std::string key = CFieldText::dateKey(year, month, day);
    int rc = links.seek(key, itemName, startHour, startMinute);
    // The first link is checked too: a name longer than the field finds another item's links.
    // After each delete the reservation's first link is sought again rather than stepped to.
    while (rc == res4success &&
           links.belongsTo(month, day, year, startHour, startMinute, itemName)) {
        const int deleted = links.deleteCurrent();
        if (deleted != 0) return deleted;
        rc = links.seek(key, itemName, startHour, startMinute);
    }
    // No link of the reservation is left: the seek lands on another one's, as a step would.
    return rc == res4after ? res4success : rc;
}

int CAttendeeLists::saveAttendeeChanges(CRosterLink& links, int month, int day, int year,
                                        int startHour, int startMinute,
                                        const std::string& itemName) {
    int rc = res4success;
    if (!m_toRemove.empty()) {
        const std::string key = CFieldText::dateKey(year, month, day);
        rc = links.seek(key, itemName, startHour, startMinute);
        while (rc == res4success &&
               links.belongsTo(month, day, year, startHour, startMinute, itemName)) {
            // After a delete the walk starts over at the reservation's first link.
            if (contains(m_toRemove, links.personKey())) {
                const int deleted = links.deleteCurrent();
                if (deleted != 0) return deleted;
                rc = links.seek(key, itemName, startHour, startMinute);
            } else {
                rc = links.next();
            }
        }
        if (rc == res4after) rc = res4success;
    }
    if (!m_toAdd.empty()) {
        links.clearImage();
        links.setDate(month, day, year);
        links.setStartTime(startHour, startMinute);
        links.setItemName(itemName);
        // Without the append lock nothing is appended; a failed append ends the run.
        int written = links.lockAppend();
        for (const CPeopleKey& key : m_toAdd) {
            if (written != res4success) break;
            if (contains(m_current, key)) continue;
            links.setPerson(key);
            written = links.append();
        }
        links.unlock();
        if (written != res4success) return written;
    }
    return rc;
}

} // namespace orv
