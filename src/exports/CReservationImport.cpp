#include "exports/CReservationImport.h"

#include "exports/CCalendarExport.h"
#include "exports/CCsvReader.h"
#include "exports/CIcsReader.h"
#include "group/CORVSchedDoc.h"
#include "group/CProgress.h"
#include "history/CJournalChange.h"
#include "people/CPersonModel.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "storage/Code4.h"
#include "storage/Result4.h"
#include "tables/CAttendeeLists.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesRules.h"
#include "tables/CTableOps.h"
#include "tables/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace orv {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string hhmmText(int hhmm) {
    char b[32];
    std::snprintf(b, sizeof b, "%02d:%02d", hhmm / 100, hhmm % 100);
    return b;
}

std::string personText(const CPeopleKey& k) {
    std::string text = k.lastName() + ", " + k.firstName();
    if (!k.middleInitial().empty()) text += " " + k.middleInitial();
    return text;
}

// The texts a person's name is written in by calendars and by our own exports.
std::vector<std::string> namesOf(const CPeopleKey& k) {
    std::vector<std::string> names = {personText(k), k.lastName() + ", " + k.firstName(),
                                      k.firstName() + " " + k.lastName()};
    if (!k.middleInitial().empty())
        names.push_back(k.firstName() + " " + k.middleInitial() + " " + k.lastName());
    for (std::string& n : names)
        n = lower(n);
    return names;
}

bool bookable(CReservationImport::State s) {
    return s == CReservationImport::State::book || s == CReservationImport::State::update;
}

const char* stateText(CReservationImport::State s) {
    using S = CReservationImport::State;
    switch (s) {
    case S::book:
        return "will be booked";
    case S::update:
        return "will be moved";
    case S::cancel:
        return "will be cancelled";
    case S::unchanged:
        return "unchanged, passed over";
    case S::cancelledEvent:
        return "cancelled in the file, skipped";
    case S::blockedOut:
        return "blocked out";
    case S::outsideDay:
        return "outside the day";
    default:
        return "";
    }
}

} // namespace

// What this import plans to book on one item and date, for conflicts within the file.
struct CReservationImport::Planned {
    int start;
    int end;
    int line;
};

CReservationImport::CReservationImport(CORVSchedDoc& doc) : m_doc(doc), m_links(doc.code()) {}

CReservationImport::~CReservationImport() {
    m_links.close();
}

bool CReservationImport::load(const std::string& path, std::string& error) {
    m_path = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = kNotRead + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = kNotRead + path;
        return false;
    }
    return loadText(text.str(), error);
}

bool CReservationImport::loadText(const std::string& text, std::string& error) {
    m_events.clear();
    m_rows.clear();
    m_entries.clear();
    std::size_t start = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    start = text.find_first_not_of(" \t\r\n", start);
    m_calendar = start != std::string::npos && text.compare(start, 15, "BEGIN:VCALENDAR") == 0;
    if (m_calendar) return CIcsReader::read(text, m_events, error);
    if (!CCsvReader::read(text, m_rows, error)) return false;
    if (m_rows.empty()) {
        error = "The file holds no rows.";
        return false;
    }
    csv.fromHeader(m_rows.front().fields);
    remap();
    return true;
}

void CReservationImport::remap() {
    if (m_calendar) return;
    m_events = csv.events(m_rows);
    if (!csv.complete())
        for (CImportEvent& e : m_events)
            e.invalid = kNoColumns;
}

bool CReservationImport::resolveItem(const CImportEvent& e, std::string& item) const {
    std::string wanted = forcedItem.empty() ? e.item : forcedItem;
    if (forcedItem.empty())
        for (const auto& [text, mapped] : itemMap)
            if (lower(text) == lower(e.item)) wanted = mapped;
    const std::string stored = lower(utf8ToCp1252(wanted));
    const CItemList& items = m_doc.items();
    for (int i = 0; i < items.count(); ++i)
        if (lower(items.at(i).name()) == stored) {
            item = items.at(i).name();
            return true;
        }
    return false;
}

std::string CReservationImport::personName(const CImportEvent& e) const {
    return e.personParts ? cp1252ToUtf8(personText(e.personKey)) : e.person;
}

