// Reads arbitrary bytes as a group file. Besides crashes and sanitizer reports it checks that
// whatever reads successfully writes back into an image that reads the same and writes the same.
#include "group/CGroupFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool sameItems(const orv::CGroupFileData& a, const orv::CGroupFileData& b) {
    if (a.items.size() != b.items.size()) return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        const orv::CRoom& x = a.items[i];
        const orv::CRoom& y = b.items[i];
        if (x.name() != y.name() || x.longDescription() != y.longDescription() ||
            x.occupancy() != y.occupancy() || x.defaultLength() != y.defaultLength())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orv::CGroupFileData group;
    std::string error;
    if (!orv::CGroupFile::parse(bytes, group, error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    std::string image;
    if (!orv::CGroupFile::serialize(group, image, error)) std::abort();
    orv::CGroupFileData again;
    if (!orv::CGroupFile::parse(image, again, error)) std::abort();
    if (!again.newFormat || again.description != group.description ||
        again.kindWord != group.kindWord || again.reserved != group.reserved ||
        !(again.window == group.window) || again.peopleFileName != group.peopleFileName ||
        !sameItems(group, again))
        std::abort();
    std::string image2;
    if (!orv::CGroupFile::serialize(again, image2, error) || image2 != image) std::abort();
    return 0;
}
