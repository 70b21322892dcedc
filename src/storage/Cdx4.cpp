// Trees of a .cdx file, changed in memory and written on commit.
//
// Nodes are read into a bounded cache of decoded pages and changed there; a changed node that
// has to leave the cache early is written at once (the caller holds the index lock, so nobody
// reads the file meanwhile). Released pages go to the head of the free list and are written in
// its form on commit; new pages come from that list before the file grows. Commit writes every
// changed page, the moved roots, the free-list head and the raised change counter.

#include "Cdx4.h"

#include "Bytes4.h"
#include "CdxLayout4.h"
#include "CdxNode4.h"
#include "CdxPageCache4.h"
#include "Result4.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_set>
#include <utility>

namespace orv {

using namespace cdx4;

namespace {

constexpr int kMaxDepth = 512; // no real tree of 512-byte pages comes near; guards the recursion
constexpr std::size_t kCachedNodes = 16384; // decoded pages: all of a tag of a million 32-byte keys
constexpr std::size_t kWriteRun = 128;             // pages per write call
constexpr std::size_t kBuildBatch = 1024;          // pages a rebuild keeps before writing them
constexpr std::uint64_t kOpenRead = 8192;          // the start of the file read at once on open
constexpr std::uint64_t kMaxFileSize = 0xFFFFFE00; // page offsets are 32-bit

using Page = std::array<std::uint8_t, kPage>;
using NodePtr = std::shared_ptr<CdxNode4>;

const std::uint8_t* bytes(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

std::string hex(std::uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
    return buf;
}

std::string stripName(const std::string& s) {
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0'))
        --n;
    return s.substr(0, n);
}

// One B+-tree of the file: the directory or a tag.
struct Tree {
    std::uint32_t header = 0;
    std::uint32_t root = 0;
    int keyLength = 0;
    bool rootChanged = false;
};

// The way down to a leaf: each node and the entry followed (in the leaf: the entry found).
struct Step {
    NodePtr node;
    int index = 0;
};
using Path = std::vector<Step>;

// An interior entry: the greatest (key, record) of a child.
struct Ref {
    std::string key;
    std::uint32_t record = 0;
    std::uint32_t child = 0;
};

Ref refOf(const CdxNode4& n) {
    const int last = n.count() - 1;
    return {n.keyString(last), n.record(last), n.offset()};
}

struct Place {
    NodePtr leaf;
    int slot = 0;
};

int compareAt(const Place& a, const Place& b) {
    return CdxNode4::compare(a.leaf->key(a.slot), a.leaf->record(a.slot), b.leaf->key(b.slot),
                             b.leaf->record(b.slot), a.leaf->keyLength(), true);
}

// Candidates for merging with a neighbour. Interior nodes of long keys hold only a few entries,
// so half full already counts; otherwise one-entry nodes pile up and the tree grows tall.
bool underfull(const CdxNode4& n) {
    return n.leaf() ? 3 * n.usedBytes() < kLeafArea : 2 * n.count() <= n.maxInteriorEntries();
}

} // namespace

// Internal: a page that cache-only mode would have had to read. Never leaves this file; the
// public calls turn it into kNeedsDisk.
constexpr int kMiss = -100001;

struct Cdx4::Impl {
    Impl(File4System& fileSystem, int descriptor, std::string name)
        : fs(fileSystem), fd(descriptor), fileName(std::move(name)), cache(kCachedNodes) {}

    File4System& fs;
    int fd;
    std::string fileName;
    bool ready = false;
    bool cacheOnly = false; // a page not in the cache is a miss, not a read
    // Raw 64 KiB blocks of the file by their offset (network file systems only, see
    // setBlockReads), least recently used first out.
    struct Block {
        std::vector<std::uint8_t> bytes;
        std::uint64_t lastUse = 0;
    };
    bool blockReads = false;
    std::map<std::uint64_t, Block> blocks;
    std::uint64_t blockUses = 0;
    // The start of the file, read in one call while the file is opened (headers, the directory),
    // used by that open only.
    std::vector<std::uint8_t> openBytes;
    const std::uint8_t* headerView = nullptr;
    Tree directory;
    std::vector<TagInfo> tags;
    std::vector<Tree> trees;
    CdxPageCache4 cache;
    std::map<std::uint32_t, Page> released; // released pages not yet written
    // Pages taken from the free list since the cache was last dropped: meeting one again means
    // the list loops.
    std::unordered_set<std::uint32_t> taken;
    std::uint32_t freeHead = 0;
    bool freeChanged = false;
    std::uint32_t seenCounter = 0;
    std::uint32_t seenFree = 0;
    std::uint64_t fileSize = 0; // includes pages handed out but not yet written
    std::uint64_t generation = 1;
    bool changed = false;
    std::string problem; // why the last e4index was given

    // --- file ---------------------------------------------------------------------------------

    int corrupt(std::string why) {
        problem = std::move(why);
        return e4index;
    }

    std::uint64_t pageLimit() const { return fileSize / kPage + 1; }

    bool pageInFile(std::uint32_t off) const {
        return off != kNone && off >= kHeaderBlock && off % kPage == 0 &&
               std::uint64_t{off} + kPage <= fileSize;
    }

    int readAt(std::uint64_t off, void* buf, std::size_t n) {
        if (off + n <= openBytes.size()) {
            std::memcpy(buf, openBytes.data() + off, n);
            return 0;
        }
        const long long got = fs.pread(fd, buf, n, static_cast<std::int64_t>(off));
        if (got < 0 || static_cast<std::size_t>(got) != n) return e4read;
        return 0;
    }

    int writeAt(std::uint64_t off, const void* buf, std::size_t n) {
        const long long put = fs.pwrite(fd, buf, n, static_cast<std::int64_t>(off));
        if (put < 0 || static_cast<std::size_t>(put) != n) {
            blocks.clear(); // what reached the file is not known
            return e4write;
        }
        blockWritten(off, static_cast<const std::uint8_t*>(buf), n);
        return 0;
    }

    // --- blocks (network file systems) ----------------------------------------------------------

    static constexpr std::size_t kMaxBlocks = 64; // 4 MiB

    // Copies the page from a kept block: false when no block holds it whole.
    bool blockPage(std::uint32_t off, Page& page) {
        if (!blockReads) return false;
        auto it = blocks.find(off / kBlockBytes * kBlockBytes);
        if (it == blocks.end()) return false;
        const std::uint64_t within = off - it->first;
        if (within + kPage > it->second.bytes.size()) return false;
        std::memcpy(page.data(), it->second.bytes.data() + within, kPage);
        it->second.lastUse = ++blockUses;
        return true;
    }

    // Reads the block holding the page, keeps it, and copies the page.
    int readBlock(std::uint32_t off, Page& page) {
        const std::uint64_t start = off / kBlockBytes * kBlockBytes;
        Block b;
        // Not past the end: a read there would be one more call only to learn of the end.
        b.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(
            kBlockBytes, std::max<std::uint64_t>(fileSize, off + kPage) - start)));
        const long long got =
            fs.pread(fd, b.bytes.data(), b.bytes.size(), static_cast<std::int64_t>(start));
        if (got < 0) return e4read;
        b.bytes.resize(static_cast<std::size_t>(got));
        if (off - start + kPage > b.bytes.size()) return e4read;
        std::memcpy(page.data(), b.bytes.data() + (off - start), kPage);
        b.lastUse = ++blockUses;
        if (blocks.size() >= kMaxBlocks && blocks.count(start) == 0) {
            auto oldest =
                std::min_element(blocks.begin(), blocks.end(), [](const auto& x, const auto& y) {
                    return x.second.lastUse < y.second.lastUse;
                });
            blocks.erase(oldest);
        }
        blocks[start] = std::move(b);
        return 0;
    }

