#pragma once
// One open group: its group file and stamp file, its tables through one engine context, the
// item list, today's list and the attendee working lists. Opening, creating and closing a group
// run here; every dialog reaches the tables through this object.
//
// The document talks to the user only through the CUserPrompt it is given and reads and writes
// preferences only through the CSettings it is given; both outlive it.

#include "group/CDocObserver.h"
#include "group/CDocSettings.h"
#include "group/CGroupFileData.h"
#include "group/CItemList.h"
#include "group/CRect.h"
#include "group/CSettings.h"
#include "group/CStampFile.h"
#include "group/CUserPrompt.h"
#include "storage/Code4.h"
#include "tables/CAttendeeLists.h"
#include "tables/CDate.h"
#include "tables/CJournal.h"
#include "tables/CPeople.h"
#include "tables/CPeopleKey.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"
#include "tables/CSeriesRules.h"
#include "tables/_SCHEDITEM.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc {
public:
    // Messages of opening and creating a group.
    static constexpr const char* kDeletingOld = "Deleting old reservations";
    static constexpr const char* kPeopleNotFound =
        "The people file cannot be found, do you want to select a new one?";
    static constexpr const char* kPeopleNotOpened =
        "Could not successfully open the people file you requested, group not started.";
    static constexpr const char* kScheduleNotOpened =
        "The reservation database of this group cannot be opened, group not started.";
    static constexpr const char* kAttendeeNotOpened =
        "The attendee database cannot be opened, the attendee function is disabled";
    static constexpr const char* kNoPeopleChosen = "No people file selected, group not created";
    static constexpr const char* kOwnerHasNoPeople =
        "The selected group does not have a people file, group creation cancelled";
    static constexpr const char* kAttendeeNotCreated =
        "Cannot create an attendee database for this group, the attendee function is disabled";
    static constexpr const char* kOldAlternatePeople =
        "The alternate person database was created before version 2.00, attendee function "
        "disabled until database is converted";

    // A change of the group file that could not be made: the lock or the write failed.
    static constexpr const char* kGroupNotLocked =
        "The group could not be locked against other users' changes: ";
    static constexpr const char* kNothingChanged = ", the group was not changed.";
    static constexpr const char* kGroupErrorTitle = "Group File Error";

    // A group this user may not write: told once when its window opens, and again when a
    // command that would change it is refused. The folder follows the first text.
    static constexpr const char* kReadOnlyFolder =
        "You may not write to this group's files in the folder ";
    static constexpr const char* kReadOnlyRest = ", so the group can be looked at but not changed.";
    static constexpr const char* kReadOnlyTitle = "Read-Only Group";

    // A list or report whose read of the schedule failed shows nothing and says so.
    static constexpr const char* kNotRead = "Could not read schedule record from database";
    static constexpr const char* kDatabaseError = "Database Error";

    CORVSchedDoc(CUserPrompt& prompt, CSettings& settings);
    // Closes the group (deleting old reservations when so set) and releases the engine context.
    ~CORVSchedDoc();
    CORVSchedDoc(const CORVSchedDoc&) = delete;
    CORVSchedDoc& operator=(const CORVSchedDoc&) = delete;

    // Opening, creating, closing.
    bool openGroup(const std::string& groupFile);
    bool createGroup();
    // Edit > Modify Group Information: no check of the fields; saves and redraws on OK.
    bool modifyGroupInformation();
    void closeGroup();
    bool isOpen() const { return !m_groupFile.empty(); }
    // Called with the group file of a newly created group (the recently used files list).
    void setRecentFileHook(std::function<void(const std::string&)> hook) {
        m_addRecent = std::move(hook);
    }

    // The group file.
    bool readGroupFile(const std::string& path, std::string* error = nullptr);
    // Writes the group file whole or not at all; `error` names the file and the cause.
    bool saveGroupFile(std::string* error = nullptr);
    // Reads the group file again (the item list, texts and people file name other users may have
    // changed); the tables stay open.
    bool rereadGroupFile(std::string* error = nullptr);
    // One change of the group file as every user makes it: the group-wide lock (the people
    // table's whole-table lock), the file read again, `change` applied to what was read, the
    // file written, the lock let go. `change` returns false to write nothing. When the lock,
    // the read or the write fails the user is told, nothing is written and the document shows
    // the file as it is.
    enum class GroupWrite { written, unchanged, failed };
    GroupWrite rewriteGroupFile(const std::function<bool()>& change);
    // Stores a window rectangle in the group file. Under the group-wide lock and on the group
    // file as it is now on disk, so that items another user added meanwhile are not lost.
    bool storeWindowRect(const CRect& rect);

    // Long work of this group (compress, merge, the imports, the reservation report, deleting
    // old reservations) holds a Busy for its whole run. Its progress and its messages let the
    // event loop run, and while the document is busy nothing else may move its tables: the main
    // view's timer and the calendar file wait for the next tick, and the group's commands wait.
    class Busy {
    public:
        explicit Busy(CORVSchedDoc& doc) : m_doc(doc) { ++m_doc.m_busy; }
        ~Busy() { --m_doc.m_busy; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        CORVSchedDoc& m_doc;
    };
    bool busy() const { return m_busy > 0; }

    // The stamp file.
    void markUpdate();
    bool changedByOthers();

    // Closes and opens again the schedule and people tables of a group on a network drive.
    void reopenTables();
    // Reopen tables, when the network refresh and reopen-tables settings are both on. Runs
    // before a lock is taken, never between a lock and the write it guards.
    void reopenTablesIfSet();
    // After a schedule record dated `date` was written or deleted: when that is the document's
    // date, today's list is reloaded, the in-use states are recomputed (from scratch with
    // `reset`) and the stamp is rewritten so that other users reload too.
    void scheduleChanged(const CDate& date, bool reset);
    // Deletes the schedule records dated before `dateKey` and, while the attendee function is
    // available, the attendee links dated before it; the wait cursor shows meanwhile. Returns
    // how many were deleted; no engine error is left pending.
    int deleteOlderThan(const std::string& dateKey);
    // Deletes the schedule record the table is on (its lock held, as relockCurrent leaves it),
    // then its attendee links when it had any: a failed delete keeps its links, so that no record
    // is left flagged with attendees and none linked. The delete's result, else the links'.
    int deleteCurrentReservation();
    // After a walk of the schedule for a list or report: takes a pending engine error and gives
    // 0 when the walk's result `rc` and the context say it read everything, else the failure,
    // which the user is told with kNotRead.
    int takeReadFailure(int rc);
    // Loads today's list for a date key ("%04d%02d%02d").
    int loadTodaysList(const std::string& dateKey);
    // Loads today's list for the document's date, reopening the tables first when the network
    // refresh and reopen-tables settings are both on.
    int reloadTodaysList();
    // Sets the in-use flags and texts of the items from today's list at the current minute.
    // With reset every flag is cleared first and the views are always told.
    void recomputeInUse(bool reset);

    // The document's date ("today" as last set).
    void setDateToToday();
    int month() const { return m_month; }
    int day() const { return m_day; }
    int year() const { return m_year; }
    void setDate(int month, int day, int year);
    std::string dateKey() const;
    CDate date() const { return {m_year, m_month, m_day}; }

    // Views.
    void addObserver(CDocObserver* observer);
    void removeObserver(CDocObserver* observer);
    void notifyChanged();

    // The settings handed over by the main view.
    void setSettings(const CDocSettings& settings) { m_settings = settings; }
    const CDocSettings& settings() const { return m_settings; }

    // State.
    const std::string& groupFile() const { return m_groupFile; }
    const std::string& groupFolder() const { return m_groupFolder; }
    const std::string& basePath() const { return m_basePath; }
    const std::string& stampFilePath() const { return m_stampPath; }
    const std::string& storedPeopleName() const { return m_data.peopleFileName; }
    const std::string& peopleFilePath() const { return m_peoplePath; }
    const std::string& description() const { return m_data.description; }
    const std::string& kindWord() const { return m_data.kindWord; }
    const std::string& kindUpper() const { return m_kindUpper; }
    const std::string& kindLower() const { return m_kindLower; }
    void setDescriptionAndKind(const std::string& description, const std::string& kindWord);
    const CRect& windowRect() const { return m_data.window; }
    void setWindowRect(const CRect& rect) { m_data.window = rect; }
    const std::array<std::int32_t, 2>& reserved() const { return m_data.reserved; }
    bool newFormat() const { return m_data.newFormat; }
    bool onNetworkDrive() const { return m_network; }
    bool stampOpen() const { return m_stamp.isOpen(); }
    bool attendeeAvailable() const { return m_attendeeAvailable; }
    // Empty when this user may write the group's folder and files; else why not, naming the
    // folder. Found when the group is opened.
    const std::string& readOnlyReason() const { return m_readOnlyReason; }
    bool readOnly() const { return !m_readOnlyReason.empty(); }
    // Before a command that would change the group: false, after telling the user why, when the
    // group is read-only for this user.
    bool mayWrite();
    // The reason the first time it is asked for, so that the group's first window tells it once;
    // then empty.
    std::string readOnlyNotice();
    // The group's own tables are of an older layout / the shared people table is.
    bool databasesOld() const { return m_schedule.oldFormat(); }
    bool peopleDatabaseOld() const { return m_people.oldLayout(); }

    CItemList& items() { return m_items; }
    const CItemList& items() const { return m_items; }
    int findItem(const std::string& name) const { return m_items.find(name); }
    const std::vector<_SCHEDITEM>& todaysList() const { return m_today; }

    Code4& code() { return m_code; }
    CSchedule& schedule() { return m_schedule; }
    CPeople& people() { return m_people; }
    CPeople& otherPeople() { return m_otherPeople; }
    CRosterLink& rosterLinks() { return m_roster; }
    // The rules of series beyond the classic kinds; closed when the group has no such table.
    CSeriesRules& seriesRules() { return m_series; }
    CAttendeeLists& attendees() { return m_attendees; }
    // The group's journal, in an engine context of its own: its locks and errors never touch
    // the change it records. Closed when the group has none and none could be made.
    CJournal& journal() { return m_journal; }
    Code4& journalCode() { return m_journalCode; }
    // What the user gave as the reason of the changes that follow; kept until changed.
    const std::string& changeReason() const { return m_changeReason; }
    void setChangeReason(std::string reason) { m_changeReason = std::move(reason); }
    std::vector<CPeopleKey>& reportPeople() { return m_reportPeople; }
    CUserPrompt& prompt() { return m_prompt; }
    CSettings& settingsStore() { return m_settingsStore; }

private:
    void deriveNames(const std::string& groupFile);
    bool openPeople();
    void emptyIdentity();
    void finish(bool created);
    void closeTables();
    void findReadOnly();

    CUserPrompt& m_prompt;
    CSettings& m_settingsStore;
    Code4 m_code;
    CSchedule m_schedule;
    CPeople m_people;
    CPeople m_otherPeople;
    CRosterLink m_roster;
    CSeriesRules m_series;
    CStampFile m_stamp;
    CAttendeeLists m_attendees;
    Code4 m_journalCode;
    CJournal m_journal{m_journalCode};
    std::string m_changeReason;
    std::vector<CPeopleKey> m_reportPeople;

    std::string m_groupFile;
    std::string m_groupFolder;
    std::string m_basePath;
    std::string m_stampPath;
    std::string m_peoplePath;
    std::string m_kindUpper;
    std::string m_kindLower;
    CGroupFileData m_data;
    CItemList m_items;
    std::vector<_SCHEDITEM> m_today;
    int m_month = 0;
    int m_day = 0;
    int m_year = 0;
    bool m_network = false;
    bool m_attendeeAvailable = false;
    std::string m_readOnlyReason;
    bool m_readOnlyTold = false;
    int m_busy = 0;
    CDocSettings m_settings;
    std::vector<CDocObserver*> m_observers;
    std::function<void(const std::string&)> m_addRecent;
};

} // namespace orv
