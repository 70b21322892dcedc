#pragma once
// The record layer over a group's schedule table: creating and opening it, one decoded copy of
// the current record (image()), positioning in "SCHEDTAG" order, the fixed add/change/delete
// sequences, and the walks that day lists, today's list and the deletion of old reservations
// are built on.
//
// Fields (all character fields), in order:
//   | #  | name       | width | encoding                                              |
//   |----|------------|-------|-------------------------------------------------------|
//   | 1  | DATE       | 8     | "%04d%02d%02d"                                        |
//   | 2  | ROOMNAME   | 20    | item name                                             |
//   | 3  | STARTHH    | 2     | "%02d"                                                |
//   | 4  | STARTMM    | 2     | "%02d"                                                |
//   | 5  | ENDHH      | 2     | "%02d"                                                |
//   | 6  | ENDMM      | 2     | "%02d"                                                |
//   | 7  | LASTNAME   | 21    | person key                                            |
//   | 8  | FIRSTNAME  | 16    |                                                       |
//   | 9  | MI         | 2     |                                                       |
//   | 10 | DEPARTMENT | 10    |                                                       |
//   | 11 | NOTES      | 80    |                                                       |
//   | 12 | DATEMADE   | 8     | "%04d%02d%02d"                                        |
//   | 13 | TIMEMADE   | 4     | "%02d%02d"                                            |
//   | 14 | RECURDAYS  | 3     | "%03d" of code + 10 x made-seconds (seconds 0 when    |
//   |    |            |       | the code is 0)                                        |
//   | 15 | FLAGS      | 5     | "%05d"                                                |
//   | 16 | RECUREND   | 8     | "%04d%02d%02d", eight zeros when not set              |
//   | 17 | EXTRA      | 8     | written back as read                                  |
// A table of 13 or 14 fields is of an older level: the fields it lacks read as 0 or empty and
// are never written. Tag "SCHEDTAG", key DATE+ROOMNAME+STARTHH+STARTMM, filter
// .NOT. DELETED(), unique (20): one item cannot hold two records of one date and start time.
//
// The table belongs to the engine context given at construction: the context's release
// closes it too, after which this object must not be used. Every operation returns the
// engine's result or error code; e4parmNull when no table is open.

#include "storage/Data4.h"
#include "tables/CRecordMoves.h"
#include "tables/CScheduleRecord.h"
#include "tables/CSeriesDates.h"
#include "tables/_SCHEDITEM.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CRosterLink;

class CSchedule : public CRecordMoves<CSchedule> {
public:
    using Level = CScheduleRecord::Level;
    // Return false to end a walk early.
    using Visitor = std::function<bool(const CScheduleRecord&)>;
    // The index of the first item of that exact name, or -1.
    using ItemLookup = std::function<int(const std::string&)>;

    static constexpr const char* kTagName = "SCHEDTAG";
    static constexpr bool kUniqueTag = true;
    static constexpr int kFieldCount = 17;
    static constexpr int kLabelLength = 21;
    // How far back an empty key sends deleteOlderThan: 31 calendar days.
    static constexpr int kDefaultAgeDays = 31;

    explicit CSchedule(Code4& code) : m_code(code) {}
    CSchedule(const CSchedule&) = delete;
    CSchedule& operator=(const CSchedule&) = delete;

    // Creates base path of `groupFile` + "Sched" with all 17 fields. Returns the context's
    // errorCode after the create; nothing else is done when it is not 0.
    int create(const std::string& groupFile);
    // Opens base path of `groupFile` + "Sched"; an empty path reopens the table last named.
    int open(const std::string& groupFile);
    int close();

    bool isOpen() const { return m_data != nullptr; }
    const std::string& tableName() const { return m_tableName; }
    Level level() const { return m_level; }
    bool noRecurrenceField() const { return m_level == Level::Oldest; }
    bool oldFormat() const { return m_level != Level::Current; }

    // Clears the image and seeks the reservation key. An exact hit reads the record and gives
    // 0. With an empty start hour text a landing on the next greater key (res4after) is read
    // and gives 0 as well: the caller checks that it is on the wanted date and item. Any
    // other result is returned with nothing read.
    int seek(const std::string& dateKey, const std::string& itemName, const std::string& startHour,
             const std::string& startMinute);
    // first, next, goTo (CRecordMoves) read the record on success and leave the image cleared
    // otherwise.

    // Walks over many records that look at a few fields of each: seekFrom positions at the
    // first record dated `dateKey` or later (0, res4eof past the last) and skip at the next in
    // tag order, neither reading anything into the image. peekSlot decodes only the date, the
    // item, the times, the flags and the record number, peekPerson only the four name parts;
    // readCurrent decodes the whole record. The rest of the image keeps what it held.
    int seekFrom(const std::string& dateKey);
    int skip();
    const CScheduleRecord& peekSlot();
    const CScheduleRecord& peekPerson();
    const CScheduleRecord& readCurrent();
    // The four name parts as peekPerson would decode them, but as views into the record, for a
    // walk that only copies them out: valid until the walk moves. The image is left alone.
    struct NameParts {
        std::string_view firstName, middleInitial, lastName, department;
    };
    NameParts peekNameParts() const;

    // Clears the image (the level stays).
    void clearImage();
    CScheduleRecord& image() { return m_image; }
    const CScheduleRecord& image() const { return m_image; }

