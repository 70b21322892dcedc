// Opens and walks a data file (and its production index) made of fuzzer bytes: the open must
// fail cleanly or every walk must end, without reading out of bounds.
//
// Input: two bytes giving the length of the data file part, the data file, then the index.

#include "storage/Data4.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace orv;

namespace {

std::string scratchFolder() {
    static std::string folder = [] {
        char pattern[] = "/dev/shm/orv-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) {
            char fallback[] = "/tmp/orv-fuzz-XXXXXX";
            made = mkdtemp(fallback);
            return std::string(made ? made : "/tmp");
        }
        return std::string(made);
    }();
    return folder;
}

void writeFile(const std::string& path, const std::uint8_t* p, std::size_t n) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (n) std::fwrite(p, 1, n, f);
    std::fclose(f);
}

void walk(Data4* d, long limit) {
    long steps = 0;
    for (int rc = d4top(d); rc == 0 && steps < limit; rc = d4skip(d, 1), ++steps)
        for (int i = 1; i <= d4numFields(d); ++i) (void)f4str(d4fieldJ(d, i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::size_t dataLength = (static_cast<std::size_t>(data[0]) << 8 | data[1]) % (size - 1);
    const std::uint8_t* dbf = data + 2;
    const std::uint8_t* cdx = dbf + dataLength;
    std::size_t cdxLength = size - 2 - dataLength;
    const std::string base = scratchFolder() + "/t";
    writeFile(base + ".dbf", dbf, dataLength);
    writeFile(base + ".cdx", cdx, cdxLength);

    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Data4* d = d4open(&code, base);
    if (!d) return 0;
    const long limit = static_cast<long>(size) + 16;
    walk(d, limit);
    for (Tag4* t = d4tagNext(d, nullptr); t && code.errorCode >= 0; t = d4tagNext(d, t)) {
        d4tagSelect(d, t);
        walk(d, limit);
        code.errorCode = 0;
        (void)d4seek(d, "2026");
        code.errorCode = 0;
        if (d4bottom(d) == 0) (void)d4skip(d, -1);
        code.errorCode = 0;
    }
    code.errorCode = 0;
    std::vector<long long> counts;
    std::string problem;
    (void)d4check(d, &counts, &problem);
    code.errorCode = 0;
    code4initUndo(&code);
    return 0;
}
