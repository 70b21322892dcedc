// Opens arbitrary bytes as a stamp file. The stamp taken must be the file's first 60 bytes
// (zeros where it is shorter), the same file must not count as a change, another content must
// count exactly when its stamp differs, and a stamp written must read back as written.
#include "group/CStampFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace orv;

namespace {

std::string scratchFile() {
    static std::string path = [] {
        char pattern[] = "/dev/shm/orv-stamp-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp") + "/Update.bin";
    }();
    return path;
}

void writeFile(const std::string& path, const std::uint8_t* p, std::size_t n) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (n) std::fwrite(p, 1, n, f);
    std::fclose(f);
}

CStampFile::Stamp stampOf(const std::uint8_t* p, std::size_t n) {
    CStampFile::Stamp s{};
    std::memcpy(s.data(), p, n < s.size() ? n : s.size());
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFile();
    // The first half is the file as opened, the second what another user writes afterwards.
    const std::size_t half = size / 2;
    writeFile(path, data, half);
    CStampFile stamp;
    if (!stamp.open(path)) std::abort();
    if (stamp.lastKnownStamp() != stampOf(data, half)) std::abort();
    if (stamp.changedByOthers(true, false)) std::abort();
    if (stamp.changedByOthers(false, false)) std::abort();

    writeFile(path, data + half, size - half);
    const bool differs = stampOf(data + half, size - half) != stampOf(data, half);
    if (stamp.changedByOthers(true, (size & 1) != 0) != differs) std::abort();
    if (stamp.lastKnownStamp() != stampOf(data + half, size - half)) std::abort();

    stamp.markUpdate();
    const CStampFile::Stamp written = stamp.lastKnownStamp();
    CStampFile reader;
    if (!reader.open(path) || reader.lastKnownStamp() != written) std::abort();
    return 0;
}
