#include "tables/CPeople.h"

#include "tables/CFieldText.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

namespace orv {

int CPeople::create(const std::string& groupFile) {
    m_tableName = CTableNames::people(groupFile);
    Field4info fields;
    fields.add("LASTNAME", 'C', 21);
    fields.add("FIRSTNAME", 'C', 16);
    fields.add("MI", 'C', 2);
    fields.add("DEPARTMENT", 'C', 10);
    fields.add("LOCATION", 'C', 39);
    fields.add("F1", 'C', 39);
    fields.add("F2", 'C', 39);
    fields.add("NOTES", 'C', 39);
    fields.add("PHONE", 'C', 15);
    fields.add("LASTUSED", 'C', 8);
    fields.add("FLAGS", 'C', 5);
    Tag4info tags;
    tags.add(kTagName, "LASTNAME+FIRSTNAME+MI+DEPARTMENT", ".NOT. DELETED()", res4unique);
    return CTableOps::createBound(m_code, m_tableName, fields, tags, kTagName, m_data, m_tag,
                                  [this] {
                                      m_oldLayout = false;
                                      m_image.setOldLayout(false);
                                      bindFields();
                                  });
}

int CPeople::open(const std::string& path, bool pathIsTable) {
    if (!path.empty()) m_tableName = pathIsTable ? path : CTableNames::people(path);
    if (m_data) close();
    return openTable();
}

int CPeople::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, true, m_data, m_tag,
        [this] {
            m_oldLayout = d4numFields(m_data) == kOldLayoutFieldCount;
            m_image.setOldLayout(m_oldLayout);
            bindFields();
            return CTableOps::bindResult(m_code);
        },
        [this] { close(); });
}

int CPeople::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_lastName = m_firstName = m_middleInitial = m_department = nullptr;
    m_location = m_f1 = m_f2 = m_notes = m_phone = m_lastUsed = m_flags = nullptr;
    return rc;
}

void CPeople::bindFields() {
    m_lastName = d4field(m_data, "LASTNAME");
    m_firstName = d4field(m_data, "FIRSTNAME");
    m_middleInitial = d4field(m_data, "MI");
    m_department = d4field(m_data, "DEPARTMENT");
    m_location = d4field(m_data, "LOCATION");
    m_f1 = d4field(m_data, "F1");
    m_f2 = d4field(m_data, "F2");
    m_notes = d4field(m_data, "NOTES");
    m_phone = d4field(m_data, "PHONE");
    if (m_oldLayout) {
        m_lastUsed = nullptr;
        m_flags = nullptr;
    } else {
        m_lastUsed = d4field(m_data, "LASTUSED");
        m_flags = d4field(m_data, "FLAGS");
    }
}

void CPeople::readImage() {
    m_image.setName(CTableOps::text(m_firstName), CTableOps::text(m_middleInitial),
                    CTableOps::text(m_lastName));
    m_image.setDepartment(CTableOps::text(m_department));
    m_image.setLocation(CTableOps::text(m_location));
    m_image.setFreeFields(CTableOps::text(m_f1), CTableOps::text(m_f2));
    m_image.setNotes(CTableOps::text(m_notes));
    m_image.setPhone(CTableOps::text(m_phone));
    if (m_oldLayout) {
        m_image.setLastUsed(0, 0, 0);
        m_image.setFlags(CPeopleRecord::kFlagMayReserve);
    } else {
        int year = 0, month = 0, day = 0;
        CFieldText::splitDate(f4str(m_lastUsed), year, month, day);
        m_image.setLastUsed(month, day, year);
        m_image.setFlags(CFieldText::decimal(f4str(m_flags)));
    }
    m_image.setOldLayout(m_oldLayout);
    m_image.setRecordNumber(d4recNo(m_data));
}

void CPeople::writeImage() {
    CTableOps::assign(m_lastName, m_image.lastName());
    CTableOps::assign(m_firstName, m_image.firstName());
    CTableOps::assign(m_middleInitial, m_image.middleInitial());
    CTableOps::assign(m_department, m_image.department());
    CTableOps::assign(m_location, m_image.location());
    CTableOps::assign(m_f1, m_image.f1());
    CTableOps::assign(m_f2, m_image.f2());
    CTableOps::assign(m_notes, m_image.notes());
    CTableOps::assign(m_phone, m_image.phone());
    if (!m_oldLayout) {
        CTableOps::assign(m_lastUsed,
                          CFieldText::dateKey(m_image.lastUsedYear(), m_image.lastUsedMonth(),
                                              m_image.lastUsedDay()));
        CTableOps::assign(m_flags, CFieldText::zeroPadded(m_image.flags(), 5));
    }
}

int CPeople::seekPerson(const std::string& firstName, const std::string& middleInitial,
                        const std::string& lastName, const std::string& department) {
    return seekKey(CPeopleKey::searchKey(firstName, middleInitial, lastName, department), false);
}

int CPeople::seekPerson(const CPeopleKey& key) {
    return seekPerson(key.firstName(), key.middleInitial(), key.lastName(), key.department());
}

void CPeople::clearImage() {
    m_image.clear();
    m_image.setOldLayout(m_oldLayout);
}

int CPeople::append() {
    return CTableOps::appendRecord(m_data, [this] { writeImage(); });
}

int CPeople::update() {
    const long record = recordNumber();
    const int rc = CTableOps::updateRecord(m_data, [this] { writeImage(); });
    if (rc != 0 && record > 0 && m_code.errorCode == 0) goTo(record);
    return rc;
}

int CPeople::relockCurrent() {
    const int rc = CTableOps::relockCurrent(m_data);
    if (rc == 0) readImage();
    return rc;
}

int CPeople::deleteCurrent() {
    return CTableOps::deleteRecord(m_data);
}

int CPeople::lockAll() {
    return m_data ? d4lockAll(m_data) : e4parmNull;
}

int CPeople::unlock() {
    return m_data ? d4unlock(m_data) : e4parmNull;
}

int CPeople::listPeople(Kind kind, std::vector<CPeopleRecord>& people) {
    int rc = first();
    while (rc == res4success) {
        const bool wanted =
            m_oldLayout ||
            (kind == Kind::Attendee ? (m_image.flags() & CPeopleRecord::kFlagAttendee)
                                    : (m_image.flags() & CPeopleRecord::kFlagMayReserve));
        if (wanted) people.push_back(m_image);
        rc = next();
    }
    return rc == res4eof ? 0 : rc;
}

} // namespace orv
