// Index files written by other software: reading every tag exactly as that software lists it,
// seeking in them, and changing them so that the result is still a well-formed file.

#include "Cdx4TestSupport.h"

#include "storage/Result4.h"

#include <algorithm>
#include <random>

namespace orv::cdxtest {
namespace {

struct ForeignTag {
    const char* index;
    const char* listing;
    int order; // by header offset
};

constexpr ForeignTag kForeignTags[] = {
    {"FSCHED.cdx", "FSCHED.SCHEDTAG.txt", 0}, {"FPEOPLE.cdx", "FPEOPLE.PEOPLETAG.txt", 0},
    {"FMULTI.cdx", "FMULTI.DATEROOM.txt", 0}, {"FMULTI.cdx", "FMULTI.NAMEDESC.txt", 1},
    {"FMULTI.cdx", "FMULTI.ROOMUNIQ.txt", 2},
};

std::vector<Entry> ascending(const Listing& l) {
    std::vector<Entry> v = l.entries;
    std::sort(v.begin(), v.end());
    return v;
}

void expectMatchesModel(Cdx4& cdx, int tag, const Model& model) {
    int end = 0;
    const std::vector<Entry> got = walk(cdx, tag, &end);
    EXPECT_EQ(end, res4eof);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), model.begin(), model.end()))
        << "walk differs from the model: " << got.size() << " entries, model " << model.size();
    long long count = -1;
    EXPECT_EQ(cdx.keyCount(tag, &count), 0);
    EXPECT_EQ(count, static_cast<long long>(model.size()));
    std::string problem;
    EXPECT_EQ(cdx.verify(tag, &problem, nullptr), 0) << problem;
}

// A schedule key shaped like the ones in FSCHED: date, room (20), hour, minute.
std::string scheduleKey(std::mt19937& rng, const std::vector<std::string>& rooms) {
    char date[16];
    std::snprintf(date, sizeof date, "2026%02u%02u", static_cast<unsigned>(rng() % 12 + 1),
                  static_cast<unsigned>(rng() % 28 + 1));
    char time[8];
    std::snprintf(time, sizeof time, "%02u%02u", static_cast<unsigned>(rng() % 24),
                  static_cast<unsigned>(rng() % 4 * 15));
    return date + rooms[rng() % rooms.size()] + time;
}

std::vector<std::string> roomsOf(const Listing& l) {
    std::set<std::string> rooms;
    for (const Entry& e : l.entries)
        rooms.insert(e.first.substr(8, 20));
    return {rooms.begin(), rooms.end()};
}

long long fileSize(const std::string& path) {
    return static_cast<long long>(fs::file_size(path));
}

TEST(Cdx4Foreign, EveryTagWalksExactlyAsListed) {
    for (const ForeignTag& ft : kForeignTags) {
        SCOPED_TRACE(ft.listing);
        const Listing l = readListing(ft.listing);
        OpenIndex cdx(fixture(ft.index), false);
        ASSERT_TRUE(cdx.ok());
        ASSERT_EQ(cdx->open(), 0);
        const int tag = cdx->findTag(l.tag);
        ASSERT_EQ(tag, ft.order);
        const Cdx4::TagInfo& info = cdx->tag(tag);
        EXPECT_EQ(info.name, l.tag);
        EXPECT_EQ(info.keyExpr, l.keyExpr);
        EXPECT_EQ(info.filterExpr, l.filterExpr);
        EXPECT_EQ(info.unique(), l.unique);
        EXPECT_EQ(info.descending, l.descending);
        EXPECT_EQ(info.keyLength, static_cast<int>(l.entries.front().first.size()));

        int end = 0;
        const std::vector<Entry> got =
            l.descending ? walkBack(*cdx, tag, &end) : walk(*cdx, tag, &end);
        EXPECT_EQ(end, l.descending ? res4bof : res4eof);
        EXPECT_EQ(got, l.entries);

        long long count = -1;
        EXPECT_EQ(cdx->keyCount(tag, &count), 0);
        EXPECT_EQ(count, l.keys);
        std::string problem;
        long long visited = 0;
        EXPECT_EQ(cdx->verify(tag, &problem, [&](const std::string&, std::uint32_t) { ++visited; }),
                  0)
            << problem;
        EXPECT_EQ(visited, l.keys);
    }
}

