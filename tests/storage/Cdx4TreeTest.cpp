// The B+-tree under long runs of changes: splits, merges, wide record numbers, rebuilds, and
// cursors that outlive the pages they were on.

#include "Cdx4TestSupport.h"

#include "storage/Result4.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace orv::cdxtest {
namespace {

Cdx4::TagSpec tagDef(const std::string& name, int keyLength) {
    Cdx4::TagSpec s;
    s.name = name;
    s.keyExpr = name;
    s.keyLength = keyLength;
    return s;
}

void expectSame(Cdx4& cdx, int tag, const Model& model) {
    int end = 0;
    const std::vector<Entry> got = walk(cdx, tag, &end);
    ASSERT_EQ(end, res4eof);
    ASSERT_EQ(got.size(), model.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), model.begin())) << "tag " << tag;
    int backEnd = 0;
    const std::vector<Entry> back = walkBack(cdx, tag, &backEnd);
    ASSERT_EQ(backEnd, res4bof);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), model.rbegin(), model.rend()));
    long long count = -1;
    ASSERT_EQ(cdx.keyCount(tag, &count), 0);
    EXPECT_EQ(count, static_cast<long long>(model.size()));
}

void expectValid(Cdx4& cdx, int tag) {
    std::string problem;
    EXPECT_EQ(cdx.verify(tag, &problem, nullptr), 0) << "tag " << tag << ": " << problem;
}

// Entries of one tag, with a random pick that does not walk the set.
struct Bag {
    Model model;
    std::vector<Entry> items;
    void add(const Entry& e) {
        if (model.insert(e).second) items.push_back(e);
    }
    Entry takeAt(std::size_t i) {
        Entry e = items[i];
        items[i] = items.back();
        items.pop_back();
        model.erase(e);
        return e;
    }
};

std::uint64_t seedFromEnvironment() {
    if (const char* s = std::getenv("ORV_CDX_SEED")) return std::stoull(s);
    return std::random_device{}();
}

TEST(Cdx4Tree, RandomChangesMatchAModelAcrossReopens) {
    const std::uint64_t seed = seedFromEnvironment();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (set ORV_CDX_SEED to repeat)");
    std::mt19937_64 rng(seed);
    ScratchDir dir;
    const std::string path = dir.file("random.cdx");
    const int lengths[] = {32, 100};
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->create({tagDef("SCHED", 32), tagDef("LONG", 100)}), 0);
    }
    const char* rooms[] = {"Board Room",
                           "Lab A",
                           "Gym 1",
                           "Studio North",
                           "Van 10",
                           "",
                           "Conference Room Wing",
                           "\xD1u\xF1"
                           "ez"};
    auto makeKey = [&](int tag) {
        const int L = lengths[tag];
        if (rng() % 20 == 0) return std::string(static_cast<std::size_t>(L), ' ');
        std::string room = rooms[rng() % std::size(rooms)];
        room.resize(20, ' ');
        if (tag == 0) {
            char date[16];
            std::snprintf(date, sizeof date, "2026%02u%02u%02u%02u",
                          static_cast<unsigned>(rng() % 3 + 1), static_cast<unsigned>(rng() % 28),
                          static_cast<unsigned>(rng() % 24), static_cast<unsigned>(rng() % 4 * 15));
            const std::string d = date;
            return d.substr(0, 8) + room + d.substr(8, 4);
        }
        std::string key = room + std::to_string(rng() % 50);
        key.resize(static_cast<std::size_t>(L), ' ');
        return key;
    };
    // Record widths follow the key, so that leaves of every width appear: January keys get
    // records that fit 12 bits (K = 3), March keys sometimes need more than 20 bits (K = 5).
    auto makeRecord = [&](const std::string& key) -> std::uint32_t {
        const unsigned pick = static_cast<unsigned>(rng() % 100);
        if (key[5] == '1') return static_cast<std::uint32_t>(rng() % 4000 + 1);
        if (key[5] == '3' && pick < 20) return static_cast<std::uint32_t>(rng() % 20'000'000 + 1);
        if (pick < 3) return static_cast<std::uint32_t>(rng() % 20'000'000 + 1);
        return static_cast<std::uint32_t>(rng() % 1'000'000 + 1);
    };

    Bag bags[2];
    // phases: share of inserts in percent
    const int insertShare[] = {90, 70, 55, 50, 30, 10};
    for (int phase = 0; phase < static_cast<int>(std::size(insertShare)); ++phase) {
        SCOPED_TRACE("phase " + std::to_string(phase));
        {
            OpenIndex cdx(path);
            ASSERT_EQ(cdx->open(), 0);
            for (int op = 0; op < 10000; ++op) {
                const int tag = static_cast<int>(rng() % 2);
                Bag& bag = bags[tag];
                if (bag.items.empty() || static_cast<int>(rng() % 100) < insertShare[phase]) {
                    const std::string key = makeKey(tag);
                    const Entry e{key, makeRecord(key)};
                    ASSERT_EQ(cdx->insert(tag, e.first, e.second), 0);
                    bag.add(e);
                } else {
                    const Entry e = bag.takeAt(rng() % bag.items.size());
                    ASSERT_EQ(cdx->remove(tag, e.first, e.second), 0);
                }
                if (op % 2500 == 0) {
                    ASSERT_EQ(cdx->commit(), 0);
                }
            }
            ASSERT_EQ(cdx->commit(), 0);
            for (int tag = 0; tag < 2; ++tag)
                expectValid(*cdx, tag);
        }
        TreeShape shape = shapeOf(path, 0x600);
        if (phase == 0) {
            // the mix of record numbers gives leaves of every width
            EXPECT_GE(shape.height, 3);
            EXPECT_GT(shape.leafWidths[3], 0);
            EXPECT_GT(shape.leafWidths[4], 0);
            EXPECT_GT(shape.leafWidths[5], 0);
        }
        std::printf("phase %d: %zu keys in %lld pages, %d levels, widths 3/4/5: %d/%d/%d\n", phase,
                    bags[0].model.size(), shape.pages, shape.height, shape.leafWidths[3],
                    shape.leafWidths[4], shape.leafWidths[5]);
        // Removals merge thin nodes: the tree stays well under one page per five keys.
        EXPECT_LE(shape.pages, static_cast<long long>(bags[0].model.size()) / 5 + 3);
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->open(), 0);
        for (int tag = 0; tag < 2; ++tag) {
            expectValid(*cdx, tag);
            expectSame(*cdx, tag, bags[tag].model);
            const Model& m = bags[tag].model;
            for (int i = 0; i < 50; ++i) {
                const std::string key = makeKey(tag);
                const auto want = m.lower_bound({key, 0});
                Cdx4::Cursor c;
                const int rc = cdx->seek(tag, key, lengths[tag], 0, c);
                if (want == m.end()) {
                    EXPECT_EQ(rc, res4eof);
                } else {
                    ASSERT_EQ(rc, 0);
                    EXPECT_EQ(Entry(c.key, c.record), *want);
                }
            }
        }
        std::string why;
        long long free = -1;
        ASSERT_EQ(cdx->freePageCount(&free), 0);
        EXPECT_EQ(checkFreeChain(path, &why), free) << why;
    }
}

