#pragma once
// A file layer that passes everything to the real one and counts the calls of each kind: what
// the engine asks of the file system for one action, as each call would be a round trip to the
// server of a network share. With `network` set it also says that every path is on a network
// file system, so the engine takes its network path on a local disk.

#include "storage/Code4.h"
#include "storage/File4System.h"

#include <string>

namespace orv::test {

class CountingFs : public File4System {
public:
    struct Counts {
        long opens = 0, closes = 0, reads = 0, writes = 0, syncs = 0, truncates = 0, sizes = 0;
        long locks = 0, lockTests = 0, flocks = 0, maps = 0, paths = 0;
        long long bytesRead = 0;
        // Every call that goes to the server of a share.
        long total() const {
            return opens + closes + reads + writes + syncs + truncates + sizes + locks + lockTests +
                   flocks + paths;
        }
    };

    bool network = false;
    Counts counts;
    void reset() { counts = {}; }

    int open(const std::string& path, int flags, int mode) override {
        ++counts.opens;
        return m_real.open(path, flags, mode);
    }
    int close(int fd) override {
        ++counts.closes;
        return m_real.close(fd);
    }
    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        ++counts.reads;
        const long long got = m_real.pread(fd, buf, n, offset);
        if (got > 0) counts.bytesRead += got;
        return got;
    }
    long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) override {
        ++counts.writes;
        return m_real.pwrite(fd, buf, n, offset);
    }
    int fsync(int fd) override {
        ++counts.syncs;
        return m_real.fsync(fd);
    }
    int ftruncate(int fd, std::int64_t length) override {
        ++counts.truncates;
        return m_real.ftruncate(fd, length);
    }
    long long size(int fd) override {
        ++counts.sizes;
        return m_real.size(fd);
    }
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        ++counts.locks;
        return m_real.lockRange(fd, start, length, kind);
    }
    int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        ++counts.lockTests;
        return m_real.rangeTaken(fd, start, length, kind);
    }
    int flockFile(int fd, Lock4Kind kind) override {
        ++counts.flocks;
        return m_real.flockFile(fd, kind);
    }
    const void* mapForReading(int fd, std::size_t length) override {
        ++counts.maps;
        return m_real.mapForReading(fd, length);
    }
    void unmap(const void* at, std::size_t length) override { m_real.unmap(at, length); }
    bool exists(const std::string& path) override {
        ++counts.paths;
        return m_real.exists(path);
    }
    bool readOnlyAttribute(const std::string& path) override {
        ++counts.paths;
        return m_real.readOnlyAttribute(path);
    }
    bool onNetworkFileSystem(const std::string& path) override {
        ++counts.paths;
        return network || m_real.onNetworkFileSystem(path);
    }
    std::vector<std::string> listFolder(const std::string& folder) override {
        ++counts.paths;
        return m_real.listFolder(folder);
    }
    int remove(const std::string& path) override {
        ++counts.paths;
        return m_real.remove(path);
    }
    int rename(const std::string& from, const std::string& to) override {
        ++counts.paths;
        return m_real.rename(from, to);
    }
    int copyAccess(int from, int to) override {
        ++counts.paths;
        return m_real.copyAccess(from, to);
    }
    bool sameFile(int fd, const std::string& path) override {
        ++counts.paths;
        return m_real.sameFile(fd, path);
    }

private:
    File4System& m_real = file4posix();
};

} // namespace orv::test
