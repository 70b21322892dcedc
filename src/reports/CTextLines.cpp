#include "reports/CTextLines.h"

#include <algorithm>

namespace orv {

CTextLines::CTextLines(const CTextLines& other) : m_ends(other.m_ends) {
    reserve(other.m_size, 0);
    if (other.m_size != 0) std::memcpy(m_text.get(), other.m_text.get(), other.m_size);
    m_size = other.m_size;
}

CTextLines& CTextLines::operator=(const CTextLines& other) {
    if (this != &other) {
        CTextLines copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void CTextLines::reserve(std::size_t bytes, std::size_t lines) {
    m_ends.reserve(lines);
    if (bytes > m_capacity) grow(bytes - m_size);
}

void CTextLines::grow(std::size_t more) {
    // Doubling: a report's text is written once, in small pieces.
    const std::size_t capacity = std::max({m_size + more, m_capacity * 2, std::size_t{4096}});
    auto text = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size != 0) std::memcpy(text.get(), m_text.get(), m_size);
    m_text = std::move(text);
    m_capacity = capacity;
}

std::vector<std::string> CTextLines::strings() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (const std::string_view line : *this)
        lines.emplace_back(line);
    return lines;
}

} // namespace orv
