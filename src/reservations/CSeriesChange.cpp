#include "reservations/CSeriesChange.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "reservations/CAddReservation.h"
#include "reservations/CReservationText.h"
#include "reservations/CRosterModel.h"
#include "reservations/CSeriesInfo.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesRules.h"

#include <set>

namespace orv {

namespace {
constexpr int kShowNoteBit = 1;

bool sameSlot(const CScheduleRecord& a, const CScheduleRecord& b) {
    return a.date() == b.date() && a.itemName() == b.itemName() && a.startHhmm() == b.startHhmm();
}
} // namespace

CSeriesChange::CSeriesChange(CORVSchedDoc& doc, const CScheduleRecord& member)
    : m_doc(doc), m_member(member) {
    start = member.startHhmm();
    end = member.endHhmm();
    item = member.itemName();
    person = member.personKey();
    note = member.note();
    showNote = (member.flags() & kShowNoteBit) != 0;
    std::vector<CPeopleRecord> people;
    error4take(&doc.code(), doc.people().listPeople(CPeople::Kind::MayReserve, people));
    for (const CPeopleRecord& p : people)
        m_people.emplace_back(p.listLine(), p.key());
}

std::vector<std::string> CSeriesChange::itemNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_doc.items().count(); ++i)
        names.push_back(m_doc.items().at(i).name());
    return names;
}

std::string CSeriesChange::conflictsText(const std::vector<CDate>& dates) {
    std::string text = "The change conflicts with existing reservations on ";
    for (std::size_t i = 0; i < dates.size(); ++i)
        text += (i ? ", " : "") + CReservationText::shortDate(dates[i]);
    return text + ".";
}

std::vector<CScheduleRecord> CSeriesChange::membersInScope() {
    std::vector<CScheduleRecord> out;
    if (m_member.recurrenceCode() == 0 || scope == Scope::thisOne) {
        CSchedule& schedule = m_doc.schedule();
        const int rc = schedule.walkItemOnDate(m_member.dateKey(), m_member.itemName(),
                                               [&](const CScheduleRecord& r) {
                                                   if (r.sameReservation(m_member))
                                                       out.push_back(r);
                                                   return true;
                                               });
        error4take(&m_doc.code(), rc);
        return out;
    }
    CSeriesInfo info(m_doc, m_member);
    for (const CScheduleRecord& r : info.members())
        if (scope == Scope::all || r.date() >= m_member.date()) out.push_back(r);
    return out;
}

CScheduleRecord CSeriesChange::changedCopy(const CScheduleRecord& r,
                                           const CScheduleRecord* stamp) const {
    CScheduleRecord c = r;
    if (start != m_member.startHhmm() || end != m_member.endHhmm()) {
        c.setStartTime(start / 100, start % 100);
        c.setEndTime(end / 100, end % 100);
    }
    if (item != m_member.itemName()) c.setItemName(item);
    if (!(person == m_member.personKey())) c.setPerson(person);
    if (note != m_member.note()) c.setNote(note);
    if (showNote != ((m_member.flags() & kShowNoteBit) != 0)) c.setShowNoteFlag(showNote);
    if (stamp)
        c.setMade(stamp->madeMonth(), stamp->madeDay(), stamp->madeYear(), stamp->madeHour(),
                  stamp->madeMinute(), stamp->madeSeconds());
    return c;
}

bool CSeriesChange::attendeesEnabled() const {
    return !m_doc.schedule().oldFormat() && !m_doc.people().oldLayout() &&
           m_doc.rosterLinks().isOpen();
}

bool CSeriesChange::chooseAttendees(CUserPrompt& prompt) {
    if (!attendeesEnabled()) return false;
    CRosterModel roster(m_doc, CRosterModel::Mode::Existing, false, m_member.date(),
                        m_member.startHour(), m_member.startMinute(), m_member.endHour(),
                        m_member.endMinute(), m_member.itemName());
    m_attendeesChosen = prompt.runDialog(roster);
    if (!m_attendeesChosen) m_doc.attendees().clear();
    return m_attendeesChosen;
}

