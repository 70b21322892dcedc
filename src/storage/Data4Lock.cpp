// Record, append, file and index locks; unlocking and flushing.
#include "Data4Internal.h"
#include "Lock4.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

namespace orv {

using namespace detail;

namespace detail {

std::int64_t recordLockPosition(const Data4* d, long record) {
    if (d->oldLockLayout)
        return kLockOldBase + d->headerLength + static_cast<std::int64_t>(record - 1) * d->recordLength;
    return kLockRecordBase - record;
}

std::int64_t appendLockPosition(const Data4* d) { return d->oldLockLayout ? kLockOldBase : kLockAppend; }

namespace {

// Waiting for a lock another process holds. The context's retries and retry delay are the
// limits: `lockRetries` tries a delay apart (none or one: no wait; negative: no end). Within them
// the lock is waited for in pieces of at most one delay, each a request that the file system
// grants as soon as the range is let go: a user who tried again only after a whole delay kept
// losing the lock to those who came later.
class LockWait {
public:
    explicit LockWait(const Code4* code)
        : m_delayMs(10 * std::max(0, code->lockRetryDelay)), m_endless(code->lockRetries < 0),
          m_deadline(Clock::now()) {
        if (code->lockRetries > 1)
            m_deadline += (code->lockRetries - 1) * std::chrono::milliseconds(m_delayMs);
    }

    // After a refusal: 0 once the range is had, -EAGAIN when the limits passed first, or -errno.
    int wait(File4System& files, int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) {
        for (;;) {
            int pieceMs = std::max(1, m_delayMs);
            if (!m_endless) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    m_deadline - Clock::now());
                if (left.count() <= 0) return -EAGAIN;
                pieceMs = std::min<int>(pieceMs, static_cast<int>(left.count()));
            }
            const int rc = files.lockRangeWaiting(fd, start, length, kind, pieceMs);
            if (rc != -EAGAIN) return rc;
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    int m_delayMs;
    bool m_endless;
    Clock::time_point m_deadline;
};

} // namespace

// A file we may not write is opened for reading, where POSIX allows only shared locks. They
// still meet every writer's exclusive lock, which is all a reader needs.
static Lock4Kind lockKind(const Data4* d) {
    return d->readOnlyAttribute ? Lock4Kind::shared : Lock4Kind::exclusive;
}

int lockRange(Data4* d, int fd, std::int64_t start, std::int64_t length, bool forReadingIndex) {
    int rc = fs(d).lockRange(fd, start, length, lockKind(d));
    if (rc == -EAGAIN) rc = LockWait(d->code).wait(fs(d), fd, start, length, lockKind(d));
    if (rc == -EAGAIN) return res4locked;
    if (rc != 0) return raise(d, e4lock, kLocLock, "file4lock");
    if (!forReadingIndex) lockGranted(d->code);
    return 0;
}

int unlockRange(Data4* d, int fd, std::int64_t start, std::int64_t length) {
    if (fs(d).lockRange(fd, start, length, Lock4Kind::unlock) != 0)
        return raise(d, e4unlock, kLocUnlock, "file4unlock");
    return 0;
}

int lockRecord(Data4* d, long record) {
    if (d->fileLocked || d->lockedRecords.count(record)) return 0;
    int rc = lockRange(d, d->fd, recordLockPosition(d, record), 1);
    if (rc == 0) d->lockedRecords.insert(record);
    return rc;
}

int releaseLocks(Data4* d) {
    int rc = 0;
    auto note = [&rc](int r) {
        if (rc == 0 && r != 0) rc = r;
    };
    // Record locks inside a held file lock were never taken separately.
    if (!d->fileLocked)
        for (long r : d->lockedRecords) note(unlockRange(d, d->fd, recordLockPosition(d, r), 1));
    d->lockedRecords.clear();
    if (d->appendLocked && !d->fileLocked) note(unlockRange(d, d->fd, appendLockPosition(d), 1));
    d->appendLocked = false;
    if (d->fileLocked) note(unlockRange(d, d->fd, kLockFileStart, kLockFileLength));
    d->fileLocked = false;
    if (d->indexLocked) note(unlockRange(d, d->indexFd, kLockIndex, 1));
    d->indexLocked = false;
    return rc;
}

int releaseContextLocks(Code4* code) {
    int rc = 0;
    for (auto& t : code->tables) {
        Data4* d = t.get();
        if (d->lockedRecords.empty() && !d->appendLocked && !d->fileLocked && !d->indexLocked) continue;
        int r = d4unlock(d);
        if (rc == 0 && r < 0) rc = r;
    }
    return rc;
}

int indexLock(Data4* d, bool* took, bool forReadingIndex) {
    *took = false;
    if (d->indexLocked || d->indexFd < 0) return 0;
    int rc = lockRange(d, d->indexFd, kLockIndex, 1, forReadingIndex);
    if (rc != 0) return rc;
    d->indexLocked = true;
    *took = true;
    return 0;
}

int indexUnlock(Data4* d) {
    if (!d->indexLocked) return 0;
    d->indexLocked = false;
    return unlockRange(d, d->indexFd, kLockIndex, 1);
}

int indexReadFallback(Data4* d, int cachedResult, int (*op)(void*), void* ctx) {
    if (cachedResult != Cdx4::kNeedsDisk) return cachedResult < 0 ? raise(d, cachedResult, kLocIndex, "i4read") : cachedResult;
    bool took = false;
    int rc = indexLock(d, &took, true);
    if (rc != 0) return rc;
    rc = d->cdx->refresh();
    if (rc >= 0) {
        d->indexChecked = true;
        rc = op(ctx);
    }
    int ur = took ? indexUnlock(d) : 0;
    if (rc < 0) return raise(d, rc, kLocIndex, "i4read");
    return rc != 0 ? rc : ur;
}

} // namespace detail

int d4lock(Data4* data, long record) {
    if (!data) return error4(nullptr, e4parmNull, kLocLock, "d4lock");
    if (pending(data)) return res4pending;
    return lockRecord(data, record);
}

int d4lockAppend(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocLockAppend, "d4lockAppend");
    if (pending(data)) return res4pending;
    if (data->fileLocked || data->appendLocked) return 0;
    int rc = releaseContextLocks(data->code);
    if (rc < 0) return rc;
    rc = lockRange(data, data->fd, appendLockPosition(data), 1);
    if (rc != 0) return rc;
    data->appendLocked = true;
    long count = 0;
    data->appendLocked = false; // read the count from the file, then trust it while locked
    rc = readRecordCount(data, &count);
    data->appendLocked = true;
    return rc < 0 ? rc : 0;
}