    // Our own write: kept blocks get the bytes written within them.
    void blockWritten(std::uint64_t off, const std::uint8_t* buf, std::size_t n) {
        if (blocks.empty()) return;
        const std::uint64_t end = off + n;
        for (std::uint64_t start = off / kBlockBytes * kBlockBytes; start < end;
             start += kBlockBytes) {
            auto it = blocks.find(start);
            if (it == blocks.end()) continue;
            std::vector<std::uint8_t>& bytes = it->second.bytes;
            const std::uint64_t from = std::max(off, start);
            const std::uint64_t to = std::min<std::uint64_t>(end, start + bytes.size());
            if (from < to)
                std::memcpy(bytes.data() + (from - start), buf + (from - off), to - from);
        }
    }

    int readPage(std::uint32_t off, Page& page) {
        auto it = released.find(off);
        if (it != released.end()) {
            page = it->second;
            return 0;
        }
        if (blockReads) return blockPage(off, page) ? 0 : readBlock(off, page);
        return readAt(off, page.data(), kPage);
    }

    // Writes pages in offset order, joining neighbours into one transfer.
    int writePages(const std::map<std::uint32_t, Page>& pages) {
        std::vector<std::uint8_t> run;
        std::uint64_t runStart = 0;
        auto flush = [&]() {
            if (run.empty()) return 0;
            const int rc = writeAt(runStart, run.data(), run.size());
            run.clear();
            return rc;
        };
        for (const auto& [off, page] : pages) {
            if (run.empty() || runStart + run.size() != off || run.size() >= kWriteRun * kPage) {
                if (const int rc = flush(); rc < 0) return rc;
                runStart = off;
            }
            run.insert(run.end(), page.begin(), page.end());
        }
        return flush();
    }

    // --- nodes and pages ----------------------------------------------------------------------

    int writeBack(CdxNode4& n) {
        if (!n.fits()) return corrupt("page " + hex(n.offset()) + " overflows");
        Page page;
        n.encode(page.data());
        return writeAt(n.offset(), page.data(), kPage);
    }

    int trimCache() {
        return cache.trim([this](CdxNode4& n) { return writeBack(n); });
    }

    int node(const Tree& t, std::uint32_t off, NodePtr& out) {
        if (!pageInFile(off)) return corrupt("page pointer " + hex(off) + " is outside the file");
        if (NodePtr n = cache.find(off)) {
            if (n->keyLength() != t.keyLength)
                return corrupt("page " + hex(off) + " belongs to two trees");
            out = std::move(n);
            return 0;
        }
        Page page;
        if (cacheOnly) {
            if (!blockPage(off, page)) return kMiss;
        } else if (const int rc = readPage(off, page); rc < 0) {
            return rc;
        }
        auto n = std::make_shared<CdxNode4>(off, t.keyLength, 0);
        std::string why;
        if (n->decode(page.data(), &why) < 0) return corrupt("page " + hex(off) + ": " + why);
        cache.insert(n);
        out = std::move(n);
        return trimCache();
    }

    void touch(const NodePtr& n) {
        cache.markDirty(n);
        changed = true;
    }

    int allocPage(std::uint32_t* out) {
        if (freeHead != 0 && freeHead != kNone) {
            const std::uint32_t off = freeHead;
            if (!pageInFile(off)) return corrupt("free list points outside the file");
            if (taken.count(off) != 0 || cache.contains(off))
                return corrupt("free list loops or holds a page in use (" + hex(off) + ")");
            Page page;
            if (const int rc = readPage(off, page); rc < 0) return rc;
            std::uint32_t next = get32(page.data());
            if (next == kNone) next = 0;
            if (next != 0 && !pageInFile(next))
                return corrupt("free list points outside the file (" + hex(next) + ")");
            released.erase(off);
            taken.insert(off);
            freeHead = next;
            freeChanged = true;
            *out = off;
        } else {
            const std::uint64_t end = (fileSize + kPage - 1) / kPage * kPage;
            if (end + kPage > kMaxFileSize) return e4write;
            fileSize = end + kPage;
            *out = static_cast<std::uint32_t>(end);
        }
        ++generation;
        changed = true;
        return 0;
    }

    void releasePage(std::uint32_t off) {
        cache.erase(off);
        Page page{};
        put32(page.data(), freeHead);
        released[off] = page;
        freeHead = off;
        freeChanged = true;
        taken.erase(off);
        ++generation;
        changed = true;
    }

    int newNode(const Tree& t, std::uint16_t attributes, NodePtr& out) {
        std::uint32_t off = 0;
        if (const int rc = allocPage(&off); rc < 0) return rc;
        out = std::make_shared<CdxNode4>(off, t.keyLength, attributes);
        touch(out);
        return trimCache();
    }

    void setRoot(Tree& t, std::uint32_t off) {
        t.root = off;
        t.rootChanged = true;
        changed = true;
    }

    void dropAll() {
        cache.clear();
        blocks.clear();
        released.clear();
        taken.clear();
        ++generation;
        changed = false;
        freeChanged = false;
    }

    // --- reading the headers --------------------------------------------------------------------

    int readHeaderBlock(std::uint32_t off, std::vector<std::uint8_t>& block) {
        if (off % kPage != 0 || std::uint64_t{off} + kHeaderBlock > fileSize)
            return corrupt("header block " + hex(off) + " is outside the file");
        block.assign(kHeaderBlock, 0);
        return readAt(off, block.data(), block.size());
    }

    int poolText(const std::vector<std::uint8_t>& h, int startAt, int lengthAt, std::string* out) {
        const int start = get16(h.data() + startAt);
        const int length = get16(h.data() + lengthAt);
        out->clear();
        if (length == 0) return 0;
        if (start + length > kPoolSize) return corrupt("expression outside the header");
        const auto* p = reinterpret_cast<const char*>(h.data() + kHdrPool + start);
        *out = std::string(p, std::find(p, p + length, '\0'));
        return 0;
    }

    int readSize() {
        const long long size = fs.size(fd);
        if (size < 0) return e4read;
        fileSize = static_cast<std::uint64_t>(size);
        return 0;
    }

    int readDirectoryHeader() {
        std::vector<std::uint8_t> h;
        if (fileSize < kHeaderBlock + kPage) return corrupt("file too short for an index");
        if (const int rc = readHeaderBlock(0, h); rc < 0) return rc;
        directory.header = 0;
        directory.root = get32(h.data() + kHdrRoot);
        directory.keyLength = get16(h.data() + kHdrKeyLength);
        directory.rootChanged = false;
        if (directory.keyLength < 1 || directory.keyLength > kMaxKeyLength)
            return corrupt("bad key length in the directory header");
        seenFree = get32(h.data() + kHdrFreeList);
        freeHead = seenFree == kNone ? 0 : seenFree;
        seenCounter = get32be(h.data() + kHdrCounter);
        return 0;
    }

