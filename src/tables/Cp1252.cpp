#include "tables/Cp1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace orv {
namespace {

// Unicode code points of 0x80-0x9F; 0 where Windows-1252 has no character.
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toStored(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp && cp != 0) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string cp1252ToUtf8(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    for (unsigned char c : stored) {
        if (c >= 0x80 && c < 0xA0) {
            std::uint32_t cp = kHigh[c - 0x80];
            appendUtf8(out, cp ? cp : c); // the five holes pass through as C1 controls
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    return utf8ToCp1252(utf8, nullptr);
}

std::string utf8ToCp1252(std::string_view utf8, std::vector<std::string>* unstorable) {
    auto refuse = [unstorable](const char* format, std::uint32_t value) {
        if (!unstorable) return;
        char name[16];
        std::snprintf(name, sizeof name, format, static_cast<unsigned>(value));
        if (std::find(unstorable->begin(), unstorable->end(), name) == unstorable->end())
            unstorable->emplace_back(name);
    };
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            refuse("0x%02X", c);
            out += '?';
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= utf8.size()) { // cut-off sequence
            refuse("0x%02X", c);
            out += '?';
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            refuse("0x%02X", c);
            out += '?';
            ++i;
            continue;
        }
        const char stored = toStored(cp);
        if (stored == '?' && cp != '?') refuse("U+%04X", cp);
        out += stored;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string unstorableMessage(const std::string& what, const std::vector<std::string>& characters) {
    std::string list;
    for (const std::string& c : characters)
        list += (list.empty() ? "" : ", ") + c;
    return what + " holds characters that cannot be stored: " + list + ".";
}

} // namespace orv
