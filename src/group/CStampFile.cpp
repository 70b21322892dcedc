#include "group/CStampFile.h"

#include "tables/CClock.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orv {

namespace {

void putI32(CStampFile::Stamp& stamp, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        stamp[offset + i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
}

} // namespace

CStampFile::~CStampFile() {
    close();
}

CStampFile::Stamp CStampFile::initialStamp() {
    Stamp stamp{};
    putI32(stamp, 0, kMark);
    return stamp;
}

CStampFile::Stamp CStampFile::withTime(const Stamp& base, const std::tm& t) {
    Stamp stamp = base;
    const std::int32_t fields[9] = {t.tm_sec,  t.tm_min,  t.tm_hour, t.tm_mday, t.tm_mon,
                                    t.tm_year, t.tm_wday, t.tm_yday, t.tm_isdst};
    for (std::size_t i = 0; i < 9; ++i)
        putI32(stamp, kTimeOffset + 4 * i, fields[i]);
    return stamp;
}

int CStampFile::openExisting(const std::string& path) const {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    // A user who may only read the group still sees the others' changes; marking fails quietly.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        do {
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
    }
    return fd;
}

CStampFile::Stamp CStampFile::readStamp() const {
    Stamp stamp{};
    if (m_fd < 0) return stamp;
    std::size_t got = 0;
    while (got < kSize) {
        ssize_t n = ::pread(m_fd, stamp.data() + got, kSize - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Stamp{};
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return stamp;
}

bool CStampFile::open(const std::string& path) {
    close();
    m_fd = openExisting(path);
    if (m_fd < 0) return false;
    m_path = path;
    m_lastKnown = readStamp();
    return true;
}

bool CStampFile::create(const std::string& path) {
    close();
    do {
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) return false;
    m_path = path;
    return true;
}

bool CStampFile::openOrCreate(const std::string& path) {
    if (open(path)) return true;
    if (!create(path)) return false;
    markUpdate();
    return true;
}

void CStampFile::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void CStampFile::markUpdate() {
    if (m_fd < 0) return;
    m_lastKnown = withTime(m_lastKnown, CClock::current().localNow());
    std::size_t done = 0;
    while (done < kSize) {
        ssize_t n =
            ::pwrite(m_fd, m_lastKnown.data() + done, kSize - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return; // ignored: the others just miss one redraw
        done += static_cast<std::size_t>(n);
    }
    ::fsync(m_fd);
}

bool CStampFile::changedByOthers(bool networkRefresh, bool reopenFile) {
    if (!networkRefresh || m_fd < 0) return false;
    if (reopenFile) {
        ::close(m_fd);
        m_fd = openExisting(m_path); // on failure the read below gives zeros
    }
    m_buffer = readStamp();
    if (m_buffer == m_lastKnown) return false;
    m_lastKnown = m_buffer;
    return true;
}

} // namespace orv