bool CReservationImport::resolvePerson(const CImportEvent& e, CPeopleKey& person) const {
    const auto mapped = personMap.find(personName(e));
    if (mapped != personMap.end()) {
        person = mapped->second;
        return true;
    }
    for (const auto& [text, key] : m_people) {
        if (e.personParts ? key == e.personKey : text == lower(utf8ToCp1252(e.person))) {
            person = key;
            return true;
        }
    }
    if (fallbackPerson) {
        person = *fallbackPerson;
        return true;
    }
    return false;
}

std::string CReservationImport::digest(std::size_t event) const {
    // What the event's reservations are, as this import books them.
    std::string text;
    for (const Entry& en : m_entries) {
        if (en.event != event) continue;
        text += en.item + "|" + en.person.searchKey() + "|" + en.time.date.key() +
                std::to_string(en.time.start) + "-" + std::to_string(en.time.end) + ";";
    }
    const CImportEvent& e = m_events[event];
    text += utf8ToCp1252(e.note) + (e.blockout ? "B" : "R");
    for (const std::string& a : e.attendees)
        text += "|" + a;
    return CFieldText::digest(text);
}

int CReservationImport::preview() {
    m_entries.clear();
    m_imported.assign(m_events.size(), {});
    m_digests.assign(m_events.size(), {});
    m_people.clear();
    std::vector<CPeopleRecord> people;
    int rc = m_doc.people().listPeople(CPeople::Kind::MayReserve, people);
    if (rc == 0 || rc == res4eof) rc = 0;
    bool anyUid = false;
    for (const CImportEvent& e : m_events)
        anyUid = anyUid || !e.uid.empty();
    if (rc == 0 && anyUid) m_links.openIfThere(m_doc.groupFile());
    for (const CPeopleRecord& p : people)
        for (const std::string& name : namesOf(p.key()))
            m_people.emplace_back(name, p.key());
    m_attendees.clear();
    if (rc == 0 && m_doc.attendeeAvailable()) {
        people.clear();
        rc = m_doc.people().listPeople(CPeople::Kind::Attendee, people);
        if (rc == res4eof) rc = 0;
        for (const CPeopleRecord& p : people)
            for (const std::string& name : namesOf(p.key()))
                m_attendees.emplace_back(name, p.key());
    }

    CSchedule& schedule = m_doc.schedule();
    std::map<std::pair<std::string, std::string>, std::vector<Planned>> planned;
    std::vector<CScheduleRecord> records;
    for (std::size_t i = 0; i < m_events.size() && rc == 0; ++i) {
        const CImportEvent& e = m_events[i];
        const std::size_t first = m_entries.size();
        Entry base;
        base.event = i;
        if (!e.invalid.empty()) {
            base.state = State::invalid;
            base.text = "invalid: line " + std::to_string(e.line) + ": " + utf8ToCp1252(e.invalid);
            base.ticked = false;
            m_entries.push_back(base);
            continue;
        }
        const bool itemKnown = resolveItem(e, base.item);
        const bool personKnown = e.blockout || resolvePerson(e, base.person);
        if (!e.uid.empty() && m_links.isOpen()) {
            rc = m_links.rowsOf(CImportLinks::storedUid(e.uid), m_imported[i]);
            if (rc != 0) break;
        }
        const std::vector<CImportLink>& before = m_imported[i];
        if (e.cancelled) {
            base.state = before.empty() ? State::cancelledEvent : State::cancel;
            base.ticked = !before.empty();
            for (const CImportLink& l : before) {
                Entry en = base;
                en.item = l.item;
                en.time.date = CDate::fromKey(l.date);
                en.time.start = l.startHour * 100 + l.startMinute;
                en.time.end = en.time.start;
                en.text = stateText(en.state);
                m_entries.push_back(en);
            }
            if (before.empty()) {
                base.time = e.times.empty() ? CImportTime() : e.times.front();
                base.text = stateText(base.state);
                m_entries.push_back(base);
            }
            continue;
        }
        for (const CImportTime& t : e.times) {
            Entry en = base;
            en.time = t;
            en.state = before.empty() ? State::book : State::update;
            if (!itemKnown) {
                en.state = State::unknownItem;
                en.text = "unknown item \"" +
                          utf8ToCp1252(forcedItem.empty() ? e.item : forcedItem) + "\"";
            } else if (!personKnown) {
                en.state = State::unknownPerson;
                en.text = "unknown person \"" + utf8ToCp1252(personName(e)) + "\"";
            } else if (t.outsideDay) {
                en.state = State::outsideDay;
            }
            m_entries.push_back(en);
        }
        m_digests[i] = digest(i);
        const bool same = !before.empty() && (before.front().digest == m_digests[i] ||
                                              e.sequence < before.front().sequence);
        for (std::size_t k = first; k < m_entries.size(); ++k) {
            Entry& en = m_entries[k];
            if (same) en.state = State::unchanged;
            if (!bookable(en.state)) {
                if (en.text.empty()) en.text = stateText(en.state);
                en.ticked = false;
                continue;
            }
            // The records in the way, without those this event made before (a move).
            records.clear();
            rc = schedule.recordsOfItemOnDate(en.time.date.key(), en.item, records);
            if (const int failure = error4take(&m_doc.code(), rc); failure != 0 || rc != 0) {
                rc = failure != 0 ? failure : rc;
                break;
            }
            en.text = stateText(en.state);
            for (const CScheduleRecord& r : records) {
                const bool own =
                    std::any_of(before.begin(), before.end(), [&](const CImportLink& l) {
                        return l.date == r.dateKey() && l.item == r.itemName() &&
                               l.startHour == r.startHour() && l.startMinute == r.startMinute();
                    });
                if (own || en.time.start >= r.endHhmm() || en.time.end <= r.startHhmm()) continue;
                // The same reservation is there already (a file without UIDs imported again,
                // or one booked by hand): nothing to do, and no conflict to report.
                if (r.startHhmm() == en.time.start && r.endHhmm() == en.time.end &&
                    r.isBlockout() == e.blockout && (e.blockout || r.personKey() == en.person)) {
                    en.state = State::unchanged;
                    en.text = kAlreadyBooked;
                    en.ticked = false;
                    break;
                }
                en.state = r.isBlockout() ? State::blockedOut : State::conflict;
                en.text = r.isBlockout() ? std::string(stateText(State::blockedOut))
                                         : "conflicts with " +
                                               CFieldText::trimRight(CItemDayModel::lineFor(r));
                en.ticked = false;
                break;
            }
            if (!bookable(en.state)) continue;
            auto& mine = planned[{en.item, en.time.date.key()}];
            for (const Planned& p : mine)
                if (en.time.start < p.end && en.time.end > p.start) {
                    en.state = State::conflict;
                    en.text = "conflicts with line " + std::to_string(p.line) + " of the file";
                    en.ticked = false;
                    break;
                }
            if (bookable(en.state)) mine.push_back({en.time.start, en.time.end, e.line});
        }
    }
    if (rc != 0) {
        m_entries.clear();
        m_doc.prompt().message(CORVSchedDoc::kNotRead, CORVSchedDoc::kDatabaseError,
                               PromptIcon::error);
    }
    return rc;
}

