// Tables with index tags: tag-ordered reading, seeking, unique keys, rebuilding and packing, the
// expression subset, and tables written by other software.
#include "Cdx4TestSupport.h"
#include "common/Bytes.h"
#include "common/FaultFs.h"
#include "common/TempDir.h"
#include "storage/Data4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

using namespace orv;
using namespace orv::test;

namespace {

// A small schedule-like table: DATE 8, ROOM 6, HH 2, NOTE 4.
class Data4Index : public ::testing::Test {
protected:
    void SetUp() override {
        code4init(&code);
        code.silentErrors = 1;
    }
    void TearDown() override { code4initUndo(&code); }

    Data4* make(const std::string& name, int unique = res4unique, const std::string& filter = ".NOT. DELETED()") {
        Field4info f;
        f.add("DATE", 'C', 8);
        f.add("ROOM", 'C', 6);
        f.add("HH", 'C', 2);
        f.add("NOTE", 'C', 4);
        Tag4info t;
        t.add("KEYTAG", "DATE+ROOM+HH", filter, unique, 0);
        Data4* d = d4create(&code, dir.file(name), f, &t);
        if (d) {
            Tag4* tag = d4tag(d, "KEYTAG");
            d4tagSelect(d, tag);
        }
        return d;
    }
    int add(Data4* d, const std::string& date, const std::string& room, const std::string& hh,
            const std::string& note = "") {
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "DATE"), date);
        f4assign(d4field(d, "ROOM"), room);
        f4assign(d4field(d, "HH"), hh);
        f4assign(d4field(d, "NOTE"), note);
        int rc = d4append(d);
        if (rc == 0) d4flush(d);
        d4unlock(d);
        return rc;
    }
    // A closed table of ten records, notes "0" to "9", of which records 2, 5, 6 and 9 are deleted.
    void makeWithDeletions(const std::string& name) {
        Data4* d = make(name);
        ASSERT_NE(d, nullptr);
        for (int i = 0; i < 10; ++i)
            add(d, "20261208", "R", std::to_string(10 + i), std::to_string(i));
        d4tagSelect(d, nullptr);
        for (long r : {2, 5, 6, 9}) {
            ASSERT_EQ(d4go(d, r), 0);
            d4delete(d);
            d4flush(d);
        }
        d4unlock(d);
        d4close(d);
    }
    // The notes of its live records, in record order.
    const std::vector<std::string> kLiveNotes = {"0   ", "2   ", "3   ", "6   ", "7   ", "9   "};

    std::vector<long> order(Data4* d) {
        std::vector<long> recs;
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) recs.push_back(d4recNo(d));
        return recs;
    }

    TempDir dir;
    Code4 code;
};

TEST_F(Data4Index, CreatedTableMarksItsIndexAndStoresTheTag) {
    Data4* d = make("marks");
    ASSERT_NE(d, nullptr);
    Tag4info people;
    Field4info f;
    f.add("A", 'C', 3);
    people.add("LINKS", "A", ".NOT. DELETED()", 0, 0);
    ASSERT_NE(d4create(&code, dir.file("links"), f, &people), nullptr);
    code4initUndo(&code);
    auto dbf = readBytes(dir.file("marks.dbf"));
    EXPECT_EQ(dbf[28], 0x01);
    auto cdx = readBytes(dir.file("marks.cdx"));
    ASSERT_GE(cdx.size(), 0xC00u);
    // The tag header follows the directory's header and root leaf.
    EXPECT_EQ(cdx[0x600 + 14], 0x69); // compact, compound, filter, unique
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&cdx[0x800])), "DATE+ROOM+HH");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&cdx[0x800 + 13])), ".NOT. DELETED()");
    EXPECT_EQ(readBytes(dir.file("links.cdx"))[0x600 + 14], 0x68); // not unique
}