    // Reads the directory and the tag headers: the start of the file in one call, which holds
    // them in every file we write.
    int load() {
        if (const int rc = readSize(); rc < 0) return rc;
        openBytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kOpenRead)));
        const long long got = fs.pread(fd, openBytes.data(), openBytes.size(), 0);
        openBytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        const int rc = loadHeaders();
        openBytes.clear();
        openBytes.shrink_to_fit();
        return rc;
    }

    int loadHeaders() {
        ready = false;
        tags.clear();
        trees.clear();
        dropAll();
        if (const int rc = readDirectoryHeader(); rc < 0) return rc;

        std::vector<std::pair<std::string, std::uint32_t>> names;
        Place p;
        int rc = edge(directory, false, p);
        while (rc == 0) {
            if (names.size() > fileSize / kHeaderBlock) return corrupt("directory too long");
            names.emplace_back(stripName(p.leaf->keyString(p.slot)), p.leaf->record(p.slot));
            rc = stepNext(directory, p);
        }
        if (rc < 0) return rc;

        for (const auto& [name, off] : names) {
            std::vector<std::uint8_t> h;
            if (off < kHeaderBlock) return corrupt("tag header inside the directory header");
            if ((rc = readHeaderBlock(off, h)) < 0) return rc;
            TagInfo info;
            info.name = name;
            info.headerOffset = off;
            info.keyLength = get16(h.data() + kHdrKeyLength);
            info.options = h[kHdrOptions];
            info.descending = get16(h.data() + kHdrOrder) != 0;
            if (info.keyLength < 1 || info.keyLength > kMaxKeyLength)
                return corrupt("tag " + name + ": bad key length");
            if ((rc = poolText(h, kHdrKeyStart, kHdrKeyExprLength, &info.keyExpr)) < 0) return rc;
            if ((rc = poolText(h, kHdrFilterStart, kHdrFilterLength, &info.filterExpr)) < 0)
                return rc;
            Tree t;
            t.header = off;
            t.root = get32(h.data() + kHdrRoot);
            t.keyLength = info.keyLength;
            tags.push_back(std::move(info));
            trees.push_back(t);
        }
        std::vector<std::size_t> order(tags.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
            return tags[a].headerOffset < tags[b].headerOffset;
        });
        std::vector<TagInfo> sortedTags;
        std::vector<Tree> sortedTrees;
        for (std::size_t i : order) {
            if (!sortedTags.empty() && sortedTags.back().headerOffset == tags[i].headerOffset)
                return corrupt("two directory entries name one tag header");
            sortedTags.push_back(tags[i]);
            sortedTrees.push_back(trees[i]);
        }
        tags = std::move(sortedTags);
        trees = std::move(sortedTrees);
        ready = true;
        return 0;
    }

    // --- positioning ----------------------------------------------------------------------------

    // Follows the first entry not less than the target down to a leaf; where every entry of an
    // interior node is less, the last one. The leaf step holds the first entry not less (may be
    // count(): the target lies past the leaf).
    int descend(const Tree& t, const std::uint8_t* key, int length, std::uint32_t record,
                bool useRecord, Path& path) {
        path.clear();
        std::uint32_t off = t.root;
        for (int depth = 0;; ++depth) {
            if (depth > kMaxDepth) return corrupt("tree deeper than " + std::to_string(kMaxDepth));
            for (const Step& s : path)
                if (s.node->offset() == off)
                    return corrupt("page " + hex(off) + " lies below itself");
            NodePtr n;
            if (const int rc = node(t, off, n); rc < 0) return rc;
            const int at = n->lowerBound(key, length, record, useRecord);
            if (n->leaf()) {
                path.push_back({n, at});
                return 0;
            }
            if (n->count() == 0) return corrupt("page " + hex(off) + ": empty interior node");
            const int i = std::min(at, n->count() - 1);
            off = n->child(i);
            path.push_back({std::move(n), i});
        }
    }

    int moveRight(const Tree& t, Place& p) {
        std::uint32_t off = p.leaf->right();
        for (std::uint64_t steps = 0; off != kNone; ++steps) {
            if (steps > pageLimit()) return corrupt("leaf chain loops");
            NodePtr n;
            if (const int rc = node(t, off, n); rc < 0) return rc;
            if (!n->leaf()) return corrupt("right sibling " + hex(off) + " is not a leaf");
            if (n->count() > 0) {
                p = {std::move(n), 0};
                return 0;
            }
            off = n->right();
        }
        return res4eof;
    }

    int moveLeft(const Tree& t, Place& p) {
        std::uint32_t off = p.leaf->left();
        for (std::uint64_t steps = 0; off != kNone; ++steps) {
            if (steps > pageLimit()) return corrupt("leaf chain loops");
            NodePtr n;
            if (const int rc = node(t, off, n); rc < 0) return rc;
            if (!n->leaf()) return corrupt("left sibling " + hex(off) + " is not a leaf");
            if (n->count() > 0) {
                const int last = n->count() - 1;
                p = {std::move(n), last};
                return 0;
            }
            off = n->left();
        }
        return res4bof;
    }

    // First or last entry of the tree; res4eof when it is empty.
    int edge(const Tree& t, bool last, Place& p) {
        std::uint32_t off = t.root;
        std::vector<std::uint32_t> above;
        for (int depth = 0;; ++depth) {
            if (depth > kMaxDepth) return corrupt("tree deeper than " + std::to_string(kMaxDepth));
            if (std::find(above.begin(), above.end(), off) != above.end())
                return corrupt("page " + hex(off) + " lies below itself");
            above.push_back(off);
            NodePtr n;
            if (const int rc = node(t, off, n); rc < 0) return rc;
            if (n->leaf()) {
                const int count = n->count();
                p = {std::move(n), last ? count - 1 : 0};
                if (count > 0) return 0;
                const int rc = last ? moveLeft(t, p) : moveRight(t, p);
                return rc > 0 ? res4eof : rc;
            }
            if (n->count() == 0) return corrupt("page " + hex(off) + ": empty interior node");
            off = n->child(last ? n->count() - 1 : 0);
        }
    }

    int seekPlace(const Tree& t, const std::uint8_t* key, int length, std::uint32_t record,
                  bool useRecord, Place& p) {
        Path path;
        if (const int rc = descend(t, key, length, record, useRecord, path); rc < 0) return rc;
        p = {path.back().node, path.back().index};
        if (p.slot < p.leaf->count()) return 0;
        return moveRight(t, p);
    }

    int stepNext(const Tree& t, Place& p) {
        if (p.slot + 1 < p.leaf->count()) {
            Place q{p.leaf, p.slot + 1};
            if (compareAt(q, p) <= 0)
                return corrupt("page " + hex(p.leaf->offset()) + ": entries out of order");
            p = q;
            return 0;
        }
        Place q = p;
        if (const int rc = moveRight(t, q); rc != 0) return rc;
        if (compareAt(q, p) <= 0)
            return corrupt("leaf chain out of order at " + hex(q.leaf->offset()));
        p = q;
        return 0;
    }

    int stepPrev(const Tree& t, Place& p) {
        if (p.slot > 0) {
            Place q{p.leaf, p.slot - 1};
            if (compareAt(q, p) >= 0)
                return corrupt("page " + hex(p.leaf->offset()) + ": entries out of order");
            p = q;
            return 0;
        }
        Place q = p;
        if (const int rc = moveLeft(t, q); rc != 0) return rc;
        if (compareAt(q, p) >= 0)
            return corrupt("leaf chain out of order at " + hex(q.leaf->offset()));
        p = q;
        return 0;
    }

    void fill(Cursor& c, int tag, const Place& p) const {
        c.tag = tag;
        c.key = p.leaf->keyString(p.slot);
        c.record = p.leaf->record(p.slot);
        c.valid = true;
        c.leaf = p.leaf->offset();
        c.slot = p.slot;
        c.generation = generation;
    }

    // The cursor's entry where it was last seen, when that still holds.
    bool recall(const Tree& t, const Cursor& c, Place& p) {
        if (c.generation != generation || c.slot < 0) return false;
        NodePtr n = cache.find(c.leaf);
        if (!n) {
            if (node(t, c.leaf, n) < 0) return false;
        }
        if (!n->leaf() || n->keyLength() != t.keyLength || c.slot >= n->count()) return false;
        if (n->record(c.slot) != c.record ||
            std::memcmp(n->key(c.slot), c.key.data(), c.key.size()) != 0)
            return false;
        p = {std::move(n), c.slot};
        return true;
    }

    // --- changes --------------------------------------------------------------------------------

    int unlink(const Tree& t, const CdxNode4& n) {
        if (n.left() != kNone) {
            NodePtr l;
            if (const int rc = node(t, n.left(), l); rc < 0) return rc;
            l->setRight(n.right());
            touch(l);
        }
        if (n.right() != kNone) {
            NodePtr r;
            if (const int rc = node(t, n.right(), r); rc < 0) return rc;
            r->setLeft(n.left());
            touch(r);
        }
        return 0;
    }

    // Replaces entries [from, to) of the interior node path[d] by refs and puts that node right.
    int replaceEntries(Tree& t, Path& path, int d, int from, int to, const std::vector<Ref>& refs) {
        const NodePtr& p = path[static_cast<std::size_t>(d)].node;
        p->erase(from, to);
        for (std::size_t i = 0; i < refs.size(); ++i)
            p->insert(from + static_cast<int>(i), bytes(refs[i].key), refs[i].record,
                      refs[i].child);
        touch(p);
        path.resize(static_cast<std::size_t>(d) + 1);
        path.back().index = from;
        const int touched =
            refs.empty() ? std::max(0, from - 1) : from + static_cast<int>(refs.size()) - 1;
        return fixNode(t, path, d, touched);
    }

    // After a change of node path[d] (near entry `touched`): splits it when it overflows,
    // removes it when empty, merges it into a neighbour when both fit one page, and keeps the
    // parent's entry equal to its last entry.
    int fixNode(Tree& t, Path& path, int d, int touched) {
        const NodePtr n = path[static_cast<std::size_t>(d)].node;
        if (!n->fits()) {
            if (d > 0) {
                bool shifted = false;
                const int rc = shiftToNeighbour(t, path, d, &shifted);
                if (rc < 0 || shifted) return rc;
            }
            return split(t, path, d, touched);
        }
        if (d == 0) {
            if (n->count() == 0 && !n->leaf()) {
                n->setAttributes(kAttrRoot | kAttrLeaf);
                touch(n);
                return 0;
            }
            return collapseRoot(t);
        }
        const Step& up = path[static_cast<std::size_t>(d) - 1];
        const NodePtr parent = up.node;
        const int idx = up.index;
        if (n->count() == 0) {
            if (const int rc = unlink(t, *n); rc < 0) return rc;
            releasePage(n->offset());
            return replaceEntries(t, path, d - 1, idx, idx + 1, {});
        }
        if (underfull(*n)) {
            if (idx > 0) {
                NodePtr left;
                if (const int rc = node(t, parent->child(idx - 1), left); rc < 0) return rc;
                if (left->offset() != n->left() || left->leaf() != n->leaf())
                    return corrupt("page " + hex(n->offset()) + ": left sibling mismatch");
                if (left->canTake(*n)) return merge(t, path, d, left, n, idx - 1);
            }
            if (idx + 1 < parent->count()) {
                NodePtr right;
                if (const int rc = node(t, parent->child(idx + 1), right); rc < 0) return rc;
                if (right->offset() != n->right() || right->leaf() != n->leaf())
                    return corrupt("page " + hex(n->offset()) + ": right sibling mismatch");
                if (n->canTake(*right)) return merge(t, path, d, n, right, idx);
            }
        }
        const int last = n->count() - 1;
        if (parent->child(idx) != n->offset() ||
            CdxNode4::compare(parent->key(idx), parent->record(idx), n->key(last), n->record(last),
                              t.keyLength, true) != 0)
            return replaceEntries(t, path, d - 1, idx, idx + 1, {refOf(*n)});
        return 0;
    }

    // An overflowing node first tries to hand entries to a neighbour under the same parent, so
    // that nodes stay full and no new page is needed. *shifted tells whether that worked.
    int shiftToNeighbour(Tree& t, Path& path, int d, bool* shifted) {
        *shifted = false;
        const NodePtr n = path[static_cast<std::size_t>(d)].node;
        const NodePtr parent = path[static_cast<std::size_t>(d) - 1].node;
        const int idx = path[static_cast<std::size_t>(d) - 1].index;
        if (idx > 0) {
            NodePtr left;
            if (const int rc = node(t, parent->child(idx - 1), left); rc < 0) return rc;
            if (left->offset() != n->left() || left->leaf() != n->leaf())
                return corrupt("page " + hex(n->offset()) + ": left sibling mismatch");
            CdxNode4 a(*left);
            CdxNode4 b(*n);
            while (!b.fits() && b.count() > 1 && a.fits()) {
                a.append(b, 0, 1);
                b.erase(0, 1);
            }
            if (a.fits() && b.fits()) {
                *left = std::move(a);
                *n = std::move(b);
                touch(left);
                touch(n);
                *shifted = true;
                return replaceEntries(t, path, d - 1, idx - 1, idx + 1, {refOf(*left), refOf(*n)});
            }
        }
        if (idx + 1 < parent->count()) {
            NodePtr right;
            if (const int rc = node(t, parent->child(idx + 1), right); rc < 0) return rc;
            if (right->offset() != n->right() || right->leaf() != n->leaf())
                return corrupt("page " + hex(n->offset()) + ": right sibling mismatch");
            CdxNode4 a(*n);
            CdxNode4 b(*right);
            while (!a.fits() && a.count() > 1 && b.fits()) {
                const int last = a.count() - 1;
                b.insert(0, a.key(last), a.record(last), a.leaf() ? 0 : a.child(last));
                a.erase(last, last + 1);
            }
            if (a.fits() && b.fits()) {
                *n = std::move(a);
                *right = std::move(b);
                touch(n);
                touch(right);
                *shifted = true;
                return replaceEntries(t, path, d - 1, idx, idx + 2, {refOf(*n), refOf(*right)});
            }
        }
        return 0;
    }

    // Moves all entries of `gone` (the right one of two neighbours) into `keep`.
    int merge(Tree& t, Path& path, int d, const NodePtr& keep, const NodePtr& gone, int first) {
        keep->append(*gone, 0, gone->count());
        keep->setRight(gone->right());
        if (gone->right() != kNone) {
            NodePtr r;
            if (const int rc = node(t, gone->right(), r); rc < 0) return rc;
            r->setLeft(keep->offset());
            touch(r);
        }
        touch(keep);
        releasePage(gone->offset());
        return replaceEntries(t, path, d - 1, first, first + 2, {refOf(*keep)});
    }

    int split(Tree& t, Path& path, int d, int touched) {
        const NodePtr n = path[static_cast<std::size_t>(d)].node;
        const bool packLeft = n->right() == kNone && touched >= n->count() - 1;
        const std::vector<int> cuts = n->cuts(packLeft);
        if (cuts.empty()) return corrupt("page " + hex(n->offset()) + ": cannot split");
        const auto attributes = static_cast<std::uint16_t>(n->attributes() & ~kAttrRoot);
        std::vector<NodePtr> parts{n};
        for (std::size_t i = 0; i < cuts.size(); ++i) {
            NodePtr part;
            if (const int rc = newNode(t, attributes, part); rc < 0) return rc;
            const int to = i + 1 < cuts.size() ? cuts[i + 1] : n->count();
            part->append(*n, cuts[i], to);
            parts.push_back(std::move(part));
        }
        n->erase(cuts[0], n->count());
        const std::uint32_t oldRight = n->right();
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            parts[i]->setRight(parts[i + 1]->offset());
            parts[i + 1]->setLeft(parts[i]->offset());
        }
        parts.back()->setRight(oldRight);
        if (oldRight != kNone) {
            NodePtr r;
            if (const int rc = node(t, oldRight, r); rc < 0) return rc;
            r->setLeft(parts.back()->offset());
            touch(r);
        }
        std::vector<Ref> refs;
        for (const NodePtr& part : parts) {
            touch(part);
            refs.push_back(refOf(*part));
        }
        if (d > 0) {
            const int idx = path[static_cast<std::size_t>(d) - 1].index;
            return replaceEntries(t, path, d - 1, idx, idx + 1, refs);
        }
        n->setRoot(false);
        NodePtr top;
        if (const int rc = newNode(t, kAttrRoot, top); rc < 0) return rc;
        for (const Ref& r : refs)
            top->insert(top->count(), bytes(r.key), r.record, r.child);
        setRoot(t, top->offset());
        path.resize(1);
        path.insert(path.begin(), Step{top, 0});
        return fixNode(t, path, 0, top->count() - 1);
    }

    // An interior root with one child hands the root over to that child.
    int collapseRoot(Tree& t) {
        for (int guard = 0; guard <= kMaxDepth; ++guard) {
            NodePtr r;
            if (const int rc = node(t, t.root, r); rc < 0) return rc;
            if (r->leaf() || r->count() != 1) return 0;
            NodePtr c;
            if (const int rc = node(t, r->child(0), c); rc < 0) return rc;
            if (c->offset() == r->offset())
                return corrupt("root " + hex(r->offset()) + " is its own child");
            c->setRoot(true);
            c->setLeft(kNone);
            c->setRight(kNone);
            touch(c);
            releasePage(r->offset());
            setRoot(t, c->offset());
        }
        return corrupt("tree deeper than " + std::to_string(kMaxDepth));
    }

    // --- rebuilding ----------------------------------------------------------------------------

    // Whether the page is a leaf, from its attributes alone: the leaves, most of a tree, are not
    // decoded only to be freed. -1 when the page cannot be read.
    int isLeafPage(std::uint32_t off) {
        if (NodePtr n = cache.find(off)) return n->leaf() ? 1 : 0;
        if (!pageInFile(off)) return -1;
        Page page;
        if (readPage(off, page) < 0) return -1;
        return (get16(page.data() + kNodeAttributes) & kAttrLeaf) != 0 ? 1 : 0;
    }

    // All pages of a tree, level by level. False when the tree does not hold together; its pages
    // are then left where they are rather than risk freeing a page something else uses.
    bool collectPages(const Tree& t, std::vector<std::uint32_t>& out) {
        std::unordered_set<std::uint32_t> seen;
        std::vector<std::uint32_t> level{t.root};
        for (int depth = 0; depth <= kMaxDepth; ++depth) {
            std::vector<std::uint32_t> below;
            int leaves = 0;
            for (std::uint32_t off : level) {
                if (!seen.insert(off).second) return false;
                const int leaf = isLeafPage(off);
                if (leaf < 0) return false;
                out.push_back(off);
                if (leaf == 1) {
                    ++leaves;
                    continue;
                }
                NodePtr n;
                if (node(t, off, n) < 0 || n->leaf()) return false;
                for (int i = 0; i < n->count(); ++i)
                    below.push_back(n->child(i));
            }
            if (leaves == static_cast<int>(level.size())) return true;
            if (leaves != 0 || below.empty()) return false;
            level = std::move(below);
        }
        return false;
    }

    struct Builder {
        Impl& impl;
        std::map<std::uint32_t, Page> pages;
        int put(CdxNode4& n) {
            Page page;
            n.encode(page.data());
            pages[n.offset()] = page;
            if (pages.size() < kBuildBatch) return 0;
            const int rc = impl.writePages(pages);
            pages.clear();
            return rc;
        }
    };

    int rebuild(Tree& t, const KeyRun& sorted) {
        const int L = t.keyLength;
        const auto keyAt = [&](std::size_t i) { return sorted.keys + i * static_cast<std::size_t>(L); };
        for (std::size_t i = 1; i < sorted.count; ++i) {
            if (CdxNode4::compare(keyAt(i - 1), sorted.records[i - 1], keyAt(i), sorted.records[i],
                                  L, true) >= 0)
                return e4parm;
        }
        std::vector<std::uint32_t> old;
        if (collectPages(t, old)) {
            std::sort(old.rbegin(), old.rend()); // lowest page ends up first in the list
            for (std::uint32_t off : old)
                releasePage(off);
        }
        Builder out{*this, {}};
        std::vector<Ref> refs;

        // Leaves, each filled as far as it goes.
        NodePtr cur;
        std::uint32_t curMax = 0;
        int curBytes = 0;
        int rc = 0;
        if ((rc = newNode(t, kAttrLeaf, cur)) < 0) return rc;
        cache.erase(cur->offset()); // built pages bypass the cache
        for (std::size_t i = 0; i < sorted.count; ++i) {
            const std::uint8_t* k = keyAt(i);
            const std::uint32_t rec = sorted.records[i];
            const int count = cur->count();
            const std::uint8_t* prev = count > 0 ? cur->key(count - 1) : nullptr;
            const int stored = CdxNode4::storedBytes(prev, k, L);
            const std::uint32_t highest = std::max(curMax, rec);
            const int width = CdxNode4::shapeFor(L, highest).entryBytes;
            if (count > 0 && (count + 1) * width + curBytes + stored > kLeafArea) {
                NodePtr next;
                if ((rc = newNode(t, kAttrLeaf, next)) < 0) return rc;
                cache.erase(next->offset());
                cur->setRight(next->offset());
                next->setLeft(cur->offset());
                refs.push_back(refOf(*cur));
                if ((rc = out.put(*cur)) < 0) return rc;
                cur = std::move(next);
                curBytes = CdxNode4::storedBytes(nullptr, k, L);
                curMax = rec;
            } else {
                curBytes += stored;
                curMax = highest;
            }
            cur->insert(cur->count(), k, rec, 0);
        }
        if (refs.empty()) cur->setRoot(true);
        if (cur->count() > 0) refs.push_back(refOf(*cur));
        std::uint32_t root = cur->offset();
        if ((rc = out.put(*cur)) < 0) return rc;

        // Interior levels, full nodes, until one node holds the level.
        const int cap = std::max(1, cur->maxInteriorEntries());
        while (refs.size() > 1) {
            std::vector<Ref> above;
            const bool top = static_cast<int>(refs.size()) <= cap;
            NodePtr prev;
            for (std::size_t i = 0; i < refs.size(); i += static_cast<std::size_t>(cap)) {
                NodePtr n;
                if ((rc = newNode(t, top ? kAttrRoot : 0, n)) < 0) return rc;
                cache.erase(n->offset());
                const std::size_t end = std::min(refs.size(), i + static_cast<std::size_t>(cap));
                for (std::size_t j = i; j < end; ++j)
                    n->insert(n->count(), bytes(refs[j].key), refs[j].record, refs[j].child);
                if (prev) {
                    prev->setRight(n->offset());
                    n->setLeft(prev->offset());
                    above.push_back(refOf(*prev));
                    if ((rc = out.put(*prev)) < 0) return rc;
                }
                prev = std::move(n);
            }
            above.push_back(refOf(*prev));
            root = prev->offset();
            if ((rc = out.put(*prev)) < 0) return rc;
            refs = std::move(above);
        }
        if ((rc = writePages(out.pages)) < 0) return rc;
        setRoot(t, root);
        ++generation;
        return 0;
    }

    // --- checking -------------------------------------------------------------------------------

    struct Link {
        std::uint32_t offset;
        std::uint32_t left;
        std::uint32_t right;
    };

    struct Check {
        const Tree* tree = nullptr;
        std::unordered_set<std::uint32_t> seen;
        std::vector<std::vector<Link>> levels;
        int leafDepth = -1;
        bool havePrev = false;
        std::string prevKey;
        std::uint32_t prevRecord = 0;
        const std::function<void(const std::string&, std::uint32_t)>* visit = nullptr;
    };

    int checkNode(Check& s, std::uint32_t off, int depth, std::string* lastKey,
                  std::uint32_t* lastRecord) {
        const Tree& t = *s.tree;
        const std::string at = "page " + hex(off) + ": ";
        if (depth > kMaxDepth) return corrupt("tree deeper than " + std::to_string(kMaxDepth));
        if (!s.seen.insert(off).second) return corrupt(at + "reached twice");
        NodePtr n;
        if (const int rc = node(t, off, n); rc < 0) {
            if (rc != e4index) problem = at + "cannot be read";
            return rc;
        }
        if (n->root() != (depth == 0))
            return corrupt(at + (depth == 0 ? "root without root attribute"
                                            : "root attribute below the root"));
        if (s.levels.size() <= static_cast<std::size_t>(depth))
            s.levels.resize(static_cast<std::size_t>(depth) + 1);
        s.levels[static_cast<std::size_t>(depth)].push_back({off, n->left(), n->right()});
        const int count = n->count();
        if (n->leaf()) {
            if (s.leafDepth < 0) s.leafDepth = depth;
            if (depth != s.leafDepth)
                return corrupt(at + "leaf on level " + std::to_string(depth) + ", others on " +
                               std::to_string(s.leafDepth));
            if (count == 0 && depth > 0) return corrupt(at + "empty leaf");
            if (n->asDecoded()) {
                const CdxNode4::LeafShape& sh = n->storedShape();
                auto mask = [](int bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; };
                if (sh.recordBits + sh.dupBits + sh.trailBits != 8 * sh.entryBytes ||
                    sh.recordMask != mask(sh.recordBits) || sh.dupMask != mask(sh.dupBits) ||
                    sh.trailMask != mask(sh.trailBits))
                    return corrupt(at + "entry widths and masks disagree");
                if (n->storedFree() != kLeafArea - n->decodedUsed())
                    return corrupt(at + "free byte count " + std::to_string(n->storedFree()) +
                                   ", actually " + std::to_string(kLeafArea - n->decodedUsed()));
            } else if (!n->fits()) {
                return corrupt(at + "entries do not fit");
            }
            for (int i = 0; i < count; ++i) {
                if (s.havePrev && CdxNode4::compare(bytes(s.prevKey), s.prevRecord, n->key(i),
                                                    n->record(i), t.keyLength, true) >= 0)
                    return corrupt(at + "entry " + std::to_string(i) + " out of order");
                s.prevKey = n->keyString(i);
                s.prevRecord = n->record(i);
                s.havePrev = true;
                if (*s.visit) (*s.visit)(s.prevKey, s.prevRecord);
            }
        } else {
            if (s.leafDepth >= 0 && depth >= s.leafDepth)
                return corrupt(at + "interior node on the leaf level");
            if (count == 0) return corrupt(at + "empty interior node");
            for (int i = 0; i < count; ++i) {
                std::string key;
                std::uint32_t record = 0;
                if (const int rc = checkNode(s, n->child(i), depth + 1, &key, &record); rc < 0)
                    return rc;
                if (key != n->keyString(i) || record != n->record(i))
                    return corrupt(at + "entry " + std::to_string(i) +
                                   " differs from the last entry below it");
            }
        }
        if (count > 0) {
            *lastKey = n->keyString(count - 1);
            *lastRecord = n->record(count - 1);
        }
        return 0;
    }

    int check(const Tree& t, const std::function<void(const std::string&, std::uint32_t)>& visit) {
        Check s;
        s.tree = &t;
        s.visit = &visit;
        std::string key;
        std::uint32_t record = 0;
        if (const int rc = checkNode(s, t.root, 0, &key, &record); rc < 0) return rc;
        for (std::size_t d = 0; d < s.levels.size(); ++d) {
            const std::vector<Link>& level = s.levels[d];
            for (std::size_t i = 0; i < level.size(); ++i) {
                const std::uint32_t left = i == 0 ? kNone : level[i - 1].offset;
                const std::uint32_t right = i + 1 == level.size() ? kNone : level[i + 1].offset;
                if (level[i].left != left || level[i].right != right)
                    return corrupt("page " + hex(level[i].offset) + ": siblings " +
                                   hex(level[i].left) + "/" + hex(level[i].right) + ", expected " +
                                   hex(left) + "/" + hex(right));
            }
        }
        return 0;
    }

    int countFree(long long* count) {
        std::unordered_set<std::uint32_t> seen;
        long long n = 0;
        for (std::uint32_t off = freeHead; off != 0 && off != kNone;) {
            if (!pageInFile(off))
                return corrupt("free list points outside the file (" + hex(off) + ")");
            if (!seen.insert(off).second) return corrupt("free list loops at " + hex(off));
            if (cache.contains(off))
                return corrupt("free list holds page " + hex(off) + ", which is in use");
            Page page;
            if (const int rc = readPage(off, page); rc < 0) return rc;
            off = get32(page.data());
            ++n;
        }
        *count = n;
        return 0;
    }

    int commit() {
        if (!changed) return 0;
        std::vector<NodePtr> dirty = cache.takeDirty();
        std::map<std::uint32_t, Page> pages = released;
        int rc = 0;
        for (const NodePtr& n : dirty) {
            if (!n->fits()) {
                rc = corrupt("page " + hex(n->offset()) + " overflows");
                break;
            }
            n->encode(pages[n->offset()].data());
        }
        if (rc == 0) rc = writePages(pages);
        for (std::size_t i = 0; rc == 0 && i < trees.size(); ++i) {
            if (!trees[i].rootChanged) continue;
            std::uint8_t root[4];
            put32(root, trees[i].root);
            rc = writeAt(trees[i].header + kHdrRoot, root, sizeof root);
            if (rc == 0) trees[i].rootChanged = false;
        }
        std::uint8_t h[12];
        if (rc == 0) rc = readAt(0, h, sizeof h);
        if (rc < 0) {
            for (const NodePtr& n : dirty)
                cache.markDirty(n);
            return rc;
        }
        const std::uint32_t counter = get32be(h + kHdrCounter) + 1;
        put32be(h + kHdrCounter, counter);
        if (freeChanged) {
            put32(h + kHdrFreeList, freeHead);
            rc = writeAt(kHdrFreeList, h + kHdrFreeList, 8);
        } else {
            rc = writeAt(kHdrCounter, h + kHdrCounter, 4);
        }
        if (rc < 0) return rc;
        released.clear();
        seenCounter = counter;
        seenFree = get32(h + kHdrFreeList);
        freeChanged = false;
        changed = false;
        return 0;
    }

    int refresh() {
        std::uint8_t h[12];
        if (headerView)
            std::memcpy(h, headerView, sizeof h);
        else if (const int rc = readAt(0, h, sizeof h); rc < 0)
            return rc;
        if (get32be(h + kHdrCounter) == seenCounter && get32(h + kHdrFreeList) == seenFree)
            return 0;
        const int rc = reload();
        return rc < 0 ? rc : 1;
    }

    // A change that failed part-way leaves the tree half done in memory. Everything since the
    // last commit is dropped, so that no commit can write it; the error stands.
    int abandon(int error) {
        if (error < 0 && error != e4parm && changed) reload();
        return error;
    }

    // Forgets every page and reads the headers again.
    int reload() {
        dropAll();
        if (const int rc = readSize(); rc < 0) return rc;
        if (const int rc = readDirectoryHeader(); rc < 0) return rc;
        for (Tree& t : trees) {
            std::uint8_t root[4];
            if (const int rc = readAt(t.header + kHdrRoot, root, sizeof root); rc < 0) return rc;
            t.root = get32(root);
            t.rootChanged = false;
        }
        return 0;
    }

    // --- creating -------------------------------------------------------------------------------

    int create(const std::vector<TagSpec>& defs) {
        ready = false;
        std::vector<std::string> names;
        for (const TagSpec& s : defs) {
            std::string name = bytes4::upper(s.name);
            if (name.empty() || name.size() > static_cast<std::size_t>(kDirectoryKeyLength) ||
                s.keyLength < 1 || s.keyLength > kMaxKeyLength || s.keyExpr.empty() ||
                s.keyExpr.size() + s.filterExpr.size() + 2 > static_cast<std::size_t>(kPoolSize) ||
                std::find(names.begin(), names.end(), name) != names.end())
                return e4tagInfo;
            names.push_back(std::move(name));
        }
        const std::size_t tagBlock = kHeaderBlock + kPage;
        const std::size_t total = kHeaderBlock + kPage + defs.size() * tagBlock;
        if (total > kMaxFileSize) return e4tagInfo;
        std::vector<std::uint8_t> file(total, 0);

        auto header = [&file](std::size_t at, std::uint32_t root, int keyLength,
                              std::uint8_t options, bool descending, const std::string& key,
                              const std::string& filter) {
            std::uint8_t* h = file.data() + at;
            put32(h + kHdrRoot, root);
            put16(h + kHdrKeyLength, static_cast<std::uint32_t>(keyLength));
            h[kHdrOptions] = options;
            h[kHdrSignature] = kSignature;
            put16(h + kHdrOrder, descending ? 1 : 0);
            put16(h + kHdrFilterStart, static_cast<std::uint32_t>(key.size() + 1));
            put16(h + kHdrFilterLength, static_cast<std::uint32_t>(filter.size() + 1));
            put16(h + kHdrKeyStart, 0);
            put16(h + kHdrKeyExprLength, static_cast<std::uint32_t>(key.size() + 1));
            std::memcpy(h + kHdrPool, key.data(), key.size());
            std::memcpy(h + kHdrPool + key.size() + 1, filter.data(), filter.size());
        };

        const std::uint32_t dirRoot = kHeaderBlock;
        header(0, dirRoot, kDirectoryKeyLength, kDirectoryOptions, false, "", "");
        CdxNode4 dir(dirRoot, kDirectoryKeyLength, kAttrRoot | kAttrLeaf);
        std::vector<std::pair<std::string, std::uint32_t>> entries;
        for (std::size_t i = 0; i < defs.size(); ++i) {
            const TagSpec& s = defs[i];
            const auto at = static_cast<std::uint32_t>(kHeaderBlock + kPage + i * tagBlock);
            const std::uint32_t root = at + kHeaderBlock;
            std::uint8_t options =
                static_cast<std::uint8_t>(s.options | kOptCompact | kOptCompound);
            if (!s.filterExpr.empty()) options |= kOptFilter;
            header(at, root, s.keyLength, options, s.descending, s.keyExpr, s.filterExpr);
            CdxNode4(root, s.keyLength, kAttrRoot | kAttrLeaf).encode(file.data() + root);
            std::string padded = names[i];
            padded.resize(static_cast<std::size_t>(kDirectoryKeyLength), ' ');
            entries.emplace_back(std::move(padded), at);
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& [name, at] : entries)
            dir.insert(dir.count(), bytes(name), at, 0);
        if (!dir.fits()) return e4tagInfo; // the directory stays one leaf
        dir.encode(file.data() + dirRoot);

        const long long size = fs.size(fd);
        if (size < 0) return e4write;
        if (size > 0 && fs.ftruncate(fd, 0) < 0) return e4write;
        if (const int rc = writeAt(0, file.data(), file.size()); rc < 0) return rc;
        return load();
    }
};

