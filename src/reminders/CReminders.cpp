#include "reminders/CReminders.h"

#include "group/CGroupNames.h"
#include "group/CORVSchedDoc.h"
#include "group/CSettings.h"
#include "history/CHistory.h"
#include "history/CJournalImage.h"
#include "reservations/CReservationText.h"
#include "tables/CClock.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

namespace orv {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

} // namespace

CReminders::CReminders(CORVSchedDoc& doc) : m_doc(doc) {}

std::string CReminders::key(const char* name) const {
    return CGroupNames::settingKey(m_doc.groupFile()) + name;
}

std::optional<CPeopleKey> CReminders::person() const {
    const std::vector<std::string> parts =
        split(m_doc.settingsStore().readText(kSection, key("Person")), '|');
    if (parts.size() < 1 || parts[0].empty()) return std::nullopt;
    std::vector<std::string> p = parts;
    p.resize(4);
    return CPeopleKey(p[1], p[2], p[0], p[3]);
}

bool CReminders::remind() const {
    return m_doc.settingsStore().readInt(kSection, key("Remind"), 1) != 0;
}

int CReminders::minutes() const {
    const int m = m_doc.settingsStore().readInt(kSection, key("Minutes"), kDefaultMinutes);
    return m > 0 ? m : kDefaultMinutes;
}

void CReminders::setChoice(const std::optional<CPeopleKey>& person, bool remind, int minutes) {
    CSettings& store = m_doc.settingsStore();
    if (person)
        store.writeText(kSection, key("Person"),
                        person->lastName() + "|" + person->firstName() + "|" +
                            person->middleInitial() + "|" + person->department());
    else
        store.writeText(kSection, key("Person"), std::nullopt);
    store.writeInt(kSection, key("Remind"), remind ? 1 : 0);
    store.writeInt(kSection, key("Minutes"), minutes > 0 ? minutes : kDefaultMinutes);
    m_looked = false;
}

std::string CReminders::reminderSummary(const CAgendaEntry& e) {
    return e.item + " at " + CReservationText::dayListTime(e.startHour, e.startMinute) +
           " until " + CReservationText::dayListTime(e.endHour, e.endMinute);
}

std::vector<CNotice> CReminders::due() {
    std::vector<CNotice> notices;
    const std::optional<CPeopleKey> who = person();
    if (!who || !remind()) return notices;
    const std::time_t now = CClock::current().now();
    std::vector<CAgendaEntry> entries;
    // Starting after now and no later than the chosen minutes from now.
    if (CAgenda::collect(m_doc, *who, now + 1, now + minutes() * 60 + 1, entries) != 0)
        return notices;

    // The shown reminders, "start<TAB>key" a line; those started a day ago are forgotten.
    CSettings& store = m_doc.settingsStore();
    std::vector<std::string> shown;
    for (const std::string& line : split(store.readText(kSection, key("Shown")), '\n')) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos && std::atoll(line.substr(0, tab).c_str()) > now - 86400)
            shown.push_back(line);
    }
    for (const CAgendaEntry& e : entries) {
        const std::string line = std::to_string(static_cast<long long>(e.start)) + "\t" + e.key();
        if (std::find(shown.begin(), shown.end(), line) != shown.end()) continue;
        shown.push_back(line);
        CNotice n;
        n.kind = CNotice::Kind::reminder;
        n.summary = reminderSummary(e);
        n.body = e.note.empty() ? std::string() : e.note;
        if (e.attending) n.body = n.body.empty() ? "You are on the attendee list."
                                                 : n.body + "\nYou are on the attendee list.";
        n.entry = e;
        notices.push_back(std::move(n));
    }
    std::string text;
    for (const std::string& line : shown) text += line + "\n";
    store.writeText(kSection, key("Shown"), text);
    return notices;
}

std::string CReminders::signature() const {
    std::string sig;
    for (const std::string& table : {CGroupNames::scheduleTable(m_doc.groupFile()),
                                     CGroupNames::rosterLinkTable(m_doc.groupFile())}) {
        for (const char* ext : {".dbf", ".DBF"}) {
            struct stat st {};
            if (::stat((table + ext).c_str(), &st) != 0) continue;
            sig += std::to_string(static_cast<long long>(st.st_mtim.tv_sec)) + "." +
                   std::to_string(st.st_mtim.tv_nsec) + ":" +
                   std::to_string(static_cast<long long>(st.st_size)) + ";";
        }
    }
    return sig;
}

