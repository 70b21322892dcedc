#include "storage/File4Replace.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>

namespace orv {

namespace {

// 64 bits from the system's random source, as 16 hexadecimal digits.
std::string unguessable() {
    std::random_device source;
    std::uint64_t v = (std::uint64_t{source()} << 32) ^ source();
    std::string text(16, '0');
    for (char& c : text) {
        c = "0123456789abcdef"[v & 15];
        v >>= 4;
    }
    return text;
}

} // namespace

int file4replace(File4System& fs, const std::string& path, const std::string& bytes, int newMode) {
    const auto slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);

    std::string temp;
    int fd = -EEXIST;
    for (int attempt = 0; attempt < 100 && fd == -EEXIST; ++attempt) {
        temp = folder + "." + base + ".tmp-" + unguessable();
        fd = fs.open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, newMode);
    }
    if (fd < 0) return fd;
    auto fail = [&](int rc) {
        fs.close(fd);
        fs.remove(temp);
        return rc;
    };
    if (!bytes.empty()) {
        const long long written = fs.pwrite(fd, bytes.data(), bytes.size(), 0);
        if (written < 0) return fail(static_cast<int>(written));
        if (static_cast<std::size_t>(written) != bytes.size()) return fail(-EIO);
    }
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(-errno);
    if (const int rc = fs.fsync(fd); rc != 0) return fail(rc);
    if (const int rc = fs.close(fd); rc != 0) {
        fs.remove(temp);
        return rc;
    }
    if (const int rc = fs.rename(temp, path); rc != 0) {
        fs.remove(temp);
        return rc;
    }
    const int dir = fs.open(folder.empty() ? std::string(".") : folder, O_RDONLY | O_DIRECTORY, 0);
    if (dir >= 0) {
        fs.fsync(dir);
        fs.close(dir);
    }
    return 0;
}

} // namespace orv
