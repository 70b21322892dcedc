#pragma once
// Helpers for the index tests: a scratch folder, fixture copies, an open index, the foreign
// listings, raw page access, and a full walk of a tag.

#include "storage/Cdx4.h"
#include "storage/File4System.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orv::cdxtest {

namespace fs = std::filesystem;
using Entry = std::pair<std::string, std::uint32_t>; // key, record
using Model = std::set<Entry>;

inline std::string fixture(const std::string& name) {
    return std::string(ORV_FIXTURE_DIR) + "/foreign/" + name;
}

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "cdx4test.XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) m_path = made;
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return (fs::path(m_path) / name).string(); }
    std::string copy(const std::string& fixtureName) const {
        const std::string to = file(fixtureName);
        fs::copy_file(fixture(fixtureName), to, fs::copy_options::overwrite_existing);
        fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write);
        return to;
    }

private:
    std::string m_path;
};

// An index file opened through the engine's file layer.
class OpenIndex {
public:
    explicit OpenIndex(const std::string& path, bool writable = true)
        : m_fs(file4posix()), m_fd(m_fs.open(path, writable ? O_RDWR | O_CREAT : O_RDONLY, 0644)),
          m_cdx(std::make_unique<Cdx4>(m_fs, m_fd, path)) {}
    ~OpenIndex() {
        m_cdx.reset();
        if (m_fd >= 0) m_fs.close(m_fd);
    }
    OpenIndex(const OpenIndex&) = delete;
    OpenIndex& operator=(const OpenIndex&) = delete;
    bool ok() const { return m_fd >= 0; }
    Cdx4& operator*() { return *m_cdx; }
    Cdx4* operator->() { return m_cdx.get(); }

private:
    File4System& m_fs;
    int m_fd;
    std::unique_ptr<Cdx4> m_cdx;
};

struct Listing {
    std::string tag;
    std::string keyExpr;
    std::string filterExpr;
    bool unique = false;
    bool descending = false;
    long long keys = -1;
    std::vector<Entry> entries; // in listed order
};

inline std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

inline Listing readListing(const std::string& file) {
    Listing l;
    std::ifstream in(fixture(file), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (line[0] == '#') { // "# name value"
            const std::size_t gap = line.find(' ', 2);
            const std::string name = line.substr(2, gap - 2);
            const std::string value = gap == std::string::npos ? "" : line.substr(gap + 1);
            if (name == "tag") l.tag = value.substr(0, value.find(' '));
            if (name == "key") l.keyExpr = value;
            if (name == "for") l.filterExpr = value;
            if (name == "unique") l.unique = value == "yes";
            if (name == "descending") l.descending = value == "yes";
            if (name == "keys") l.keys = std::stoll(value);
            continue;
        }
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        l.entries.emplace_back(unescape(line.substr(open + 1, close - open - 1)),
                               static_cast<std::uint32_t>(std::stoul(line.substr(0, open))));
    }
    return l;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, std::uint64_t offset,
                       const std::vector<std::uint8_t>& data) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::vector<std::uint8_t> le32bytes(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// Every entry of a tag in stored order, through first()/next(); the code that ended the walk
// goes to *end (res4eof on success). Stops after `limit` entries so a broken file cannot hang.
inline std::vector<Entry> walk(Cdx4& cdx, int tag, int* end, std::size_t limit = 5'000'000) {
    std::vector<Entry> out;
    Cdx4::Cursor c;
    int rc = cdx.first(tag, c);
    while (rc == 0 && out.size() < limit) {
        out.emplace_back(c.key, c.record);
        rc = cdx.next(c);
    }
    *end = rc;
    return out;
}

// The same backwards, through last()/prev(): listed order of a descending tag.
inline std::vector<Entry> walkBack(Cdx4& cdx, int tag, int* end, std::size_t limit = 5'000'000) {
    std::vector<Entry> out;
    Cdx4::Cursor c;
    int rc = cdx.last(tag, c);
    while (rc == 0 && out.size() < limit) {
        out.emplace_back(c.key, c.record);
        rc = cdx.prev(c);
    }
    *end = rc;
    return out;
}

// The free list as another program would follow it: every page in the file, bytes 4-511 zero,
// no page twice. Returns the number of pages or -1 with a note in *why.
inline long long checkFreeChain(const std::string& path, std::string* why) {
    const std::vector<std::uint8_t> b = readFile(path);
    std::set<std::uint32_t> seen;
    std::uint32_t off = le32(b, 4);
    while (off != 0 && off != 0xFFFFFFFF) {
        if (off % 512 != 0 || off < 1024 || off + 512 > b.size()) {
            *why = "free page outside the file: " + std::to_string(off);
            return -1;
        }
        if (!seen.insert(off).second) {
            *why = "free list loops at " + std::to_string(off);
            return -1;
        }
        for (std::size_t i = off + 4; i < off + 512; ++i) {
            if (b[i] != 0) {
                *why = "free page " + std::to_string(off) + " is not zero";
                return -1;
            }
        }
        off = le32(b, off);
    }
    return static_cast<long long>(seen.size());
}

// The shape of a tag's tree read straight from the file: levels, pages, and how many leaves
// use each entry width.
struct TreeShape {
    int height = 0;
    long long pages = 0;
    std::map<int, int> leafWidths;
};

inline TreeShape shapeOf(const std::string& path, std::uint32_t tagHeader) {
    const std::vector<std::uint8_t> b = readFile(path);
    TreeShape s;
    std::vector<std::uint32_t> level{le32(b, tagHeader)};
    while (!level.empty() && s.height < 40) {
        ++s.height;
        std::vector<std::uint32_t> below;
        const int L = b[tagHeader + 12] | (b[tagHeader + 13] << 8);
        for (std::uint32_t off : level) {
            ++s.pages;
            if (b[off] & 2) {
                ++s.leafWidths[b[off + 23]];
                continue;
            }
            const int n = b[off + 2] | (b[off + 3] << 8);
            for (int i = 0; i < n; ++i) {
                const std::size_t at = off + 12 + static_cast<std::size_t>(i) * (L + 8) + L + 4;
                below.push_back((std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
                                (std::uint32_t{b[at + 2]} << 8) | b[at + 3]);
            }
        }
        level = std::move(below);
    }
    return s;
}

} // namespace orv::cdxtest
