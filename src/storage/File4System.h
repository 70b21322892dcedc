#pragma once
// The engine's only door to the operating system. Every open, read, write, flush, truncate and
// lock of the engine goes through one File4System; File4Posix.cpp is the single implementation
// that calls the system. Tests hand a Code4 a wrapping system that injects failures.
//
// All calls return 0 (or a byte count / size) on success and -errno on failure. None throws.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

enum class Lock4Kind { shared, exclusive, unlock };

class File4System {
public:
    virtual ~File4System() = default;

    // flags and mode as for open(2); returns the descriptor or -errno.
    virtual int open(const std::string& path, int flags, int mode) = 0;
    virtual int close(int fd) = 0;
    // Full transfers: a short read returns the bytes read, a short write is -EIO.
    virtual long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) = 0;
    virtual long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) = 0;
    virtual int fsync(int fd) = 0;
    virtual int ftruncate(int fd, std::int64_t length) = 0;
    virtual long long size(int fd) = 0;

    // Open-file-description byte-range lock, never waiting: -EAGAIN when another open file holds
    // a conflicting lock.
    virtual int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) = 0;
    // lockRange that waits up to `waitMs` milliseconds for conflicting locks to go (a single try
    // when 0): 0, -EAGAIN when the range is still taken then, or -errno. The POSIX layer waits in
    // the kernel and is woken when the range is let go; this default tries again after short
    // pauses through lockRange.
    virtual int lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                                 int waitMs);
    // Whether another open file holds a lock that conflicts with `kind` on the range: 1 yes, 0 no.
    virtual int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) = 0;
    // flock(2) without waiting; -EWOULDBLOCK when refused.
    virtual int flockFile(int fd, Lock4Kind kind) = 0;

    // Maps the first `length` bytes of the file for reading, so that other processes' writes to
    // them are seen without a read call. Null when that cannot be had. Only for local files:
    // network file systems do not keep such a view coherent between machines.
    virtual const void* mapForReading(int fd, std::size_t length) = 0;
    virtual void unmap(const void* at, std::size_t length) = 0;

    // Path queries.
    virtual bool exists(const std::string& path) = 0;
    virtual bool readOnlyAttribute(const std::string& path) = 0; // no write permission for us
    // NFS, SMB/CIFS, FUSE. The POSIX layer also says yes for every path while the environment
    // variable ORV_FORCE_NETWORK is set (not "0"): a test-only way to the engine's network path.
    virtual bool onNetworkFileSystem(const std::string& path) = 0;
    virtual std::vector<std::string> listFolder(const std::string& folder) = 0;
    virtual int remove(const std::string& path) = 0;
    // rename(2): replaces `to` in one step within a file system.
    virtual int rename(const std::string& from, const std::string& to) = 0;
    // Gives `to` the permission bits and, where we may, the group of `from`: a file written to
    // replace another keeps who may use it.
    virtual int copyAccess(int from, int to) = 0;
    // Whether `path` still names the file open as `fd` (it may have been replaced since).
    virtual bool sameFile(int fd, const std::string& path) = 0;
};

// The process-wide POSIX implementation.
File4System& file4posix();

} // namespace orv