bool CSeriesChange::writeAttendees(const CScheduleRecord& r) {
    CAttendeeLists& lists = m_doc.attendees();
    // So that people linked to this member already are not linked twice.
    lists.current().clear();
    lists.loadAttendees(m_doc.rosterLinks(), m_doc.people(), r.month(), r.day(), r.year(),
                        r.startHour(), r.startMinute(), r.itemName());
    const int rc = lists.saveAttendeeChanges(m_doc.rosterLinks(), r.month(), r.day(), r.year(),
                                             r.startHour(), r.startMinute(), r.itemName());
    return !CAttendeeLists::failed(rc);
}

int CSeriesChange::moveLinks(const CScheduleRecord& from, const CScheduleRecord& to) {
    CRosterLink& links = m_doc.rosterLinks();
    if (!from.hasAttendees() || !links.isOpen() || sameSlot(from, to)) return 0;
    std::vector<CPeopleKey> people;
    int rc = links.seek(from.dateKey(), from.itemName(), from.startHour(), from.startMinute());
    while (rc == 0 && links.belongsTo(from.month(), from.day(), from.year(), from.startHour(),
                                      from.startMinute(), from.itemName())) {
        people.push_back(links.personKey());
        rc = links.next();
    }
    if (rc < 0) return rc;
    rc = CAttendeeLists::deleteAttendees(links, from.month(), from.day(), from.year(),
                                         from.startHour(), from.startMinute(), from.itemName());
    if (rc < 0) return rc;
    for (const CPeopleKey& key : people) {
        links.clearImage();
        links.setDate(to.month(), to.day(), to.year());
        links.setStartTime(to.startHour(), to.startMinute());
        links.setItemName(to.itemName());
        links.setPerson(key);
        rc = links.append();
        if (rc != 0) return rc;
    }
    return 0;
}

int CSeriesChange::moveRule(const std::vector<CScheduleRecord>& before,
                            const std::vector<CScheduleRecord>& after) {
    CSeriesRules& table = m_doc.seriesRules();
    const std::string oldPrefix = CSeriesRules::seriesPrefix(before.front());
    const std::string newKey = CSeriesRules::seriesKey(after.front());
    if (!table.isOpen() || scope == Scope::thisOne ||
        newKey.compare(0, oldPrefix.size(), oldPrefix) == 0)
        return 0;
    std::vector<CSeriesRow> rows;
    int rc = table.rowsOf(oldPrefix, rows);
    if (rc != 0 || rows.empty()) return rc;
    const CDate from = scope == Scope::all ? CDate(1900, 1, 1) : before.front().date();
    std::vector<CSeriesRow> moved;
    for (CSeriesRow row : rows) {
        if (row.kind != CSeriesRow::kRule && row.date < from) continue;
        if (row.kind != CSeriesRow::kRule || scope == Scope::all) {
            rc = table.deleteRow(row.series, row.kind, row.date);
            if (rc != 0) return rc;
        }
        if (row.kind == CSeriesRow::kRule && scope == Scope::following) row.date = from;
        row.series = newKey;
        moved.push_back(row);
    }
    return table.append(moved);
}