// --- Cdx4 -------------------------------------------------------------------------------------

Cdx4::Cdx4(File4System& fs, int fd, std::string fileName)
    : m(std::make_unique<Impl>(fs, fd, std::move(fileName))) {}

Cdx4::~Cdx4() = default;

int Cdx4::create(const std::vector<TagSpec>& tags) {
    return m->create(tags);
}

int Cdx4::open() {
    return m->load();
}

int Cdx4::tagCount() const {
    return static_cast<int>(m->tags.size());
}

const Cdx4::TagInfo& Cdx4::tag(int i) const {
    static const TagInfo kNoTag;
    if (i < 0 || i >= tagCount()) return kNoTag;
    return m->tags[static_cast<std::size_t>(i)];
}

int Cdx4::findTag(const std::string& upperName) const {
    const std::string wanted = bytes4::upper(upperName);
    for (int i = 0; i < tagCount(); ++i)
        if (bytes4::upper(m->tags[static_cast<std::size_t>(i)].name) == wanted) return i;
    return -1;
}

int Cdx4::refresh() {
    if (!m->ready) return e4parm;
    return m->refresh();
}

int Cdx4::insert(int tag, const std::string& key, std::uint32_t record) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    Tree& t = m->trees[static_cast<std::size_t>(tag)];
    if (static_cast<int>(key.size()) != t.keyLength) return e4parm;
    Path path;
    if (const int rc = m->descend(t, bytes(key), t.keyLength, record, true, path); rc < 0)
        return rc;
    const NodePtr leaf = path.back().node;
    const int slot = path.back().index;
    // The same (key, record) twice would make positions ambiguous; it is there already.
    if (slot < leaf->count() && leaf->record(slot) == record &&
        std::memcmp(leaf->key(slot), key.data(), key.size()) == 0)
        return 0;
    leaf->insert(slot, bytes(key), record, 0);
    m->touch(leaf);
    return m->abandon(m->fixNode(t, path, static_cast<int>(path.size()) - 1, slot));
}

