#include "reservations/CBlockoutModel.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "tables/CClock.h"

#include <algorithm>
#include <cstdio>

namespace orv {

CBlockoutModel::CBlockoutModel(CORVSchedDoc& doc) : m_doc(doc) {
    date = CDate::today().addDays(1);
    for (const CRoom& item : doc.items().items())
        m_itemNames.push_back(item.name());
}

CScheduleRecord CBlockoutModel::blockoutRecord(const CDate& date, int startHour, int startMinute,
                                               int endHour, int endMinute,
                                               const std::string& item) {
    const std::tm now = CClock::current().localNow();
    CScheduleRecord r;
    r.setDate(date.month, date.day, date.year);
    r.setItemName(item);
    r.setStartTime(startHour, startMinute);
    r.setEndTime(endHour, endMinute);
    r.setPerson(kFirstName, "", kLastName, "");
    r.setNote(kNote);
    r.setMade(now.tm_mon + 1, now.tm_mday, now.tm_year + 1900, now.tm_hour, now.tm_min, 0);
    r.setRecurrenceCode(0);
    r.setBlockoutFlag(true);
    r.setShowNoteFlag(true);
    return r;
}

int CBlockoutModel::scan(const std::vector<std::string>& counted) const {
    const int start = startHour * 100 + startMinute;
    const int end = endHour * 100 + endMinute;
    bool overlap = false;
    const int rc = m_doc.schedule().walkDate(date.key(), [&](const CScheduleRecord& r) {
        if (!counted.empty() &&
            std::find(counted.begin(), counted.end(), r.itemName()) == counted.end())
            return true;
        // Touching spans do not overlap; reservations and blockouts count alike.
        overlap = r.startHhmm() < end && start < r.endHhmm();
        return !overlap;
    });
    if (rc != 0) return rc;
    return overlap ? 1 : 0;
}

bool CBlockoutModel::block() {
    CJournalChange journal(m_doc);
    CUserPrompt& prompt = m_doc.prompt();
    m_blocked.clear();
    if (startHour * 100 + startMinute >= endHour * 100 + endMinute) {
        prompt.message(kEndNotAfterStart, kErrorTitle, PromptIcon::error);
        return false;
    }
    const std::vector<std::string> chosen =
        selected.empty() ? std::vector<std::string>() : m_doc.items().namesOf(selected);
    const std::vector<std::string> targets = m_doc.items().namesOf(selected);

    // Reopening closes the table and so drops its locks: it runs before the lock is taken.
    m_doc.reopenTablesIfSet();
    CSchedule& schedule = m_doc.schedule();
    int rc = schedule.lockAll();
    if (rc == 0) rc = scan(chosen);
    if (rc != 0) {
        schedule.unlock();
        error4take(&m_doc.code());
        prompt.message(rc == 1 ? kOverlap : kNotChecked, kErrorTitle, PromptIcon::error);
        return false;
    }

    // One record for all: every item of one OK carries the same creation stamp.
    CScheduleRecord record = blockoutRecord(date, startHour, startMinute, endHour, endMinute, "");
    record.setLevel(schedule.level());
    std::string failure;
    for (const std::string& item : targets) {
        record.setItemName(item);
        schedule.image() = record;
        const int appended = schedule.appendHoldingLock();
        if (appended == 0) {
            m_blocked.push_back(item);
            continue;
        }
        // The next item is still written: a pending error would refuse its append.
        error4take(&m_doc.code());
        char text[128];
        std::snprintf(text, sizeof text, "Database error %d when setting blockout in item %s",
                      appended, item.c_str());
        failure = text;
    }
    schedule.unlock();
    error4take(&m_doc.code());
    // Today's boxes and the other users' views follow at once.
    if (!m_blocked.empty()) m_doc.scheduleChanged(date, false);

    if (!failure.empty()) {
        prompt.message(failure, kErrorTitle, PromptIcon::error);
        return false;
    }
    prompt.message(kBlocked, kBlockedTitle, PromptIcon::information);
    return true;
}

} // namespace orv