TEST_F(Data4Index, TagOrderedReadingAndSeeking) {
    Data4* d = make("walk");
    add(d, "20261208", "Lab", "14");
    add(d, "20261208", "Board", "09");
    add(d, "20261208", "Board", "13");
    add(d, "20261209", "Board", "08");
    EXPECT_EQ(order(d), (std::vector<long>{2, 3, 1, 4}));

    EXPECT_EQ(d4seek(d, "20261208Board 13"), res4success);
    EXPECT_EQ(d4recNo(d), 3);
    EXPECT_EQ(d4seek(d, "20261208Lab"), res4success) << "a shorter text finds the first key beginning with it";
    EXPECT_EQ(d4recNo(d), 1);
    EXPECT_EQ(d4seek(d, "20261208Board   "), res4after) << "blank hours sort below digits";
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4seek(d, ""), res4success);
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4seek(d, "20261210"), res4eof);
    EXPECT_EQ(f4str(d4field(d, "DATE")), "        ");
    // From a seek, skipping follows the tag.
    ASSERT_EQ(d4seek(d, "20261208Board 13"), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(d4recNo(d), 1);
    EXPECT_EQ(d4skip(d, -2), 0);
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4skip(d, -1), res4bof);
    EXPECT_EQ(d4recNo(d), 2);
    // After going to a record by number, skipping continues from its key.
    ASSERT_EQ(d4go(d, 1), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(d4recNo(d), 4);
    EXPECT_EQ(d4skip(d, 1), res4eof);
    ASSERT_EQ(d4bottom(d), 0);
    EXPECT_EQ(d4recNo(d), 4);
}

TEST_F(Data4Index, SeekOnATableWithoutIndexIsNoTag) {
    Field4info f;
    f.add("A", 'C', 3);
    Data4* d = d4create(&code, dir.file("plain"), f);
    EXPECT_EQ(d4seek(d, "x"), res4noTag);
}

TEST_F(Data4Index, DeletedRecordLeavesTheTagButNotTheFile) {
    Data4* d = make("del");
    add(d, "20261208", "A", "09");
    add(d, "20261208", "B", "09");
    ASSERT_EQ(d4seek(d, "20261208A"), 0);
    d4delete(d);
    ASSERT_EQ(d4flush(d), 0);
    d4unlock(d);
    EXPECT_EQ(order(d), std::vector<long>{2});
    EXPECT_EQ(d4seek(d, "20261208A"), res4after);
    d4tagSelect(d, nullptr);
    ASSERT_EQ(d4go(d, 1), 0);
    EXPECT_TRUE(d4deleted(d));
}

TEST_F(Data4Index, DuplicateAppendIsRefusedAndChangesNothing) {
    Data4* d = make("dup");
    ASSERT_EQ(add(d, "20261208", "A", "09", "one"), 0);
    auto size = std::filesystem::file_size(dir.file("dup.dbf"));
    EXPECT_EQ(add(d, "20261208", "A", "09", "two"), res4unique);
    EXPECT_EQ(d4recCount(d), 1);
    EXPECT_EQ(std::filesystem::file_size(dir.file("dup.dbf")), size);
    EXPECT_EQ(order(d), std::vector<long>{1});
    EXPECT_EQ(code.errorCode, 0);
}

TEST_F(Data4Index, RefusedRewriteStaysInTheBufferUntilItsKeyIsFree) {
    Data4* d = make("sticky");
    add(d, "20261208", "A", "09", "one");
    add(d, "20261208", "B", "09", "two");
    ASSERT_EQ(d4seek(d, "20261208B"), 0);
    f4assign(d4field(d, "ROOM"), "A");
    EXPECT_EQ(d4flush(d), res4unique);
    EXPECT_EQ(d4go(d, 1), res4unique);
    EXPECT_EQ(d4top(d), res4unique);
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4unlock(d), 0) << "unlocking goes on with its own work";
    f4assign(d4field(d, "ROOM"), "C");
    EXPECT_EQ(d4flush(d), 0);
    d4unlock(d);
    std::vector<std::string> rooms;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) rooms.push_back(f4str(d4field(d, "ROOM")));
    EXPECT_EQ(rooms, (std::vector<std::string>{"A     ", "C     "}));
}