TEST(Cdx4Foreign, TagsAreNumberedByHeaderOffset) {
    OpenIndex cdx(fixture("FMULTI.cdx"), false);
    ASSERT_EQ(cdx->open(), 0);
    ASSERT_EQ(cdx->tagCount(), 3);
    EXPECT_EQ(cdx->tag(0).name, "DATEROOM");
    EXPECT_EQ(cdx->tag(1).name, "NAMEDESC");
    EXPECT_EQ(cdx->tag(2).name, "ROOMUNIQ");
    EXPECT_LT(cdx->tag(0).headerOffset, cdx->tag(1).headerOffset);
    EXPECT_LT(cdx->tag(1).headerOffset, cdx->tag(2).headerOffset);
    EXPECT_EQ(cdx->tag(0).options, 0x60);
    EXPECT_EQ(cdx->tag(1).options, 0x68);
    EXPECT_EQ(cdx->tag(2).options, 0x61);
    EXPECT_EQ(cdx->findTag("roomuniq"), 2);
    EXPECT_EQ(cdx->findTag("NOSUCHTAG"), -1);
    long long free = -1;
    EXPECT_EQ(cdx->freePageCount(&free), 0);
    EXPECT_EQ(free, 0);
}

TEST(Cdx4Foreign, SeeksLandOnTheFirstEntryNotLess) {
    for (const char* name :
         {"FSCHED.SCHEDTAG.txt", "FPEOPLE.PEOPLETAG.txt", "FMULTI.DATEROOM.txt"}) {
        SCOPED_TRACE(name);
        const Listing l = readListing(name);
        const std::vector<Entry> sorted = ascending(l);
        const std::string index = std::string(name).substr(0, std::string(name).find('.')) + ".cdx";
        OpenIndex cdx(fixture(index), false);
        ASSERT_EQ(cdx->open(), 0);
        const int tag = cdx->findTag(l.tag);
        const int L = cdx->tag(tag).keyLength;

        for (std::size_t i = 0; i < sorted.size(); i += 17) {
            const std::string& key = sorted[i].first;
            Cdx4::Cursor c;
            // full key, no record: the first entry with this key
            auto want = std::lower_bound(sorted.begin(), sorted.end(), Entry{key, 0});
            ASSERT_EQ(cdx->seek(tag, key, L, 0, c), 0);
            EXPECT_EQ(Entry(c.key, c.record), *want);
            std::uint32_t record = 0;
            ASSERT_EQ(cdx->findKey(tag, key, &record), 0);
            EXPECT_EQ(record, want->second);
            // full key and record: exactly that entry
            ASSERT_EQ(cdx->seek(tag, key, L, sorted[i].second, c), 0);
            EXPECT_EQ(Entry(c.key, c.record), sorted[i]);
            // a prefix: the first entry that starts with it or comes after it
            for (int len : {1, 8, 12}) {
                std::string prefix = key.substr(0, static_cast<std::size_t>(len));
                prefix.back() = static_cast<char>(prefix.back() + 1);
                auto after = std::find_if(sorted.begin(), sorted.end(), [&](const Entry& e) {
                    return e.first.compare(0, prefix.size(), prefix) >= 0;
                });
                const int rc = cdx->seek(tag, prefix, len, 0, c);
                if (after == sorted.end()) {
                    EXPECT_EQ(rc, res4eof);
                } else {
                    ASSERT_EQ(rc, 0);
                    EXPECT_EQ(Entry(c.key, c.record), *after);
                }
            }
        }
        Cdx4::Cursor c;
        ASSERT_EQ(cdx->seek(tag, "", 0, 0, c), 0);
        EXPECT_EQ(Entry(c.key, c.record), sorted.front());
        EXPECT_EQ(cdx->seek(tag, std::string(static_cast<std::size_t>(L), '\xFF'), L, 0, c),
                  res4eof);
        std::uint32_t record = 0;
        EXPECT_EQ(cdx->findKey(tag, std::string(static_cast<std::size_t>(L), '!'), &record),
                  res4eof);
    }
}