std::string CReservationImport::line(const Entry& en) const {
    const CImportEvent& e = m_events[en.event];
    std::string text = en.time.date.isSet() ? CReservationText::shortDate(en.time.date) : "";
    if (en.time.date.isSet() && en.state != State::cancel)
        text += "  " + hhmmText(en.time.start) + "-" + hhmmText(en.time.end);
    // An invalid row has no date to book on: its reason names its line.
    if (en.time.date.isSet()) {
        const std::string item = en.item.empty() ? utf8ToCp1252(e.item) : en.item;
        if (!item.empty()) text += "  " + item;
        if (e.blockout)
            text += "  Blocked Out";
        else if (!en.person.lastName().empty())
            text += "  " + personText(en.person);
        text += "  ";
    }
    text += en.outcome == Outcome::pending ? en.text : en.result;
    // Said once, on the event's last line.
    const Entry* const begin = m_entries.data();
    const Entry* const end = begin + m_entries.size();
    const std::less<const Entry*> before;
    if (e.cut && !before(&en, begin) && before(&en, end) &&
        (&en + 1 == end || (&en + 1)->event != en.event))
        text += kCut;
    return text;
}

std::vector<std::string> CReservationImport::lines() const {
    std::vector<std::string> out;
    for (const Entry& en : m_entries)
        out.push_back(line(en));
    return out;
}