TEST_F(Data4Index, UniqueContinueWritesButLeavesTheDuplicateOut) {
    Data4* d = make("cont", res4uniqueContinue);
    ASSERT_EQ(add(d, "20261208", "A", "09"), 0);
    ASSERT_EQ(add(d, "20261208", "A", "09"), 0);
    EXPECT_EQ(d4recCount(d), 2);
    EXPECT_EQ(order(d), std::vector<long>{1});
}

TEST_F(Data4Index, UniqueErrorHandlingRaisesTheError) {
    Data4* d = make("err", e4unique);
    ASSERT_EQ(add(d, "20261208", "A", "09"), 0);
    EXPECT_EQ(add(d, "20261208", "A", "09"), e4unique);
    EXPECT_EQ(code.errorCode, e4unique);
}

TEST_F(Data4Index, UniqueSettingRules) {
    Data4* d = make("rules");
    Tag4* t = d4tag(d, "KEYTAG");
    EXPECT_EQ(t4unique(t), res4unique);
    EXPECT_EQ(t4uniqueSet(t, res4uniqueContinue), 0);
    EXPECT_EQ(t4uniqueSet(t, res4candidate), e4parm);
    code.errorCode = 0;
    Data4* links = make("links", 0);
    Tag4* lt = d4tag(links, "KEYTAG");
    EXPECT_EQ(t4uniqueSet(lt, 0), 0);
    EXPECT_EQ(t4uniqueSet(lt, res4unique), e4parm);
}

TEST_F(Data4Index, EqualKeysOfANonUniqueTagStayInRecordOrder) {
    Data4* d = make("same", 0);
    add(d, "20261208", "A", "09", "1");
    add(d, "20261208", "A", "08", "2");
    add(d, "20261208", "A", "09", "3");
    EXPECT_EQ(order(d), (std::vector<long>{2, 1, 3}));
}

TEST_F(Data4Index, ReindexRebuildsWithoutMovingTheRecord) {
    Data4* d = make("re");
    for (int i = 0; i < 50; ++i) add(d, "20261208", "R" + std::to_string(i % 7), std::to_string(10 + i));
    ASSERT_EQ(d4go(d, 17), 0);
    ASSERT_EQ(d4reindex(d), 0);
    EXPECT_EQ(d4recNo(d), 17);
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
    EXPECT_EQ(counts, std::vector<long long>{50});
}

TEST_F(Data4Index, PackKeepsActiveRecordsInOrderAndRebuildsTheTag) {
    makeWithDeletions("pack");
    code.openShareMode = 1;
    Data4* d = d4open(&code, dir.file("pack"));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4lockAll(d), 0);
    ASSERT_EQ(d4pack(d), 0);
    EXPECT_EQ(d4recNo(d), -1);
    EXPECT_EQ(d4recCount(d), 6);
    std::vector<std::string> notes;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) notes.push_back(f4str(d4field(d, "NOTE")));
    EXPECT_EQ(notes, kLiveNotes);
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
    EXPECT_EQ(counts, std::vector<long long>{6});
    d4close(d);
    EXPECT_EQ(std::filesystem::file_size(dir.file("pack.dbf")), 32u * 4 + 33 + 6 * 21 + 1);
}

TEST_F(Data4Index, PackNeedsTheTableToItselfAndKeepsNoLockOfItsOwn) {
    Data4* d = make("excl");
    for (int i = 0; i < 3; ++i) add(d, "20261208", "R", std::to_string(10 + i));
    d4tagSelect(d, nullptr);
    ASSERT_EQ(d4go(d, 2), 0);
    d4delete(d);
    d4flush(d);
    d4unlock(d);
    // Shared: readers elsewhere would see records move under them.
    EXPECT_EQ(d4pack(d), e4lock);
    code.errorCode = 0;
    EXPECT_EQ(d4recCount(d), 3);
    d4close(d);

    code.openShareMode = 1;
    d = d4open(&code, dir.file("excl"));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4pack(d), 0);
    EXPECT_EQ(d4recCount(d), 2);
    EXPECT_FALSE(d->fileLocked || d->indexLocked) << "the lock the pack took itself is let go";
    ASSERT_EQ(d4lockAll(d), 0);
    ASSERT_EQ(d4pack(d), 0);
    EXPECT_TRUE(d->fileLocked) << "a lock the caller took stays the caller's";
}

