#include "group/CORVSchedDoc.h"

#include "group/CGroupFile.h"
#include "group/CGroupInfoModel.h"
#include "group/CGroupNames.h"
#include "group/CWaitCursor.h"
#include "storage/File4System.h"
#include "tables/CClock.h"
#include "tables/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <strings.h>

namespace orv {

namespace {

std::string bareName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* const kPeopleFilter =
    "Scheduler People Files (*people.dbf)|*.dbf|All Files (*.*)|*.*||";

} // namespace

CORVSchedDoc::CORVSchedDoc(CUserPrompt& prompt, CSettings& settings)
    : m_prompt(prompt), m_settingsStore(settings), m_schedule(m_code), m_people(m_code),
      m_otherPeople(m_code), m_roster(m_code), m_series(m_code) {
    code4init(&m_code);
    code4init(&m_journalCode);
    // The history never stands in the way of a change: its failures are not reported as the
    // tables' are (a change that cannot be recorded says so itself).
    m_journalCode.reportOpenErrors = 0;
    m_journalCode.silentErrors = 1;
}

CORVSchedDoc::~CORVSchedDoc() {
    closeGroup();
}

void CORVSchedDoc::deriveNames(const std::string& groupFile) {
    m_groupFile = groupFile;
    m_groupFolder = CGroupNames::groupFolder(groupFile);
    m_basePath = CGroupNames::basePath(groupFile);
    m_stampPath = CGroupNames::stampFile(groupFile);
}

void CORVSchedDoc::setDescriptionAndKind(const std::string& description,
                                         const std::string& kindWord) {
    m_data.description = description;
    m_data.kindWord = kindWord;
    m_kindUpper = CGroupNames::kindWordUpper(kindWord);
    m_kindLower = CGroupNames::kindWordLower(kindWord);
}

void CORVSchedDoc::emptyIdentity() {
    m_peoplePath.clear();
    m_data.peopleFileName.clear();
    m_groupFile.clear();
    m_data.description.clear();
}

bool CORVSchedDoc::readGroupFile(const std::string& path, std::string* error) {
    CGroupFileData data;
    std::string why;
    if (!CGroupFile::read(path, data, why)) {
        if (error) *error = why;
        return false;
    }
    m_items.assign(std::move(data.items));
    data.items.clear();
    m_data = std::move(data);
    setDescriptionAndKind(m_data.description, m_data.kindWord);
    return true;
}

bool CORVSchedDoc::saveGroupFile(std::string* error) {
    if (m_groupFile.empty()) return false;
    CGroupFileData out = m_data;
    out.items = m_items.items();
    std::string why;
    bool ok = CGroupFile::write(m_groupFile, out, why, *m_code.fs);
    if (!ok) {
        if (error) *error = why;
        return false;
    }
    m_data.peopleFileName = out.peopleFileName;
    m_data.newFormat = true;
    return true;
}

CORVSchedDoc::GroupWrite CORVSchedDoc::rewriteGroupFile(const std::function<bool()>& change) {
    if (m_groupFile.empty()) return GroupWrite::failed;
    if (!m_people.isOpen() || m_people.lockAll() != 0) {
        error4take(&m_code);
        std::string file = m_people.tableName();
        if (file.size() < 4 || strcasecmp(file.c_str() + file.size() - 4, ".dbf") != 0)
            file += ".dbf";
        m_prompt.message(kGroupNotLocked + file + kNothingChanged, kGroupErrorTitle,
                         PromptIcon::error);
        return GroupWrite::failed;
    }
    GroupWrite result = GroupWrite::unchanged;
    std::string why;
    if (!rereadGroupFile(&why)) {
        result = GroupWrite::failed;
    } else if (change()) {
        result = saveGroupFile(&why) ? GroupWrite::written : GroupWrite::failed;
        // What the list shows goes back to what the file holds.
        if (result == GroupWrite::failed) rereadGroupFile();
    }
    m_people.unlock();
    error4take(&m_code);
    if (result == GroupWrite::failed) {
        if (!why.empty())
            why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
        m_prompt.message(utf8ToCp1252(why) + kNothingChanged, kGroupErrorTitle, PromptIcon::error);
    }
    return result;
}

bool CORVSchedDoc::rereadGroupFile(std::string* error) {
    if (m_groupFile.empty()) return false;
    // The rectangles belong to the views; keep them for the items that are still there.
    std::vector<std::pair<std::string, CRect>> rects;
    for (int i = 0; i < m_items.count(); ++i)
        rects.emplace_back(m_items.at(i).name(), m_items.rectAt(i));
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> uses;
    for (int i = 0; i < m_items.count(); ++i)
        uses.emplace_back(m_items.at(i).name(),
                          std::make_pair(m_items.at(i).inUse(), m_items.at(i).currentUse()));
    if (!readGroupFile(m_groupFile, error)) return false;
    for (int i = 0; i < m_items.count(); ++i) {
        for (const auto& [name, rect] : rects)
            if (name == m_items.at(i).name()) {
                m_items.setRect(i, rect);
                break;
            }
        for (const auto& [name, use] : uses)
            if (name == m_items.at(i).name()) {
                m_items.at(i).setInUse(use.first);
                m_items.at(i).setCurrentUse(use.second);
                break;
            }
    }
    return true;
}

bool CORVSchedDoc::storeWindowRect(const CRect& rect) {
    if (readOnly()) return false;
    return rewriteGroupFile([&] {
               m_data.window = rect;
               return true;
           }) == GroupWrite::written;
}

bool CORVSchedDoc::openPeople() {
    return m_people.open(CGroupNames::peopleTable(m_peoplePath), true) == 0;
}

bool CORVSchedDoc::openGroup(const std::string& groupFile) {
    std::string why;
    if (!readGroupFile(groupFile, &why)) {
        if (!why.empty())
            why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
        m_prompt.message(utf8ToCp1252(why), kAppTitle, PromptIcon::error);
        return false;
    }
    deriveNames(groupFile);
    for (const std::string& cut : m_data.cutNames)
        m_prompt.message(cut, kAppTitle, PromptIcon::information);

    if (!m_stamp.openOrCreate(m_stampPath)) m_stamp.close();

    m_peoplePath =
        m_data.peopleFileName.empty() ? m_groupFile : m_groupFolder + m_data.peopleFileName;

    if (m_schedule.open(m_groupFile) != 0) {
        // Said out loud: without it the user is left wondering why no window appeared.
        error4take(&m_code);
        m_stamp.close();
        emptyIdentity();
        m_prompt.message(kScheduleNotOpened, kAppTitle, PromptIcon::error);
        return false;
    }

    m_network = file4posix().onNetworkFileSystem(m_groupFolder.empty() ? "." : m_groupFolder);

    bool asked = false;
    while (!openPeople()) {
        error4take(&m_code);
        bool retry = false;
        if (!asked) {
            asked = true;
            if (m_prompt.ask(kPeopleNotFound, kAppTitle)) {
                FileChoice choice;
                choice.title = "What People Can Make Reservations in This Group?";
                choice.defaultExtension = "dbf";
                choice.initialName = "*people.dbf";
                choice.filter = kPeopleFilter;
                choice.mustExist = true;
                choice.folder = m_groupFolder;
                if (auto chosen = m_prompt.chooseFile(choice)) {
                    m_data.peopleFileName = bareName(*chosen);
                    m_peoplePath = *chosen;
                    retry = true;
                }
            }
        }
        if (!retry) {
            m_prompt.message(kPeopleNotOpened, kAppTitle, PromptIcon::error);
            m_schedule.close();
            m_stamp.close();
            emptyIdentity();
            return false;
        }
    }

    m_attendeeAvailable = false;
    if (!m_schedule.oldFormat() && !m_people.oldLayout()) {
        if (m_roster.open(m_groupFile) != 0) {
            error4take(&m_code);
            m_prompt.message(kAttendeeNotOpened, kAppTitle, PromptIcon::error);
        } else {
            m_attendeeAvailable = true;
        }
    }
    findReadOnly();
    m_series.openIfThere(m_groupFile);
    finish(false);
    return true;
}

void CORVSchedDoc::findReadOnly() {
    File4System& fs = *m_code.fs;
    const std::string folder = m_groupFolder.empty() ? "." : m_groupFolder;
    std::vector<std::string> paths = {folder, m_groupFile};
    for (const std::string& table : {m_schedule.tableName(), m_people.tableName()})
        for (const char* extension : {".dbf", ".cdx"})
            paths.push_back(table + extension);
    bool readOnly = false;
    for (const std::string& path : paths)
        if (fs.exists(path) && fs.readOnlyAttribute(path)) readOnly = true;
    m_readOnlyReason.clear();
    if (readOnly) {
        std::string shown = folder;
        if (shown.size() > 1 && shown.back() == '/') shown.pop_back();
        m_readOnlyReason = kReadOnlyFolder + utf8ToCp1252(shown) + kReadOnlyRest;
    }
}

std::string CORVSchedDoc::readOnlyNotice() {
    if (m_readOnlyTold) return {};
    m_readOnlyTold = true;
    return m_readOnlyReason;
}

bool CORVSchedDoc::mayWrite() {
    if (!readOnly()) return true;
    m_prompt.message(m_readOnlyReason, kReadOnlyTitle, PromptIcon::error);
    return false;
}

void CORVSchedDoc::finish(bool created) {
    if (m_journal.openOrCreate(m_groupFile) != 0) error4take(&m_journalCode);
    setDateToToday();
    if (created) {
        if (m_addRecent) m_addRecent(m_groupFile);
    } else {
        loadTodaysList(dateKey());
        recomputeInUse(true);
    }
    if (m_settingsStore.readInt("Startup", "UseLastGroup", 0) != 0)
        m_settingsStore.writeText("Startup", "Group", m_groupFile);
    notifyChanged();
}

bool CORVSchedDoc::createGroup() {
    CGroupInfoModel info(true);
    if (!m_prompt.runDialog(info)) return false;
    setDescriptionAndKind(info.description, info.kindWord);
    auto failed = [this] {
        emptyIdentity();
        return false;
    };

    FileChoice where;
    where.title = "Select a Path and Name for the New Group File";
    where.defaultExtension = "sch";
    where.initialName = m_kindUpper + ".sch";
    where.filter = "Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||";
    where.mustExist = false;
    auto path = m_prompt.chooseFile(where);
    if (!path) return failed();
    deriveNames(*path);

    m_data.peopleFileName.clear();
    m_peoplePath.clear();
    if (info.useOtherPeople) {
        FileChoice people;
        people.title = "What People Can Make Reservations in the New Group?";
        people.defaultExtension = "dbf";
        people.initialName = "*people.dbf";
        people.filter = kPeopleFilter;
        people.mustExist = true;
        people.folder = m_groupFolder;
        auto chosen = m_prompt.chooseFile(people);
        if (!chosen) {
            m_prompt.message(kNoPeopleChosen, kAppTitle, PromptIcon::error);
            return failed();
        }
        m_data.peopleFileName = bareName(*chosen);
        m_peoplePath = m_groupFolder + m_data.peopleFileName;
        // The owner's group file: the people file's name without "People.dbf", plus ".sch".
        bool opened = false;
        if (m_peoplePath.size() > 10) {
            std::string owner = m_peoplePath.substr(0, m_peoplePath.size() - 10) + ".sch";
            opened = m_people.open(owner, false) == 0;
        }
        if (!opened) {
            error4take(&m_code);
            m_prompt.message(kOwnerHasNoPeople, kAppTitle, PromptIcon::error);
            return failed();
        }
    }

    if (m_stamp.create(m_stampPath)) m_stamp.markUpdate();

    if (m_schedule.create(m_groupFile) != 0) {
        error4take(&m_code);
        m_people.close();
        m_stamp.close();
        return failed();
    }
    if (!info.useOtherPeople) {
        if (m_people.create(m_groupFile) != 0) {
            error4take(&m_code);
            m_schedule.close();
            m_stamp.close();
            return failed();
        }
        m_peoplePath = m_groupFile;
    }

    m_attendeeAvailable = false;
    if (m_roster.create(m_groupFile) != 0) {
        error4take(&m_code);
        m_prompt.message(kAttendeeNotCreated, kAppTitle, PromptIcon::error);
    } else if (m_people.oldLayout()) {
        m_roster.close();
        m_prompt.message(kOldAlternatePeople, kAppTitle, PromptIcon::error);
    } else {
        m_attendeeAvailable = true;
    }

    m_data.reserved = {0, 0};
    m_data.window = CRect{};
    m_items.clear();
    m_data.newFormat = true;
    saveGroupFile();
    m_network = file4posix().onNetworkFileSystem(m_groupFolder.empty() ? "." : m_groupFolder);
    finish(true);
    return true;
}

bool CORVSchedDoc::modifyGroupInformation() {
    CGroupInfoModel info(false);
    info.kindWord = m_data.kindWord;
    info.description = m_data.description;
    if (!m_prompt.runDialog(info)) return false;
    // The item list on disk may be newer than ours: change the texts of the file as it is now.
    const GroupWrite written = rewriteGroupFile([&] {
        setDescriptionAndKind(info.description, info.kindWord);
        return true;
    });
    notifyChanged();
    return written == GroupWrite::written;
}

void CORVSchedDoc::closeTables() {
    m_journal.close();
    m_stamp.close();
    m_series.close();
    if (m_attendeeAvailable) m_roster.close();
    m_otherPeople.close();
    m_people.close();
    m_schedule.close();
}

void CORVSchedDoc::closeGroup() {
    if (!m_groupFile.empty()) {
        // A read-only group is closed without writing: nothing to tell after its window went.
        if (m_settings.deleteOldRes > 0 && m_schedule.isOpen() && !readOnly()) {
            error4take(&m_code);
            deleteOlderThan(CDate::today().addDays(-m_settings.deleteOldRes).key());
        }
        closeTables();
        m_groupFile.clear();
        m_readOnlyReason.clear();
    }
    if (m_code.initialized) {
        error4take(&m_code);
        code4initUndo(&m_code);
    }
    if (m_journalCode.initialized) {
        error4take(&m_journalCode);
        code4initUndo(&m_journalCode);
    }
}

int CORVSchedDoc::deleteOlderThan(const std::string& dateKey) {
    if (!m_schedule.isOpen()) return 0;
    Busy busy(*this);
    CWaitCursor wait(m_prompt);
    // What is deleted stays deleted: no Cancel. Progress goes by date up to the cut.
    const auto progress = m_prompt.progress(kDeletingOld, false);
    long first = -1;
    const long cut = CDate::fromKey(dateKey).serial();
    const int count = m_schedule.deleteOlderThan(dateKey, m_attendeeAvailable ? &m_roster : nullptr,
                                                 [&](const std::string& key) {
                                                     const long day = CDate::fromKey(key).serial();
                                                     if (first < 0) first = day;
                                                     progress->step(day - first, cut - first);
                                                 });
    error4take(&m_code);
    // A rule whose members are all gone goes with them.
    if (m_series.isOpen() && m_series.deleteEndedBefore(dateKey) < 0) error4take(&m_code);
    return count;
}

int CORVSchedDoc::takeReadFailure(int rc) {
    int failure = error4take(&m_code, rc);
    if (failure == 0) failure = rc;
    if (failure != 0) m_prompt.message(kNotRead, kDatabaseError, PromptIcon::error);
    return failure;
}

int CORVSchedDoc::deleteCurrentReservation() {
    const CScheduleRecord r = m_schedule.image();
    const int rc = m_schedule.deleteCurrent();
    if (rc != 0) return rc;
    if (!r.hasAttendees() || !m_roster.isOpen()) return 0;
    const int links = CAttendeeLists::deleteAttendees(m_roster, r.month(), r.day(), r.year(),
                                                      r.startHour(), r.startMinute(), r.itemName());
    return links < 0 ? links : 0;
}

void CORVSchedDoc::markUpdate() {
    m_stamp.markUpdate();
}

bool CORVSchedDoc::changedByOthers() {
    return m_stamp.changedByOthers(m_settings.refresh != 0, m_settings.doDBReOpen != 0);
}

void CORVSchedDoc::reopenTables() {
    if (!m_network) return;
    m_schedule.close();
    m_people.close();
    error4take(&m_code);
    if (m_schedule.open(m_groupFile) == 0) {
        if (!openPeople()) error4take(&m_code);
    } else {
        error4take(&m_code);
    }
}

void CORVSchedDoc::reopenTablesIfSet() {
    if (m_settings.refresh && m_settings.doDBReOpen) reopenTables();
}

void CORVSchedDoc::scheduleChanged(const CDate& changed, bool reset) {
    if (changed != date()) return;
    loadTodaysList(dateKey());
    recomputeInUse(reset);
    markUpdate();
}

int CORVSchedDoc::loadTodaysList(const std::string& dateKey) {
    if (!m_schedule.isOpen()) {
        m_today.clear();
        return e4parmNull;
    }
    std::vector<_SCHEDITEM> loaded;
    const int rc = error4take(&m_code, m_schedule.loadTodaysList(dateKey, m_items, loaded));
    // A read that failed halfway would show the items after it as free: the list stays as it was
    // and the next tick tries again.
    if (rc == 0) m_today = std::move(loaded);
    return rc;
}

int CORVSchedDoc::reloadTodaysList() {
    reopenTablesIfSet();
    return loadTodaysList(dateKey());
}

void CORVSchedDoc::recomputeInUse(bool reset) {
    std::tm now = CClock::current().localNow();
    const int hhmm = now.tm_hour * 100 + now.tm_min;
    bool changed = false;
    if (reset) {
        for (int i = 0; i < m_items.count(); ++i)
            m_items.at(i).setInUse(false);
        changed = true;
    }
    for (const auto& e : m_today) {
        if (!m_items.isValidIndex(e.itemIndex)) continue;
        CRoom& item = m_items.at(e.itemIndex);
        const int start = e.startHour * 100 + e.startMinute;
        const int end = e.endHour * 100 + e.endMinute;
        if (start <= hhmm && hhmm < end) {
            if (!item.inUse()) {
                item.setInUse(true);
                item.setCurrentUse(e.label);
                changed = true;
            }
        } else if (hhmm == end) {
            item.setInUse(false);
            item.setCurrentUse("");
            changed = true;
        }
    }
    if (changed) notifyChanged();
}

void CORVSchedDoc::setDateToToday() {
    std::tm now = CClock::current().localNow();
    setDate(now.tm_mon + 1, now.tm_mday, now.tm_year + 1900);
}

void CORVSchedDoc::setDate(int month, int day, int year) {
    m_month = month;
    m_day = day;
    m_year = year;
}

std::string CORVSchedDoc::dateKey() const {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", m_year, m_month, m_day);
    return buf;
}

void CORVSchedDoc::addObserver(CDocObserver* observer) {
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CORVSchedDoc::removeObserver(CDocObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
}

void CORVSchedDoc::notifyChanged() {
    auto copy = m_observers;
    for (auto* o : copy)
        o->documentChanged();
}

} // namespace orv
