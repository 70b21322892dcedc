// A user killed at random moments of every write path (append, delete, rewrite, attendee
// replace, item change, group file save, reindex, pack): afterwards the group opens, its group
// file reads whole, every acknowledged write is there, and every index checks out, or does after
// a reindex. The journal's entries describe only writes that were stored: an entry of a kill's
// write may be missing, never one too many.
//
// ORV_CRASH_ROUNDS sets how many kills (8 by default; the long form is 200).
#include "common/GroupMaker.h"
#include "common/Process.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "history/CHistory.h"
#include "history/CJournalImage.h"
#include "tables/CTableNames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

using namespace orv;
using namespace orv::test;

namespace {

// The reservations of the writer (see group_crash_writer) as the tables hold them: number ->
// note, read through the record layer.
std::map<long, std::string> storedReservations(CORVSchedDoc& doc) {
    std::map<long, std::string> stored;
    CSchedule& s = doc.schedule();
    for (int rc = s.first(); rc == 0; rc = s.next()) {
        const CScheduleRecord& r = s.image();
        const long day = r.date().serial() - CDate{2027, 1, 1}.serial();
        const long slot = (r.startHour() * 60 + r.startMinute() - 8 * 60) / 15;
        stored[day * 40 + slot] = r.note();
    }
    return stored;
}

// The live records of a table in record order: one stored twice hides behind a unique tag.
long liveRecords(const std::string& table) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Data4* d = d4open(&code, table);
    long live = 0;
    if (d) {
        d4tagSelect(d, nullptr);
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1))
            live += !d4deleted(d);
    }
    return live;
}

// 0 when the table checks out, 1 when it did after a reindex, -1 when not even then.
int checkOrRepair(const std::string& table) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Data4* d = d4open(&code, table);
    if (!d) return -1;
    if (d4check(d, nullptr, nullptr) == 0) return 0;
    code.errorCode = 0;
    return d4reindex(d) == 0 && d4check(d, nullptr, nullptr) == 0 ? 1 : -1;
}

TEST(Crash, KilledWriterLeavesEveryAcknowledgedWriteAndSoundFiles) {
    TempDir dir;
    const std::string group = dir.file("Room.sch");
    ASSERT_TRUE(makeGroup(group));
    {
        ScriptedPrompt p;
        CMemorySettings settings;
        CORVSchedDoc doc(p, settings);
        ASSERT_TRUE(doc.openGroup(group));
        addItems(doc, {"Boardroom"});
        ASSERT_EQ(addPerson(doc.people(), "Pat", "Ames", 3), 0);
        ASSERT_EQ(addPerson(doc.people(), "Li", "Chen", 3), 0);
    }
    const char* env = std::getenv("ORV_CRASH_ROUNDS");
    const int rounds = env ? std::atoi(env) : 8;
    std::mt19937 random(20261208);
    std::map<long, std::string> acked; // reservation -> note
    std::set<long> deleted;
    std::set<std::string> items = {"Boardroom"};
    int repairs = 0;
    long journalEntries = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // A delete or note change that the kill cut short may or may not have happened.
        std::pair<std::string, long> inFlight;
        {
            Process writer(helperPath("group_crash_writer"),
                           {group, std::to_string(1000L * round)});
            std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 600));
            kill(writer.pid(), SIGKILL);
            std::string line;
            while (writer.readLine(line)) {
                std::istringstream in(line);
                std::string what;
                long n = -1;
                in >> what >> n;
                if (what == "d" || what == "u") inFlight = {what, n};
                if (what == "D" || what == "U") inFlight = {};
                if (what == "A") acked[n] = "";
                if (what == "U") acked[n] = "u";
                if (what == "D") acked.erase(n), deleted.insert(n);
                if (what == "I") items.insert("I" + std::to_string(n));
            }
            writer.wait();
        }
        CGroupFileData data;
        std::string why;
        ASSERT_TRUE(CGroupFile::read(group, data, why)) << why;
        std::set<std::string> names;
        for (const CRoom& r : data.items)
            names.insert(r.name());
        for (const std::string& item : items)
            EXPECT_TRUE(names.count(item)) << item;

        for (const std::string& table :
             {CGroupNames::scheduleTable(group), CGroupNames::rosterLinkTable(group),
              dir.file("RoomPeople")}) {
            const int outcome = checkOrRepair(table);
            EXPECT_GE(outcome, 0) << table;
            repairs += outcome == 1;
        }
        ScriptedPrompt p;
        CMemorySettings settings;
        CORVSchedDoc doc(p, settings);
        ASSERT_TRUE(doc.openGroup(group));
        const std::map<long, std::string> stored = storedReservations(doc);
        EXPECT_EQ(liveRecords(CGroupNames::scheduleTable(group)), static_cast<long>(stored.size()))
            << "a reservation is stored twice";
        const long cut = inFlight.second;
        if (inFlight.first == "d" && acked.count(cut) && !stored.count(cut))
            acked.erase(cut), deleted.insert(cut);
        if (inFlight.first == "u" && acked.count(cut) && stored.count(cut))
            acked[cut] = stored.at(cut);
        for (const auto& [n, note] : acked) {
            ASSERT_TRUE(stored.count(n)) << "acknowledged reservation " << n << " is gone";
            EXPECT_EQ(stored.at(n), note) << n;
        }
        for (long n : deleted)
            EXPECT_FALSE(stored.count(n)) << "acknowledged delete of " << n;

        EXPECT_GE(checkOrRepair(CTableNames::journal(group)), 0);
        ASSERT_TRUE(doc.journal().isOpen());
        std::vector<CHistoryEntry> entries;
        ASSERT_EQ(CHistory::load(doc.journal(), entries), 0);
        for (const CHistoryEntry& e : entries) {
            const std::string& image = e.shownImage();
            const CDate date = CJournalImage::date(image);
            const int start = CJournalImage::startHhmm(image);
            const long n = (date.serial() - CDate{2027, 1, 1}.serial()) * 40 +
                           ((start / 100) * 60 + start % 100 - 8 * 60) / 15;
            const bool everStored = stored.count(n) || deleted.count(n) || acked.count(n);
            const bool described = e.kind == "made"        ? everStored
                                   : e.kind == "cancelled" ? !stored.count(n)
                                   : e.kind == "changed"   ? !stored.count(n) || stored.at(n) == "u"
                                                           : false;
            EXPECT_TRUE(described) << "entry " << e.entry << " " << e.kind;
            journalEntries = std::max(journalEntries, e.entry);
        }
    }
    std::printf(
        "%d kills, %zu reservations kept, %zu deleted, %zu items, %d tables repaired by reindex, "
        "%ld journal entries\n",
        rounds, acked.size(), deleted.size(), items.size(), repairs, journalEntries);
}

} // namespace
