#include "history/CJournalUndo.h"

#include "group/CORVSchedDoc.h"
#include "history/CHistory.h"
#include "history/CJournalChange.h"
#include "history/CJournalImage.h"
#include "reservations/CAddReservation.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <set>
#include <cstdio>

namespace orv {

namespace {

bool removed(const CJournalRow& r) {
    return !r.before.empty() && r.after.empty();
}

// Runs `work` with the doc's table of that name (schedule, people or roster links).
template <class Work> int withTable(CORVSchedDoc& doc, const std::string& name, Work work) {
    if (name == CJournalImage::kSchedule) return work(doc.schedule());
    if (name == CJournalImage::kPeople) return work(doc.people());
    if (name == CJournalImage::kLinks) return work(doc.rosterLinks());
    return e4parm;
}

} // namespace

bool CJournalUndo::loadEntries() {
    if (!m_doc.journal().isOpen() || CHistory::load(m_doc.journal(), m_entries) != 0) {
        error4take(&m_doc.journalCode());
        m_entries.clear();
        return false;
    }
    return true;
}

void CJournalUndo::stacks(std::vector<long>& undo, std::vector<long>& redo) const {
    const std::string me = CJournalChange::userName();
    long seen = 0;
    for (const CHistoryEntry& e : m_entries) {
        if (e.batch == seen) continue; // one step per batch
        seen = e.batch;
        if (e.user != me) continue;
        if (e.kind == CJournalChange::kUndone) {
            std::erase(undo, e.undoes);
            redo.push_back(e.undoes);
        } else if (e.kind == CJournalChange::kRedone) {
            std::erase(redo, e.undoes);
            undo.push_back(e.undoes);
        } else {
            undo.push_back(e.batch);
            redo.clear();
        }
    }
}

long CJournalUndo::nextUndo() {
    if (!loadEntries()) return 0;
    std::vector<long> undo, redo;
    stacks(undo, redo);
    return undo.empty() ? 0 : undo.back();
}

long CJournalUndo::nextRedo() {
    if (!loadEntries()) return 0;
    std::vector<long> undo, redo;
    stacks(undo, redo);
    return redo.empty() ? 0 : redo.back();
}

std::vector<CJournalUndo::Step> CJournalUndo::stepsOf(long batch, bool backwards) const {
    std::vector<Step> steps;
    for (const CHistoryEntry& e : m_entries)
        if (e.batch == batch)
            for (const CJournalRow& r : e.rows)
                steps.push_back({r.table, r.key, backwards ? r.after : r.before,
                                 backwards ? r.before : r.after});
    // Taking back goes in the opposite order of the change.
    if (backwards) std::reverse(steps.begin(), steps.end());
    return steps;
}

std::string CJournalUndo::changedBy(const Step& step, long batch) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->batch <= batch) break;
        for (const CJournalRow& r : it->rows)
            if (r.table == step.table && r.key == step.key)
                return "was " + it->kind + " by " + it->user + "@" + it->host + " on " +
                       CHistory::when(*it);
    }
    return "was changed since by another user or program";
}