int Cdx4::remove(int tag, const std::string& key, std::uint32_t record) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    Tree& t = m->trees[static_cast<std::size_t>(tag)];
    if (static_cast<int>(key.size()) != t.keyLength) return e4parm;
    Path path;
    if (const int rc = m->descend(t, bytes(key), t.keyLength, record, true, path); rc < 0)
        return rc;
    const NodePtr leaf = path.back().node;
    const int slot = path.back().index;
    if (slot >= leaf->count() || leaf->record(slot) != record ||
        std::memcmp(leaf->key(slot), key.data(), key.size()) != 0)
        return res4noRecord;
    leaf->erase(slot, slot + 1);
    m->touch(leaf);
    return m->abandon(m->fixNode(t, path, static_cast<int>(path.size()) - 1, slot));
}

int Cdx4::commit() {
    if (!m->ready) return e4parm;
    return m->commit();
}

int Cdx4::findKey(int tag, const std::string& key, std::uint32_t* record) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    const Tree& t = m->trees[static_cast<std::size_t>(tag)];
    if (static_cast<int>(key.size()) != t.keyLength) return e4parm;
    Place p;
    const int rc = m->seekPlace(t, bytes(key), t.keyLength, 0, false, p);
    if (rc == kMiss) return kNeedsDisk;
    if (rc != 0) return rc;
    if (std::memcmp(p.leaf->key(p.slot), key.data(), key.size()) != 0) return res4eof;
    if (record) *record = p.leaf->record(p.slot);
    return 0;
}

