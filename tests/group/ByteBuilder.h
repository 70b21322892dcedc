#pragma once
// Builds group file images byte by byte, independently of the code under test, so tests state
// the layout they expect rather than whatever the writer happens to produce.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv::test {

class ByteBuilder {
public:
    ByteBuilder& u8(std::uint8_t v) {
        m_bytes += static_cast<char>(v);
        return *this;
    }
    ByteBuilder& u16(std::uint16_t v) { return u8(v & 0xFF).u8(static_cast<std::uint8_t>(v >> 8)); }
    ByteBuilder& u32(std::uint32_t v) {
        return u8(v & 0xFF).u8((v >> 8) & 0xFF).u8((v >> 16) & 0xFF).u8((v >> 24) & 0xFF);
    }
    ByteBuilder& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    ByteBuilder& raw(std::string_view s) {
        m_bytes.append(s);
        return *this;
    }
    // The shortest prefix form, as every writer of group files uses.
    ByteBuilder& str(std::string_view s) {
        if (s.size() < 255) {
            u8(static_cast<std::uint8_t>(s.size()));
        } else if (s.size() < 65534) {
            u8(0xFF).u16(static_cast<std::uint16_t>(s.size()));
        } else {
            u8(0xFF).u16(0xFFFF).u32(static_cast<std::uint32_t>(s.size()));
        }
        return raw(s);
    }
    ByteBuilder& rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
        return i32(l).i32(t).i32(r).i32(b);
    }
    const std::string& bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
};

} // namespace orv::test
