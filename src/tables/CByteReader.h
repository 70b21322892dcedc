#pragma once
// Reads the little-endian integers and length-prefixed strings of the group file from a byte
// buffer. Every read is bounds-checked against the buffer: a value that does not fit makes the
// read fail, leaves the position where the value began and allocates nothing, so a corrupt or
// cut-off file can never make us read past its end or reserve more memory than it holds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class CByteReader {
public:
    // The buffer is not owned and must outlive the reader.
    explicit CByteReader(std::string_view bytes) : m_bytes(bytes) {}

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool readI32(std::int32_t& value);

    // A length-prefixed string. Prefix forms: one byte below 255; 255 and a 16-bit length;
    // 255, 0xFFFF and a 32-bit length. 255 followed by 0xFFFE marks 16-bit characters: a second
    // prefix of the same forms counts them, and the text is converted to Windows-1252 with '?'
    // for what it cannot hold. False when the prefix or the text runs past the end.
    bool readString(std::string& value);

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    bool readLength(std::uint32_t& length, bool& wide);
    bool readWideLength(std::uint32_t& length);

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

} // namespace orv
