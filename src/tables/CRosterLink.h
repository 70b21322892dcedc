#pragma once
// The record layer over a group's roster link table: one record per attendee of a
// reservation, tying a person key to the reservation's date, item and start time.
//
// Fields (all character fields), in order:
//   DATE 8 ("%04d%02d%02d"), ROOMNAME 20, STARTHH 2 ("%02d"), STARTMM 2 ("%02d"),
//   LASTNAME 21, FIRSTNAME 16, MI 2, DEPARTMENT 10, FLAGS 4 ("%04d", always 0), EXTRA 4
// Tag "ROSTERLINK", key DATE+ROOMNAME+STARTHH+STARTMM, filter .NOT. DELETED(), not unique:
// all links of one reservation stand together, in the order they were appended.
//
// The table belongs to the engine context given at construction: the context's release
// closes it too, after which this object must not be used. Every operation returns the
// engine's result or error code; e4parmNull when no table is open.

#include "storage/Data4.h"
#include "tables/CPeopleKey.h"
#include "tables/CRecordMoves.h"

#include <string>

namespace orv {

class CRosterLink : public CRecordMoves<CRosterLink> {
public:
    static constexpr const char* kTagName = "ROSTERLINK";
    static constexpr bool kUniqueTag = false;
    static constexpr int kFieldCount = 10;

    explicit CRosterLink(Code4& code) : m_code(code) {}
    CRosterLink(const CRosterLink&) = delete;
    CRosterLink& operator=(const CRosterLink&) = delete;

    // Creates base path of `groupFile` + "RosLnk". Returns the context's errorCode after the
    // create; nothing else is done when it is not 0.
    int create(const std::string& groupFile);
    // Opens base path of `groupFile` + "RosLnk"; an empty path reopens the table last named.
    int open(const std::string& groupFile);
    int close();

    bool isOpen() const { return m_data != nullptr; }
    const std::string& tableName() const { return m_tableName; }

    // Clears the image and seeks the reservation key. An exact hit reads the record and gives
    // 0; with an empty start hour text a landing on the next greater key (res4after) is read
    // and gives 0 too (the caller checks that it belongs to the wanted reservation). Other
    // results are returned with nothing read.
    int seek(const std::string& dateKey, const std::string& itemName, const std::string& startHour,
             const std::string& startMinute);
    // The start time as numbers, "%02d" each.
    int seek(const std::string& dateKey, const std::string& itemName, int startHour,
             int startMinute);
    // first, next, goTo (CRecordMoves) read the record on success and leave the image cleared
    // otherwise.

    // Appends the image as a new link.
    int append();
    // Marks the current link deleted; the flush's result.
    int deleteCurrent();
    int lockAppend();
    int unlock();

    // Numbers 0, texts empty.
    void clearImage();
    // The image becomes a copy of another table's image (all ten fields), for an append.
    void copyImageFrom(const CRosterLink& other);

    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    void setDate(int month, int day, int year);
    std::string dateKey() const;
    int startHour() const { return m_startHour; }
    int startMinute() const { return m_startMinute; }
    void setStartTime(int hour, int minute);
    const std::string& itemName() const { return m_itemName; }
    void setItemName(std::string name) { m_itemName = std::move(name); }
    const std::string& firstName() const { return m_firstName; }
    const std::string& middleInitial() const { return m_middleInitial; }
    const std::string& lastName() const { return m_lastName; }
    const std::string& department() const { return m_department; }
    void setPerson(const CPeopleKey& key);
    CPeopleKey personKey() const;
    int flags() const { return m_flags; }
    const std::string& extra() const { return m_extra; }

    // An 8-character key above the image's date key, compared as text.
    bool isBefore(const std::string& dateKey) const;
    // The image is a link of that reservation.
    bool belongsTo(int month, int day, int year, int startHour, int startMinute,
                   const std::string& itemName) const;

private:
    friend class CRecordMoves<CRosterLink>;
    int openTable();
    void bindFields();
    void readImage();
    void missed() { clearImage(); }
    void writeImage();

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    Field4* m_fieldDate = nullptr;
    Field4* m_fieldRoomName = nullptr;
    Field4* m_fieldStartHH = nullptr;
    Field4* m_fieldStartMM = nullptr;
    Field4* m_fieldLastName = nullptr;
    Field4* m_fieldFirstName = nullptr;
    Field4* m_fieldMiddleInitial = nullptr;
    Field4* m_fieldDepartment = nullptr;
    Field4* m_fieldFlags = nullptr;
    Field4* m_fieldExtra = nullptr;

    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_startHour = 0;
    int m_startMinute = 0;
    int m_flags = 0;
    std::string m_itemName;
    std::string m_firstName;
    std::string m_middleInitial;
    std::string m_lastName;
    std::string m_department;
    std::string m_extra;
};

} // namespace orv
