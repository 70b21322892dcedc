// The one file of the engine that talks to the operating system.
#include "File4System.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace orv {
namespace {

// statfs magic numbers of the file systems we treat as network drives.
constexpr long kNfsMagic = 0x6969;
constexpr long kSmbMagic = 0x517B;
constexpr long kCifsMagic = 0xFF534D42;
constexpr long kSmb2Magic = 0xFE534D42;
constexpr long kFuseMagic = 0x65735546;

// Test-only: ORV_FORCE_NETWORK=1 makes every path count as on a network file system, so that
// the engine's network path can be tested on a local disk.
bool forcedNetwork() {
    const char* v = std::getenv("ORV_FORCE_NETWORK");
    return v && *v && std::strcmp(v, "0") != 0;
}

using Clock = std::chrono::steady_clock;

struct flock rangeOf(std::int64_t start, std::int64_t length, Lock4Kind kind) {
    struct flock fl {}; // l_pid must stay 0 for OFD locks
    fl.l_type = kind == Lock4Kind::shared ? F_RDLCK : kind == Lock4Kind::exclusive ? F_WRLCK : F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = length;
    return fl;
}

// A blocking lock request is ended at its time limit by a signal to the waiting thread, whose
// handler does nothing: the request then returns EINTR. A real-time signal nobody else handles;
// where it is handled or blocked already, waiting falls back to trying again after pauses.
const int kWakeSignal = SIGRTMIN + 5;

void ignoreWake(int) {}

bool wakeSignalReady() {
    static const bool installed = [] {
        struct sigaction old {};
        if (::sigaction(kWakeSignal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return false;
        struct sigaction sa {};
        sa.sa_handler = ignoreWake;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0; // no SA_RESTART: the blocked request must return
        return ::sigaction(kWakeSignal, &sa, nullptr) == 0;
    }();
    if (!installed) return false;
    sigset_t mask;
    return ::pthread_sigmask(SIG_BLOCK, nullptr, &mask) == 0 && !sigismember(&mask, kWakeSignal);
}

// A timer that signals this thread after `ms` and then every few milliseconds until it goes, so
// that a signal that came just before the request began to wait is followed by another.
class WakeTimer {
public:
    explicit WakeTimer(int ms) {
        struct sigevent ev {};
        ev.sigev_notify = SIGEV_THREAD_ID;
        ev.sigev_signo = kWakeSignal;
        ev._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
        if (::timer_create(CLOCK_MONOTONIC, &ev, &m_timer) != 0) return;
        struct itimerspec when {};
        when.it_value.tv_sec = ms / 1000;
        when.it_value.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
        when.it_interval.tv_nsec = 5 * 1000000L;
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
        m_ok = ::timer_settime(m_timer, 0, &when, nullptr) == 0;
        if (!m_ok) ::timer_delete(m_timer);
    }
    ~WakeTimer() {
        if (m_ok) ::timer_delete(m_timer);
    }
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;
    bool ok() const { return m_ok; }

private:
    timer_t m_timer{};
    bool m_ok = false;
};

class File4Posix final : public File4System {
public:
    int open(const std::string& path, int flags, int mode) override {
        int fd;
        do {
            fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? -errno : fd;
    }

    int close(int fd) override { return ::close(fd) < 0 ? -errno : 0; }

    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        std::size_t done = 0;
        auto* p = static_cast<char*>(buf);
        while (done < n) {
            ssize_t r = ::pread(fd, p + done, n - done, offset + static_cast<off_t>(done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return -errno;
            }
            if (r == 0) break;
            done += static_cast<std::size_t>(r);
        }
        return static_cast<long long>(done);
    }

    long long pwrite(int fd, const void* buf, std::size_t n, std::int64_t offset) override {
        std::size_t done = 0;
        const auto* p = static_cast<const char*>(buf);
        while (done < n) {
            ssize_t r = ::pwrite(fd, p + done, n - done, offset + static_cast<off_t>(done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return -errno;
            }
            if (r == 0) return -EIO;
            done += static_cast<std::size_t>(r);
        }
        return static_cast<long long>(done);
    }

    int fsync(int fd) override { return ::fsync(fd) < 0 ? -errno : 0; }

    int ftruncate(int fd, std::int64_t length) override {
        return ::ftruncate(fd, length) < 0 ? -errno : 0;
    }

    long long size(int fd) override {
        struct stat st {};
        if (::fstat(fd, &st) < 0) return -errno;
        return st.st_size;
    }

    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        struct flock fl = rangeOf(start, length, kind);
        int r;
        do {
            r = ::fcntl(fd, F_OFD_SETLK, &fl);
        } while (r < 0 && errno == EINTR);
        if (r == 0) return 0;
        return (errno == EACCES || errno == EAGAIN) ? -EAGAIN : -errno;
    }

    int lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                         int waitMs) override {
        const int first = lockRange(fd, start, length, kind);
        if (first != -EAGAIN || waitMs <= 0 || kind == Lock4Kind::unlock) return first;
        if (!wakeSignalReady()) return File4System::lockRangeWaiting(fd, start, length, kind, waitMs);
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(waitMs);
        WakeTimer timer(waitMs);
        if (!timer.ok()) return File4System::lockRangeWaiting(fd, start, length, kind, waitMs);
        struct flock fl = rangeOf(start, length, kind);
        for (;;) {
            if (::fcntl(fd, F_OFD_SETLKW, &fl) == 0) return 0;
            if (errno != EINTR) return (errno == EACCES || errno == EAGAIN || errno == EDEADLK) ? -EAGAIN : -errno;
            if (Clock::now() >= until) return -EAGAIN;
        }
    }

    int rangeTaken(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        struct flock fl {};
        fl.l_type = kind == Lock4Kind::shared ? F_RDLCK : F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = start;
        fl.l_len = length;
        if (::fcntl(fd, F_OFD_GETLK, &fl) < 0) return -errno;
        return fl.l_type == F_UNLCK ? 0 : 1;
    }

    int flockFile(int fd, Lock4Kind kind) override {
        int op = kind == Lock4Kind::shared ? LOCK_SH : kind == Lock4Kind::exclusive ? LOCK_EX : LOCK_UN;
        int r;
        do {
            r = ::flock(fd, op | LOCK_NB);
        } while (r < 0 && errno == EINTR);
        if (r == 0) return 0;
        return errno == EWOULDBLOCK ? -EWOULDBLOCK : -errno;
    }

    const void* mapForReading(int fd, std::size_t length) override {
        void* at = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
        return at == MAP_FAILED ? nullptr : at;
    }

    void unmap(const void* at, std::size_t length) override {
        if (at) ::munmap(const_cast<void*>(at), length);
    }

    bool exists(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    bool readOnlyAttribute(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return false;
        // No write bit at all is the read-only attribute, also for a user who could override it.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
        return ::access(path.c_str(), W_OK) != 0 && errno == EACCES;
    }

    bool onNetworkFileSystem(const std::string& path) override {
        if (forcedNetwork()) return true;
        struct statfs sf {};
        if (::statfs(path.c_str(), &sf) != 0) return false;
        const long t = static_cast<long>(sf.f_type);
        return t == kNfsMagic || t == kSmbMagic || t == kCifsMagic || t == kSmb2Magic || t == kFuseMagic;
    }

    std::vector<std::string> listFolder(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!d) return names;
        while (dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
        ::closedir(d);
        return names;
    }

    int remove(const std::string& path) override { return ::unlink(path.c_str()) < 0 ? -errno : 0; }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) < 0 ? -errno : 0;
    }

    int copyAccess(int from, int to) override {
        struct stat st {};
        if (::fstat(from, &st) < 0) return -errno;
        // Not a member of the file's group: the new file keeps ours.
        if (::fchown(to, static_cast<uid_t>(-1), st.st_gid) < 0 && errno != EPERM) return -errno;
        return ::fchmod(to, st.st_mode & 07777) < 0 ? -errno : 0;
    }

    bool sameFile(int fd, const std::string& path) override {
        struct stat open {
        }, named{};
        if (::fstat(fd, &open) < 0 || ::stat(path.c_str(), &named) < 0) return false;
        return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }
};

} // namespace

int File4System::lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                                  int waitMs) {
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(std::max(0, waitMs));
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const int rc = lockRange(fd, start, length, kind);
        if (rc != -EAGAIN) return rc;
        const Clock::time_point now = Clock::now();
        if (now >= until) return rc;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, until - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(16));
    }
}

File4System& file4posix() {
    static File4Posix instance;
    return instance;
}

} // namespace orv