    // Appends the image: d4append's result (res4unique when the item already has a record
    // of that date and start time).
    int append();
    // Appends the image while the caller holds lockAll(), which stays held (a check and several
    // appends under one lock): the append's result, or the flush's failure.
    int appendHoldingLock();
    // Rewrites the current record from the image; the flush's result.
    int update();
    // Rewrites the current record while the caller holds lockAll(), which stays held (a change of
    // several members checked and written under one lock): the flush's result. A refused rewrite
    // is dropped, as update() drops it.
    int updateHoldingLock();
    // Marks the current record deleted and writes it at once, flushed and unlocked, so that no
    // record lock outlives the delete. The flush's result.
    int deleteCurrent();
    // Takes the current record's lock and reads the record again from the file, since another
    // user may have changed or deleted it after it was found. res4noRecord, with the lock
    // released, when it is deleted now; the image then stays as it was.
    int relockCurrent();
    int lockAll();
    int lockAppend();
    int unlock();

    // The records of one date (of one item on one date) in tag order. Each returns 0 when the
    // walk ended at another date, another item or the end of the table, else the failing
    // result.
    int walkDate(const std::string& dateKey, const Visitor& visit);
    int walkItemOnDate(const std::string& dateKey, const std::string& itemName,
                       const Visitor& visit);
    int recordsOnDate(const std::string& dateKey, std::vector<CScheduleRecord>& records);
    int recordsOfItemOnDate(const std::string& dateKey, const std::string& itemName,
                            std::vector<CScheduleRecord>& records);

    // Fills today's list with the records of `dateKey` whose item is in the group; empty at
    // once when the group has no items. A name is looked up only when it differs from the
    // previous record's. Returns 0, or the failing result.
    int loadTodaysList(const std::string& dateKey, int itemCount, const ItemLookup& indexOf,
                       std::vector<_SCHEDITEM>& list);
    // The same for an item list with count() and find(name). A list whose items give their
    // names (at(i).name()) is looked up through a sorted copy of them made once (one
    // allocation, not one a name): a day meets each of hundreds of items.
    template <class Items>
    int loadTodaysList(const std::string& dateKey, const Items& items,
                       std::vector<_SCHEDITEM>& list) {
        const int count = static_cast<int>(items.count());
        if constexpr (requires { items.at(0).name(); }) {
            std::vector<std::pair<std::string_view, int>> index;
            index.reserve(static_cast<std::size_t>(std::max(count, 0)));
            for (int i = 0; i < count; ++i)
                index.emplace_back(items.at(i).name(), i);
            // By name, then by position: the first of a name, as find() gives, comes first.
            std::sort(index.begin(), index.end());
            return loadTodaysList(
                dateKey, count,
                [&index](const std::string& name) {
                    const auto it = std::lower_bound(
                        index.begin(), index.end(), std::string_view(name),
                        [](const std::pair<std::string_view, int>& e, std::string_view n) {
                            return e.first < n;
                        });
                    return it == index.end() || it->first != name ? -1 : it->second;
                },
                list);
        } else {
            return loadTodaysList(
                dateKey, count,
                [&items](const std::string& name) { return static_cast<int>(items.find(name)); },
                list);
        }
    }

    // The date of the first record in tag order; the engine's result otherwise (res4eof for
    // an empty table).
    int earliestDate(int& month, int& day, int& year);
    // The date of the last record in tag order, or an unset date for an empty table or a failed
    // read.
    CDate latestDate();

    // The stored members of the series of `series` on the dates of `dates`, each sought at the
    // start time (hhmm) that `startOf` gives for its date, locked and read again. A member that
    // carries the series' creation stamp and code is handed to `visit` with its record lock held
    // (visit writes or unlocks it, and returns 0 or its failure); any other record is let go and
    // counts as a miss. A member another user holds locked is passed over and its refusal kept.
    // The walk also ends at the end of the table and past the date of its last record. Returns
    // 0, the first failure that did not end the walk (a refused lock, a failed visit), or the
    // error that ended it (negative).
    using MemberVisitor = std::function<int(CScheduleRecord&)>;
    int visitSeries(CSeriesDates dates, const CScheduleRecord& series,
                    const std::function<int(const CDate&)>& startOf, const MemberVisitor& visit);
    // Deletes every record whose item name is exactly `itemName`. Returns 0 when the whole
    // table was walked, else the failing result; `deleted` (optional) gets the count.
    int deleteItemRecords(const std::string& itemName, int* deleted = nullptr);
    // Deletes the records dated before `dateKey` (empty: 31 calendar days before today) and,
    // unless this table is of an older level, the roster links dated before it (`links` may be
    // null or closed). Returns how many were deleted in all; a failing move ends a walk.
    int deleteOlderThan(const std::string& dateKey, CRosterLink* links,
                        const std::function<void(const std::string&)>& onRecord = {});

private:
    friend class CRecordMoves<CSchedule>;
    int openTable();
    void bindFields();
    void readImage();
    void missed() { clearImage(); }
    void writeImage();
    int walk(const std::string& dateKey, const std::string* itemName, const Visitor& visit);

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    Level m_level = Level::Current;
    Field4* m_date = nullptr;
    Field4* m_roomName = nullptr;
    Field4* m_startHH = nullptr;
    Field4* m_startMM = nullptr;
    Field4* m_endHH = nullptr;
    Field4* m_endMM = nullptr;
    Field4* m_lastName = nullptr;
    Field4* m_firstName = nullptr;
    Field4* m_middleInitial = nullptr;
    Field4* m_department = nullptr;
    Field4* m_notes = nullptr;
    Field4* m_dateMade = nullptr;
    Field4* m_timeMade = nullptr;
    Field4* m_recurDays = nullptr;
    Field4* m_flags = nullptr;
    Field4* m_recurEnd = nullptr;
    Field4* m_extra = nullptr;
    CScheduleRecord m_image;
};

} // namespace orv
