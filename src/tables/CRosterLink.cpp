#include "tables/CRosterLink.h"

#include "tables/CFieldText.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

namespace orv {

int CRosterLink::create(const std::string& groupFile) {
    m_tableName = CTableNames::rosterLink(groupFile);
    Field4info fields;
    fields.add("DATE", 'C', 8);
    fields.add("ROOMNAME", 'C', 20);
    fields.add("STARTHH", 'C', 2);
    fields.add("STARTMM", 'C', 2);
    fields.add("LASTNAME", 'C', 21);
    fields.add("FIRSTNAME", 'C', 16);
    fields.add("MI", 'C', 2);
    fields.add("DEPARTMENT", 'C', 10);
    fields.add("FLAGS", 'C', 4);
    fields.add("EXTRA", 'C', 4);
    Tag4info tags;
    tags.add(kTagName, "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", 0);
    return CTableOps::createBound(m_code, m_tableName, fields, tags, kTagName, m_data, m_tag,
                                  [this] { bindFields(); });
}

int CRosterLink::open(const std::string& groupFile) {
    if (!groupFile.empty()) m_tableName = CTableNames::rosterLink(groupFile);
    if (m_data) close();
    return openTable();
}

int CRosterLink::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, false, m_data, m_tag,
        [this] {
            bindFields();
            return CTableOps::bindResult(m_code);
        },
        [this] { close(); });
}

int CRosterLink::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_fieldDate = m_fieldRoomName = m_fieldStartHH = m_fieldStartMM = nullptr;
    m_fieldLastName = m_fieldFirstName = m_fieldMiddleInitial = m_fieldDepartment = nullptr;
    m_fieldFlags = m_fieldExtra = nullptr;
    return rc;
}

void CRosterLink::bindFields() {
    m_fieldDate = d4field(m_data, "DATE");
    m_fieldRoomName = d4field(m_data, "ROOMNAME");
    m_fieldStartHH = d4field(m_data, "STARTHH");
    m_fieldStartMM = d4field(m_data, "STARTMM");
    m_fieldLastName = d4field(m_data, "LASTNAME");
    m_fieldFirstName = d4field(m_data, "FIRSTNAME");
    m_fieldMiddleInitial = d4field(m_data, "MI");
    m_fieldDepartment = d4field(m_data, "DEPARTMENT");
    m_fieldFlags = d4field(m_data, "FLAGS");
    m_fieldExtra = d4field(m_data, "EXTRA");
}

void CRosterLink::readImage() {
    m_itemName = CTableOps::text(m_fieldRoomName);
    m_firstName = CTableOps::text(m_fieldFirstName);
    m_middleInitial = CTableOps::text(m_fieldMiddleInitial);
    m_lastName = CTableOps::text(m_fieldLastName);
    m_department = CTableOps::text(m_fieldDepartment);
    m_extra = CTableOps::text(m_fieldExtra);
    CFieldText::splitDate(f4str(m_fieldDate), m_year, m_month, m_day);
    m_startHour = CTableOps::number(m_fieldStartHH);
    m_startMinute = CTableOps::number(m_fieldStartMM);
    m_flags = CTableOps::number(m_fieldFlags);
}

void CRosterLink::writeImage() {
    CTableOps::assign(m_fieldDate, dateKey());
    CTableOps::assign(m_fieldRoomName, m_itemName);
    CTableOps::assign(m_fieldStartHH, CFieldText::zeroPadded(m_startHour, 2));
    CTableOps::assign(m_fieldStartMM, CFieldText::zeroPadded(m_startMinute, 2));
    CTableOps::assign(m_fieldLastName, m_lastName);
    CTableOps::assign(m_fieldFirstName, m_firstName);
    CTableOps::assign(m_fieldMiddleInitial, m_middleInitial);
    CTableOps::assign(m_fieldDepartment, m_department);
    CTableOps::assign(m_fieldFlags, CFieldText::zeroPadded(m_flags, 4));
    CTableOps::assign(m_fieldExtra, m_extra);
}

int CRosterLink::seek(const std::string& dateKey, const std::string& itemName,
                      const std::string& startHour, const std::string& startMinute) {
    if (!m_data) return e4parmNull;
    clearImage();
    return seekKey(CFieldText::reservationKey(dateKey, itemName, startHour, startMinute),
                   startHour.empty());
}

int CRosterLink::seek(const std::string& dateKey, const std::string& itemName, int startHour,
                      int startMinute) {
    return seek(dateKey, itemName, CFieldText::zeroPadded(startHour, 2),
                CFieldText::zeroPadded(startMinute, 2));
}

int CRosterLink::append() {
    return CTableOps::appendRecord(m_data, [this] { writeImage(); });
}

int CRosterLink::deleteCurrent() {
    return CTableOps::deleteRecord(m_data);
}

int CRosterLink::lockAppend() {
    return m_data ? d4lockAppend(m_data) : e4parmNull;
}

int CRosterLink::unlock() {
    return m_data ? d4unlock(m_data) : e4parmNull;
}

void CRosterLink::clearImage() {
    m_year = m_month = m_day = m_startHour = m_startMinute = m_flags = 0;
    m_itemName.clear();
    m_firstName.clear();
    m_middleInitial.clear();
    m_lastName.clear();
    m_department.clear();
    m_extra.clear();
}

void CRosterLink::copyImageFrom(const CRosterLink& other) {
    m_year = other.m_year;
    m_month = other.m_month;
    m_day = other.m_day;
    m_startHour = other.m_startHour;
    m_startMinute = other.m_startMinute;
    m_flags = other.m_flags;
    m_itemName = other.m_itemName;
    m_firstName = other.m_firstName;
    m_middleInitial = other.m_middleInitial;
    m_lastName = other.m_lastName;
    m_department = other.m_department;
    m_extra = other.m_extra;
}

void CRosterLink::setDate(int month, int day, int year) {
    m_month = month;
    m_day = day;
    m_year = year;
}

std::string CRosterLink::dateKey() const {
    return CFieldText::dateKey(m_year, m_month, m_day);
}

void CRosterLink::setStartTime(int hour, int minute) {
    m_startHour = hour;
    m_startMinute = minute;
}

void CRosterLink::setPerson(const CPeopleKey& key) {
    m_firstName = key.firstName();
    m_middleInitial = key.middleInitial();
    m_lastName = key.lastName();
    m_department = key.department();
}

CPeopleKey CRosterLink::personKey() const {
    return CPeopleKey(m_firstName, m_middleInitial, m_lastName, m_department);
}

bool CRosterLink::isBefore(const std::string& dateKey) const {
    return dateKey.size() == 8 && this->dateKey() < dateKey;
}

bool CRosterLink::belongsTo(int month, int day, int year, int startHour, int startMinute,
                            const std::string& itemName) const {
    return m_itemName == itemName && m_startHour == startHour && m_startMinute == startMinute &&
           m_month == month && m_day == day && m_year == year;
}

} // namespace orv
