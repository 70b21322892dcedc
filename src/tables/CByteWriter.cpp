#include "tables/CByteWriter.h"

#include <limits>

namespace orv {

void CByteWriter::writeU8(std::uint8_t value) {
    m_bytes += static_cast<char>(value);
}

void CByteWriter::writeU16(std::uint16_t value) {
    m_bytes += static_cast<char>(value & 0xFF);
    m_bytes += static_cast<char>(value >> 8);
}

void CByteWriter::writeU32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes += static_cast<char>((value >> shift) & 0xFF);
}

void CByteWriter::writeI32(std::int32_t value) {
    writeU32(static_cast<std::uint32_t>(value));
}

bool CByteWriter::writeString(std::string_view value) {
    const std::size_t n = value.size();
    if (n > std::numeric_limits<std::uint32_t>::max()) return false;
    if (n < 0xFF) {
        writeU8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) { // 0xFFFE and 0xFFFF are the wide mark and the 32-bit escape
        writeU8(0xFF);
        writeU16(static_cast<std::uint16_t>(n));
    } else {
        writeU8(0xFF);
        writeU16(0xFFFF);
        writeU32(static_cast<std::uint32_t>(n));
    }
    m_bytes.append(value);
    return true;
}

} // namespace orv