std::vector<std::string> CReservationImport::unknownItems() const {
    std::vector<std::string> out;
    for (const Entry& en : m_entries) {
        const std::string& name = m_events[en.event].item;
        if (en.state == State::unknownItem && std::find(out.begin(), out.end(), name) == out.end())
            out.push_back(name);
    }
    return out;
}

std::vector<std::string> CReservationImport::unknownPeople() const {
    std::vector<std::string> out;
    for (const Entry& en : m_entries) {
        const std::string name = personName(m_events[en.event]);
        if (en.state == State::unknownPerson &&
            std::find(out.begin(), out.end(), name) == out.end())
            out.push_back(name);
    }
    return out;
}

bool CReservationImport::onOk(CUserPrompt& prompt) {
    if (wanted() > 0) return true;
    prompt.message(kNothingTicked, kTitle, PromptIcon::error);
    return false;
}

int CReservationImport::removeImported(const std::vector<CImportLink>& rows) {
    CSchedule& schedule = m_doc.schedule();
    for (const CImportLink& l : rows) {
        int rc = schedule.lockAll();
        if (rc == 0) {
            rc = schedule.seek(l.date, CFieldText::padRight(l.item, 20),
                               CFieldText::zeroPadded(l.startHour, 2),
                               CFieldText::zeroPadded(l.startMinute, 2));
            const CScheduleRecord& r = schedule.image();
            char made[24];
            std::snprintf(made, sizeof made, "%04d%02d%02d%02d%02d%02d", r.madeYear(),
                          r.madeMonth(), r.madeDay(), r.madeHour(), r.madeMinute(),
                          r.madeSeconds());
            // Another user's reservation in the same place since is not ours to cancel.
            if (rc == 0 && made == l.made) {
                rc = m_doc.deleteCurrentReservation();
                if (rc == 0) m_doc.scheduleChanged(CDate::fromKey(l.date), false);
            } else if (rc > 0) {
                rc = 0;
            }
        }
        schedule.unlock();
        if (const int failure = error4take(&m_doc.code(), rc); failure != 0 || rc != 0)
            return failure != 0 ? failure : rc;
    }
    return 0;
}

