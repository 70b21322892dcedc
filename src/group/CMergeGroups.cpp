#include "group/CMergeGroups.h"

#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "group/CMergeInfoModel.h"
#include "group/CMergeWarningsModel.h"
#include "group/CORVSchedDoc.h"
#include "tables/CTableNames.h"
#include "tables/Cp1252.h"

#include <cctype>

namespace orv {

namespace {

struct CopyOutcome {
    bool duplicate = false; // an append refused as a taken unique key
    bool failed = false;    // another failed append, or a walk that did not reach the end
};

// Walks `from` in tag order and appends each record through `appendOne`. A failed record does
// not end the walk, and no engine error is left pending for the next one.
template <class From, class AppendOne>
CopyOutcome copyRecords(Code4& code, CUserPrompt& prompt, const char* label, From& from,
                        AppendOne appendOne) {
    CopyOutcome outcome;
    // Stopping halfway would leave a half-merged group: no Cancel.
    const auto progress = prompt.progress(label, false);
    Data4* table = code4opened(&code, from.tableName());
    const long total = table ? d4recCount(table) : 0;
    long done = 0;
    int rc = from.first();
    while (rc == res4success) {
        progress->step(done++, total);
        const int appended = appendOne();
        if (appended == res4unique)
            outcome.duplicate = true;
        else if (appended != res4success)
            outcome.failed = true;
        if (error4take(&code) != 0) outcome.failed = true;
        rc = from.next();
    }
    if (rc != res4eof) outcome.failed = true;
    error4take(&code);
    return outcome;
}

// Both names lead to one table that the context has open.
bool sameOpenTable(Code4& code, const std::string& a, const std::string& b) {
    Data4* table = code4opened(&code, a);
    return table && code4opened(&code, b) == table;
}

} // namespace

void CMergeGroups::warn(const char* text) {
    m_warnings.emplace_back(text);
    m_result = kMergedWithWarnings;
}

int CMergeGroups::run() {
    CUserPrompt& prompt = m_doc.prompt();
    CMergeInfoModel info(m_doc.description());
    if (!prompt.runDialog(info)) return kNotRun;
    FileChoice choice;
    choice.title = kChooserTitle;
    choice.defaultExtension = "sch";
    choice.filter = kChooserFilter;
    choice.mustExist = true;
    choice.folder = m_doc.groupFolder();
    const auto path = prompt.chooseFile(choice);
    if (!path) return kNotRun;
    if (*path == m_doc.groupFile()) {
        prompt.message(kIntoItself, "Error", PromptIcon::error);
        return kNotRun;
    }
    const int result = mergeGroup(*path);
    switch (result) {
    case kMerged:
        prompt.message(kSuccess, kSuccessTitle, PromptIcon::information);
        break;
    case kMergedWithWarnings: {
        CMergeWarningsModel list(m_warnings);
        prompt.runDialog(list);
        break;
    }
    case kSameItemName:
        prompt.message(kSameItemText, kCancelledTitle, PromptIcon::error);
        break;
    case kDifferentLevels:
        prompt.message(kDifferentLevelsText, kCancelledTitle, PromptIcon::error);
        break;
    case kOwnsPeople:
        prompt.message(kOwnsPeopleText, kCancelledTitle, PromptIcon::error);
        break;
    default:
        break;
    }
    m_doc.notifyChanged();
    return result;
}

int CMergeGroups::mergeGroup(const std::string& path) {
    CORVSchedDoc::Busy busy(m_doc);
    m_warnings.clear();
    m_result = kMerged;
    CUserPrompt& prompt = m_doc.prompt();
    CGroupFileData other;
    std::string why;
    if (!CGroupFile::read(path, other, why)) {
        if (!why.empty())
            why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
        prompt.message(utf8ToCp1252(why), kAppTitle, PromptIcon::error);
        return kNotMerged;
    }
    for (const std::string& cut : other.cutNames)
        prompt.message(cut, kAppTitle, PromptIcon::information);

    // The items join the group file as every change of it is made: under the group-wide lock, on
    // the file read again (a lock, read or write that fails is told there and changes nothing).
    CSchedule from(m_doc.code());
    int refusal = kMerged;
    const auto written = m_doc.rewriteGroupFile([&] {
        refusal = mergeItems(path, other, from);
        return refusal == kMerged;
    });
    if (written != CORVSchedDoc::GroupWrite::written) {
        from.close();
        return refusal != kMerged ? refusal : kNotMerged;
    }

    mergeReservations(from);
    from.close();
    mergeSeries(path);
    // No attendee function here (an older layout, or a table that did not open): no links.
    if (m_doc.attendeeAvailable()) mergeAttendeeLists(path);
    mergePeople(path, other.peopleFileName);
    m_doc.journal().appendFrom(path);

    // The merged items may be in use right now; other users' timers notice the stamp.
    m_doc.loadTodaysList(m_doc.dateKey());
    m_doc.recomputeInUse(true);
    m_doc.markUpdate();
    return m_result;
}

int CMergeGroups::mergeItems(const std::string& path, const CGroupFileData& other,
                             CSchedule& from) {
    Code4& code = m_doc.code();
    // The item list is the one just read again: another user may have added a name since this
    // group was read.
    for (const CRoom& item : other.items)
        if (m_doc.findItem(item.name()) >= 0) return kSameItemName;

    const CSchedule& mine = m_doc.schedule();
    if (from.open(path) != 0) {
        error4take(&code);
        warn(kNoReservations);
    } else if (from.noRecurrenceField() != mine.noRecurrenceField() ||
               from.oldFormat() != mine.oldFormat()) {
        return kDifferentLevels;
    }
    if (other.peopleFileName.empty() &&
        sameOpenTable(code, m_doc.people().tableName(), CTableNames::people(path)))
        return kOwnsPeople;

    for (const CRoom& item : other.items)
        m_doc.items().append(item);
    return kMerged;
}

void CMergeGroups::mergeReservations(CSchedule& from) {
    if (!from.isOpen()) return;
    CSchedule& to = m_doc.schedule();
    const CopyOutcome outcome =
        copyRecords(m_doc.code(), m_doc.prompt(), kCopyingReservations, from, [&] {
            to.image() = from.image();
            return to.append();
        });
    if (outcome.duplicate || outcome.failed) warn(kSomeReservationsLost);
}

void CMergeGroups::mergeAttendeeLists(const std::string& path) {
    Code4& code = m_doc.code();
    CRosterLink from(code);
    if (from.open(path) != 0) {
        error4take(&code);
        warn(kNoAttendeeLists);
        return;
    }
    CRosterLink& to = m_doc.rosterLinks();
    const CopyOutcome outcome = copyRecords(code, m_doc.prompt(), kCopyingAttendeeLists, from, [&] {
        to.copyImageFrom(from);
        return to.append();
    });
    from.close();
    if (outcome.duplicate || outcome.failed) warn(kSomeAttendeeListsLost);
}

void CMergeGroups::mergeSeries(const std::string& path) {
    Code4& code = m_doc.code();
    CSeriesRules from(code);
    if (from.openIfThere(path) != 0) return;
    CSeriesRules& to = m_doc.seriesRules();
    if (to.openOrCreate(m_doc.groupFile()) != 0) {
        from.close();
        warn(kSomeSeriesLost);
        return;
    }
    const CopyOutcome outcome = copyRecords(code, m_doc.prompt(), kCopyingSeries, from,
                                            [&] { return to.append({from.image()}); });
    from.close();
    if (outcome.failed) warn(kSomeSeriesLost);
}

void CMergeGroups::mergePeople(const std::string& path, const std::string& storedPeopleName) {
    Code4& code = m_doc.code();
    CPeople& to = m_doc.people();
    const std::string table = CGroupNames::peopleTable(
        storedPeopleName.empty() ? path : CGroupNames::otherPeopleFile(path, storedPeopleName));
    // Both groups use one people table (this group's own, or a third group's that both borrow):
    // its people are here already, and a second open of it would only be refused.
    if (sameOpenTable(code, to.tableName(), table)) return;

    CPeople& from = m_doc.otherPeople();
    if (from.open(table, true) != 0) {
        error4take(&code);
        warn(kNoPeople);
        return;
    }
    const CopyOutcome outcome = copyRecords(code, m_doc.prompt(), kCopyingPeople, from, [&] {
        CPeopleRecord person = from.image();
        person.setOldLayout(to.oldLayout());
        to.image() = person;
        return to.append();
    });
    from.close();
    if (outcome.duplicate) warn(kPeopleExist);
    if (outcome.failed) warn(kSomePeopleLost);
}

} // namespace orv
