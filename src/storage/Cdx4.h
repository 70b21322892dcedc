#pragma once
// One open compact compound index file (.cdx): the tag directory and the B+-trees of its tags.
//
// Cdx4 knows pages, keys and record numbers only. Evaluating key and filter expressions, unique
// handling, locking and error reports belong to the table layer (Data4), which calls this class
// with the index lock held whenever it changes the file or reads pages from disk.
//
// Keys are raw byte strings of exactly the tag's key length. Entries are ordered by key bytes
// (unsigned), then by record number. A descending tag is stored in ascending order like any
// other; walking it backwards is the caller's business.
//
// Every operation returns 0 (res4success) or a positive result named below, or a negative
// engine error code: e4index (-310) for pages that make no sense (pointer outside the file or
// not on a page boundary, key count that does not fit, a cycle, a bad level), e4read (-70) /
// e4write (-120) for failed file transfers. Nothing is reported or printed here.

#include "File4System.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {

class Cdx4 {
public:
    static constexpr int kPageSize = 512;

    // Option bits of a tag header (byte 14).
    static constexpr std::uint8_t kOptUnique = 0x01;
    static constexpr std::uint8_t kOptNullable = 0x02;
    static constexpr std::uint8_t kOptCandidate = 0x04;
    static constexpr std::uint8_t kOptFilter = 0x08;
    static constexpr std::uint8_t kOptCompact = 0x20;
    static constexpr std::uint8_t kOptCompound = 0x40;
    static constexpr std::uint8_t kOptDirectory = 0x80;

    struct TagSpec {
        std::string name;       // upper case, at most 10 characters
        std::string keyExpr;    // stored as source text
        std::string filterExpr; // empty: no filter
        std::uint8_t options = 0x60;
        bool descending = false;
        int keyLength = 0; // 1..240
    };

    struct TagInfo {
        std::string name; // as in the directory, trailing blanks and zeros stripped
        std::uint32_t headerOffset = 0;
        int keyLength = 0;
        std::uint8_t options = 0;
        bool descending = false;
        std::string keyExpr;
        std::string filterExpr;
        bool unique() const { return (options & kOptUnique) != 0; }
        bool candidate() const { return (options & kOptCandidate) != 0; }
    };

    // A position in one tag: the entry (key, record) and where it was last seen. A cursor stays
    // meaningful across changes of the file: when its page is gone or changed, the next move
    // finds its place again from (key, record).
    struct Cursor {
        int tag = -1;
        std::string key;
        std::uint32_t record = 0;
        bool valid = false;
        // private to Cdx4
        std::uint32_t leaf = 0;
        int slot = -1;
        std::uint64_t generation = 0;
    };

    // Takes the descriptor as it is; does not close it.
    Cdx4(File4System& fs, int fd, std::string fileName);
    ~Cdx4();
    Cdx4(const Cdx4&) = delete;
    Cdx4& operator=(const Cdx4&) = delete;

    // Writes a new index file with the given tags, all empty, into the (empty) open file.
    int create(const std::vector<TagSpec>& tags);
    // Reads the directory and the tag headers. Tags are numbered in header-offset order.
    int open();

    int tagCount() const;
    const TagInfo& tag(int i) const;
    int findTag(const std::string& upperName) const; // index or -1

    // Reads the header's change counter and free-list head; when either differs from what this
    // object saw last, every cached page is dropped. Returns 1 when the cache was dropped, 0 when
    // it was still valid, or a negative error.
    int refresh();

    // Cache-only mode, for readers that do not hold the index lock: while on, an operation that
    // would have to read a page from disk leaves everything as it was (the cursor included) and
    // returns kNeedsDisk; the caller then takes the index lock, refreshes and repeats the call
    // with the mode off. refresh() reads the header in either mode.
    static constexpr int kNeedsDisk = 1001;
    void setCacheOnly(bool on);
    // Block reads, for network file systems where each read call is a round trip: a page that
    // has to be read from disk comes with the rest of its 64 KiB block, and the block is kept
    // like the decoded pages (dropped with them when another process's change is noticed, and
    // given our own writes). A page of a kept block is had without a read, also in cache-only
    // mode: blocks are only read where pages may be (under the index lock), and the change
    // counter keeps them as true as the decoded pages.
    static constexpr std::size_t kBlockBytes = 65536;
    void setBlockReads(bool on);
    // A mapped view of the file's first page (not owned; null: none). refresh() then reads the
    // change counter and the free-list head from it instead of from the file.
    void setHeaderView(const void* view);

    // Entry changes. The caller has refreshed under the index lock first.
    int insert(int tag, const std::string& key, std::uint32_t record);
    // Removes exactly (key, record); res4noRecord (5) when there is no such entry.
    int remove(int tag, const std::string& key, std::uint32_t record);
    // Ends a run of changes: writes the changed pages and raises the change counter once.
    // Does nothing when nothing changed.
    int commit();

    // The first entry with this exact key: 0 and its record number in *record, or res4eof.
    int findKey(int tag, const std::string& key, std::uint32_t* record);

    // Positioning in stored (ascending) order. Each returns 0 on an entry, res4eof past the last,
    // res4bof before the first.
    // seek: the first entry whose first `length` key bytes are >= the first `length` bytes of
    // `key` (prefix comparison; length 0 finds the first entry). With a record number > 0 the
    // comparison continues with the record number for full-length keys.
    int seek(int tag, const std::string& key, int length, std::uint32_t record, Cursor& out);
    int first(int tag, Cursor& out);
    int last(int tag, Cursor& out);
    int next(Cursor& c);
    int prev(Cursor& c);

    // Entries for rebuild(): `count` keys of the tag's key length laid one after another, and
    // the record number of each. Not owned.
    struct KeyRun {
        const std::uint8_t* keys = nullptr;
        const std::uint32_t* records = nullptr;
        std::size_t count = 0;
    };
    // Empties the tag (its pages go to the free list) and loads the entries, which the caller
    // has sorted in tag order, building full leaves bottom-up. Used by reindex and pack.
    // e4parm, with nothing changed, for entries out of order or of another length.
    int rebuild(int tag, const KeyRun& sorted);
    int rebuild(int tag, const std::vector<std::pair<std::string, std::uint32_t>>& sorted);

    // Walks the whole tag checking the page structure: page bounds, attributes, levels, sibling
    // links, key counts and free space, entries in order, each interior entry equal to the last
    // entry below it, no page reached twice. Calls `visit` with each entry in order. On the first
    // problem returns e4index with a one-line description in *problem.
    int verify(int tag, std::string* problem,
               const std::function<void(const std::string& key, std::uint32_t record)>& visit);

    // Counts for tools and tests.
    int keyCount(int tag, long long* count);
    int freePageCount(long long* count);

private:
    int edge(int tag, bool last, Cursor& out);
    int step(Cursor& c, bool forward);
    int stepForward(Cursor& c);
    int stepBackward(Cursor& c);

    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace orv
