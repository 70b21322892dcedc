#pragma once
// A file layer in front of another that notes the operating system's reason of each failing
// call worth telling a user (no permission, a read-only or full disk, an I/O error) in its
// context's `systemError`, so that the error raised next can say why. Every Code4 reaches its
// file layer through one of these; it forwards everything unchanged.

#include "File4System.h"

namespace orv {

struct Code4;

class File4Recorder : public File4System {
public:
    File4Recorder(Code4& code, File4System& inner) : m_code(code), m_inner(&inner) {}
    void setInner(File4System& inner) { m_inner = &inner; }
    File4System& inner() const { return *m_inner; }

    int open(const std::string& path, int flags, int mode) override {
        return note(m_inner->open(path, flags, mode));
    }
    int close(int fd) override { return note(m_inner->close(fd)); }
    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        return note(m_inner->pread(fd, buf, n, offset));
    }
    long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) override {
        return note(m_inner->pwrite(fd, buf, n, offset));
    }
    int fsync(int fd) override { return note(m_inner->fsync(fd)); }
    int ftruncate(int fd, std::int64_t length) override {
        return note(m_inner->ftruncate(fd, length));
    }
    long long size(int fd) override { return note(m_inner->size(fd)); }
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        return note(m_inner->lockRange(fd, start, length, kind));
    }
    int lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                         int waitMs) override {
        return note(m_inner->lockRangeWaiting(fd, start, length, kind, waitMs));
    }
    int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        return m_inner->rangeTaken(fd, start, length, kind);
    }
    int flockFile(int fd, Lock4Kind kind) override { return m_inner->flockFile(fd, kind); }
    const void* mapForReading(int fd, std::size_t length) override {
        return m_inner->mapForReading(fd, length);
    }
    void unmap(const void* at, std::size_t length) override { m_inner->unmap(at, length); }
    bool exists(const std::string& path) override { return m_inner->exists(path); }
    bool readOnlyAttribute(const std::string& path) override {
        return m_inner->readOnlyAttribute(path);
    }
    bool onNetworkFileSystem(const std::string& path) override {
        return m_inner->onNetworkFileSystem(path);
    }
    std::vector<std::string> listFolder(const std::string& folder) override {
        return m_inner->listFolder(folder);
    }
    int remove(const std::string& path) override { return note(m_inner->remove(path)); }
    int rename(const std::string& from, const std::string& to) override {
        return note(m_inner->rename(from, to));
    }
    int copyAccess(int from, int to) override { return note(m_inner->copyAccess(from, to)); }
    bool sameFile(int fd, const std::string& path) override { return m_inner->sameFile(fd, path); }

private:
    // Notes -errno results that a user can act on; a lock another process holds, a missing file
    // or an interrupted call are answers the engine handles itself.
    template <class T> T note(T result) {
        if (result < 0) noteError(static_cast<int>(-result));
        return result;
    }
    void noteError(int err);

    Code4& m_code;
    File4System* m_inner;
};

} // namespace orv