bool CJournalUndo::apply(const std::vector<Step>& steps, long batch, const char* kind,
                         const char* title) {
    CUserPrompt& prompt = m_doc.prompt();
    const bool items = std::any_of(steps.begin(), steps.end(), [](const Step& s) {
        return s.table == CJournalImage::kItems;
    });
    CSchedule& schedule = m_doc.schedule();
    // Reopening closes the tables and so drops their locks: before the lock is taken.
    m_doc.reopenTablesIfSet();
    if (schedule.lockAll() != 0) {
        schedule.unlock();
        error4take(&m_doc.code());
        prompt.message(kNotLocked, title, PromptIcon::error);
        return false;
    }
    // Every record must still be as the change left it, and every reservation written again
    // must fit its day: all checked before anything is written.
    std::string refusal;
    const char* refusalTitle = title;
    for (const Step& s : steps) {
        if (s.table == CJournalImage::kItems) {
            refusal = itemRefusal(s, steps, batch);
            if (!refusal.empty()) break;
            continue;
        }
        bool ok = true;
        if (!s.from.empty()) {
            ok = withTable(m_doc, s.table, [&](auto& t) { return t.findBytes(s.from); }) == 0;
        } else if (s.table != CJournalImage::kLinks) {
            bool taken = false;
            withTable(m_doc, s.table, [&](auto& t) { return t.keyTaken(s.to, taken); });
            ok = !taken;
        }
        if (!ok && s.table == CJournalImage::kSchedule && s.from.empty()) {
            // The slot itself is taken: a conflict like any other.
            ok = true;
        } else if (!ok) {
            const std::string& image = s.from.empty() ? s.to : s.from;
            const std::string what =
                s.table == CJournalImage::kSchedule ? CJournalImage::describeReservation(image)
                : s.table == CJournalImage::kPeople
                    ? CJournalImage::describePerson(CJournalImage::personOfPeople(image))
                    : "An attendee list";
            refusal = what + " " + changedBy(s, batch) + "." + kNothingChanged;
            break;
        }
        if (s.table != CJournalImage::kSchedule || s.to.empty()) continue;
        std::vector<CScheduleRecord> day;
        const CDate date = CJournalImage::date(s.to);
        if (schedule.recordsOfItemOnDate(date.key(), CJournalImage::itemName(s.to), day) != 0) {
            refusal = CAddReservation::kNotWritten;
            refusalTitle = CAddReservation::kDatabaseError;
            break;
        }
        std::vector<int> starts, ends;
        const int replaced = s.from.empty() ? -1 : CJournalImage::startHhmm(s.from);
        for (const CScheduleRecord& r : day)
            if (r.startHhmm() != replaced) {
                starts.push_back(r.startHhmm());
                ends.push_back(r.endHhmm());
            }
        const int start = CJournalImage::startHhmm(s.to);
        const int end = CJournalImage::endHhmm(s.to);
        if (CAddReservation::checkTimes(start / 100, start % 100, end / 100, end % 100, starts,
                                        ends) != 0) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "Reservation conflicts with existing reservation on %02i/%02i/%04i",
                          date.month, date.day, date.year);
            refusal = text;
            refusalTitle = CAddReservation::kReservationError;
            break;
        }
    }
    if (!refusal.empty()) {
        schedule.unlock();
        error4take(&m_doc.code());
        prompt.message(refusal, refusalTitle, PromptIcon::error);
        return false;
    }

    CJournalChange journal(m_doc, CJournalChange::kChanged, items);
    journal.setUndoes(batch, kind);
    // The items first: the group file is read again under its own lock and the steps checked
    // again on what it holds; when it refuses, nothing else is written.
    if (items) {
        bool stillAsLeft = true;
        const auto written = m_doc.rewriteGroupFile([&] {
            for (const Step& s : steps)
                if (s.table == CJournalImage::kItems && !itemStillAsLeft(s)) stillAsLeft = false;
            if (!stillAsLeft) return false;
            for (const Step& s : steps)
                if (s.table == CJournalImage::kItems) writeItem(s);
            return true;
        });
        m_doc.loadTodaysList(m_doc.dateKey());
        m_doc.notifyChanged();
        if (written != CORVSchedDoc::GroupWrite::written) {
            schedule.unlock();
            error4take(&m_doc.code());
            if (!stillAsLeft)
                prompt.message(std::string(kItemsChanged) + kNothingChanged, title,
                               PromptIcon::error);
            return false;
        }
    }
    int failed = 0;
    auto write = [&](const Step& s, bool holdLock) {
        return withTable(m_doc, s.table, [&](auto& t) {
            if (s.from.empty()) return t.appendBytes(s.to, holdLock);
            int rc = t.findBytes(s.from);
            if (rc != 0) return rc;
            return s.to.empty() ? t.deleteBytes(holdLock) : t.rewriteBytes(s.to, holdLock);
        });
    };
    // The schedule's records under the lock the check ran under; people and links then, each
    // write under its record's own lock.
    for (const Step& s : steps)
        if (s.table == CJournalImage::kSchedule && failed == 0) failed = write(s, true);
    schedule.unlock();
    for (const char* table : {CJournalImage::kPeople, CJournalImage::kLinks})
        for (const Step& s : steps)
            if (s.table == table && failed == 0) failed = write(s, false);
    error4take(&m_doc.code());
    journal.commit();
    for (const Step& s : steps)
        if (s.table == CJournalImage::kSchedule)
            m_doc.scheduleChanged(CJournalImage::date(s.to.empty() ? s.from : s.to), true);
    if (failed != 0) {
        prompt.message(CAddReservation::kNotWritten, CAddReservation::kDatabaseError,
                       PromptIcon::error);
        return false;
    }
    return true;
}

bool CJournalUndo::itemStillAsLeft(const Step& s) const {
    const std::string name = CJournalImage::itemOfItems(s.from.empty() ? s.to : s.from);
    const int k = m_doc.items().find(name);
    if (s.from.empty()) return k < 0;
    return k >= 0 && CJournalImage::itemImage(m_doc.items().at(k)) == s.from;
}

