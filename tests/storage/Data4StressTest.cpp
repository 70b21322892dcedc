// The engine under load: a long random run against a model, a writer killed in the middle of
// its appends, and a reader seeking while another process keeps changing the index under it.
#include "common/Process.h"
#include "common/TempDir.h"
#include "storage/Data4.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

using namespace orv;
using namespace orv::test;

namespace {

const char* const kScheduleFields[][2] = {
    {"DATE", "8"},     {"ROOMNAME", "20"}, {"STARTHH", "2"},    {"STARTMM", "2"}, {"ENDHH", "2"},
    {"ENDMM", "2"},    {"LASTNAME", "21"}, {"FIRSTNAME", "16"}, {"MI", "2"},      {"DEPARTMENT", "10"},
    {"NOTES", "80"},   {"DATEMADE", "8"},  {"TIMEMADE", "4"},   {"RECURDAYS", "3"}, {"FLAGS", "5"},
    {"RECUREND", "8"}, {"EXTRA", "8"}};

Data4* createSchedule(Code4& code, const std::string& path) {
    Field4info f;
    for (const auto& spec : kScheduleFields) f.add(spec[0], 'C', std::atoi(spec[1]));
    Tag4info t;
    t.add("SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique, 0);
    return d4create(&code, path, f, &t);
}

std::string cliPath() { return std::string(ORV_BINARY_DIR) + "/src/cli/orvsched-cli"; }

// Runs orvsched-cli and returns its exit status and first line of standard output.
int runCli(const std::vector<std::string>& args, std::string* firstLine = nullptr) {
    Process p(cliPath(), args);
    std::string line;
    if (p.readLine(line) && firstLine) *firstLine = line;
    while (p.readLine(line)) {
    }
    return p.wait();
}

struct Row {
    std::string date, room, hh, mm, note;
    std::string key() const {
        std::string r = room;
        r.resize(20, ' ');
        return date + r + hh + mm;
    }
};

TEST(EngineRandomRun, ThousandsOfRandomChangesAgreeWithAModel) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TempDir dir;
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    const std::string path = dir.file("Sched");
    Data4* d = createSchedule(code, path);
    ASSERT_NE(d, nullptr);
    d4tagSelect(d, d4tag(d, "SCHEDTAG"));

    std::map<long, Row> live;  // record number -> active row
    std::set<long> deleted;    // record numbers marked deleted
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto randomRow = [&] {
        char b[32];
        Row r;
        std::snprintf(b, sizeof b, "202612%02d", 1 + pick(6));
        r.date = b;
        r.room = "Room " + std::to_string(pick(12));
        std::snprintf(b, sizeof b, "%02d", pick(24));
        r.hh = b;
        std::snprintf(b, sizeof b, "%02d", 15 * pick(4));
        r.mm = b;
        r.note = "n" + std::to_string(pick(1000));
        return r;
    };
    auto keyTaken = [&](const std::string& key, long except) {
        for (const auto& [rec, row] : live)
            if (rec != except && row.key() == key) return true;
        return false;
    };
    auto write = [&](const Row& r) {
        f4assign(d4field(d, "DATE"), r.date);
        f4assign(d4field(d, "ROOMNAME"), r.room);
        f4assign(d4field(d, "STARTHH"), r.hh);
        f4assign(d4field(d, "STARTMM"), r.mm);
        f4assign(d4field(d, "NOTES"), r.note);
    };
    auto rowOfBuffer = [&] {
        auto trim = [](std::string s) {
            while (!s.empty() && s.back() == ' ') s.pop_back();
            return s;
        };
        return Row{f4str(d4field(d, "DATE")), trim(f4str(d4field(d, "ROOMNAME"))), f4str(d4field(d, "STARTHH")),
                   f4str(d4field(d, "STARTMM")), trim(f4str(d4field(d, "NOTES")))};
    };

    for (int step = 0; step < 4000; ++step) {
        const int what = pick(100);
        if (what < 45) { // append
            Row r = randomRow();
            d4appendStart(d, 0);
            d4blank(d);
            write(r);
            int rc = d4append(d);
            if (keyTaken(r.key(), -1)) {
                ASSERT_EQ(rc, res4unique) << "step " << step;
            } else {
                ASSERT_EQ(rc, 0) << "step " << step;
                live[d4recNo(d)] = r;
                ASSERT_EQ(d4flush(d), 0);
            }
            d4unlock(d);
        } else if (what < 65 && !live.empty()) { // rewrite a record, maybe onto a taken key
            auto it = std::next(live.begin(), pick(static_cast<int>(live.size())));
            ASSERT_EQ(d4go(d, it->first), 0);
            Row r = randomRow();
            write(r);
            int rc = d4flush(d);
            if (keyTaken(r.key(), it->first)) {
                ASSERT_EQ(rc, res4unique) << "step " << step;
                d4changed(d, 0); // give up the change, as a user cancelling would
            } else {
                ASSERT_EQ(rc, 0) << "step " << step;
                it->second = r;
            }
            d4unlock(d);
        } else if (what < 80 && !live.empty()) { // delete
            auto it = std::next(live.begin(), pick(static_cast<int>(live.size())));
            ASSERT_EQ(d4go(d, it->first), 0);
            d4delete(d);
            ASSERT_EQ(d4flush(d), 0);
            d4unlock(d);
            deleted.insert(it->first);
            live.erase(it);
        } else if (what < 98) { // seek an existing or a missing key
            Row probe = !live.empty() && pick(2) ? std::next(live.begin(), pick(static_cast<int>(live.size())))->second
                                                 : randomRow();
            int rc = d4seek(d, probe.key());
            std::string lowest;
            long lowestRec = 0;
            for (const auto& [rec, row] : live)
                if (row.key() >= probe.key() && (lowest.empty() || row.key() < lowest)) {
                    lowest = row.key();
                    lowestRec = rec;
                }
            if (lowest.empty()) {
                ASSERT_EQ(rc, res4eof) << "step " << step;
            } else {
                ASSERT_EQ(rc, lowest == probe.key() ? res4success : res4after) << "step " << step;
                ASSERT_EQ(d4recNo(d), lowestRec) << "step " << step;
            }
        } else { // pack: exclusive, as the program packs
            d4close(d);
            code.openShareMode = 1;
            d = d4open(&code, path);
            ASSERT_NE(d, nullptr);
            d4tagSelect(d, d4tag(d, "SCHEDTAG"));
            t4uniqueSet(d4tag(d, "SCHEDTAG"), res4unique);
            ASSERT_EQ(d4lockAll(d), 0);
            ASSERT_EQ(d4pack(d), 0);
            d4close(d);
            code.openShareMode = 0;
            d = d4open(&code, path);
            ASSERT_NE(d, nullptr);
            d4tagSelect(d, d4tag(d, "SCHEDTAG"));
            t4uniqueSet(d4tag(d, "SCHEDTAG"), res4unique);
            // Records keep their order and lose the deleted ones in between.
            std::map<long, Row> renumbered;
            long n = 0;
            for (const auto& [rec, row] : live) renumbered[++n] = row;
            live = std::move(renumbered);
            deleted.clear();
        }
    }
    // The whole table in tag order equals the model sorted by key.
    std::vector<std::string> expected;
    for (const auto& [rec, row] : live) expected.push_back(row.key() + row.note);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> seen;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
        Row r = rowOfBuffer();
        seen.push_back(r.key() + r.note);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(d4recCount(d), static_cast<long>(live.size() + deleted.size()));
    d4close(d);
    std::string first;
    EXPECT_EQ(runCli({"index-check", path + ".dbf"}, &first), 0) << first;
    EXPECT_EQ(first, "ok SCHEDTAG=" + std::to_string(live.size()));
}

TEST(EngineCrash, WriterKilledInTheMiddleOfAppendsLosesNoAcknowledgedRecord) {
    TempDir dir;
    const std::string path = dir.file("crash");
    {
        Code4 code;
        code4init(&code);
        Field4info f;
        f.add("KEY", 'C', 8);
        Tag4info t;
        t.add("KEYTAG", "KEY", ".NOT. DELETED()", res4unique, 0);
        ASSERT_NE(d4create(&code, path, f, &t), nullptr);
        code4initUndo(&code);
    }
    std::map<long, std::string> acknowledged;
    {
        Process writer(helperPath("storage_peer"), {"appendloop", path + ".dbf"});
        std::string line;
        while (acknowledged.size() < 400 && writer.readLine(line)) {
            long rec = 0;
            char key[32] = {};
            ASSERT_EQ(std::sscanf(line.c_str(), "added %ld %31s", &rec, key), 2) << line;
            acknowledged[rec] = key;
        }
        writer.killHard();
    }
    ASSERT_EQ(acknowledged.size(), 400u);

    std::string report;
    int check = runCli({"index-check", path + ".dbf"}, &report);
    if (check != 0) {
        // The kill may have fallen between the record and its key: the index is rebuilt.
        EXPECT_EQ(runCli({"reindex", path + ".dbf"}), 0);
        EXPECT_EQ(runCli({"index-check", path + ".dbf"}, &report), 0) << report;
    }
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    EXPECT_GE(d4recCount(d), static_cast<long>(acknowledged.size()));
    for (const auto& [rec, key] : acknowledged) {
        ASSERT_EQ(d4go(d, rec), 0);
        EXPECT_EQ(f4str(d4field(d, "KEY")), key);
        d4tagSelect(d, d4tag(d, "KEYTAG"));
        EXPECT_EQ(d4seek(d, key), 0) << key;
        d4tagSelect(d, nullptr);
    }
}

TEST(EngineConcurrentReader, SeeksStayTrueWhileAnotherProcessAppendsAndRewrites) {
    TempDir dir;
    const std::string path = dir.file("churn");
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    code.lockRetryDelay = 1;
    {
        Field4info f;
        f.add("KEY", 'C', 8);
        Tag4info t;
        t.add("KEYTAG", "KEY", ".NOT. DELETED()", res4unique, 0);
        ASSERT_NE(d4create(&code, path, f, &t), nullptr);
        code4initUndo(&code);
        code4init(&code);
        code.silentErrors = 1;
        code.lockRetryDelay = 1;
    }
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    Process writer(helperPath("storage_peer"), {"churn", path + ".dbf", "1500"});
    std::mt19937 rng(7);
    long seeks = 0, found = 0;
    while (true) {
        char probe[16];
        std::snprintf(probe, sizeof probe, "%c%06u", (rng() & 1) ? 'K' : 'Z', static_cast<unsigned>(rng() % 1500));
        int rc = d4seek(d, probe);
        ASSERT_GE(rc, 0);
        ++seeks;
        if (rc == res4success) {
            ++found;
            EXPECT_EQ(f4str(d4field(d, "KEY")), std::string(probe) + " ") << "a seek landed on a record with another key";
        } else if (rc == res4after) {
            EXPECT_GT(f4str(d4field(d, "KEY")), std::string(probe));
        }
        if (seeks % 200 == 0 && writer.finished()) break;
        if (seeks > 200000) break;
    }
    EXPECT_GT(found, 0);
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
}

TEST(EngineConcurrentReader, CachedPagesAnswerWithoutWaitingForAnotherWritersLock) {
    TempDir dir;
    const std::string path = dir.file("warm");
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    {
        Field4info f;
        f.add("KEY", 'C', 8);
        Tag4info t;
        t.add("KEYTAG", "KEY", ".NOT. DELETED()", res4unique, 0);
        Data4* d = d4create(&code, path, f, &t);
        for (int i = 0; i < 50; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            f4assign(d4field(d, "KEY"), "K" + std::to_string(100 + i));
            d4append(d);
        }
        d4unlock(d);
        code4initUndo(&code);
        code4init(&code);
        code.silentErrors = 1;
    }
    Data4* d = d4open(&code, path);
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    ASSERT_EQ(d4seek(d, "K120"), 0); // reads the pages once
    const std::string released = dir.file("released");
    Process holder(helperPath("storage_peer"), {"lockall", path + ".dbf", "1500", released});
    std::string line;
    ASSERT_TRUE(holder.readLine(line));
    ASSERT_EQ(line, "locked");
    ASSERT_EQ(d4seek(d, "K131"), 0);
    EXPECT_FALSE(std::filesystem::exists(released)) << "the seek waited for the other process";
    EXPECT_EQ(f4str(d4field(d, "KEY")), "K131    ");
}

} // namespace
