#pragma once
// Helpers shared by the Data4*.cpp files; not part of the engine's interface.

#include "Data4.h"

#include <functional>
#include <type_traits>
#include <string>

namespace orv::detail {

// Location numbers written into error reports, one per engine operation.
enum Location : long {
    kLocCreate = 91001,
    kLocOpen = 91002,
    kLocClose = 91003,
    kLocField = 91004,
    kLocGo = 91010,
    kLocTop = 91011,
    kLocSkip = 91012,
    kLocBlank = 91013,
    kLocDelete = 91014,
    kLocAppendStart = 91015,
    kLocAppend = 91016,
    kLocAssign = 91017,
    kLocRecordWrite = 91018,
    kLocLock = 91020,
    kLocUnlock = 91021,
    kLocFlush = 91022,
    kLocLockAll = 91023,
    kLocLockAppend = 91024,
    kLocTag = 91030,
    kLocSeek = 91031,
    kLocReindex = 91032,
    kLocPack = 91033,
    kLocUniqueSet = 91034,
    kLocIndex = 91035,
    kLocRecCount = 91036,
    kLocCheck = 91037,
};

inline bool pending(const Data4* d) { return d->code->errorCode < 0; }
inline File4System& fs(const Data4* d) { return *d->code->fs; }

// Raises an error naming the table's file.
int raise(Data4* d, int code, long location, const char* operation);

// One exclusive byte-range lock with the context's retries. 0, res4locked, or e4lock raised.
// A lock granted drops what the context's tables read before (lockGranted) unless it is
// `forReadingIndex`: the index lock a walk takes only to read index pages, which guards nothing
// but the index, whose header is read again under it.
int lockRange(Data4* d, int fd, std::int64_t start, std::int64_t length,
              bool forReadingIndex = false);
int unlockRange(Data4* d, int fd, std::int64_t start, std::int64_t length);
std::int64_t recordLockPosition(const Data4* d, long record);
std::int64_t appendLockPosition(const Data4* d);
// Locks one record unless the file lock or that record's lock is held already.
int lockRecord(Data4* d, long record);
// Releases every lock of every table of the context (writing changed records first).
int releaseContextLocks(Code4* code);
// Releases the table's locks without writing anything.
int releaseLocks(Data4* d);
// Flushes the data and index files to disk; a flush owed under the context's sync hold too.
int syncFiles(Data4* d);
// Takes the index lock unless held; *took says whether this call took it.
int indexLock(Data4* d, bool* took, bool forReadingIndex = false);
int indexUnlock(Data4* d);

// Reads the record count from the header unless the cached one is valid.
int readRecordCount(Data4* d, long* count);
// A count that includes `record` when the table has it: the one last read when it already
// does (counts only grow while a table is open shared), else one read again.
int countAtLeast(Data4* d, long record, long* count);
// Writes version, date, record count and header length (the first 10 bytes).
int writeHeaderStart(Data4* d);
// Sets the header date to today; marks the header changed when the date moved.
void touchDate(Data4* d);

// Writes a changed record buffer of a positioned record (locking it and maintaining the tags).
// 0 when nothing needed writing; res4unique when a unique tag refused the new key (the buffer
// stays changed); res4locked; or an error.
int recordWrite(Data4* d);
// How a record is read: on its own (d4go), or by a walk going forward or backward, which on
// the network path reads through the table's blocks (RecordBlocks4.h).
enum class ReadFor { single, walkForward, walkBackward };
// Reads a record into the buffer: 0 or e4read raised.
int recordRead(Data4* d, long record, ReadFor how = ReadFor::single);
// A new walk over the table (d4top, d4bottom, d4seek): on the network path what earlier walks
// read is dropped and the index header is read again at the first tag move.
void walkStart(Data4* d);
// The bytes of a local data file in its mapping (mapped again, larger, when they lie past the
// mapped part), valid until the next read of the table. Null when they cannot be had that way:
// the caller reads the file.
const char* mappedBytes(Data4* d, std::int64_t at, std::size_t n);
// A lock of ours was granted: every table of the context forgets the blocks it read before and
// reads the index header again at its next tag move.
void lockGranted(Code4* code);
void setEof(Data4* d, long count);
void blankBuffer(Data4* d);

// The key of a record for a tag, and whether the record passes the tag's filter.
void tagKey(const Tag4* t, const char* record, std::string& key);
bool tagPasses(const Tag4* t, const char* record);

// Tag changes for one record write (old record -> new record), checked for unique keys first.
// `oldRecord` is null for an append. Applies nothing when it refuses. 0, res4unique, or error.
int indexUpdate(Data4* d, long record, const char* oldRecord, const char* newRecord,
                bool* indexTouched);

// The second half of indexRead: under the index lock when the cached attempt missed.
int indexReadFallback(Data4* d, int cachedResult, int (*op)(void*), void* ctx);

// Runs a tag read: without the index lock first, from the page cache only; when pages must be
// read from disk (where another process may be halfway through a change), under the index lock.
// On the network path the header is read once per walk (and again after a lock of ours is
// granted) instead of before every move: each read is a round trip to the server.
template <class Op> int indexRead(Data4* d, Op&& op) {
    if (!d->cdx) return res4noTag;
    int rc = 0;
    if (!d->network || !d->indexChecked) {
        rc = d->cdx->refresh();
        if (rc < 0) return raise(d, rc, kLocIndex, "i4read");
        d->indexChecked = true;
    }
    const bool mayRead = d->indexLocked || d->exclusive;
    if (!mayRead) d->cdx->setCacheOnly(true);
    rc = op();
    if (!mayRead) d->cdx->setCacheOnly(false);
    auto call = [](void* ctx) { return (*static_cast<std::remove_reference_t<Op>*>(ctx))(); };
    return indexReadFallback(d, rc, call, &op);
}

// The path with links and dots resolved; as given when it does not resolve.
std::string canonical(const std::string& path);

// Marks an open of the file for the share mode (0 shared, 1 exclusive, 2 deny writes) under
// the guard lock: 0 or e4permiss. The drop releases every mark.
int takeShareLocks(Code4* code, int fd, int mode, bool writer, bool network);
void dropShareLocks(Code4* code, int fd);

// Builds the tag handles from the open production index. 0 or error code (not raised).
int buildTags(Data4* d);

} // namespace orv::detail