std::string CJournalUndo::itemRefusal(const Step& s, const std::vector<Step>& steps, long batch) {
    const std::string name = CJournalImage::itemOfItems(s.from.empty() ? s.to : s.from);
    const std::string what = m_doc.kindUpper() + " " + name;
    CRoom item;
    if (!s.to.empty() && !CJournalImage::itemFromImage(s.to, item))
        return what + " cannot be put back: its description is longer than the history keeps." +
               kNothingChanged;
    if (!itemStillAsLeft(s)) return what + " " + changedBy(s, batch) + "." + kNothingChanged;
    if (s.to.empty()) {
        // Taking back an added item must not take reservations made in it since, only those
        // the same change brought (a merge's).
        std::set<std::pair<std::string, int>> goingToo;
        for (const Step& t : steps)
            if (t.table == CJournalImage::kSchedule && t.to.empty() &&
                CJournalImage::itemName(t.from) == name)
                goingToo.emplace(CJournalImage::date(t.from).key(),
                                 CJournalImage::startHhmm(t.from));
        CSchedule& schedule = m_doc.schedule();
        for (int rc = schedule.first(); rc == res4success; rc = schedule.next()) {
            const CScheduleRecord& r = schedule.image();
            if (r.itemName() == name && !goingToo.count({r.dateKey(), r.startHhmm()}))
                return what + " has reservations now." + kNothingChanged;
        }
    }
    return {};
}

void CJournalUndo::writeItem(const Step& s) {
    CItemList& list = m_doc.items();
    if (s.from.empty()) {
        CRoom item;
        CJournalImage::itemFromImage(s.to, item);
        list.append(item);
        return;
    }
    const int k = list.find(CJournalImage::itemOfItems(s.from));
    if (s.to.empty()) {
        list.removeAt(k);
        return;
    }
    CRoom values;
    CJournalImage::itemFromImage(s.to, values);
    CRoom& item = list.at(k);
    item.setOccupancy(values.occupancy());
    item.setDefaultLength(values.defaultLength());
    item.setLongDescription(values.longDescription());
}

bool CJournalUndo::undo() {
    if (!loadEntries()) {
        m_doc.prompt().message(kNoHistory, kUndoTitle, PromptIcon::error);
        return false;
    }
    std::vector<long> undoStack, redoStack;
    stacks(undoStack, redoStack);
    if (undoStack.empty()) {
        m_doc.prompt().message(kNothingToUndo, kUndoTitle, PromptIcon::information);
        return false;
    }
    const long batch = undoStack.back();
    return apply(stepsOf(batch, true), batch, CJournalChange::kUndone, kUndoTitle);
}

bool CJournalUndo::redo() {
    if (!loadEntries()) {
        m_doc.prompt().message(kNoHistory, kRedoTitle, PromptIcon::error);
        return false;
    }
    std::vector<long> undoStack, redoStack;
    stacks(undoStack, redoStack);
    if (redoStack.empty()) {
        m_doc.prompt().message(kNothingToRedo, kRedoTitle, PromptIcon::information);
        return false;
    }
    const long batch = redoStack.back();
    return apply(stepsOf(batch, false), batch, CJournalChange::kRedone, kRedoTitle);
}

bool CJournalUndo::restore(long entry) {
    if (!loadEntries()) {
        m_doc.prompt().message(kNoHistory, kRestoreTitle, PromptIcon::error);
        return false;
    }
    const auto chosen = std::find_if(m_entries.begin(), m_entries.end(),
                                     [entry](const CHistoryEntry& e) { return e.entry == entry; });
    if (chosen == m_entries.end() || chosen->record().table != CJournalImage::kSchedule ||
        !removed(chosen->record())) {
        m_doc.prompt().message(kNotRestorable, kRestoreTitle, PromptIcon::error);
        return false;
    }
    // The whole cancel: every member of a series or every item of a blockout it removed.
    std::vector<Step> steps;
    for (const CHistoryEntry& e : m_entries) {
        if (e.batch != chosen->batch || e.record().table != CJournalImage::kSchedule ||
            !removed(e.record()))
            continue;
        for (const CJournalRow& r : e.rows)
            if (removed(r)) steps.push_back({r.table, r.key, {}, r.before});
    }
    return apply(steps, chosen->batch, CJournalChange::kRestored, kRestoreTitle);
}

} // namespace orv