TEST(Cdx4Tree, AscendingAppendsFillLeavesAndRemovalsCollapseTheTree) {
    ScratchDir dir;
    const std::string path = dir.file("append.cdx");
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->create({tagDef("SCHED", 32)}), 0);
    Model model;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        char key[40];
        std::snprintf(key, sizeof key, "%08d%-20s%04d", 20260000 + i / 40, "Lab A", i % 40);
        ASSERT_EQ(cdx->insert(0, key, static_cast<std::uint32_t>(i + 1)), 0);
        model.insert({key, static_cast<std::uint32_t>(i + 1)});
    }
    ASSERT_EQ(cdx->commit(), 0);
    expectValid(*cdx, 0);
    expectSame(*cdx, 0, model);
    // Appends at the right end leave full leaves behind: about 488 / (4 + 6) keys per leaf here.
    const auto pages = static_cast<long long>(fs::file_size(path) / 512);
    EXPECT_LT(pages, n / 40 + 40);

    int removed = 0;
    for (auto it = model.begin(); it != model.end();) {
        ASSERT_EQ(cdx->remove(0, it->first, it->second), 0);
        it = model.erase(it);
        if (++removed % 2500 == 0) {
            expectValid(*cdx, 0);
            ASSERT_EQ(cdx->commit(), 0);
        }
    }
    ASSERT_EQ(cdx->commit(), 0);
    expectValid(*cdx, 0);
    long long count = -1;
    ASSERT_EQ(cdx->keyCount(0, &count), 0);
    EXPECT_EQ(count, 0);
    // Everything but the header blocks and the one root leaf went back to the free list.
    long long free = -1;
    ASSERT_EQ(cdx->freePageCount(&free), 0);
    EXPECT_EQ(free, pages - 6);
    const std::vector<std::uint8_t> b = readFile(path);
    const std::uint32_t root = le32(b, 0x600);
    EXPECT_EQ(b[root], 3); // root leaf again
}