// A pack writes a new file and renames it over the table, so a crash leaves one or the other;
// where the rename is refused it packs in place; a failed write leaves the table as it was.
TEST_F(Data4Index, PackReplacesTheFileWholeOrPacksInPlaceOrChangesNothing) {
    struct Case {
        const char* what;
        bool failRenames;
        int writeError;
        int result;
        bool replaced;
        long count;
    };
    for (const Case& c : {Case{"renamed over", false, 0, 0, true, 6},
                          Case{"rename refused", true, 0, 0, false, 6},
                          Case{"disk full", false, ENOSPC, e4write, false, 10}}) {
        SCOPED_TRACE(c.what);
        const std::string base = std::string("p") + std::to_string(c.writeError + c.failRenames);
        const std::string name = dir.file(base);
        makeWithDeletions(base);
        ASSERT_EQ(::chmod((name + ".dbf").c_str(), 0640), 0);
        // A copy left by a pack that was killed.
        std::filesystem::copy_file(name + ".dbf", dir.file("." + base + ".dbf.pack1"));
        struct stat before {};
        ::stat((name + ".dbf").c_str(), &before);

        FaultCode fault;
        fault.fault.failRenames = c.failRenames;
        fault.code.openShareMode = 1;
        Data4* d = d4open(&fault.code, name);
        ASSERT_NE(d, nullptr);
        fault.fault.writeError = c.writeError;
        EXPECT_EQ(d4pack(d), c.result);
        fault.fault.writeError = 0;
        fault.code.errorCode = 0;
        EXPECT_EQ(d4recCount(d), c.count) << "the open table agrees with its file";
        d4close(d);

        struct stat after {};
        ::stat((name + ".dbf").c_str(), &after);
        EXPECT_EQ(after.st_ino != before.st_ino, c.replaced);
        EXPECT_EQ(after.st_mode & 07777, 0640u);
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().string().find(".pack"), std::string::npos) << entry.path();
        d = d4open(&code, name);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d4recCount(d), c.count);
        std::string problem;
        EXPECT_EQ(d4check(d, nullptr, &problem), 0) << problem;
        d4close(d);
    }
}

// A pack cut short after each of its changes to files in turn, as a kill would: the table opens
// with the records it had, each once, and its tag checks out or does after a reindex.
TEST_F(Data4Index, PackKilledAtAnyStepLeavesEveryRecordOnce) {
    makeWithDeletions("whole");
    int result = -1;
    for (int step = 0; result != 0; ++step) {
        ASSERT_LT(step, 64) << "the pack never finished";
        SCOPED_TRACE("killed after " + std::to_string(step) + " changes");
        const std::string name = dir.file("k" + std::to_string(step));
        for (const char* ext : {".dbf", ".cdx"})
            std::filesystem::copy_file(dir.file("whole") + ext, name + ext);
        {
            FaultCode killed;
            killed.code.openShareMode = 1;
            Data4* p = d4open(&killed.code, name);
            ASSERT_NE(p, nullptr);
            killed.fault.crashAfter = step;
            result = d4pack(p);
            killed.code.errorCode = 0;
            d4close(p);
        }
        Data4* d = d4open(&code, name);
        ASSERT_NE(d, nullptr);
        std::vector<std::string> notes;
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1))
            if (!d4deleted(d)) notes.push_back(f4str(d4field(d, "NOTE")));
        std::sort(notes.begin(), notes.end());
        EXPECT_EQ(notes, kLiveNotes);
        if (d4check(d, nullptr, nullptr) != 0) {
            code.errorCode = 0;
            ASSERT_EQ(d4reindex(d), 0);
            std::string problem;
            EXPECT_EQ(d4check(d, nullptr, &problem), 0) << problem;
        }
        d4close(d);
    }
}

