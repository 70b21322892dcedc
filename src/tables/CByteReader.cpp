#include "tables/CByteReader.h"

#include "tables/Cp1252.h"

namespace orv {

namespace {

constexpr std::uint8_t kLongPrefix = 0xFF;
constexpr std::uint16_t kWideMark = 0xFFFE;
constexpr std::uint16_t kHugePrefix = 0xFFFF;

// One code point in UTF-8, into a small buffer; returns the length.
std::size_t encodeUtf8(std::uint32_t cp, char (&buf)[4]) {
    if (cp < 0x800) {
        buf[0] = static_cast<char>(0xC0 | (cp >> 6));
        buf[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        buf[0] = static_cast<char>(0xE0 | (cp >> 12));
        buf[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        buf[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    buf[0] = static_cast<char>(0xF0 | (cp >> 18));
    buf[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    buf[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buf[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// UTF-16LE code units to Windows-1252, one character at a time through the shared conversion
// table, so the result is never longer than the units it came from. A lone surrogate becomes
// '?' like any other character that cannot be stored.
std::string wideToStored(std::string_view units) {
    const std::size_t n = units.size() / 2;
    std::string out;
    out.reserve(n);
    auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(units[2 * i]) |
                                          (static_cast<unsigned char>(units[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t cp = unitAt(i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) { // the same in both
            out += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n) {
            const std::uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            out += '?';
            continue;
        }
        char buf[4];
        out += utf8ToCp1252(std::string_view(buf, encodeUtf8(cp, buf)));
    }
    return out;
}

} // namespace

bool CByteReader::readU8(std::uint8_t& value) {
    if (remaining() < 1) return false;
    value = static_cast<std::uint8_t>(m_bytes[m_pos]);
    m_pos += 1;
    return true;
}

bool CByteReader::readU16(std::uint16_t& value) {
    if (remaining() < 2) return false;
    auto b = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(m_bytes[m_pos + i]));
    };
    value = static_cast<std::uint16_t>(b(0) | (b(1) << 8));
    m_pos += 2;
    return true;
}

bool CByteReader::readU32(std::uint32_t& value) {
    if (remaining() < 4) return false;
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_pos + i]));
    };
    value = b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
    m_pos += 4;
    return true;
}

bool CByteReader::readI32(std::int32_t& value) {
    std::uint32_t u = 0;
    if (!readU32(u)) return false;
    value = static_cast<std::int32_t>(u);
    return true;
}

bool CByteReader::readWideLength(std::uint32_t& length) {
    std::uint8_t b = 0;
    if (!readU8(b)) return false;
    if (b != kLongPrefix) {
        length = b;
        return true;
    }
    std::uint16_t w = 0;
    if (!readU16(w)) return false;
    if (w != kHugePrefix) { // here 0xFFFE is a plain count
        length = w;
        return true;
    }
    return readU32(length);
}

bool CByteReader::readLength(std::uint32_t& length, bool& wide) {
    wide = false;
    std::uint8_t b = 0;
    if (!readU8(b)) return false;
    if (b != kLongPrefix) {
        length = b;
        return true;
    }
    std::uint16_t w = 0;
    if (!readU16(w)) return false;
    if (w == kWideMark) {
        wide = true;
        return readWideLength(length);
    }
    if (w != kHugePrefix) {
        length = w;
        return true;
    }
    return readU32(length);
}

bool CByteReader::readString(std::string& value) {
    const std::size_t start = m_pos;
    std::uint32_t length = 0;
    bool wide = false;
    if (!readLength(length, wide)) {
        m_pos = start;
        return false;
    }
    // 64-bit so that a count near 2^32 of 16-bit characters cannot wrap.
    const std::uint64_t bytes = wide ? std::uint64_t{length} * 2 : std::uint64_t{length};
    if (bytes > remaining()) {
        m_pos = start;
        return false;
    }
    std::string_view text = m_bytes.substr(m_pos, static_cast<std::size_t>(bytes));
    m_pos += static_cast<std::size_t>(bytes);
    value = wide ? wideToStored(text) : std::string(text);
    return true;
}

} // namespace orv
