#pragma once
// A file layer that passes everything to the real one unless told to fail: lets tests see the
// engine's answers to a failing flush, a short write or a refused lock.

#include "storage/Code4.h"
#include "storage/File4System.h"

#include <cerrno>
#include <functional>
#include <map>
#include <string>

namespace orv::test {

class FaultFs : public File4System {
public:
    bool failFsync = false;
    bool shortWrites = false;
    bool refuseLocks = false; // as if another process held every range
    bool brokenLocks = false; // the system fails the lock call for another reason
    bool failUnlocks = false;
    int fsyncCalls = 0;
    // Opens of paths ending in this text fail (EACCES) once `opensBeforeFailing` more passed.
    std::string failOpensOf;
    int opensBeforeFailing = 0;
    // A write or fsync failure with this errno (ENOSPC, EIO) once the given number more passed;
    // 0: none. A failed write writes nothing.
    int writeError = 0;
    int writesBeforeFailing = 0;
    int fsyncError = 0;
    int fsyncsBeforeFailing = 0;
    int writeCalls = 0;
    // Called before an open (path, flags) and right after a check of another open's mark: lets
    // a test put another user's action exactly there.
    std::function<void(const std::string&, int)> beforeOpen;
    std::function<void()> afterRangeTaken;
    // A process killed after this many more changes of files (writes, flushes, truncations,
    // renames, removals): every later one fails, as if it never happened. -1: never.
    int crashAfter = -1;
    // Renames refused, as some network shares refuse replacing a file that is open.
    bool failRenames = false;
    // Called after an open that succeeded: lets a test act between a table's open and its marks.
    std::function<void(const std::string&)> afterOpen;
    // Writes and flushes of files whose path holds this text fail (EIO).
    std::string failWritesOfPath;
    // Reads fail where this says so: (descriptor, bytes, offset) gives an errno, or 0 to read.
    // While it is set nothing is read through a mapping, so that every read comes here.
    std::function<int(int, std::size_t, std::int64_t)> failRead;

    int open(const std::string& path, int flags, int mode) override {
        if (beforeOpen) beforeOpen(path, flags);
        if (!failOpensOf.empty() && path.size() >= failOpensOf.size() &&
            path.compare(path.size() - failOpensOf.size(), failOpensOf.size(), failOpensOf) == 0) {
            if (opensBeforeFailing == 0) return -EACCES;
            --opensBeforeFailing;
        }
        const int fd = m_real.open(path, flags, mode);
        if (fd >= 0) m_paths[fd] = path;
        if (fd >= 0 && afterOpen) afterOpen(path);
        return fd;
    }
    int close(int fd) override {
        m_paths.erase(fd);
        return m_real.close(fd);
    }
    // The path a descriptor was opened with ("" when not opened here).
    std::string pathOf(int fd) const {
        const auto found = m_paths.find(fd);
        return found == m_paths.end() ? std::string() : found->second;
    }
    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        if (failRead)
            if (const int err = failRead(fd, n, offset); err != 0) return -err;
        return m_real.pread(fd, buf, n, offset);
    }
    long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) override {
        ++writeCalls;
        if (crashed()) return -EIO;
        if (failWritesOf(fd)) return -EIO;
        if (writeError != 0 && writesBeforeFailing-- <= 0) return -writeError;
        if (shortWrites && n > 1) {
            m_real.pwrite(fd, buf, n / 2, offset);
            return -EIO;
        }
        return m_real.pwrite(fd, buf, n, offset);
    }
    int fsync(int fd) override {
        ++fsyncCalls;
        if (crashed()) return -EIO;
        if (failWritesOf(fd)) return -EIO;
        if (fsyncError != 0 && fsyncsBeforeFailing-- <= 0) return -fsyncError;
        return failFsync ? -EIO : m_real.fsync(fd);
    }
    int ftruncate(int fd, std::int64_t length) override {
        return crashed() ? -EIO : m_real.ftruncate(fd, length);
    }
    long long size(int fd) override { return m_real.size(fd); }
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        const bool shareByte = start >= 0x100000000LL;
        if (kind == Lock4Kind::unlock)
            return failUnlocks && !shareByte ? -EIO : m_real.lockRange(fd, start, length, kind);
        if (!shareByte && refuseLocks) return -EAGAIN;
        if (!shareByte && brokenLocks) return -ENOLCK;
        return m_real.lockRange(fd, start, length, kind);
    }
    int lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                         int waitMs) override {
        // Refusals and failures come from lockRange, tried again after pauses.
        if (refuseLocks || brokenLocks || failUnlocks)
            return File4System::lockRangeWaiting(fd, start, length, kind, waitMs);
        return m_real.lockRangeWaiting(fd, start, length, kind, waitMs);
    }
    int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        const int taken = m_real.rangeTaken(fd, start, length, kind);
        if (afterRangeTaken) afterRangeTaken();
        return taken;
    }
    int flockFile(int fd, Lock4Kind kind) override { return m_real.flockFile(fd, kind); }
    const void* mapForReading(int fd, std::size_t length) override {
        return failRead ? nullptr : m_real.mapForReading(fd, length);
    }
    void unmap(const void* at, std::size_t length) override { m_real.unmap(at, length); }
    bool exists(const std::string& path) override { return m_real.exists(path); }
    bool readOnlyAttribute(const std::string& path) override {
        return m_real.readOnlyAttribute(path);
    }
    bool onNetworkFileSystem(const std::string& path) override {
        return m_real.onNetworkFileSystem(path);
    }
    std::vector<std::string> listFolder(const std::string& folder) override {
        return m_real.listFolder(folder);
    }
    int remove(const std::string& path) override { return crashed() ? -EIO : m_real.remove(path); }
    int rename(const std::string& from, const std::string& to) override {
        if (crashed()) return -EIO;
        return failRenames ? -EBUSY : m_real.rename(from, to);
    }
    int copyAccess(int from, int to) override {
        return crashed() ? -EIO : m_real.copyAccess(from, to);
    }
    bool sameFile(int fd, const std::string& path) override { return m_real.sameFile(fd, path); }

private:
    bool failWritesOf(int fd) const {
        if (failWritesOfPath.empty()) return false;
        const std::string path = pathOf(fd);
        return path.find(failWritesOfPath) != std::string::npos;
    }
    std::map<int, std::string> m_paths;
    // Counts one change of a file: true once the process counts as killed.
    bool crashed() {
        if (m_killed || crashAfter < 0) return m_killed;
        if (crashAfter == 0) return m_killed = true;
        --crashAfter;
        return false;
    }
    bool m_killed = false;
    File4System& m_real = file4posix();
};

// A quiet engine context on a file layer that fails when told to.
struct FaultCode {
    FaultFs fault;
    Code4 code;
    FaultCode() {
        code4init(&code, &fault);
        code.silentErrors = 1;
    }
};

} // namespace orv::test