int CReservationImport::bookEvent(std::size_t event, const std::vector<std::size_t>& which) {
    const CImportEvent& e = m_events[event];
    CSchedule& schedule = m_doc.schedule();
    std::vector<CImportLink>& before = m_imported[event];
    const bool moves = !before.empty();
    if (moves) {
        if (const int rc = removeImported(before); rc != 0) return rc;
    }

    // The creation stamp: the file's own (our exports give it back), else now; each series
    // of this import a second of its own, so that no two share a series key.
    std::tm made = CClock::current().localNow();
    std::vector<std::size_t> toBook;
    for (std::size_t k : which)
        if (bookable(m_entries[k].state)) toBook.push_back(k);
    if (toBook.size() > 1 && e.made.empty()) {
        made.tm_sec += m_seriesMade++;
        made.tm_isdst = -1;
        std::mktime(&made);
    }
    int my = made.tm_year + 1900, mm = made.tm_mon + 1, md = made.tm_mday;
    int mh = made.tm_hour, mi = made.tm_min, ms = made.tm_sec;
    if (e.made.size() == 14)
        std::sscanf(e.made.c_str(), "%4d%2d%2d%2d%2d%2d", &my, &mm, &md, &mh, &mi, &ms);
    char madeText[48];

    std::vector<CPeopleKey> attendees;
    if (m_doc.attendeeAvailable() && !e.blockout)
        for (const std::string& name : e.attendees) {
            const std::string wanted = lower(utf8ToCp1252(name));
            for (const auto& [text, key] : m_attendees)
                if (text == wanted &&
                    std::find(attendees.begin(), attendees.end(), key) == attendees.end()) {
                    attendees.push_back(key);
                    break;
                }
        }

    CScheduleRecord image;
    image.setLevel(schedule.level());
    image.setNote(utf8ToCp1252(e.note));
    image.setBlockoutFlag(e.blockout);
    image.setMade(mm, md, my, mh, mi, ms);
    image.setAttendeesFlag(!attendees.empty());
    const bool series = toBook.size() > 1 && !schedule.noRecurrenceField();
    CDate last;
    for (std::size_t k : toBook)
        last = std::max(last, m_entries[k].time.date);
    image.setRecurrenceCode(series ? 1 : 0);
    if (series && !schedule.oldFormat()) image.setRecurrenceEnd(last.month, last.day, last.year);

    std::vector<CImportLink> links;
    CScheduleRecord firstWritten;
    for (std::size_t k : toBook) {
        Entry& en = m_entries[k];
        const CImportTime& t = en.time;
        m_doc.reopenTablesIfSet();
        int rc = schedule.lockAll();
        const CScheduleRecord* inWay = nullptr;
        std::vector<CScheduleRecord> records;
        if (rc == 0) {
            rc = schedule.recordsOfItemOnDate(t.date.key(), en.item, records);
            for (const CScheduleRecord& r : records)
                if (t.start < r.endHhmm() && t.end > r.startHhmm()) {
                    inWay = &r;
                    break;
                }
        }
        if (rc == 0 && !inWay) {
            CScheduleRecord record = image;
            record.setItemName(en.item);
            if (e.blockout) {
                // As Edit > Blockout writes one.
                record.setPerson(CBlockoutModel::kFirstName, "", CBlockoutModel::kLastName, "");
                record.setShowNoteFlag(true);
                if (e.note.empty()) record.setNote(CBlockoutModel::kNote);
            } else {
                record.setPerson(en.person);
            }
            record.setDate(t.date.month, t.date.day, t.date.year);
            record.setStartTime(t.start / 100, t.start % 100);
            record.setEndTime(t.end / 100, t.end % 100);
            schedule.image() = record;
            rc = schedule.appendHoldingLock();
        }
        schedule.unlock();
        if (const int failure = error4take(&m_doc.code(), rc); failure != 0 || rc != 0) {
            en.outcome = Outcome::failed;
            en.result =
                "not written (" + std::string(error4text(failure != 0 ? failure : rc)) + ")";
            return failure != 0 ? failure : rc;
        }
        if (inWay) {
            en.outcome = Outcome::conflict;
            en.result =
                inWay->isBlockout()
                    ? std::string("blocked out")
                    : "conflicts with " + CFieldText::trimRight(CItemDayModel::lineFor(*inWay));
            continue;
        }
        en.outcome = moves ? Outcome::moved : Outcome::booked;
        en.result = moves ? "moved" : "booked";
        if (links.empty()) firstWritten = schedule.image();
        // As stored: a reservation that is no series keeps no seconds.
        const CScheduleRecord& w = schedule.image();
        std::snprintf(madeText, sizeof madeText, "%04d%02d%02d%02d%02d%02d", w.madeYear(),
                      w.madeMonth(), w.madeDay(), w.madeHour(), w.madeMinute(), w.madeSeconds());
        links.push_back({CImportLinks::storedUid(e.uid), t.date.key(), en.item, t.start / 100,
                         t.start % 100, madeText, e.sequence, m_digests[event]});
        m_doc.scheduleChanged(t.date, false);
        if (!attendees.empty()) {
            CAttendeeLists lists;
            lists.toAdd() = attendees;
            const int linked =
                lists.saveAttendeeChanges(m_doc.rosterLinks(), t.date.month, t.date.day,
                                          t.date.year, t.start / 100, t.start % 100, en.item);
            if (error4take(&m_doc.code(), linked) != 0 || CAttendeeLists::failed(linked))
                en.result += ", attendees not written";
        }
    }
    if (links.empty()) {
        if (moves && !e.uid.empty()) m_links.deleteRows(CImportLinks::storedUid(e.uid));
        return 0;
    }

    int rc = schedule.lockAll();
    if (rc == 0 && series && !e.rule.empty()) {
        const std::string key = CSeriesRules::seriesKey(firstWritten);
        std::vector<CSeriesRow> rows;
        rows.push_back({key, CSeriesRow::kRule, e.ruleStart, last, ' ', e.rule});
        for (const CDate& d : e.leftOut)
            rows.push_back({key, CSeriesRow::kLeftOut, d, {}, ' ', ""});
        rc = m_doc.seriesRules().openOrCreate(m_doc.groupFile());
        if (rc == 0) rc = m_doc.seriesRules().append(rows);
    }
    if (rc == 0 && !e.uid.empty()) {
        rc = m_links.openOrCreate(m_doc.groupFile());
        if (rc == 0 && moves) rc = m_links.deleteRows(CImportLinks::storedUid(e.uid));
        if (rc == 0) rc = m_links.append(links);
    }
    schedule.unlock();
    if (const int failure = error4take(&m_doc.code(), rc); failure != 0 || rc != 0)
        return failure != 0 ? failure : rc;
    return 0;
}