// Another user's open that got the table's file just before a pack replaced it must not go on
// with the old file, where its writes would be lost.
TEST_F(Data4Index, AnOpenRacingAPackUsesThePackedFile) {
    makeWithDeletions("race");

    FaultCode other;
    bool packed = false;
    other.fault.afterOpen = [&](const std::string& path) {
        if (packed || path.find("race.dbf") == std::string::npos) return;
        packed = true;
        code.openShareMode = 1;
        Data4* p = d4open(&code, dir.file("race"));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(d4pack(p), 0);
        d4close(p);
        code.openShareMode = 0;
    };
    Data4* d = d4open(&other.code, dir.file("race"));
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(packed);
    EXPECT_EQ(d4recCount(d), 6);
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    ASSERT_EQ(add(d, "20261209", "R", "10"), 0);
    d4close(d);

    d = d4open(&code, dir.file("race"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4recCount(d), 7) << "the append went to the table, not to the replaced file";
    std::string problem;
    EXPECT_EQ(d4check(d, nullptr, &problem), 0) << problem;
}

TEST_F(Data4Index, PackIsRefusedOnAReadOnlyTable) {
    d4close(make("ro"));
    code.readOnly = 1;
    Data4* d = d4open(&code, dir.file("ro"));
    EXPECT_EQ(d4pack(d), e4write);
}

TEST_F(Data4Index, ExpressionsOutsideTheSubsetAreRefusedWithTheirCodes) {
    struct Case {
        const char* key;
        const char* filter;
        int code;
    };
    const Case cases[] = {
        {"DATE+", "", e4complete},
        {"", "", e4tagInfo},
        {"DATE+NOPE", "", e4unrecValue},
        {"UPPER(DATE)", "", e4unrecFunction},
        {"DATE*ROOM", "", e4unrecOperator},
        {"(DATE+ROOM", "", e4rightMissing},
        {"DATE)", "", e4commaExpected},
        {"'abc", "", e4unterminated},
        {"DATE", "DELETED(DATE)", e4numParms},
        {"DATE", ".NOT. DATE", e4typeSub},
        {"DATE+DELETED()", "", e4typeSub},
        {"DELETED()", "", e4tagExpr},
        {"DATE", "DATE", e4tagExpr},
        {"DATE", ".NOT. DELETED() .AND. DELETED()", e4unrecOperator},
        {"X->DATE", "", e4dataName},
    };
    int n = 0;
    for (const auto& c : cases) {
        Field4info f;
        f.add("DATE", 'C', 8);
        f.add("ROOM", 'C', 6);
        Tag4info t;
        t.add("T", c.key, c.filter, 0, 0);
        code.errorCode = 0;
        std::string name = dir.file("expr" + std::to_string(n++));
        EXPECT_EQ(d4create(&code, name, f, &t), nullptr) << c.key << " / " << c.filter;
        EXPECT_EQ(code.errorCode, c.code) << c.key << " / " << c.filter;
        EXPECT_FALSE(std::filesystem::exists(name + ".dbf"));
    }
}

TEST_F(Data4Index, TagInformationOutsideItsValuesIsInvalid) {
    Field4info f;
    f.add("DATE", 'C', 8);
    Tag4info badUnique, badOrder;
    badUnique.add("T", "DATE", "", 7, 0);
    badOrder.add("T", "DATE", "", 0, 3);
    EXPECT_EQ(d4create(&code, dir.file("bu"), f, &badUnique), nullptr);
    EXPECT_EQ(code.errorCode, e4tagInfo);
    code.errorCode = 0;
    EXPECT_EQ(d4create(&code, dir.file("bo"), f, &badOrder), nullptr);
    EXPECT_EQ(code.errorCode, e4tagInfo);
}

TEST_F(Data4Index, UnknownTagNameIsAnError) {
    Data4* d = make("names");
    EXPECT_EQ(d4tag(d, "NOPE"), nullptr);
    EXPECT_EQ(code.errorCode, e4tagName);
}

TEST_F(Data4Index, IndexWithNonsensePagesGivesNotACorrectIndexFile) {
    d4close(make("bad"));
    auto cdx = readBytes(dir.file("bad.cdx"));
    cdx[0] = 0x13; // the directory's root no longer on a page boundary
    cdx[1] = 0x77;
    writeBytes(dir.file("bad.cdx"), cdx);
    EXPECT_EQ(d4open(&code, dir.file("bad")), nullptr);
    EXPECT_EQ(code.errorCode, e4index);
}

// Tables that other software wrote.

struct ForeignTable {
    const char* table;
    std::vector<const char*> listings;
};

class ForeignTables : public Data4Index, public ::testing::WithParamInterface<ForeignTable> {};

TEST_P(ForeignTables, TagOrderMatchesWhatTheOtherSoftwareSees) {
    const auto& p = GetParam();
    cdxtest::ScratchDir scratch;
    scratch.copy(std::string(p.table) + ".dbf");
    scratch.copy(std::string(p.table) + ".cdx");
    const std::string path = scratch.file(std::string(p.table) + ".dbf");
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr) << code.errorCode;
    for (const char* listingName : p.listings) {
        cdxtest::Listing l = cdxtest::readListing(listingName);
        Tag4* t = d4tag(d, l.tag);
        ASSERT_NE(t, nullptr);
        d4tagSelect(d, t);
        std::vector<cdxtest::Entry> seen;
        std::string key;
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
            t->key->value(d->record.data(), key);
            seen.emplace_back(key, static_cast<std::uint32_t>(d4recNo(d)));
        }
        EXPECT_EQ(seen, l.entries) << l.tag;
        // Seeking the keys of the listing finds records with those keys.
        for (std::size_t i = 0; i < l.entries.size(); i += 97) {
            const auto& [k, r] = l.entries[i];
            ASSERT_EQ(d4seek(d, k), res4success) << l.tag << " " << k;
            t->key->value(d->record.data(), key);
            EXPECT_EQ(key, k);
        }
    }
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
}

