#pragma once
// File > Merge Groups: copies another group (its items, reservations, attendee links and people)
// into the open group. The other group is only read. A merge is refused before anything changes
// when an item name is in both groups, when the schedule tables are of different levels, or when
// the other group owns the people table this group uses.
//
// The item list changes as every change of the group file is made (CORVSchedDoc::
// rewriteGroupFile): under the group-wide lock, on the group file read again, with the name check
// made on that fresh list. The records follow after the lock is let go (each append takes its own
// locks).

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CSchedule;
struct CGroupFileData;

class CMergeGroups {
public:
    // Results of mergeGroup().
    static constexpr int kMerged = 0;
    static constexpr int kMergedWithWarnings = 4;
    static constexpr int kSameItemName = 8;
    static constexpr int kDifferentLevels = 16;
    static constexpr int kOwnsPeople = 20;
    // Nothing merged and the user was told why (unreadable group file, lock or save failed).
    static constexpr int kNotMerged = -1;
    // run(): the user cancelled, or chose the open group itself.
    static constexpr int kNotRun = -2;

    static constexpr const char* kChooserTitle = "Select the Merge From Group File";
    static constexpr const char* kChooserFilter = "Scheduler Files (*.sch)|*.sch||";
    static constexpr const char* kIntoItself = "You cannot merge the current group into itself";
    static constexpr const char* kSuccess =
        "Group merged successfully. You should no longer use the merged from group and it is "
        "recommended that it be deleted.";
    static constexpr const char* kSuccessTitle = "Merge Sucessful";
    static constexpr const char* kSameItemText =
        "A room with the same name as one in current group exists in from group, merge cancelled.";
    static constexpr const char* kDifferentLevelsText =
        "The groups are not the same version, merge cancelled.";
    static constexpr const char* kOwnsPeopleText =
        "The group being merged owns the people file of the current group, merge cancelled.";
    static constexpr const char* kCancelledTitle = "Merge Cancelled";

    // Warnings.
    static constexpr const char* kNoReservations =
        "Could not open reservations database to be merged, no reservations included";
    static constexpr const char* kNoAttendeeLists =
        "Could not open attendee list database to be merged, no attendee lists included";
    static constexpr const char* kNoPeople =
        "Could not open people database to be merged, no people included";
    static constexpr const char* kPeopleExist = "Some people from merged group already exist in "
                                                "current group, those people were not merged";
    // Progress labels.
    static constexpr const char* kCopyingReservations = "Merging reservations";
    static constexpr const char* kCopyingAttendeeLists = "Merging attendee lists";
    static constexpr const char* kCopyingPeople = "Merging people";
    static constexpr const char* kCopyingSeries = "Merging repeat rules";
    static constexpr const char* kSomeReservationsLost =
        "Not all reservations from merged group could be added to the current group";
    static constexpr const char* kSomeAttendeeListsLost =
        "Not all attendee lists from merged group could be added to the current group";
    static constexpr const char* kSomeSeriesLost =
        "Not all repeat rules from merged group could be added to the current group";
    static constexpr const char* kSomePeopleLost =
        "Not all people from merged group could be added to the current group";

    explicit CMergeGroups(CORVSchedDoc& doc) : m_doc(doc) {}

    // The command: information dialog, file chooser, merge, report, redraw. Returns the merge's
    // result, kNotMerged or kNotRun.
    int run();
    // Merges the group whose group file is `path` into the open group. One of the results
    // above; warnings() then holds the problems that did not stop it.
    int mergeGroup(const std::string& path);
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    // Under the group-wide lock: the name check on the fresh item list, the other schedule
    // opened and its level checked, the people check, the items appended and saved.
    int mergeItems(const std::string& path, const CGroupFileData& other, CSchedule& from);
    void mergeReservations(CSchedule& from);
    void mergeAttendeeLists(const std::string& path);
    // The rules of the other group's series, when it has a series table.
    void mergeSeries(const std::string& path);
    void mergePeople(const std::string& path, const std::string& storedPeopleName);
    void warn(const char* text);

    CORVSchedDoc& m_doc;
    std::vector<std::string> m_warnings;
    int m_result = kMerged;
};

} // namespace orv
