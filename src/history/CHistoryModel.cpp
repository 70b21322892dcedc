#include "history/CHistoryModel.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalUndo.h"
#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

CHistoryModel::CHistoryModel(CORVSchedDoc& doc) : m_doc(doc) {
    m_items.push_back(kAll);
    for (int i = 0; i < doc.items().count(); ++i)
        m_items.push_back(doc.items().at(i).name());
    m_people.push_back(kAll);
    m_peopleKeys.emplace_back();
    std::vector<CPeopleRecord> people;
    error4take(&doc.code(), doc.people().listPeople(CPeople::Kind::MayReserve, people));
    for (const CPeopleRecord& p : people) {
        m_people.push_back(p.listLine());
        m_peopleKeys.push_back(p.key());
    }
    m_kinds.push_back(kAll);
    for (const std::string& k : CHistory::kinds())
        m_kinds.push_back(k);
    refresh();
}

CHistoryModel::CHistoryModel(CORVSchedDoc& doc, const CScheduleRecord& r) : CHistoryModel(doc) {
    m_reservation = CFieldText::trimRight(CFieldText::reservationKey(
        r.dateKey(), r.itemName(), CFieldText::zeroPadded(r.startHour(), 2),
        CFieldText::zeroPadded(r.startMinute(), 2)));
    char when[48];
    std::snprintf(when, sizeof when, " %02d/%02d/%04d %02d:%02d", r.month(), r.day(), r.year(),
                  r.startHour(), r.startMinute());
    m_title = std::string(kTitle) + " of " + r.itemName() + when;
    refresh();
}

bool CHistoryModel::refresh() {
    m_lines.clear();
    m_lineEntries.clear();
    if (!m_doc.journal().isOpen() || CHistory::load(m_doc.journal(), m_entries) != 0) {
        error4take(&m_doc.journalCode());
        m_entries.clear();
        m_doc.prompt().message(CJournalUndo::kNoHistory, m_title, PromptIcon::error);
        return false;
    }
    CHistoryFilter filter;
    filter.from = from;
    filter.to = to;
    if (item > 0 && item < static_cast<int>(m_items.size())) filter.item = m_items[item];
    if (person > 0 && person < static_cast<int>(m_peopleKeys.size()))
        filter.person = m_peopleKeys[person];
    filter.user = user;
    filter.reservation = m_reservation;
    if (kind > 0 && kind < static_cast<int>(m_kinds.size())) filter.kind = m_kinds[kind];
    for (const CHistoryEntry* e : CHistory::newestFirst(m_entries, filter)) {
        m_lines.push_back(CHistory::line(*e));
        m_lineEntries.push_back(e->entry);
    }
    if (selected >= static_cast<int>(m_lines.size())) selected = -1;
    return true;
}

long CHistoryModel::entryAt(int line) const {
    return line >= 0 && line < static_cast<int>(m_lineEntries.size()) ? m_lineEntries[line] : 0;
}

bool CHistoryModel::restoreSelected() {
    const long entry = entryAt(selected);
    if (entry == 0) {
        m_doc.prompt().message(kSelectFirst, m_title, PromptIcon::error);
        return false;
    }
    const bool restored = CJournalUndo(m_doc).restore(entry);
    if (restored) m_doc.notifyChanged();
    refresh();
    return restored;
}

CPrintRequest CHistoryModel::printRequest() const {
    CPrintRequest r;
    r.lines = m_lines;
    r.jobName = kTitle;
    r.headings = {
        {m_reservation.empty() ? std::string("History of ") + m_doc.description() : m_title, 2}};
    r.headingsOnEveryPage = true;
    r.firstLine = 4;
    r.paging = CPrintRequest::Paging::beyondLimit;
    r.limitFromBottom = 3;
    r.continueAt = 4;
    return r;
}

} // namespace orv
