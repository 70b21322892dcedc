#include "history/CHistory.h"

#include "history/CJournalChange.h"
#include "history/CJournalImage.h"

#include <algorithm>
#include <cstdio>

namespace orv {

const std::string& CHistoryEntry::shownImage() const {
    return record().after.empty() ? record().before : record().after;
}

bool CHistoryFilter::matches(const CHistoryEntry& e) const {
    if (from.isSet() && e.date < from.key()) return false;
    if (to.isSet() && e.date > to.key()) return false;
    if (!user.empty() && e.user != user) return false;
    if (!kind.empty() && e.kind != kind) return false;
    if (!reservation.empty() &&
        std::none_of(e.rows.begin(), e.rows.end(), [this](const CJournalRow& r) {
            return r.table != CJournalImage::kPeople && r.table != CJournalImage::kItems &&
                   r.key == reservation;
        }))
        return false;
    if (!item.empty()) {
        bool found = false;
        for (const CJournalRow& r : e.rows) {
            const std::string& image = r.after.empty() ? r.before : r.after;
            if (r.table == CJournalImage::kItems
                    ? CJournalImage::itemOfItems(image) == item
                    : r.table != CJournalImage::kPeople && CJournalImage::itemName(image) == item)
                found = true;
        }
        if (!found) return false;
    }
    if (person) {
        bool found = false;
        for (const CJournalRow& r : e.rows) {
            for (const std::string* image : {&r.before, &r.after}) {
                if (image->empty()) continue;
                if (r.table == CJournalImage::kSchedule && !CJournalImage::isBlockout(*image) &&
                    CJournalImage::person(*image) == *person)
                    found = true;
                if (r.table == CJournalImage::kPeople &&
                    CJournalImage::personOfPeople(*image) == *person)
                    found = true;
                if (r.table == CJournalImage::kLinks &&
                    CJournalImage::personOfLink(*image) == *person)
                    found = true;
            }
        }
        if (!found) return false;
    }
    return true;
}

int CHistory::load(CJournal& journal, std::vector<CHistoryEntry>& entries) {
    entries.clear();
    std::vector<CJournalRow> rows;
    const int rc = journal.readAll(rows);
    if (rc != 0) return rc;
    // Tag order is by time; an entry's rows are in part order within it.
    std::stable_sort(rows.begin(), rows.end(), [](const CJournalRow& a, const CJournalRow& b) {
        return a.entry != b.entry ? a.entry < b.entry : a.part < b.part;
    });
    for (CJournalRow& r : rows) {
        if (entries.empty() || entries.back().entry != r.entry) {
            CHistoryEntry e;
            e.entry = r.entry;
            e.batch = r.batch;
            e.date = r.date;
            e.time = r.time;
            e.user = r.user;
            e.host = r.host;
            e.kind = r.kind;
            e.reason = r.reason;
            e.undoes = r.undoes;
            entries.push_back(std::move(e));
        }
        entries.back().rows.push_back(std::move(r));
    }
    return 0;
}

std::vector<const CHistoryEntry*> CHistory::newestFirst(const std::vector<CHistoryEntry>& entries,
                                                        const CHistoryFilter& filter) {
    std::vector<const CHistoryEntry*> out;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (filter.matches(*it)) out.push_back(&*it);
    return out;
}

std::string CHistory::describe(const CHistoryEntry& e) {
    const CJournalRow& r = e.record();
    const std::string& image = e.shownImage();
    if (r.table == CJournalImage::kSchedule) return CJournalImage::describeReservation(image);
    if (r.table == CJournalImage::kPeople)
        return CJournalImage::describePerson(CJournalImage::personOfPeople(image));
    if (r.table == CJournalImage::kItems) return CJournalImage::itemOfItems(image);
    // An attendee list alone: its reservation, and how many attendees it has now.
    const CDate d = CJournalImage::date(image);
    const int start = CJournalImage::startHhmm(image);
    int before = 0, after = 0;
    for (const CJournalRow& link : e.rows) {
        if (!link.before.empty()) ++before;
        if (!link.after.empty()) ++after;
    }
    char text[128];
    std::snprintf(text, sizeof text, " %02d/%02d/%04d %02d:%02d: %d added, %d removed", d.month,
                  d.day, d.year, start / 100, start % 100, after, before);
    return CJournalImage::itemName(image) + text;
}

std::string CHistory::when(const CHistoryEntry& e) {
    const CDate d = CDate::fromKey(e.date);
    char text[48];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %.2s:%.2s", d.month, d.day, d.year,
                  e.time.c_str(), e.time.size() >= 4 ? e.time.c_str() + 2 : "00");
    return text;
}

std::string CHistory::line(const CHistoryEntry& e) {
    char number[24];
    std::snprintf(number, sizeof number, "%6ld  ", e.entry);
    std::string text =
        number + when(e) + "  " + e.user + "@" + e.host + "  " + e.kind + "  " + describe(e);
    if (!e.reason.empty()) text += "  \"" + e.reason + "\"";
    return text;
}

const std::vector<std::string>& CHistory::kinds() {
    static const std::vector<std::string> all = {
        CJournalChange::kMade,          CJournalChange::kCancelled,
        CJournalChange::kTerminated,    CJournalChange::kChanged,
        CJournalChange::kAttendees,     CJournalChange::kBlocked,
        CJournalChange::kUnblocked,     CJournalChange::kDeletedOld,
        CJournalChange::kPersonAdded,   CJournalChange::kPersonChanged,
        CJournalChange::kPersonDeleted, CJournalChange::kItemAdded,
        CJournalChange::kItemChanged,   CJournalChange::kItemDeleted,
        CJournalChange::kRestored,      CJournalChange::kUndone,
        CJournalChange::kRedone,        CJournalChange::kImported,
    };
    return all;
}

} // namespace orv
