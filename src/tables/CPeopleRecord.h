#pragma once
// The decoded copy of one record of the people table (the people record image). CPeople
// reads into it and writes from it; lists of people are lists of these.

#include "tables/CPeopleKey.h"

#include <string>

namespace orv {

class CPeopleRecord {
public:
    static constexpr int kFlagAttendee = 1;
    static constexpr int kFlagMayReserve = 2;

    // Empties every text and sets last-used date and flags to 0; the layout flag stays.
    void clear();

    const std::string& firstName() const { return m_firstName; }
    const std::string& middleInitial() const { return m_middleInitial; }
    const std::string& lastName() const { return m_lastName; }
    void setName(std::string firstName, std::string middleInitial, std::string lastName);
    const std::string& department() const { return m_department; }
    void setDepartment(std::string department) { m_department = std::move(department); }
    const std::string& location() const { return m_location; }
    void setLocation(std::string location) { m_location = std::move(location); }
    const std::string& f1() const { return m_f1; }
    const std::string& f2() const { return m_f2; }
    void setFreeFields(std::string f1, std::string f2);
    const std::string& notes() const { return m_notes; }
    void setNotes(std::string notes) { m_notes = std::move(notes); }
    const std::string& phone() const { return m_phone; }
    void setPhone(std::string phone) { m_phone = std::move(phone); }

    CPeopleKey key() const;
    void setKey(const CPeopleKey& key);

    int lastUsedYear() const { return m_lastUsedYear; }
    int lastUsedMonth() const { return m_lastUsedMonth; }
    int lastUsedDay() const { return m_lastUsedDay; }
    void setLastUsed(int month, int day, int year);

    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    void setAttendeeFlag(bool on);
    void setMayReserveFlag(bool on);
    // Not on the older layout, and flag bit 1.
    bool isAttendee() const;
    // On the older layout everybody may; else flag bit 2.
    bool mayReserve() const;

    // Set by CPeople for an image of a 9-field table.
    bool oldLayout() const { return m_oldLayout; }
    void setOldLayout(bool old) { m_oldLayout = old; }
    // The record number this image was read from; 0 for an image that was not read.
    long recordNumber() const { return m_recordNumber; }
    void setRecordNumber(long record) { m_recordNumber = record; }

    // The person list line, with department and phone.
    std::string listLine() const;

private:
    std::string m_firstName;
    std::string m_middleInitial;
    std::string m_lastName;
    std::string m_department;
    std::string m_location;
    std::string m_f1;
    std::string m_f2;
    std::string m_notes;
    std::string m_phone;
    int m_lastUsedYear = 0;
    int m_lastUsedMonth = 0;
    int m_lastUsedDay = 0;
    int m_flags = 0;
    bool m_oldLayout = false;
    long m_recordNumber = 0;
};

} // namespace orv
