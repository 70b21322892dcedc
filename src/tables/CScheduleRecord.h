#pragma once
// The decoded copy of one schedule record (the schedule record image): one reservation,
// blockout or member of a recurring series. CSchedule reads into it and writes from it; day
// lists are lists of these.

#include "tables/CDate.h"
#include "tables/CPeopleKey.h"

#include <ctime>
#include <string>
#include <string_view>

namespace orv {

class CScheduleRecord {
public:
    // Which fields the table has: 13 (no RECURDAYS, FLAGS, RECUREND, EXTRA), 14 (no FLAGS,
    // RECUREND, EXTRA), or all 17.
    enum class Level { Oldest, Middle, Current };

    static constexpr int kFlagShowNote = 1;
    static constexpr int kFlagAttendees = 2;
    static constexpr int kFlagBlockout = 128;

    // Every text empty, every number 0; the level stays.
    void clear();

    Level level() const { return m_level; }
    void setLevel(Level level) { m_level = level; }

    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    void setDate(int month, int day, int year);
    // "%04d%02d%02d" of the date.
    std::string dateKey() const;

    int startHour() const { return m_startHour; }
    int startMinute() const { return m_startMinute; }
    void setStartTime(int hour, int minute);
    int endHour() const { return m_endHour; }
    int endMinute() const { return m_endMinute; }
    void setEndTime(int hour, int minute);

    int madeYear() const { return m_madeYear; }
    int madeMonth() const { return m_madeMonth; }
    int madeDay() const { return m_madeDay; }
    int madeHour() const { return m_madeHour; }
    int madeMinute() const { return m_madeMinute; }
    int madeSeconds() const { return m_madeSeconds; }
    void setMade(int month, int day, int year, int hour, int minute, int seconds);

    const std::string& itemName() const { return m_itemName; }
    void setItemName(std::string_view name) { m_itemName.assign(name); }

    const std::string& firstName() const { return m_firstName; }
    const std::string& middleInitial() const { return m_middleInitial; }
    const std::string& lastName() const { return m_lastName; }
    const std::string& department() const { return m_department; }
    void setPerson(std::string_view firstName, std::string_view middleInitial,
                   std::string_view lastName, std::string_view department);
    void setPerson(const CPeopleKey& key);
    CPeopleKey personKey() const;

    const std::string& note() const { return m_note; }
    void setNote(std::string_view note) { m_note.assign(note); }

    int recurrenceCode() const { return m_recurrenceCode; }
    // Stores 0 on a table without RECURDAYS.
    void setRecurrenceCode(int code);

    int recurEndYear() const { return m_recurEndYear; }
    int recurEndMonth() const { return m_recurEndMonth; }
    int recurEndDay() const { return m_recurEndDay; }
    // Stores 0/0/0 on a table without RECUREND.
    void setRecurrenceEnd(int month, int day, int year);

    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    void setShowNoteFlag(bool on);
    void setAttendeesFlag(bool on);
    void setBlockoutFlag(bool on);
    bool hasAttendees() const { return (m_flags & kFlagAttendees) != 0; }
    bool isBlockout() const { return (m_flags & kFlagBlockout) != 0; }

    const std::string& extra() const { return m_extra; }
    void setExtra(std::string_view extra) { m_extra.assign(extra); }

    // The record number this image was read from; 0 for an image that was not read.
    long recordNumber() const { return m_recordNumber; }
    void setRecordNumber(long record) { m_recordNumber = record; }

    // The same creation stamp: made date, made time and made-seconds.
    bool sameStamp(const CScheduleRecord& other) const;
    // A member of the same series: the same creation stamp and recurrence code (every member of
    // a series has both; two OKs in one second share a stamp, never the code and the start).
    bool sameSeries(const CScheduleRecord& other) const {
        return sameStamp(other) && m_recurrenceCode == other.m_recurrenceCode;
    }
    // The reservation `other` was when it was read: same item, date, start and end, person,
    // kind (blockout or not) and creation stamp. Another user's record at the same start is
    // not, nor is one terminated since.
    bool sameReservation(const CScheduleRecord& other) const;
    // The record's date, and its start and end as hhmm values (hour x 100 + minute).
    CDate date() const { return {m_year, m_month, m_day}; }
    int startHhmm() const { return m_startHour * 100 + m_startMinute; }
    int endHhmm() const { return m_endHour * 100 + m_endMinute; }
    CDate recurrenceEnd() const { return {m_recurEndYear, m_recurEndMonth, m_recurEndDay}; }

    bool hasNote() const { return !m_note.empty(); }
    // The note is shown instead of the person: a note and flag bit 1.
    bool showsNote() const;
    // At most `length` characters of the note when showsNote(), else of the last name.
    std::string label(std::size_t length) const;
    // The same into `buffer`, which must hold length + 1 bytes; always terminated.
    void label(char* buffer, std::size_t length) const;

    // An 8-character date key naming the image's date; any other length answers no.
    bool isOnDate(const std::string& dateKey) const;
    // An 8-character key above the image's date key, compared as text.
    bool isBefore(const std::string& dateKey) const;
    bool sameDate(int month, int day, int year) const;
    // The clock's local time is at or after the start and before the end, on the date.
    bool isActiveNow() const;
    // 23:59:59 local time of the recurrence end date. False, with `end` untouched, when that
    // is not a valid date from 1900 on.
    bool recurrenceEndTime(std::time_t& end) const;

private:
    Level m_level = Level::Current;
    std::string m_itemName;
    std::string m_firstName;
    std::string m_middleInitial;
    std::string m_lastName;
    std::string m_department;
    std::string m_note;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_startHour = 0;
    int m_startMinute = 0;
    int m_endHour = 0;
    int m_endMinute = 0;
    int m_madeYear = 0;
    int m_madeMonth = 0;
    int m_madeDay = 0;
    int m_madeHour = 0;
    int m_madeMinute = 0;
    int m_madeSeconds = 0;
    int m_recurrenceCode = 0;
    int m_flags = 0;
    int m_recurEndYear = 0;
    int m_recurEndMonth = 0;
    int m_recurEndDay = 0;
    std::string m_extra;
    long m_recordNumber = 0;
};

} // namespace orv