TEST(Cdx4Tree, LongKeysWithHugeRecordsSplitIntoThreeLeaves) {
    // 240-byte keys that compress to nothing fill a leaf with 3-byte entries; one record that
    // needs 6 bytes in the middle of them makes the leaf need three pages.
    ScratchDir dir;
    const std::string path = dir.file("long.cdx");
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->create({tagDef("LONG", 240)}), 0);
    Model model;
    auto key = [](char c) {
        std::string k(240, ' ');
        k[0] = c;
        return k;
    };
    for (std::uint32_t r = 1; r <= 81; ++r) {
        for (char c : {'A', 'C'}) {
            ASSERT_EQ(cdx->insert(0, key(c), r), 0);
            model.insert({key(c), r});
        }
    }
    ASSERT_EQ(cdx->insert(0, key('B'), 0xFFFFFF00u), 0);
    model.insert({key('B'), 0xFFFFFF00u});
    ASSERT_EQ(cdx->commit(), 0);
    expectValid(*cdx, 0);
    expectSame(*cdx, 0, model);
    // Interior nodes of 240-byte keys hold two entries: three leaves need two levels above.
    for (std::uint32_t r = 0; r < 400; ++r) {
        const std::string k = key(static_cast<char>('D' + r % 20));
        ASSERT_EQ(cdx->insert(0, k, 0x01000000u + r * 9973u), 0);
        model.insert({k, 0x01000000u + r * 9973u});
    }
    ASSERT_EQ(cdx->commit(), 0);
    expectValid(*cdx, 0);
    expectSame(*cdx, 0, model);
    OpenIndex again(path);
    ASSERT_EQ(again->open(), 0);
    expectValid(*again, 0);
    expectSame(*again, 0, model);
}

TEST(Cdx4Tree, DeepTreeOfWideKeysOutgrowsThePageCache) {
    // Random 240-byte keys barely compress: two per leaf, two per interior node. Sixteen
    // thousand of them need a dozen levels and more pages than the cache holds, so changed
    // pages are written out and read back in between commits.
    const std::uint64_t seed = seedFromEnvironment();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (set ORV_CDX_SEED to repeat)");
    std::mt19937_64 rng(seed);
    ScratchDir dir;
    const std::string path = dir.file("deep.cdx");
    Bag bag;
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->create({tagDef("WIDE", 240)}), 0);
        for (int op = 0; op < 24000; ++op) {
            if (op < 16000 || rng() % 2 == 0) {
                std::string key(240, ' ');
                const std::size_t used = 180 + rng() % 60;
                for (std::size_t i = 0; i < used; ++i)
                    key[i] = static_cast<char>('a' + rng() % 26);
                const Entry e{key, static_cast<std::uint32_t>(rng() % 70000 + 1)};
                ASSERT_EQ(cdx->insert(0, e.first, e.second), 0);
                bag.add(e);
            } else {
                const Entry e = bag.takeAt(rng() % bag.items.size());
                ASSERT_EQ(cdx->remove(0, e.first, e.second), 0);
            }
            if (op == 16000) {
                expectValid(*cdx, 0); // before any commit: the tree as cache and file hold it
                ASSERT_EQ(cdx->commit(), 0);
            }
        }
        ASSERT_EQ(cdx->commit(), 0);
    }
    const TreeShape shape = shapeOf(path, 0x600);
    std::printf("deep: %lld pages, %d levels, %zu keys\n", shape.pages, shape.height,
                bag.model.size());
    EXPECT_GE(shape.height, 10);
    EXPECT_GT(shape.pages, 16384) << "no more pages than the cache holds";
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->open(), 0);
    expectValid(*cdx, 0);
    expectSame(*cdx, 0, bag.model);
}