TEST(Cdx4Foreign, ScheduleChangesReuseFreePagesAndSurviveReopen) {
    ScratchDir dir;
    const std::string path = dir.copy("FSCHED.cdx");
    const Listing l = readListing("FSCHED.SCHEDTAG.txt");
    const std::vector<std::string> rooms = roomsOf(l);
    Model model(l.entries.begin(), l.entries.end());
    const long long originalSize = fileSize(path);
    std::mt19937 rng(20260101);
    std::uint32_t nextRecord = 5001;

    auto insertNew = [&](Cdx4& cdx) {
        std::string key = scheduleKey(rng, rooms);
        const Entry e{key, nextRecord++};
        ASSERT_EQ(cdx.insert(0, e.first, e.second), 0);
        model.insert(e);
    };

    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        long long free = -1;
        ASSERT_EQ(cdx->freePageCount(&free), 0);
        ASSERT_EQ(free, 21);
        // Splits take their pages from the list left by the other engine first.
        while (free > 10) {
            insertNew(*cdx);
            ASSERT_EQ(cdx->freePageCount(&free), 0);
        }
        ASSERT_EQ(cdx->commit(), 0);
        EXPECT_EQ(fileSize(path), originalSize);
        std::string why;
        EXPECT_EQ(checkFreeChain(path, &why), free) << why;

        for (int i = 0; i < 4000; ++i)
            insertNew(*cdx); // records above 4095 widen the leaves
        for (int i = 0; i < 2000; ++i) {
            auto it = model.begin();
            std::advance(it, static_cast<long>(rng() % model.size()));
            ASSERT_EQ(cdx->remove(0, it->first, it->second), 0);
            model.erase(it);
        }
        EXPECT_EQ(cdx->remove(0, l.entries.front().first, 999999), res4noRecord);
        ASSERT_EQ(cdx->commit(), 0);
        EXPECT_GT(fileSize(path), originalSize);
    }
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        expectMatchesModel(*cdx, 0, model);
        // Empty most of the tag: the pages go back to the list.
        while (model.size() > 50) {
            auto it = model.begin();
            std::advance(it, static_cast<long>(rng() % model.size()));
            ASSERT_EQ(cdx->remove(0, it->first, it->second), 0);
            model.erase(it);
        }
        ASSERT_EQ(cdx->commit(), 0);
    }
    const long long sizeAfterRemoval = fileSize(path);
    long long freeAfterRemoval = 0;
    {
        std::string why;
        freeAfterRemoval = checkFreeChain(path, &why);
        ASSERT_GT(freeAfterRemoval, 200) << why;
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        long long free = -1;
        ASSERT_EQ(cdx->freePageCount(&free), 0);
        EXPECT_EQ(free, freeAfterRemoval);
        expectMatchesModel(*cdx, 0, model);
        for (int i = 0; i < 3000; ++i)
            insertNew(*cdx);
        ASSERT_EQ(cdx->commit(), 0);
    }
    {
        EXPECT_EQ(fileSize(path), sizeAfterRemoval); // all new pages came from the list
        std::string why;
        const long long free = checkFreeChain(path, &why);
        EXPECT_GE(free, 0) << why;
        EXPECT_LT(free, freeAfterRemoval);
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        expectMatchesModel(*cdx, 0, model);
    }
}

TEST(Cdx4Foreign, ChangesInOneTagLeaveTheOthersAlone) {
    ScratchDir dir;
    const std::string path = dir.copy("FMULTI.cdx");
    const Listing dateroom = readListing("FMULTI.DATEROOM.txt");
    const Listing namedesc = readListing("FMULTI.NAMEDESC.txt");
    const Listing roomuniq = readListing("FMULTI.ROOMUNIQ.txt");
    Model m0(dateroom.entries.begin(), dateroom.entries.end());
    Model m1(namedesc.entries.begin(), namedesc.entries.end());
    const Model m2(roomuniq.entries.begin(), roomuniq.entries.end());
    std::mt19937 rng(7);
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        for (std::uint32_t r = 1526; r < 4500; ++r) {
            const Entry e0{dateroom.entries[rng() % dateroom.entries.size()].first, r};
            ASSERT_EQ(cdx->insert(0, e0.first, e0.second), 0);
            m0.insert(e0);
            // blank names and names above 0x7F, many duplicates
            std::string name = r % 3 == 0 ? std::string(21, ' ')
                                          : namedesc.entries[rng() % namedesc.entries.size()].first;
            ASSERT_EQ(cdx->insert(1, name, r), 0);
            m1.insert({name, r});
        }
        for (int i = 0; i < 1000; ++i) {
            auto it = m1.begin();
            std::advance(it, static_cast<long>(rng() % m1.size()));
            ASSERT_EQ(cdx->remove(1, it->first, it->second), 0);
            m1.erase(it);
        }
        ASSERT_EQ(cdx->commit(), 0);
    }
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->open(), 0);
    expectMatchesModel(*cdx, 0, m0);
    expectMatchesModel(*cdx, 1, m1);
    expectMatchesModel(*cdx, 2, m2);
    std::string why;
    EXPECT_GE(checkFreeChain(path, &why), 0) << why;
}

