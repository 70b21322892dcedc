#include "tables/CPeopleRecord.h"

#include <utility>

namespace orv {

void CPeopleRecord::clear() {
    const bool old = m_oldLayout;
    *this = CPeopleRecord();
    m_oldLayout = old;
}

void CPeopleRecord::setName(std::string firstName, std::string middleInitial,
                            std::string lastName) {
    m_firstName = std::move(firstName);
    m_middleInitial = std::move(middleInitial);
    m_lastName = std::move(lastName);
}

void CPeopleRecord::setFreeFields(std::string f1, std::string f2) {
    m_f1 = std::move(f1);
    m_f2 = std::move(f2);
}

CPeopleKey CPeopleRecord::key() const {
    return CPeopleKey(m_firstName, m_middleInitial, m_lastName, m_department);
}

void CPeopleRecord::setKey(const CPeopleKey& key) {
    m_firstName = key.firstName();
    m_middleInitial = key.middleInitial();
    m_lastName = key.lastName();
    m_department = key.department();
}

void CPeopleRecord::setLastUsed(int month, int day, int year) {
    m_lastUsedMonth = month;
    m_lastUsedDay = day;
    m_lastUsedYear = year;
}

void CPeopleRecord::setAttendeeFlag(bool on) {
    m_flags = on ? (m_flags | kFlagAttendee) : (m_flags & ~kFlagAttendee);
}

void CPeopleRecord::setMayReserveFlag(bool on) {
    m_flags = on ? (m_flags | kFlagMayReserve) : (m_flags & ~kFlagMayReserve);
}

bool CPeopleRecord::isAttendee() const {
    return !m_oldLayout && (m_flags & kFlagAttendee) != 0;
}

bool CPeopleRecord::mayReserve() const {
    return m_oldLayout || (m_flags & kFlagMayReserve) != 0;
}

std::string CPeopleRecord::listLine() const {
    return key().listLine(m_phone);
}

} // namespace orv