int Cdx4::seek(int tag, const std::string& key, int length, std::uint32_t record, Cursor& out) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    const Tree& t = m->trees[static_cast<std::size_t>(tag)];
    const int len = std::clamp(length, 0, std::min(t.keyLength, static_cast<int>(key.size())));
    const bool useRecord = record > 0 && len == t.keyLength;
    Place p;
    const int rc = m->seekPlace(t, bytes(key), len, record, useRecord, p);
    if (rc == kMiss) return kNeedsDisk;
    if (rc != 0) {
        out.tag = tag;
        out.valid = false;
        return rc;
    }
    m->fill(out, tag, p);
    return 0;
}

int Cdx4::first(int tag, Cursor& out) { return edge(tag, false, out); }

int Cdx4::last(int tag, Cursor& out) { return edge(tag, true, out); }

int Cdx4::edge(int tag, bool last, Cursor& out) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    Place p;
    const int rc = m->edge(m->trees[static_cast<std::size_t>(tag)], last, p);
    if (rc == kMiss) return kNeedsDisk;
    out.tag = tag;
    if (rc != 0) {
        out.valid = false;
        return rc;
    }
    m->fill(out, tag, p);
    return 0;
}

// Past the end (an invalid cursor), next() stays there and prev() goes to the last entry. At the
// first or last entry the cursor keeps its place and res4bof / res4eof is returned.
int Cdx4::next(Cursor& c) {
    const int rc = step(c, true);
    return rc == kMiss ? kNeedsDisk : rc;
}

