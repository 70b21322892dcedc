#include "tables/CScheduleRecord.h"

#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <cstring>
#include <tuple>
#include <utility>

namespace orv {

void CScheduleRecord::clear() {
    const Level level = m_level;
    *this = CScheduleRecord();
    m_level = level;
}

void CScheduleRecord::setDate(int month, int day, int year) {
    m_month = month;
    m_day = day;
    m_year = year;
}

std::string CScheduleRecord::dateKey() const {
    return CFieldText::dateKey(m_year, m_month, m_day);
}

void CScheduleRecord::setStartTime(int hour, int minute) {
    m_startHour = hour;
    m_startMinute = minute;
}

void CScheduleRecord::setEndTime(int hour, int minute) {
    m_endHour = hour;
    m_endMinute = minute;
}

void CScheduleRecord::setMade(int month, int day, int year, int hour, int minute, int seconds) {
    m_madeMonth = month;
    m_madeDay = day;
    m_madeYear = year;
    m_madeHour = hour;
    m_madeMinute = minute;
    m_madeSeconds = seconds;
}

void CScheduleRecord::setPerson(std::string_view firstName, std::string_view middleInitial,
                                std::string_view lastName, std::string_view department) {
    m_firstName.assign(firstName);
    m_middleInitial.assign(middleInitial);
    m_lastName.assign(lastName);
    m_department.assign(department);
}

void CScheduleRecord::setPerson(const CPeopleKey& key) {
    setPerson(key.firstName(), key.middleInitial(), key.lastName(), key.department());
}

CPeopleKey CScheduleRecord::personKey() const {
    return CPeopleKey(m_firstName, m_middleInitial, m_lastName, m_department);
}

void CScheduleRecord::setRecurrenceCode(int code) {
    m_recurrenceCode = m_level == Level::Oldest ? 0 : code;
}

void CScheduleRecord::setRecurrenceEnd(int month, int day, int year) {
    if (m_level != Level::Current) month = day = year = 0;
    m_recurEndMonth = month;
    m_recurEndDay = day;
    m_recurEndYear = year;
}

void CScheduleRecord::setShowNoteFlag(bool on) {
    m_flags = on ? (m_flags | kFlagShowNote) : (m_flags & ~kFlagShowNote);
}

void CScheduleRecord::setAttendeesFlag(bool on) {
    m_flags = on ? (m_flags | kFlagAttendees) : (m_flags & ~kFlagAttendees);
}

void CScheduleRecord::setBlockoutFlag(bool on) {
    m_flags = on ? (m_flags | kFlagBlockout) : (m_flags & ~kFlagBlockout);
}

bool CScheduleRecord::showsNote() const {
    return !m_note.empty() && (m_flags & kFlagShowNote) != 0;
}

std::string CScheduleRecord::label(std::size_t length) const {
    const std::string_view source = CFieldText::cText(showsNote() ? m_note : m_lastName);
    return std::string(source.substr(0, length));
}

void CScheduleRecord::label(char* buffer, std::size_t length) const {
    if (!buffer) return;
    const std::string text = label(length);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
}

bool CScheduleRecord::isOnDate(const std::string& dateKey) const {
    if (dateKey.size() != 8) return false;
    int year = 0, month = 0, day = 0;
    CFieldText::splitDate(dateKey, year, month, day);
    return year == m_year && month == m_month && day == m_day;
}

bool CScheduleRecord::isBefore(const std::string& dateKey) const {
    return dateKey.size() == 8 && this->dateKey() < dateKey;
}

bool CScheduleRecord::sameDate(int month, int day, int year) const {
    return month == m_month && day == m_day && year == m_year;
}

bool CScheduleRecord::isActiveNow() const {
    const std::tm now = CClock::current().localNow();
    const auto current = std::make_tuple(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday,
                                         now.tm_hour, now.tm_min, now.tm_sec);
    const auto start = std::make_tuple(m_year, m_month, m_day, m_startHour, m_startMinute, 0);
    const auto end = std::make_tuple(m_year, m_month, m_day, m_endHour, m_endMinute, 0);
    return start <= current && current < end;
}

bool CScheduleRecord::recurrenceEndTime(std::time_t& end) const {
    if (!CFieldText::isValidDate(m_recurEndYear, m_recurEndMonth, m_recurEndDay)) return false;
    std::tm tm{};
    tm.tm_year = m_recurEndYear - 1900;
    tm.tm_mon = m_recurEndMonth - 1;
    tm.tm_mday = m_recurEndDay;
    tm.tm_hour = 23;
    tm.tm_min = 59;
    tm.tm_sec = 59;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return false;
    end = t;
    return true;
}

bool CScheduleRecord::sameStamp(const CScheduleRecord& other) const {
    return m_madeYear == other.m_madeYear && m_madeMonth == other.m_madeMonth &&
           m_madeDay == other.m_madeDay && m_madeHour == other.m_madeHour &&
           m_madeMinute == other.m_madeMinute && m_madeSeconds == other.m_madeSeconds;
}

bool CScheduleRecord::sameReservation(const CScheduleRecord& other) const {
    return m_itemName == other.m_itemName && date() == other.date() &&
           startHhmm() == other.startHhmm() && endHhmm() == other.endHhmm() &&
           personKey() == other.personKey() && isBlockout() == other.isBlockout() &&
           sameStamp(other);
}

} // namespace orv