bool CSeriesChange::onOk(CUserPrompt& prompt) {
    m_changed = 0;
    const bool timeChanged = start != m_member.startHhmm() || end != m_member.endHhmm();
    const bool itemChanged = item != m_member.itemName();
    if (!timeChanged && !itemChanged && !m_attendeesChosen && person == m_member.personKey() &&
        note == m_member.note() && showNote == ((m_member.flags() & kShowNoteBit) != 0))
        return true;
    if (itemChanged && m_doc.findItem(item) < 0) {
        prompt.message(kNoItem, kTitle, PromptIcon::error);
        return false;
    }
    if (timeChanged && scope != Scope::thisOne &&
        m_member.recurrenceCode() == CAddReservation::kOvernight) {
        prompt.message(kOvernightTimes, kTitle, PromptIcon::error);
        return false;
    }
    if (timeChanged && start >= end) {
        prompt.message(CAddReservation::kEndNotAfterStart, kReservationError, PromptIcon::error);
        return false;
    }

    if (!m_doc.mayWrite()) return false;

    CJournalChange journal(m_doc);
    CSchedule& schedule = m_doc.schedule();
    // Reopening closes the table and drops its locks: before the lock, never inside it.
    m_doc.reopenTablesIfSet();
    int rc = schedule.lockAll();
    if (rc != 0) {
        error4take(&m_doc.code(), rc);
        prompt.message(kNotChanged, kDatabaseError, PromptIcon::error);
        return false;
    }
    const std::vector<CScheduleRecord> before = membersInScope();
    if (before.empty()) {
        schedule.unlock();
        prompt.message(kGone, kDatabaseError, PromptIcon::error);
        return false;
    }
    // The following members become a series of their own when earlier ones stay behind.
    CScheduleRecord stamp;
    bool newStamp = false;
    if (scope == Scope::following && m_member.recurrenceCode() != 0) {
        const std::vector<CScheduleRecord> all = CSeriesInfo(m_doc, m_member).members();
        newStamp = !all.empty() && all.front().date() < before.front().date();
        if (newStamp) {
            const std::tm now = CClock::current().localNow();
            CDate day(m_doc.year(), m_doc.month(), m_doc.day());
            int hour = now.tm_hour, minute = now.tm_min, second = now.tm_sec;
            // Split in the second the series was made, the stamps would be one series again:
            // the second after is as new.
            stamp.setMade(day.month, day.day, day.year, hour, minute, second);
            if (stamp.sameStamp(m_member) && ++second == 60) {
                second = 0;
                if (++minute == 60) {
                    minute = 0;
                    if (++hour == 24) {
                        hour = 0;
                        day = day.addDays(1);
                    }
                }
            }
            stamp.setMade(day.month, day.day, day.year, hour, minute, second);
        }
    }
    std::vector<CScheduleRecord> after;
    for (const CScheduleRecord& r : before) {
        after.push_back(changedCopy(r, newStamp ? &stamp : nullptr));
        if (m_attendeesChosen) after.back().setAttendeesFlag(true);
    }

    if (timeChanged || itemChanged) {
        std::vector<CDate> conflicts;
        for (const CScheduleRecord& a : after) {
            std::vector<int> starts, ends;
            rc = schedule.walkItemOnDate(a.dateKey(), a.itemName(), [&](const CScheduleRecord& r) {
                bool moving = false;
                for (const CScheduleRecord& b : before)
                    moving = moving || sameSlot(b, r);
                if (!moving) {
                    starts.push_back(r.startHhmm());
                    ends.push_back(r.endHhmm());
                }
                return true;
            });
            if (error4take(&m_doc.code(), rc) != 0 || rc != 0) {
                schedule.unlock();
                prompt.message(CORVSchedDoc::kNotRead, kDatabaseError, PromptIcon::error);
                return false;
            }
            if (CAddReservation::checkTimes(a.startHour(), a.startMinute(), a.endHour(),
                                            a.endMinute(), starts, ends) != 0)
                conflicts.push_back(a.date());
        }
        if (!conflicts.empty()) {
            schedule.unlock();
            prompt.message(conflictsText(conflicts), kReservationError, PromptIcon::error);
            return false;
        }
    }

    bool failed = false;
    bool linksFailed = false;
    std::set<CDate> touched;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const CScheduleRecord& b = before[i];
        rc = schedule.seek(b.dateKey(), b.itemName(), CFieldText::zeroPadded(b.startHour(), 2),
                           CFieldText::zeroPadded(b.startMinute(), 2));
        if (rc == 0 && !schedule.image().sameReservation(b)) rc = res4noRecord;
        if (rc == 0) {
            schedule.image() = after[i];
            rc = schedule.updateHoldingLock();
        }
        if (rc == 0) rc = moveLinks(b, after[i]);
        if (rc == 0 && m_attendeesChosen && !writeAttendees(after[i])) linksFailed = true;
        if (error4take(&m_doc.code(), rc) != 0 || rc != 0) {
            failed = true;
            continue;
        }
        ++m_changed;
        touched.insert(b.date());
    }
    if (m_changed > 0 && error4take(&m_doc.code(), moveRule(before, after)) != 0) failed = true;
    schedule.unlock();
    for (const CDate& d : touched)
        m_doc.scheduleChanged(d, true);
    if (failed) prompt.message(kNotChanged, kDatabaseError, PromptIcon::error);
    if (linksFailed) prompt.message(kAttendeesNotChanged, kDatabaseError, PromptIcon::error);
    m_doc.attendees().clear();
    m_attendeesChosen = false;
    return true;
}

} // namespace orv