int d4lockAll(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocLockAll, "d4lockAll");
    if (pending(data)) return res4pending;
    if (data->fileLocked) return 0;
    int rc = releaseContextLocks(data->code);
    if (rc < 0) return rc;
    rc = lockRange(data, data->fd, kLockFileStart, kLockFileLength);
    if (rc != 0) return rc;
    if (data->indexFd >= 0) {
        // All or nothing: the file lock stays while the index lock is waited for.
        int r = fs(data).lockRange(data->indexFd, kLockIndex, 1, lockKind(data));
        if (r == -EAGAIN)
            r = LockWait(data->code).wait(fs(data), data->indexFd, kLockIndex, 1, lockKind(data));
        if (r != 0) {
            unlockRange(data, data->fd, kLockFileStart, kLockFileLength);
            return r == -EAGAIN ? res4locked : raise(data, e4lock, kLocLockAll, "d4lockAll");
        }
        data->indexLocked = true;
        lockGranted(data->code);
    }
    data->fileLocked = true;
    long count = 0;
    data->fileLocked = false;
    rc = readRecordCount(data, &count);
    data->fileLocked = true;
    if (rc < 0) return rc;
    if (data->cdx) {
        rc = data->cdx->refresh();
        if (rc < 0) return raise(data, rc, kLocLockAll, "d4lockAll");
        data->indexChecked = true;
    }
    return 0;
}

int d4unlock(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocUnlock, "d4unlock");
    if (pending(data)) return res4pending;
    int rc = recordWrite(data);
    if (rc == res4unique) rc = 0; // the refused rewrite stays in the buffer; unlocking goes on
    if ((data->appendLocked || data->fileLocked) && data->headerChanged) {
        int hr = writeHeaderStart(data);
        if (rc == 0) rc = hr;
    }
    int lr = releaseLocks(data);
    return rc != 0 ? rc : lr;
}

int d4flush(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocFlush, "d4flush");
    if (pending(data)) return res4pending;
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    if ((data->appendLocked || data->fileLocked) && data->headerChanged) {
        rc = writeHeaderStart(data);
        if (rc != 0) return rc;
    }
    if (data->readOnlyAttribute || data->readOnlyOpen) return 0;
    if (data->code->syncHeld > 0) {
        data->syncOwed = true;
        return 0;
    }
    return syncFiles(data);
}

int detail::syncFiles(Data4* data) {
    data->syncOwed = false;
    if (fs(data).fsync(data->fd) != 0) return raise(data, e4optFlush, kLocFlush, "d4flush");
    if (data->indexFd >= 0 && fs(data).fsync(data->indexFd) != 0)
        return raise(data, e4optFlush, kLocFlush, "d4flush");
    return 0;
}

void code4syncHold(Code4* code) { ++code->syncHeld; }

int code4syncRelease(Code4* code) {
    if (code->syncHeld > 0 && --code->syncHeld > 0) return 0;
    int rc = 0;
    for (const std::unique_ptr<Data4>& table : code->tables)
        if (table->syncOwed) {
            const int r = syncFiles(table.get());
            if (rc == 0) rc = r;
        }
    return rc;
}

} // namespace orv
