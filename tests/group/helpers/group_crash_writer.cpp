// A user who keeps writing, to be killed at a random moment. Each write path of the program runs
// in turn, and each acknowledged write is reported once it returned success (after its flush):
//
//   A N   reservation N appended        D N   reservation N deleted
//   U N   reservation N's note rewritten L N   reservation N's attendees replaced
//   I N   item "I<N>" added             W N   window rectangle N stored in the group file
//   X     schedule reindexed            P     schedule packed
//
// A delete or a note change is announced before it starts ("d N", "u N"): killed in between, it
// may or may not have happened. Appends, deletes and note changes are recorded in the group's
// journal as the program records them.
//
//   group_crash_writer GROUP FIRST        reservation numbers from FIRST on
//
// Reservation N is one quarter hour of the item Boardroom: day N / 40 from 2027-01-01 on, from
// 08:00 + 15 min * (N % 40).
#include "common/ScriptedPrompt.h"
#include "group/CGroupNames.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "storage/Data4.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orv;
using namespace orv::test;

namespace {

void ack(const std::string& what) {
    std::printf("%s\n", what.c_str());
    std::fflush(stdout);
}

CDate dateOf(long n) {
    return CDate{2027, 1, 1}.addDays(static_cast<int>(n / 40));
}
int startOf(long n) {
    return 8 * 60 + 15 * static_cast<int>(n % 40);
}

// Finds reservation n and holds its record lock.
bool find(CSchedule& s, long n) {
    const int start = startOf(n);
    char hh[12], mm[12];
    std::snprintf(hh, sizeof hh, "%02d", start / 60);
    std::snprintf(mm, sizeof mm, "%02d", start % 60);
    return s.seek(dateOf(n).key(), "Boardroom", hh, mm) == 0 && s.relockCurrent() == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string group = argv[1];
    ScriptedPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1;
    if (!doc.openGroup(group)) return 3;
    CSchedule& s = doc.schedule();
    for (long n = std::atol(argv[2]);; ++n) {
        const CDate d = dateOf(n);
        const int start = startOf(n);
        s.clearImage();
        s.image().setDate(d.month, d.day, d.year);
        s.image().setItemName("Boardroom");
        s.image().setStartTime(start / 60, start % 60);
        s.image().setEndTime((start + 15) / 60, (start + 15) % 60);
        s.image().setPerson("Pat", "", "Ames", "");
        s.image().setAttendeesFlag(n % 5 == 0);
        {
            CJournalChange journal(doc);
            if (s.append() == 0) ack("A " + std::to_string(n));
        }
        doc.code().errorCode = 0;
        if (n % 3 == 2 && find(s, n - 1)) {
            ack("d " + std::to_string(n - 1));
            CJournalChange journal(doc);
            if (s.deleteCurrent() == 0) ack("D " + std::to_string(n - 1));
        }
        if (n % 3 == 1 && find(s, n - 1)) {
            ack("u " + std::to_string(n - 1));
            s.image().setNote("u");
            CJournalChange journal(doc);
            if (s.update() == 0) ack("U " + std::to_string(n - 1));
        }
        doc.code().errorCode = 0;
        if (n % 5 == 0) {
            CAttendeeLists& lists = doc.attendees();
            lists.clear();
            lists.toAdd() = {CPeopleKey("Li", "", "Chen", "")};
            if (lists.saveAttendeeChanges(doc.rosterLinks(), d.month, d.day, d.year, start / 60,
                                          start % 60, "Boardroom") >= 0)
                ack("L " + std::to_string(n));
        }
        if (n % 7 == 0) {
            prompt.fill<CItemInfoModel>(
                [n](CItemInfoModel& m) { m.name = "I" + std::to_string(n); });
            if (CItemManager(doc).addItem()) ack("I " + std::to_string(n));
        }
        if (n % 11 == 0 && doc.storeWindowRect(CRect{static_cast<int>(n), 0, 100, 100}))
            ack("W " + std::to_string(n));
        if (n % 13 == 0) {
            Code4 code;
            code4init(&code);
            code.silentErrors = 1;
            Data4* table = d4open(&code, CGroupNames::scheduleTable(group));
            if (table && d4reindex(table) == 0 && d4close(table) == 0) ack("X");
        }
        if (n % 17 == 0 && s.compress() == 0) ack("P");
        doc.code().errorCode = 0;
    }
}