int CReminders::collectAhead(std::time_t now, std::vector<CAgendaEntry>& entries) {
    const std::optional<CPeopleKey> who = person();
    if (!who) {
        entries.clear();
        return 0;
    }
    const std::tm today = CClock::local(now);
    const CDate end = CDate(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday)
                          .addDays(kChangeDays + 1);
    return CAgenda::collect(m_doc, *who, now, CAgenda::moment(end, 0, 0), entries);
}

bool CReminders::blockedOut(const CAgendaEntry& e) {
    std::vector<CScheduleRecord> records;
    if (m_doc.schedule().recordsOfItemOnDate(e.date.key(), e.item, records) != 0) return false;
    const int start = e.startHour * 60 + e.startMinute, end = e.endHour * 60 + e.endMinute;
    return std::any_of(records.begin(), records.end(), [&](const CScheduleRecord& r) {
        return r.isBlockout() && r.startHour() * 60 + r.startMinute() < end &&
               r.endHour() * 60 + r.endMinute() > start;
    });
}

std::string CReminders::changedBy(const CAgendaEntry& e) {
    std::vector<CHistoryEntry> entries;
    if (CHistory::load(m_doc.journal(), entries) != 0) return {};
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const CJournalRow& row = it->record();
        if (row.table != CJournalImage::kSchedule || row.before.empty()) continue;
        if (CJournalImage::date(row.before) == e.date && CJournalImage::itemName(row.before) == e.item &&
            CJournalImage::startHhmm(row.before) == e.startHour * 100 + e.startMinute)
            return it->user + "@" + it->host;
    }
    return {};
}

std::vector<CNotice> CReminders::changes() {
    std::vector<CNotice> notices;
    const std::time_t now = CClock::current().now();
    const std::string sig = signature();
    const unsigned long own = m_doc.code().writes;
    if (m_looked && sig == m_signature) return notices;
    std::vector<CAgendaEntry> ahead;
    if (collectAhead(now, ahead) != 0) return notices;
    // This program's own changes are not news; a change by another user in the same minute is
    // then taken as seen.
    if (m_looked && own == m_ownWrites) {
        // Unchanged members first (the same stamp, date, item and start), then a member of the
        // same stamp and date left over on each side is the same one, changed.
        std::vector<bool> taken(ahead.size(), false);
        std::vector<const CAgendaEntry*> changed;
        for (const CAgendaEntry& before : m_ahead) {
            if (before.start <= now) continue;
            bool same = false;
            for (std::size_t i = 0; i < ahead.size() && !same; ++i)
                if (!taken[i] && ahead[i].key() == before.key() &&
                    ahead[i].endHour == before.endHour && ahead[i].endMinute == before.endMinute)
                    same = taken[i] = true;
            if (!same) changed.push_back(&before);
        }
        for (const CAgendaEntry* was : changed) {
            const CAgendaEntry& before = *was;
            auto after = ahead.end();
            for (std::size_t i = 0; i < ahead.size(); ++i)
                if (!taken[i] && ahead[i].sameMember(before)) {
                    taken[i] = true;
                    after = ahead.begin() + static_cast<long>(i);
                    break;
                }
            CNotice n;
            n.entry = before;
            const char* what = nullptr;
            if (after == ahead.end()) {
                const bool blocked = blockedOut(before);
                n.kind = blocked ? CNotice::Kind::blockedOut : CNotice::Kind::cancelled;
                what = blocked ? "blocked out" : "cancelled";
                n.body = before.describe();
            } else if (after->item != before.item || after->startHour != before.startHour ||
                       after->startMinute != before.startMinute) {
                n.kind = CNotice::Kind::moved;
                what = "moved";
                n.body = before.describe() + "\nnow " + after->describe();
                n.entry = *after;
            } else if (after->endHour * 60 + after->endMinute <
                       before.endHour * 60 + before.endMinute) {
                n.kind = CNotice::Kind::terminated;
                what = "shortened";
                n.body = before.describe() + "\nnow until " +
                         CReservationText::dayListTime(after->endHour, after->endMinute);
                n.entry = *after;
            } else {
                continue;
            }
            n.summary = std::string(before.attending ? "A reservation you attend was "
                                                     : "Your reservation was ") +
                        what;
            if (const std::string who = changedBy(before); !who.empty()) n.summary += " by " + who;
            notices.push_back(std::move(n));
        }
    }
    m_looked = true;
    m_signature = sig;
    m_ownWrites = own;
    m_ahead = std::move(ahead);
    return notices;
}

} // namespace orv
