// Opens arbitrary bytes as a compound index with several tags and works on its trees directly:
// every tag is verified and walked both ways, keys are sought, inserted and removed, and after
// each change the tree must still verify. The open or any step may fail with an engine error;
// none may read or write out of bounds or loop.
#include "storage/Cdx4.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

using namespace orv;

namespace {

std::string scratchFile() {
    static std::string path = [] {
        char pattern[] = "/dev/shm/orv-cdx-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp") + "/t.cdx";
    }();
    return path;
}

// Walks one direction; a walk longer than the file has entries means a loop.
void walk(Cdx4& cdx, int tag, bool forward, long limit) {
    Cdx4::Cursor c;
    long steps = 0;
    for (int rc = forward ? cdx.first(tag, c) : cdx.last(tag, c); rc == 0;
         rc = forward ? cdx.next(c) : cdx.prev(c))
        if (++steps > limit) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last byte steers the changes; the rest is the file.
    if (size < 1) return 0;
    const std::uint8_t steer = data[size - 1];
    const std::string path = scratchFile();
    File4System& fs = file4posix();
    int fd = fs.open(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    if (size > 1) fs.pwrite(fd, data, size - 1, 0);
    const long limit = static_cast<long>(size) * 2 + 16; // entries need bytes
    {
        Cdx4 cdx(fs, fd, path);
        if (cdx.open() == 0 && cdx.refresh() >= 0) {
            for (int tag = 0; tag < cdx.tagCount(); ++tag) {
                const int length = cdx.tag(tag).keyLength;
                std::string problem;
                const bool sound =
                    cdx.verify(tag, &problem, [](const std::string&, std::uint32_t) {}) == 0;
                walk(cdx, tag, true, limit);
                walk(cdx, tag, false, limit);
                Cdx4::Cursor c;
                (void)cdx.seek(
                    tag, std::string(static_cast<std::size_t>(length), static_cast<char>(steer)),
                    length, 0, c);
                if (!sound || length < 1 || length > 240) continue;
                // A tree that verifies must stay sound through changes.
                const std::string key(static_cast<std::size_t>(length),
                                      static_cast<char>('A' + steer % 26));
                if (cdx.insert(tag, key, 1u + steer) < 0) continue;
                if (cdx.commit() < 0) continue;
                if (cdx.verify(tag, &problem, [](const std::string&, std::uint32_t) {}) != 0)
                    std::abort();
                if (cdx.remove(tag, key, 1u + steer) != 0) std::abort();
                if (cdx.commit() < 0) continue;
                if (cdx.verify(tag, &problem, [](const std::string&, std::uint32_t) {}) != 0)
                    std::abort();
                walk(cdx, tag, true, limit + 1);
            }
        }
    }
    fs.close(fd);
    return 0;
}