int CReservationImport::run(CProgress& progress) {
    m_stopped = false;
    if (!m_doc.mayWrite()) return -1;
    CJournalChange journal(m_doc, CJournalChange::kImported);
    // Each reservation is checked and written under the schedule lock as it comes; the flush to
    // disk is one for the whole import rather than one a reservation.
    CTableOps::SyncHold sync(m_doc.code());
    const long total = static_cast<long>(m_entries.size());
    std::size_t k = 0;
    int rc = 0;
    while (k < m_entries.size()) {
        const std::size_t event = m_entries[k].event;
        std::vector<std::size_t> lines;
        for (; k < m_entries.size() && m_entries[k].event == event; ++k)
            lines.push_back(k);
        bool cancel = false;
        std::vector<std::size_t> ticked;
        for (std::size_t n : lines) {
            Entry& en = m_entries[n];
            if (!en.ticked) {
                en.outcome = en.state == State::unchanged ? Outcome::unchanged : Outcome::skipped;
                en.result = en.state == State::unchanged ? en.text
                            : bookable(en.state)         ? "skipped"
                                                         : "skipped: " + en.text;
                continue;
            }
            if (en.state == State::cancel) cancel = true;
            ticked.push_back(n);
        }
        if (cancel) {
            rc = removeImported(m_imported[event]);
            if (rc == 0) rc = m_links.deleteRows(CImportLinks::storedUid(m_events[event].uid));
            for (std::size_t n : ticked) {
                m_entries[n].outcome = rc == 0 ? Outcome::cancelled : Outcome::failed;
                m_entries[n].result = rc == 0 ? "cancelled" : "not cancelled";
            }
        } else if (!ticked.empty()) {
            rc = bookEvent(event, ticked);
        }
        if (rc != 0) {
            m_doc.prompt().message(rc == res4locked
                                       ? std::string(kLocked)
                                       : kStoppedByError + std::string(error4text(rc)) + ").",
                                   kTitle, PromptIcon::error);
            break;
        }
        if (!progress.step(static_cast<long>(k), total)) {
            m_stopped = k < m_entries.size();
            break;
        }
    }
    for (Entry& en : m_entries)
        if (en.outcome == Outcome::pending) {
            en.outcome = Outcome::skipped;
            en.result = "not imported (stopped)";
        }
    if (const int flushed = sync.release(); flushed != 0 && rc == 0) {
        error4take(&m_doc.code());
        rc = flushed;
        m_doc.prompt().message(kStoppedByError + std::string(error4text(rc)) + ").", kTitle,
                               PromptIcon::error);
    }
    return rc;
}

int CReservationImport::done() const {
    int n = 0;
    for (const Entry& en : m_entries)
        n += en.outcome == Outcome::booked || en.outcome == Outcome::moved ||
             en.outcome == Outcome::cancelled;
    return n;
}

int CReservationImport::wanted() const {
    int n = 0;
    for (const Entry& en : m_entries)
        n += en.ticked && (bookable(en.state) || en.state == State::cancel);
    return n;
}

std::string CReservationImport::countsText() const {
    int booked = 0, moved = 0, cancelled = 0, unchanged = 0, conflicts = 0, skipped = 0;
    for (const Entry& en : m_entries) {
        switch (en.outcome) {
        case Outcome::booked:
            ++booked;
            break;
        case Outcome::moved:
            ++moved;
            break;
        case Outcome::cancelled:
            ++cancelled;
            break;
        case Outcome::unchanged:
            ++unchanged;
            break;
        case Outcome::conflict:
            ++conflicts;
            break;
        case Outcome::pending:
            break;
        default:
            // A line left unticked for a conflict counts as one.
            if (en.state == State::conflict || en.state == State::blockedOut)
                ++conflicts;
            else
                ++skipped;
        }
    }
    std::string text = std::to_string(booked) + " booked";
    if (moved) text += ", " + std::to_string(moved) + " moved";
    if (cancelled) text += ", " + std::to_string(cancelled) + " cancelled";
    if (unchanged) text += ", " + std::to_string(unchanged) + " unchanged";
    text += ", " + std::to_string(conflicts) + (conflicts == 1 ? " conflict" : " conflicts");
    text += ", " + std::to_string(skipped) + " skipped";
    return text;
}

