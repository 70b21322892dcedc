#pragma once
// Builds the byte image of a group file: little-endian integers and length-prefixed strings in
// the forms CByteReader reads. Always writes single-byte text.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace orv {

class CByteWriter {
public:
    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeI32(std::int32_t value);
    // Prefix: one byte below 255; 255 and a 16-bit length below 65,534; else 255, 0xFFFF and a
    // 32-bit length. False (nothing written) for a text of 4 GiB or more.
    bool writeString(std::string_view value);

    const std::string& bytes() const { return m_bytes; }
    std::string takeBytes() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

} // namespace orv
