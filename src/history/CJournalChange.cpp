#include "history/CJournalChange.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalImage.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <pwd.h>
#include <unistd.h>

namespace orv {

namespace {

std::vector<std::pair<std::string, std::string>> itemImages(const CItemList& items) {
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < items.count(); ++i)
        out.emplace_back(items.at(i).name(), CJournalImage::itemImage(items.at(i)));
    return out;
}

// The stored image of a record: its bytes after the deletion flag, or nothing when deleted.
std::string imageOf(const std::string& bytes) {
    if (bytes.empty() || bytes[0] == '*') return {};
    return CFieldText::trimRight(std::string_view(bytes).substr(1));
}

} // namespace

CJournalChange::CJournalChange(CORVSchedDoc& doc, const char* rewriteKind, bool items)
    : m_doc(doc), m_rewriteKind(rewriteKind) {
    Code4& code = doc.code();
    if (!doc.journal().isOpen()) return;
    m_active = true;
    m_outer = std::move(code.recordWritten);
    code.recordWritten = [this](const Data4& table, long record, std::string_view before,
                                std::string_view after) { written(table, record, before, after); };
    m_items = items;
    if (m_items) m_itemsBefore = itemImages(doc.items());
}

CJournalChange::~CJournalChange() {
    commit();
}

void CJournalChange::setUndoes(long undoes, const char* kind) {
    m_undoes = undoes;
    m_undoKind = kind;
}

void CJournalChange::written(const Data4& table, long record, std::string_view before,
                             std::string_view after) {
    const char* name = nullptr;
    if (&table == m_doc.schedule().table())
        name = CJournalImage::kSchedule;
    else if (&table == m_doc.rosterLinks().table())
        name = CJournalImage::kLinks;
    else if (&table == m_doc.people().table())
        name = CJournalImage::kPeople;
    if (!name) return;
    // A record written twice in one change is one change of it: its first before, last after.
    const auto [at, added] = m_written.try_emplace({name, record}, m_writes.size());
    if (!added) {
        m_writes[at->second].after.assign(after);
        return;
    }
    m_writes.push_back({name, record, std::string(before), std::string(after)});
}

std::vector<std::vector<CJournalRow>> CJournalChange::entries() const {
    const std::tm now = CClock::current().localNow();
    CJournalRow common;
    common.date = CFieldText::dateKey(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", now.tm_hour, now.tm_min, now.tm_sec);
    common.time = time;
    common.user = userName();
    common.host = hostName();
    common.reason = m_doc.changeReason();
    common.undoes = m_undoes;

    auto row = [&](const char* table, std::string before, std::string after) {
        CJournalRow r = common;
        r.table = table;
        r.before = std::move(before);
        r.after = std::move(after);
        r.key = CJournalImage::keyOf(table, r.after.empty() ? r.before : r.after);
        return r;
    };
    auto kindOf = [&](const CJournalRow& r) -> const char* {
        if (m_undoKind) return m_undoKind;
        const bool added = r.before.empty();
        const bool gone = r.after.empty();
        if (r.table == CJournalImage::kPeople)
            return added ? kPersonAdded : gone ? kPersonDeleted : kPersonChanged;
        if (r.table == CJournalImage::kItems)
            return added ? kItemAdded : gone ? kItemDeleted : kItemChanged;
        if (r.table == CJournalImage::kLinks) return kAttendees;
        const bool blockout = CJournalImage::isBlockout(added ? r.after : r.before);
        if (added) return std::string_view(m_rewriteKind) == kImported ? kImported
                          : blockout                                  ? kBlocked
                                                                      : kMade;
        if (gone)
            return std::string_view(m_rewriteKind) == kDeletedOld ? kDeletedOld
                   : blockout                                     ? kUnblocked
                                                                  : kCancelled;
        return m_rewriteKind;
    };

    std::vector<std::vector<CJournalRow>> out;
    std::vector<CJournalRow> links;
    for (const Write& w : m_writes) {
        std::string before = imageOf(w.before);
        std::string after = imageOf(w.after);
        if (before == after) continue;
        CJournalRow r = row(w.table, std::move(before), std::move(after));
        if (r.table == CJournalImage::kLinks)
            links.push_back(std::move(r));
        else
            out.push_back({std::move(r)});
    }
    if (m_items) {
        const auto after = itemImages(m_doc.items());
        std::map<std::string, std::string> was(m_itemsBefore.begin(), m_itemsBefore.end());
        std::map<std::string, std::string> now_(after.begin(), after.end());
        for (const auto& [name, image] : was) {
            auto it = now_.find(name);
            const std::string then = it == now_.end() ? std::string() : it->second;
            if (then != image) out.push_back({row(CJournalImage::kItems, image, then)});
        }
        for (const auto& [name, image] : now_)
            if (!was.count(name)) out.push_back({row(CJournalImage::kItems, {}, image)});
    }
    // A link goes with its reservation's entry, else with its person's, else into an entry of
    // the reservation's attendee list.
    // Entries by table and key, the first of each (a merge writes many at once).
    std::map<std::pair<std::string, std::string>, std::size_t> byKey;
    for (std::size_t i = 0; i < out.size(); ++i)
        byKey.try_emplace({out[i].front().table, out[i].front().key}, i);
    for (CJournalRow& link : links) {
        const std::string person =
            CJournalImage::linkPerson(link.after.empty() ? link.before : link.after);
        auto home = byKey.find({CJournalImage::kSchedule, link.key});
        if (home == byKey.end()) home = byKey.find({CJournalImage::kPeople, person});
        if (home == byKey.end()) home = byKey.find({CJournalImage::kLinks, link.key});
        if (home != byKey.end()) {
            out[home->second].push_back(std::move(link));
        } else {
            byKey.try_emplace({CJournalImage::kLinks, link.key}, out.size());
            out.push_back({std::move(link)});
        }
    }
    for (auto& e : out)
        for (CJournalRow& r : e)
            r.kind = kindOf(e.front());
    return out;
}

long CJournalChange::commit() {
    if (!m_active) return 0;
    m_active = false;
    m_doc.code().recordWritten = std::move(m_outer);
    auto written = entries();
    if (written.empty()) return 0;
    const int rc = m_doc.journal().appendEntries(written);
    if (rc != 0) {
        error4take(&m_doc.journalCode());
        m_doc.prompt().message(kNotRecorded, kHistoryTitle, PromptIcon::warning);
        return 0;
    }
    return written.front().front().batch;
}

// Both as the journal's fields keep them, so that a name read back compares equal.
std::string CJournalChange::userName() {
    std::string name;
    for (const char* variable : {"LOGNAME", "USER"})
        if (const char* value = std::getenv(variable); value && *value && name.empty())
            name = value;
    if (name.empty()) {
        const passwd* pw = getpwuid(geteuid());
        name = pw && pw->pw_name ? pw->pw_name : std::to_string(geteuid());
    }
    return CFieldText::trimRight(std::string_view(name).substr(0, kUserWidth));
}

std::string CJournalChange::hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return CFieldText::trimRight(std::string_view(name).substr(0, kHostWidth));
}

} // namespace orv
