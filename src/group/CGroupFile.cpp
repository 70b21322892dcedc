#include "group/CGroupFile.h"

#include "storage/File4Replace.h"
#include "tables/CByteReader.h"
#include "tables/CByteWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// Smallest stored item: two empty strings and the occupancy (and the default length).
constexpr std::size_t kMinItemBytes = 1 + 1 + 4;

std::string errnoText(int err) {
    return std::strerror(err);
}

std::string damaged(const std::string& where, std::size_t at) {
    return "the group file is damaged or cut off: " + where + " does not fit (byte " +
           std::to_string(at) + ")";
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open '" + path + "': " + errnoText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = "cannot read '" + path + "': " + errnoText(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "'" + path + "' is not a regular file";
        ::close(fd);
        return false;
    }
    if (st.st_size > CGroupFile::kMaxFileSize) {
        error = "'" + path + "' is too large to be a group file";
        ::close(fd);
        return false;
    }
    std::string buffer;
    try {
        buffer.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read '" + path + "'";
        ::close(fd);
        return false;
    }
    std::size_t got = 0;
    while (got < buffer.size()) {
        ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = "cannot read '" + path + "': " + errnoText(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break; // shrank while we read: take what is there
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    buffer.resize(got);
    bytes = std::move(buffer);
    return true;
}

// Where a symbolic link points, so that replacing the file keeps the link.
std::string resolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

bool writeReplacing(File4System& fs, const std::string& path, const std::string& bytes,
                    std::string& error) {
    if (const int rc = file4replace(fs, resolveTarget(path), bytes); rc != 0) {
        error = "cannot write '" + path + "': " + errnoText(-rc);
        return false;
    }
    return true;
}

} // namespace

void CGroupFile::cutDriveLetter(std::string& name) {
    if (name.size() < 2 || name[1] != ':') return;
    name.erase(0, name.find_last_of("\\:") + 1);
}

void CGroupFile::cutToBareName(std::string& name) {
    const auto cut = name.find_last_of("\\:/");
    if (cut != std::string::npos) name.erase(0, cut + 1);
}

bool CGroupFile::parse(std::string_view bytes, CGroupFileData& data, std::string& error) {
    CByteReader in(bytes);
    CGroupFileData result;

    std::uint32_t header = 0;
    if (!in.readU32(header)) {
        error = damaged("the header", in.position());
        return false;
    }
    result.newFormat = (header & kNewFormatMark) != 0;
    const std::uint32_t count = header & ~kNewFormatMark;

    if (!in.readString(result.description)) {
        error = damaged("the description", in.position());
        return false;
    }

    // Names longer than the schedule's item field are cut to fit it (their reservations are
    // stored cut too), unless that makes two items of one name.
    std::vector<std::pair<std::size_t, std::string>> cut;
    // The count is only a claim: reserve no more than the remaining bytes can hold.
    try {
        result.items.reserve(std::min<std::size_t>(count, in.remaining() / kMinItemBytes));
        for (std::uint32_t i = 0; i < count; ++i) {
            CRoom item;
            item.setHasDefaultLength(result.newFormat);
            if (!item.read(in)) {
                error = damaged("item " + std::to_string(i + 1) + " of " + std::to_string(count),
                                in.position());
                return false;
            }
            if (item.name().size() > CRoom::kMaxName) {
                cut.emplace_back(result.items.size(), item.name());
                item.setName(item.name().substr(0, CRoom::kMaxName));
            }
            result.items.push_back(std::move(item));
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the group file";
        return false;
    }
    for (const auto& [index, whole] : cut) {
        const std::string& shortened = result.items[index].name();
        for (std::size_t other = 0; other < result.items.size(); ++other)
            if (other != index && result.items[other].name() == shortened) {
                error = "the name of item \"" + whole + "\" is longer than " +
                        std::to_string(CRoom::kMaxName) +
                        " characters, and shortened it is the name of another item";
                return false;
            }
        result.cutNames.push_back("The name of item \"" + whole + "\" is longer than " +
                                  std::to_string(CRoom::kMaxName) +
                                  " characters; it is shortened to \"" + shortened + "\".");
    }

    if (!in.readString(result.kindWord)) {
        error = damaged("the kind word", in.position());
        return false;
    }
    if (!in.readI32(result.reserved[0]) || !in.readI32(result.reserved[1])) {
        error = damaged("the reserved values", in.position());
        return false;
    }
    if (!in.readI32(result.window.left) || !in.readI32(result.window.top) ||
        !in.readI32(result.window.right) || !in.readI32(result.window.bottom)) {
        error = damaged("the window rectangle", in.position());
        return false;
    }
    // Older files end here; a name that does not fit counts as no name.
    if (!in.readString(result.peopleFileName)) result.peopleFileName.clear();
    cutToBareName(result.peopleFileName);

    data = std::move(result);
    return true;
}

bool CGroupFile::serialize(const CGroupFileData& data, std::string& bytes, std::string& error) {
    if (data.items.size() > kMaxItems) {
        error = "too many items for a group file (" + std::to_string(data.items.size()) + ")";
        return false;
    }
    try {
        CByteWriter out;
        out.writeU32(static_cast<std::uint32_t>(data.items.size()) | kNewFormatMark);
        bool ok = out.writeString(data.description);
        for (const CRoom& item : data.items)
            ok = ok && item.write(out);
        ok = ok && out.writeString(data.kindWord);
        out.writeI32(data.reserved[0]);
        out.writeI32(data.reserved[1]);
        out.writeI32(data.window.left);
        out.writeI32(data.window.top);
        out.writeI32(data.window.right);
        out.writeI32(data.window.bottom);
        ok = ok && out.writeString(data.peopleFileName);
        if (!ok) {
            error = "a text is too long to be stored in a group file";
            return false;
        }
        bytes = out.takeBytes();
    } catch (const std::bad_alloc&) {
        error = "not enough memory to write the group file";
        return false;
    }
    return true;
}

bool CGroupFile::read(const std::string& path, CGroupFileData& data, std::string& error) {
    std::string bytes;
    if (!readWholeFile(path, bytes, error)) return false;
    std::string why;
    if (!parse(bytes, data, why)) {
        error = "'" + path + "': " + why;
        return false;
    }
    return true;
}

bool CGroupFile::write(const std::string& path, CGroupFileData& data, std::string& error,
                       File4System& fs) {
    std::string bytes;
    std::string why;
    if (!serialize(data, bytes, why)) {
        error = "cannot write '" + path + "': " + why;
        return false;
    }
    if (!writeReplacing(fs, path, bytes, error)) return false;
    cutDriveLetter(data.peopleFileName);
    return true;
}

} // namespace orv