int Cdx4::prev(Cursor& c) {
    const int rc = step(c, false);
    return rc == kMiss ? kNeedsDisk : rc;
}

int Cdx4::stepForward(Cursor& c) {
    if (!m->ready || c.tag < 0 || c.tag >= tagCount()) return e4parm;
    if (!c.valid) return res4eof;
    const Tree& t = m->trees[static_cast<std::size_t>(c.tag)];
    if (static_cast<int>(c.key.size()) != t.keyLength) return e4parm;
    Place p;
    if (!m->recall(t, c, p)) {
        const int rc = m->seekPlace(t, bytes(c.key), t.keyLength, c.record, true, p);
        if (rc != 0) return rc;
        const int cmp = CdxNode4::compare(p.leaf->key(p.slot), p.leaf->record(p.slot), bytes(c.key),
                                          c.record, t.keyLength, true);
        if (cmp < 0) return m->corrupt("seek landed before its target");
        if (cmp > 0) {
            m->fill(c, c.tag, p);
            return 0;
        }
    }
    if (const int rc = m->stepNext(t, p); rc != 0) return rc;
    if (CdxNode4::compare(p.leaf->key(p.slot), p.leaf->record(p.slot), bytes(c.key), c.record,
                          t.keyLength, true) <= 0)
        return m->corrupt("entries out of order");
    m->fill(c, c.tag, p);
    return 0;
}

