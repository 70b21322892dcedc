#include "tables/CSchedule.h"

#include "tables/CDate.h"
#include "tables/CFieldText.h"
#include "tables/CRosterLink.h"
#include "tables/CTableNames.h"
#include "tables/CTableOps.h"

#include <cstring>

namespace orv {

int CSchedule::create(const std::string& groupFile) {
    m_tableName = CTableNames::schedule(groupFile);
    Field4info fields;
    fields.add("DATE", 'C', 8);
    fields.add("ROOMNAME", 'C', 20);
    fields.add("STARTHH", 'C', 2);
    fields.add("STARTMM", 'C', 2);
    fields.add("ENDHH", 'C', 2);
    fields.add("ENDMM", 'C', 2);
    fields.add("LASTNAME", 'C', 21);
    fields.add("FIRSTNAME", 'C', 16);
    fields.add("MI", 'C', 2);
    fields.add("DEPARTMENT", 'C', 10);
    fields.add("NOTES", 'C', 80);
    fields.add("DATEMADE", 'C', 8);
    fields.add("TIMEMADE", 'C', 4);
    fields.add("RECURDAYS", 'C', 3);
    fields.add("FLAGS", 'C', 5);
    fields.add("RECUREND", 'C', 8);
    fields.add("EXTRA", 'C', 8);
    Tag4info tags;
    tags.add(kTagName, "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique);
    return CTableOps::createBound(m_code, m_tableName, fields, tags, kTagName, m_data, m_tag,
                                  [this] {
                                      m_level = Level::Current;
                                      m_image.setLevel(m_level);
                                      bindFields();
                                  });
}

int CSchedule::open(const std::string& groupFile) {
    if (!groupFile.empty()) m_tableName = CTableNames::schedule(groupFile);
    if (m_data) close();
    return openTable();
}

int CSchedule::openTable() {
    return CTableOps::openBound(
        m_code, m_tableName, kTagName, true, m_data, m_tag,
        [this] {
            const int fieldCount = d4numFields(m_data);
            m_level = fieldCount == 13   ? Level::Oldest
                      : fieldCount == 14 ? Level::Middle
                                         : Level::Current;
            m_image.setLevel(m_level);
            bindFields();
            return CTableOps::bindResult(m_code);
        },
        [this] { close(); });
}

int CSchedule::close() {
    if (!m_data) return 0;
    const int rc = d4close(m_data);
    m_data = nullptr;
    m_tag = nullptr;
    m_date = m_roomName = m_startHH = m_startMM = m_endHH = m_endMM = nullptr;
    m_lastName = m_firstName = m_middleInitial = m_department = m_notes = nullptr;
    m_dateMade = m_timeMade = m_recurDays = m_flags = m_recurEnd = m_extra = nullptr;
    return rc;
}

void CSchedule::bindFields() {
    m_date = d4field(m_data, "DATE");
    m_roomName = d4field(m_data, "ROOMNAME");
    m_startHH = d4field(m_data, "STARTHH");
    m_startMM = d4field(m_data, "STARTMM");
    m_endHH = d4field(m_data, "ENDHH");
    m_endMM = d4field(m_data, "ENDMM");
    m_lastName = d4field(m_data, "LASTNAME");
    m_firstName = d4field(m_data, "FIRSTNAME");
    m_middleInitial = d4field(m_data, "MI");
    m_department = d4field(m_data, "DEPARTMENT");
    m_notes = d4field(m_data, "NOTES");
    m_dateMade = d4field(m_data, "DATEMADE");
    m_timeMade = d4field(m_data, "TIMEMADE");
    m_recurDays = m_level != Level::Oldest ? d4field(m_data, "RECURDAYS") : nullptr;
    if (m_level == Level::Current) {
        m_flags = d4field(m_data, "FLAGS");
        m_recurEnd = d4field(m_data, "RECUREND");
        m_extra = d4field(m_data, "EXTRA");
    } else {
        m_flags = m_recurEnd = m_extra = nullptr;
    }
}

void CSchedule::readImage() {
    CScheduleRecord& r = m_image;
    peekSlot();
    peekPerson();
    r.setNote(CTableOps::trimmed(m_notes));
    int year = 0, month = 0, day = 0;
    CFieldText::splitDate(f4view(m_dateMade), year, month, day);
    const std::string_view timeMade = f4view(m_timeMade);
    const int madeHour = CFieldText::decimal(timeMade.substr(0, 2));
    const int madeMinute =
        timeMade.size() >= 2 ? CFieldText::decimal(timeMade.substr(timeMade.size() - 2)) : 0;
    int recurrenceCode = 0, madeSeconds = 0;
    if (m_recurDays) {
        const int value = CTableOps::number(m_recurDays);
        recurrenceCode = value % 10;
        madeSeconds = value / 10;
    }
    r.setMade(month, day, year, madeHour, madeMinute, madeSeconds);
    r.setRecurrenceCode(recurrenceCode);

    if (m_level == Level::Current) {
        CFieldText::splitDate(f4view(m_recurEnd), year, month, day);
        r.setRecurrenceEnd(month, day, year);
        r.setExtra(CTableOps::trimmed(m_extra));
    } else {
        r.setRecurrenceEnd(0, 0, 0);
        r.setExtra({});
    }
}

void CSchedule::writeImage() {
    CScheduleRecord& r = m_image;
    CTableOps::assign(m_roomName, r.itemName());
    CTableOps::assign(m_lastName, r.lastName());
    CTableOps::assign(m_firstName, r.firstName());
    CTableOps::assign(m_middleInitial, r.middleInitial());
    CTableOps::assign(m_department, r.department());
    CTableOps::assign(m_notes, r.note());
    CTableOps::assign(m_date, r.dateKey());
    CTableOps::assign(m_startHH, CFieldText::zeroPadded(r.startHour(), 2));
    CTableOps::assign(m_startMM, CFieldText::zeroPadded(r.startMinute(), 2));
    CTableOps::assign(m_endHH, CFieldText::zeroPadded(r.endHour(), 2));
    CTableOps::assign(m_endMM, CFieldText::zeroPadded(r.endMinute(), 2));
    CTableOps::assign(m_dateMade, CFieldText::dateKey(r.madeYear(), r.madeMonth(), r.madeDay()));
    CTableOps::assign(m_timeMade, CFieldText::zeroPadded(r.madeHour(), 2) +
                                      CFieldText::zeroPadded(r.madeMinute(), 2));
    if (m_recurDays) {
        if (r.recurrenceCode() == 0)
            r.setMade(r.madeMonth(), r.madeDay(), r.madeYear(), r.madeHour(), r.madeMinute(), 0);
        CTableOps::assign(m_recurDays,
                          CFieldText::zeroPadded(
                              static_cast<long>(r.recurrenceCode()) + 10L * r.madeSeconds(), 3));
    }
    if (m_level == Level::Current) {
        CTableOps::assign(m_flags, CFieldText::zeroPadded(r.flags(), 5));
        CTableOps::assign(
            m_recurEnd, CFieldText::dateKey(r.recurEndYear(), r.recurEndMonth(), r.recurEndDay()));
        CTableOps::assign(m_extra, r.extra());
    }
}

int CSchedule::seek(const std::string& dateKey, const std::string& itemName,
                    const std::string& startHour, const std::string& startMinute) {
    if (!m_data) return e4parmNull;
    clearImage();
    return seekKey(CFieldText::reservationKey(dateKey, itemName, startHour, startMinute),
                   startHour.empty());
}

int CSchedule::seekFrom(const std::string& dateKey) {
    if (!m_data) return e4parmNull;
    const int rc = d4seek(m_data, CFieldText::reservationKey(dateKey, {}, {}, {}));
    return rc == res4after ? res4success : rc;
}

int CSchedule::skip() {
    return m_data ? d4skip(m_data, 1) : e4parmNull;
}

const CScheduleRecord& CSchedule::peekSlot() {
    CScheduleRecord& r = m_image;
    int year = 0, month = 0, day = 0;
    CFieldText::splitDate(f4view(m_date), year, month, day);
    r.setDate(month, day, year);
    // A walk in tag order meets an item's records of a day one after another.
    const std::string_view item = CTableOps::trimmed(m_roomName);
    if (item != r.itemName()) r.setItemName(item);
    r.setStartTime(CTableOps::number(m_startHH), CTableOps::number(m_startMM));
    r.setEndTime(CTableOps::number(m_endHH), CTableOps::number(m_endMM));
    r.setFlags(m_flags ? CTableOps::number(m_flags) : 0);
    r.setRecordNumber(d4recNo(m_data));
    return r;
}

const CScheduleRecord& CSchedule::peekPerson() {
    m_image.setPerson(CTableOps::trimmed(m_firstName), CTableOps::trimmed(m_middleInitial),
                      CTableOps::trimmed(m_lastName), CTableOps::trimmed(m_department));
    return m_image;
}

CSchedule::NameParts CSchedule::peekNameParts() const {
    return {CTableOps::trimmed(m_firstName), CTableOps::trimmed(m_middleInitial),
            CTableOps::trimmed(m_lastName), CTableOps::trimmed(m_department)};
}

const CScheduleRecord& CSchedule::readCurrent() {
    readImage();
    return m_image;
}

void CSchedule::clearImage() {
    m_image.clear();
    m_image.setLevel(m_level);
}

int CSchedule::append() {
    return CTableOps::appendRecord(m_data, [this] { writeImage(); });
}

int CSchedule::appendHoldingLock() {
    if (!m_data) return e4parmNull;
    d4appendStart(m_data, 0);
    d4blank(m_data);
    writeImage();
    int rc = d4append(m_data);
    if (rc == res4success) rc = d4flush(m_data);
    return rc;
}

int CSchedule::update() {
    return CTableOps::updateRecord(m_data, [this] { writeImage(); });
}

int CSchedule::updateHoldingLock() {
    if (!m_data) return e4parmNull;
    d4blank(m_data);
    writeImage();
    const int rc = d4flush(m_data);
    if (rc != 0) d4changed(m_data, 0);
    return rc;
}

int CSchedule::deleteCurrent() {
    return CTableOps::deleteRecord(m_data);
}

int CSchedule::relockCurrent() {
    const int rc = CTableOps::relockCurrent(m_data);
    if (rc == 0) readImage();
    return rc;
}

int CSchedule::lockAll() {
    return m_data ? d4lockAll(m_data) : e4parmNull;
}

int CSchedule::lockAppend() {
    return m_data ? d4lockAppend(m_data) : e4parmNull;
}

int CSchedule::unlock() {
    return m_data ? d4unlock(m_data) : e4parmNull;
}

int CSchedule::walk(const std::string& dateKey, const std::string* itemName, const Visitor& visit) {
    int rc = seek(dateKey, itemName ? *itemName : std::string(), {}, {});
    while (rc == res4success && m_image.isOnDate(dateKey) &&
           (!itemName || m_image.itemName() == *itemName)) {
        if (visit && !visit(m_image)) return 0;
        rc = next();
    }
    return rc == res4success || rc == res4eof ? 0 : rc;
}

int CSchedule::walkDate(const std::string& dateKey, const Visitor& visit) {
    return walk(dateKey, nullptr, visit);
}

int CSchedule::walkItemOnDate(const std::string& dateKey, const std::string& itemName,
                              const Visitor& visit) {
    return walk(dateKey, &itemName, visit);
}

int CSchedule::recordsOnDate(const std::string& dateKey, std::vector<CScheduleRecord>& records) {
    return walk(dateKey, nullptr, [&records](const CScheduleRecord& r) {
        records.push_back(r);
        return true;
    });
}

int CSchedule::recordsOfItemOnDate(const std::string& dateKey, const std::string& itemName,
                                   std::vector<CScheduleRecord>& records) {
    return walk(dateKey, &itemName, [&records](const CScheduleRecord& r) {
        records.push_back(r);
        return true;
    });
}

int CSchedule::loadTodaysList(const std::string& dateKey, int itemCount, const ItemLookup& indexOf,
                              std::vector<_SCHEDITEM>& list) {
    list.clear();
    if (itemCount <= 0) return 0;
    // Only the fields the list shows are decoded; the label is cut from the field text.
    int rc = seekFrom(dateKey);
    bool looked = false;
    std::string previous;
    int index = -1;
    // The key read once, not at every record.
    int year = 0, month = 0, day = 0;
    if (dateKey.size() == 8) CFieldText::splitDate(dateKey, year, month, day);
    const auto onDate = [&](const CScheduleRecord& r) {
        return r.year() == year && r.month() == month && r.day() == day;
    };
    while (rc == res4success && onDate(peekSlot())) {
        if (!looked || m_image.itemName() != previous) {
            previous = m_image.itemName();
            looked = true;
            index = indexOf ? indexOf(previous) : -1;
        }
        if (index >= 0) {
            _SCHEDITEM item;
            item.itemIndex = index;
            item.startHour = m_image.startHour();
            item.startMinute = m_image.startMinute();
            item.endHour = m_image.endHour();
            item.endMinute = m_image.endMinute();
            item.blockedOut = m_image.isBlockout() ? 1 : 0;
            // The note (80 characters, mostly blanks) is looked at only when it is to be shown.
            const std::string_view note = (m_image.flags() & CScheduleRecord::kFlagShowNote) != 0
                                              ? CTableOps::trimmed(m_notes)
                                              : std::string_view();
            const bool showsNote = !note.empty();
            const std::string_view label =
                CFieldText::cText(showsNote ? note : CTableOps::trimmed(m_lastName))
                    .substr(0, kLabelLength);
            std::memcpy(item.label, label.data(), label.size());
            item.label[label.size()] = '\0';
            list.push_back(item);
        }
        rc = skip();
    }
    return rc == res4success || rc == res4eof ? 0 : rc;
}

int CSchedule::earliestDate(int& month, int& day, int& year) {
    const int rc = first();
    if (rc != res4success) return rc;
    month = m_image.month();
    day = m_image.day();
    year = m_image.year();
    return 0;
}

CDate CSchedule::latestDate() {
    if (!m_data || d4bottom(m_data) != res4success) return {};
    return CDate::fromKey(f4str(m_date));
}

int CSchedule::visitSeries(CSeriesDates dates, const CScheduleRecord& series,
                           const std::function<int(const CDate&)>& startOf,
                           const MemberVisitor& visit) {
    if (!m_data) return e4parmNull;
    const CDate latest = latestDate();
    if (!latest.isSet()) return m_code.errorCode < 0 ? m_code.errorCode : 0;
    dates.stopAfter(latest);
    const std::string item = series.itemName();
    int kept = 0;
    CDate t;
    while (dates.next(t)) {
        const int start = startOf(t);
        int rc = seek(t.key(), item, CFieldText::zeroPadded(start / 100, 2),
                      CFieldText::zeroPadded(start % 100, 2));
        if (rc < 0) return rc;
        if (rc == res4eof) break;
        if (rc == res4success) rc = relockCurrent();
        if (rc < 0) return rc;
        if (rc != res4success || !m_image.sameSeries(series)) {
            if (rc == res4success) unlock();
            if (rc == res4locked && kept == 0) kept = rc;
            dates.miss();
            continue;
        }
        dates.hit();
        rc = visit(m_image);
        if (rc < 0) return rc;
        if (rc != 0 && kept == 0) kept = rc;
    }
    return kept;
}

int CSchedule::deleteItemRecords(const std::string& itemName, int* deleted) {
    int count = 0;
    int rc = first();
    while (rc == res4success) {
        if (m_image.itemName() == itemName) {
            deleteCurrent();
            ++count;
        }
        rc = next();
    }
    // The walk's writes leave their record locks held; nobody else could take the table.
    unlock();
    if (deleted) *deleted = count;
    return rc == res4eof ? 0 : rc;
}

int CSchedule::deleteOlderThan(const std::string& dateKey, CRosterLink* links,
                               const std::function<void(const std::string&)>& onRecord) {
    std::string key = dateKey;
    if (key.empty()) key = CDate::today().addDays(-kDefaultAgeDays).key();
    int count = 0;
    int rc = first();
    while (rc == res4success && m_image.isBefore(key)) {
        const long record = m_image.recordNumber();
        if (onRecord) {
            onRecord(m_image.dateKey());
            // Whatever ran meanwhile may have moved the table: back to the record, deleted
            // only while it is still there and still before the cut.
            if (recordNumber() != record || d4deleted(m_data)) {
                rc = goTo(record);
                if (rc != res4success) break;
                if (d4deleted(m_data) || !m_image.isBefore(key)) {
                    rc = next();
                    continue;
                }
            }
        }
        deleteCurrent();
        ++count;
        rc = next();
    }
    unlock();
    if (!oldFormat() && links && links->isOpen()) {
        rc = links->first();
        while (rc == res4success && links->isBefore(key)) {
            links->deleteCurrent();
            ++count;
            rc = links->next();
        }
    }
    return count;
}

} // namespace orv