std::uint32_t counterOf(const std::string& path) {
    const std::vector<std::uint8_t> b = readFile(path);
    return (std::uint32_t{b[8]} << 24) | (std::uint32_t{b[9]} << 16) | (std::uint32_t{b[10]} << 8) |
           b[11];
}

TEST(Cdx4Foreign, CommitRaisesTheCounterOnceAndOthersNotice) {
    ScratchDir dir;
    const std::string path = dir.copy("FMULTI.cdx");
    const std::uint32_t before = counterOf(path);
    OpenIndex writer(path);
    OpenIndex reader(path);
    ASSERT_EQ(writer->open(), 0);
    ASSERT_EQ(reader->open(), 0);
    const std::string key(21, 'Z');
    std::uint32_t record = 0;
    ASSERT_EQ(reader->findKey(1, key, &record), res4eof);

    EXPECT_EQ(writer->commit(), 0);
    EXPECT_EQ(counterOf(path), before); // nothing changed, nothing written
    ASSERT_EQ(writer->insert(1, key, 3000), 0);
    ASSERT_EQ(writer->insert(1, key, 3001), 0);
    ASSERT_EQ(writer->commit(), 0);
    EXPECT_EQ(counterOf(path), before + 1);

    EXPECT_EQ(reader->refresh(), 1);
    EXPECT_EQ(reader->refresh(), 0);
    ASSERT_EQ(reader->findKey(1, key, &record), 0);
    EXPECT_EQ(record, 3000u);
    EXPECT_EQ(writer->refresh(), 0); // its own commit is no news to the writer
}

TEST(Cdx4Foreign, CursorFindsItsPlaceAfterAnotherWriterChangedTheTree) {
    ScratchDir dir;
    const std::string path = dir.copy("FSCHED.cdx");
    const std::vector<Entry> sorted = ascending(readListing("FSCHED.SCHEDTAG.txt"));
    OpenIndex writer(path);
    OpenIndex reader(path);
    ASSERT_EQ(writer->open(), 0);
    ASSERT_EQ(reader->open(), 0);

    Cdx4::Cursor c;
    ASSERT_EQ(reader->seek(0, sorted[2000].first, 32, sorted[2000].second, c), 0);
    // The writer removes the reader's entry and the next one and puts a new entry after them;
    // it also fills the tree enough to split the reader's leaf.
    ASSERT_EQ(writer->remove(0, sorted[2000].first, sorted[2000].second), 0);
    ASSERT_EQ(writer->remove(0, sorted[2001].first, sorted[2001].second), 0);
    const Entry added{sorted[2001].first, 9000};
    ASSERT_EQ(writer->insert(0, added.first, added.second), 0);
    for (std::uint32_t r = 9001; r < 9100; ++r)
        ASSERT_EQ(writer->insert(0, sorted[1990].first, r), 0);
    ASSERT_EQ(writer->commit(), 0);

    ASSERT_EQ(reader->refresh(), 1);
    Cdx4::Cursor back = c;
    ASSERT_EQ(reader->next(c), 0);
    EXPECT_EQ(Entry(c.key, c.record), added);
    ASSERT_EQ(reader->next(c), 0);
    EXPECT_EQ(Entry(c.key, c.record), sorted[2002]);
    ASSERT_EQ(reader->prev(back), 0);
    EXPECT_EQ(Entry(back.key, back.record), sorted[1999]);
}

} // namespace
} // namespace orv::cdxtest