TEST_P(ForeignTables, AppendsAndDeletesLeaveTheFilesReadable) {
    const auto& p = GetParam();
    cdxtest::ScratchDir scratch;
    scratch.copy(std::string(p.table) + ".dbf");
    scratch.copy(std::string(p.table) + ".cdx");
    const std::string path = scratch.file(std::string(p.table) + ".dbf");
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    long before = d4recCount(d);
    for (int i = 0; i < 300; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        for (int fld = 1; fld <= d4numFields(d); ++fld)
            f4assign(d4fieldJ(d, fld), "Z" + std::to_string(i * 7919 % 1000) + std::to_string(fld));
        ASSERT_GE(d4append(d), 0);
        d4flush(d);
        d4unlock(d);
    }
    for (long r = 3; r <= before; r += 11) {
        ASSERT_EQ(d4go(d, r), 0);
        d4delete(d);
        ASSERT_EQ(d4flush(d), 0);
    }
    d4unlock(d);
    d4close(d);
    d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
    std::string why;
    EXPECT_GE(cdxtest::checkFreeChain(scratch.file(std::string(p.table) + ".cdx"), &why), 0) << why;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ForeignTables,
                         ::testing::Values(ForeignTable{"FSCHED", {"FSCHED.SCHEDTAG.txt"}},
                                           ForeignTable{"FPEOPLE", {"FPEOPLE.PEOPLETAG.txt"}},
                                           ForeignTable{"FMULTI",
                                                        {"FMULTI.DATEROOM.txt", "FMULTI.NAMEDESC.txt",
                                                         "FMULTI.ROOMUNIQ.txt"}}),
                         [](const auto& param) { return std::string(param.param.table); });

} // namespace
