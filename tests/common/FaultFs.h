#pragma once
// A file layer that passes everything to the real one unless told to fail: lets tests see the
// engine's answers to a failing flush, a short write or a refused lock.

#include "storage/Code4.h"
#include "storage/File4System.h"

#include <cerrno>
#include <string>

namespace orv::test {

class FaultFs : public File4System {
public:
    bool failFsync = false;
    bool shortWrites = false;
    bool refuseLocks = false;     // as if another process held every range
    bool brokenLocks = false;     // the system fails the lock call for another reason
    bool failUnlocks = false;
    int fsyncCalls = 0;
    // Opens of paths ending in this text fail (EACCES) once `opensBeforeFailing` more passed.
    std::string failOpensOf;
    int opensBeforeFailing = 0;

    int open(const std::string& path, int flags, int mode) override {
        if (!failOpensOf.empty() && path.size() >= failOpensOf.size() &&
            path.compare(path.size() - failOpensOf.size(), failOpensOf.size(), failOpensOf) == 0) {
            if (opensBeforeFailing == 0) return -EACCES;
            --opensBeforeFailing;
        }
        return m_real.open(path, flags, mode);
    }
    int close(int fd) override { return m_real.close(fd); }
    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        return m_real.pread(fd, buf, n, offset);
    }
    long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) override {
        if (shortWrites && n > 1) {
            m_real.pwrite(fd, buf, n / 2, offset);
            return -EIO;
        }
        return m_real.pwrite(fd, buf, n, offset);
    }
    int fsync(int fd) override {
        ++fsyncCalls;
        return failFsync ? -EIO : m_real.fsync(fd);
    }
    int ftruncate(int fd, std::int64_t length) override { return m_real.ftruncate(fd, length); }
    long long size(int fd) override { return m_real.size(fd); }
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        const bool shareByte = start >= 0x100000000LL;
        if (kind == Lock4Kind::unlock) return failUnlocks && !shareByte ? -EIO : m_real.lockRange(fd, start, length, kind);
        if (!shareByte && refuseLocks) return -EAGAIN;
        if (!shareByte && brokenLocks) return -ENOLCK;
        return m_real.lockRange(fd, start, length, kind);
    }
    int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        return m_real.rangeTaken(fd, start, length, kind);
    }
    int flockFile(int fd, Lock4Kind kind) override { return m_real.flockFile(fd, kind); }
    const void* mapForReading(int fd, std::size_t length) override { return m_real.mapForReading(fd, length); }
    void unmap(const void* at, std::size_t length) override { m_real.unmap(at, length); }
    bool exists(const std::string& path) override { return m_real.exists(path); }
    bool readOnlyAttribute(const std::string& path) override { return m_real.readOnlyAttribute(path); }
    bool onNetworkFileSystem(const std::string& path) override { return m_real.onNetworkFileSystem(path); }
    std::vector<std::string> listFolder(const std::string& folder) override { return m_real.listFolder(folder); }
    int remove(const std::string& path) override { return m_real.remove(path); }

private:
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