TEST(Cdx4Tree, CursorKeepsItsPlaceWhileItsOwnTagChanges) {
    ScratchDir dir;
    OpenIndex cdx(dir.file("cursor.cdx"));
    ASSERT_EQ(cdx->create({tagDef("SCHED", 32)}), 0);
    Model model;
    for (std::uint32_t r = 1; r <= 3000; ++r) {
        char key[40];
        std::snprintf(key, sizeof key, "%-32u", (r * 7919u) % 3001u);
        ASSERT_EQ(cdx->insert(0, key, r), 0);
        model.insert({key, r});
    }
    // Walk forward removing every other entry just visited and adding one far ahead; the
    // walk sees each surviving entry once, plus the added ones.
    std::vector<Entry> seen;
    Model expected;
    Cdx4::Cursor c;
    int rc = cdx->first(0, c);
    std::uint32_t extra = 10000;
    while (rc == 0) {
        seen.emplace_back(c.key, c.record);
        expected.insert({c.key, c.record});
        if (seen.size() % 2 == 0) {
            ASSERT_EQ(cdx->remove(0, c.key, c.record), 0);
            model.erase({c.key, c.record});
        }
        if (seen.size() % 5 == 0 && extra < 10400) {
            std::string ahead = c.key;
            ahead[0] = '9';
            ASSERT_EQ(cdx->insert(0, ahead, extra), 0);
            model.insert({ahead, extra++});
        }
        rc = cdx->next(c);
    }
    ASSERT_EQ(rc, res4eof);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    for (const Entry& e : model)
        EXPECT_TRUE(expected.count(e)) << e.first << " " << e.second;
    expectValid(*cdx, 0);
    expectSame(*cdx, 0, model);
    // Backwards from past the end.
    Cdx4::Cursor end;
    ASSERT_EQ(cdx->seek(0, std::string(32, '\xFF'), 32, 0, end), res4eof);
    ASSERT_EQ(cdx->prev(end), 0);
    EXPECT_EQ(Entry(end.key, end.record), *model.rbegin());
    ASSERT_EQ(cdx->next(end), res4eof);
    EXPECT_EQ(Entry(end.key, end.record), *model.rbegin());
}

std::vector<Entry> sortedKeys(std::size_t n, std::uint32_t salt) {
    std::vector<Entry> v;
    v.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        char key[40];
        std::snprintf(key, sizeof key, "%08u%-20s%04u", static_cast<unsigned>(20200101 + i / 3000),
                      (i / 60) % 2 ? "Board Room" : "Studio", static_cast<unsigned>(i % 3000));
        v.emplace_back(key, static_cast<std::uint32_t>((i * 2654435761u + salt) % 1'000'000 + 1));
    }
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

TEST(Cdx4Tree, RebuildLoadsManyKeysAndReusesTheOldPages) {
    // ORV_CDX_BIG=1 runs the full million (too slow for the sanitizer build of the suite).
    const std::size_t n = std::getenv("ORV_CDX_BIG") ? 1'000'000 : 200'000;
    ScratchDir dir;
    const std::string path = dir.file("big.cdx");
    const std::vector<Entry> keys = sortedKeys(n, 1);
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->create({tagDef("SCHED", 32)}), 0);
    ASSERT_EQ(cdx->insert(0, keys[5].first, keys[5].second), 0); // replaced by the rebuild

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(cdx->rebuild(0, keys), 0);
    ASSERT_EQ(cdx->commit(), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("rebuild of %zu keys: %.3f s\n", keys.size(), seconds);

    long long visited = 0;
    bool inOrder = true;
    std::string problem;
    ASSERT_EQ(cdx->verify(0, &problem,
                          [&](const std::string& k, std::uint32_t r) {
                              inOrder =
                                  inOrder && keys[static_cast<std::size_t>(visited)] == Entry(k, r);
                              ++visited;
                          }),
              0)
        << problem;
    EXPECT_EQ(visited, static_cast<long long>(keys.size()));
    EXPECT_TRUE(inOrder);
    std::mt19937 rng(3);
    for (int i = 0; i < 2000; ++i) {
        const Entry& e = keys[rng() % keys.size()];
        Cdx4::Cursor c;
        ASSERT_EQ(cdx->seek(0, e.first, 32, e.second, c), 0);
        EXPECT_EQ(Entry(c.key, c.record), e);
        ASSERT_EQ(cdx->seek(0, e.first.substr(0, 8), 8, 0, c), 0);
        EXPECT_EQ(c.key.substr(0, 8), e.first.substr(0, 8));
    }
    const auto sizeAfterFirst = fs::file_size(path);

    // A second rebuild of as many keys takes the pages the first one freed.
    const std::vector<Entry> other = sortedKeys(n, 77);
    ASSERT_EQ(cdx->rebuild(0, other), 0);
    ASSERT_EQ(cdx->commit(), 0);
    EXPECT_LE(fs::file_size(path), sizeAfterFirst + 8 * 512);
    ASSERT_EQ(cdx->verify(0, &problem, nullptr), 0) << problem;
    long long count = 0;
    ASSERT_EQ(cdx->keyCount(0, &count), 0);
    EXPECT_EQ(count, static_cast<long long>(other.size()));

    // Unsorted input is refused before anything changes.
    std::vector<Entry> unsorted = {other[1], other[0]};
    EXPECT_EQ(cdx->rebuild(0, unsorted), e4parm);
    ASSERT_EQ(cdx->rebuild(0, std::vector<Entry>{}), 0);
    ASSERT_EQ(cdx->keyCount(0, &count), 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(cdx->verify(0, &problem, nullptr), 0) << problem;
}

} // namespace
} // namespace orv::cdxtest
