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
    int rc = links.seek(CFieldText::dateKey(year, month, day), itemName, startHour, startMinute);
    // The first link is checked too: a name longer than the field finds another item's links.
    while (rc == res4success &&
           links.belongsTo(month, day, year, startHour, startMinute, itemName)) {
        links.deleteCurrent();
        rc = links.next();
    }
    return rc;
}

int CAttendeeLists::saveAttendeeChanges(CRosterLink& links, int month, int day, int year,
                                        int startHour, int startMinute,
                                        const std::string& itemName) {
    int rc = res4success;
    if (!m_toRemove.empty()) {
        rc = links.seek(CFieldText::dateKey(year, month, day), itemName, startHour, startMinute);
        while (rc == res4success &&
               links.belongsTo(month, day, year, startHour, startMinute, itemName)) {
            if (contains(m_toRemove, links.personKey())) links.deleteCurrent();
            rc = links.next();
        }
    }
    if (!m_toAdd.empty()) {
        links.clearImage();
        links.setDate(month, day, year);
        links.setStartTime(startHour, startMinute);
        links.setItemName(itemName);
        links.lockAppend();
        for (const CPeopleKey& key : m_toAdd) {
            if (contains(m_current, key)) continue;
            links.setPerson(key);
            links.append();
        }
        links.unlock();
    }
    return rc;
}

} // namespace orv