int Cdx4::stepBackward(Cursor& c) {
    if (!m->ready || c.tag < 0 || c.tag >= tagCount()) return e4parm;
    if (!c.valid) {
        const int rc = last(c.tag, c);
        if (rc == kNeedsDisk) return kMiss;
        return rc == res4eof ? res4bof : rc;
    }
    const Tree& t = m->trees[static_cast<std::size_t>(c.tag)];
    if (static_cast<int>(c.key.size()) != t.keyLength) return e4parm;
    Place p;
    if (!m->recall(t, c, p)) {
        int rc = m->seekPlace(t, bytes(c.key), t.keyLength, c.record, true, p);
        if (rc == res4eof) rc = m->edge(t, true, p); // everything lies before the cursor
        if (rc == res4eof) return res4bof;
        if (rc < 0) return rc;
        const int cmp = CdxNode4::compare(p.leaf->key(p.slot), p.leaf->record(p.slot), bytes(c.key),
                                          c.record, t.keyLength, true);
        if (cmp < 0) {
            m->fill(c, c.tag, p);
            return 0;
        }
    }
    if (const int rc = m->stepPrev(t, p); rc != 0) return rc;
    if (CdxNode4::compare(p.leaf->key(p.slot), p.leaf->record(p.slot), bytes(c.key), c.record,
                          t.keyLength, true) >= 0)
        return m->corrupt("entries out of order");
    m->fill(c, c.tag, p);
    return 0;
}

int Cdx4::step(Cursor& c, bool forward) { return forward ? stepForward(c) : stepBackward(c); }

void Cdx4::setCacheOnly(bool on) { m->cacheOnly = on; }

void Cdx4::setBlockReads(bool on) {
    m->blockReads = on;
    m->blocks.clear();
}

void Cdx4::setHeaderView(const void* view) { m->headerView = static_cast<const std::uint8_t*>(view); }

int Cdx4::rebuild(int tag, const KeyRun& sorted) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    return m->abandon(m->rebuild(m->trees[static_cast<std::size_t>(tag)], sorted));
}

int Cdx4::rebuild(int tag, const std::vector<std::pair<std::string, std::uint32_t>>& sorted) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    const std::size_t length = static_cast<std::size_t>(m->trees[static_cast<std::size_t>(tag)].keyLength);
    std::vector<std::uint8_t> keys;
    std::vector<std::uint32_t> records;
    keys.reserve(sorted.size() * length);
    records.reserve(sorted.size());
    for (const auto& [key, record] : sorted) {
        if (key.size() != length) return e4parm;
        keys.insert(keys.end(), key.begin(), key.end());
        records.push_back(record);
    }
    return rebuild(tag, KeyRun{keys.data(), records.data(), records.size()});
}

int Cdx4::verify(int tag, std::string* problem,
                 const std::function<void(const std::string& key, std::uint32_t record)>& visit) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    m->problem.clear();
    const int rc = m->check(m->trees[static_cast<std::size_t>(tag)], visit);
    if (rc < 0 && problem) *problem = m->problem.empty() ? "read error" : m->problem;
    return rc;
}

int Cdx4::keyCount(int tag, long long* count) {
    if (!m->ready || tag < 0 || tag >= tagCount()) return e4parm;
    const Tree& t = m->trees[static_cast<std::size_t>(tag)];
    Place p;
    int rc = m->edge(t, false, p);
    if (rc == res4eof) {
        *count = 0;
        return 0;
    }
    if (rc < 0) return rc;
    std::unordered_set<std::uint32_t> seen;
    long long total = 0;
    for (NodePtr n = p.leaf;;) {
        if (!seen.insert(n->offset()).second) return m->corrupt("leaf chain loops");
        total += n->count();
        if (n->right() == kNone) break;
        NodePtr r;
        if ((rc = m->node(t, n->right(), r)) < 0) return rc;
        if (!r->leaf()) return m->corrupt("right sibling " + hex(r->offset()) + " is not a leaf");
        n = std::move(r);
    }
    *count = total;
    return 0;
}

int Cdx4::freePageCount(long long* count) {
    if (!m->ready) return e4parm;
    return m->countFree(count);
}

} // namespace orv