std::string CReservationImport::report() const {
    std::string out = "line,date,start,end,item,person,outcome\r\n";
    for (const Entry& en : m_entries) {
        const CImportEvent& e = m_events[en.event];
        char date[16] = "";
        if (en.time.date.isSet())
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", en.time.date.year,
                          en.time.date.month, en.time.date.day);
        const bool timed = en.time.date.isSet() && en.state != State::cancel;
        const std::string fields[] = {
            std::to_string(e.line),
            date,
            timed ? hhmmText(en.time.start) : "",
            timed ? hhmmText(en.time.end) : "",
            CCalendarExport::csvText(en.item.empty() ? e.item : cp1252ToUtf8(en.item)),
            CCalendarExport::csvText(e.blockout ? std::string("Blocked Out")
                                     : en.person.lastName().empty()
                                         ? personName(e)
                                         : cp1252ToUtf8(personText(en.person))),
            CCalendarExport::csvText(
                cp1252ToUtf8(en.outcome == Outcome::pending ? en.text : en.result))};
        for (std::size_t i = 0; i < std::size(fields); ++i)
            out += (i ? "," : "") + fields[i];
        out += "\r\n";
    }
    return out;
}

bool CReservationImport::writeReport(const std::string& path, std::string& error) const {
    return CCalendarExport::writeFile(path, report(), error);
}

std::vector<std::string> CReservationImport::itemNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_doc.items().count(); ++i)
        names.push_back(m_doc.items().at(i).name());
    return names;
}

bool CReservationImport::changes(const Entry& entry) {
    return bookable(entry.state) || entry.state == State::cancel;
}

std::vector<CPeopleKey> CReservationImport::people() const {
    std::vector<CPeopleKey> out;
    for (const auto& [text, key] : m_people)
        if (std::find(out.begin(), out.end(), key) == out.end()) out.push_back(key);
    return out;
}

bool CReservationImport::addPerson(const std::string& name) {
    CPersonModel person(m_doc.people(), CPersonModel::Mode::AddFromList, true, false);
    if (!m_doc.prompt().runDialog(person)) return false;
    if (m_doc.people().goTo(person.recordNumber()) != res4success) {
        error4take(&m_doc.code());
        return false;
    }
    personMap[name] = m_doc.people().image().key();
    return true;
}

bool CReservationImport::runCommand(CORVSchedDoc& doc) {
    if (!doc.mayWrite()) return false;
    CUserPrompt& prompt = doc.prompt();
    FileChoice choice;
    choice.title = kTitle;
    choice.filter = kFilter;
    const std::optional<std::string> path = prompt.chooseFile(choice);
    if (!path) return false;
    CReservationImport import(doc);
    std::string error;
    if (!import.load(*path, error)) {
        prompt.message(error, kTitle, PromptIcon::error);
        return false;
    }
    if (import.preview() != 0 || !prompt.runDialog(import)) return false;
    int rc = 0;
    {
        const std::unique_ptr<CProgress> progress = prompt.progress("Importing reservations", true);
        rc = import.run(*progress);
    }
    if (rc < 0) return false;
    std::string counts = import.countsText() + ".";
    if (import.stopped()) counts += " The import was stopped; the rest was not imported.";
    prompt.message(counts, kTitle, PromptIcon::information);
    FileChoice report;
    report.title = kReportTitle;
    report.filter = kReportFilter;
    report.defaultExtension = "csv";
    report.mustExist = false;
    report.initialName = "import-report.csv";
    if (const std::optional<std::string> where = prompt.chooseFile(report);
        where && !import.writeReport(*where, error))
        prompt.message(error, kReportTitle, PromptIcon::error);
    return import.done() > 0;
}

} // namespace orv
