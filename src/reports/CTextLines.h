#pragma once
// A list's lines in one buffer: a line is a view into it, not a string of its own. A month's
// report of a large group has a hundred thousand lines, and one allocation each cost more than
// writing them.
//
// Lines are written at the end, piece by piece (append, +=) and closed with endLine(); views
// stay valid until the next change. clear() keeps the memory for the next fill.

#include <compare>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CTextLines {
public:
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return (*m_lines)[m_index]; }
        std::string_view operator[](difference_type n) const {
            return (*m_lines)[static_cast<std::size_t>(static_cast<difference_type>(m_index) + n)];
        }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++m_index;
            return old;
        }
        const_iterator& operator--() {
            --m_index;
            return *this;
        }
        const_iterator operator--(int) {
            const_iterator old = *this;
            --m_index;
            return old;
        }
        const_iterator& operator+=(difference_type n) {
            m_index = shifted(n);
            return *this;
        }
        const_iterator& operator-=(difference_type n) {
            m_index = shifted(-n);
            return *this;
        }
        friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
        friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
        friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.m_index) -
                   static_cast<difference_type>(b.m_index);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.m_index == b.m_index;
        }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
            return a.m_index <=> b.m_index;
        }

    private:
        friend class CTextLines;
        const_iterator(const CTextLines* lines, std::size_t index)
            : m_lines(lines), m_index(index) {}
        std::size_t shifted(difference_type n) const {
            return static_cast<std::size_t>(static_cast<difference_type>(m_index) + n);
        }
        const CTextLines* m_lines = nullptr;
        std::size_t m_index = 0;
    };

    CTextLines() = default;
    CTextLines(const CTextLines& other);
    CTextLines& operator=(const CTextLines& other);
    CTextLines(CTextLines&&) noexcept = default;
    CTextLines& operator=(CTextLines&&) noexcept = default;

    // Closed lines.
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return {m_text.get() + begin, m_ends[i] - begin};
    }
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Drops every line, the one being written too; the memory stays.
    void clear() {
        m_size = 0;
        m_ends.clear();
    }
    // Room for `bytes` of text in `lines` lines without growing.
    void reserve(std::size_t bytes, std::size_t lines);

    // Writing the open line. A failed allocation throws std::bad_alloc; dropOpenLine() then
    // takes back what was written of the line.
    void append(const char* text, std::size_t n) {
        if (n > m_capacity - m_size) grow(n);
        if (n != 0) std::memcpy(m_text.get() + m_size, text, n);
        m_size += n;
    }
    void append(std::size_t n, char c) {
        if (n > m_capacity - m_size) grow(n);
        if (n != 0) std::memset(m_text.get() + m_size, c, n);
        m_size += n;
    }
    CTextLines& operator+=(char c) {
        append(1, c);
        return *this;
    }
    CTextLines& operator+=(std::string_view text) {
        append(text.data(), text.size());
        return *this;
    }
    void endLine() { m_ends.push_back(m_size); }
    // Room for `bytes` more of the open line, written straight at the pointer returned; the
    // line then ends with endLine(end of what was written).
    char* room(std::size_t bytes) {
        if (bytes > m_capacity - m_size) grow(bytes);
        return m_text.get() + m_size;
    }
    void endLine(const char* end) {
        m_size = static_cast<std::size_t>(end - m_text.get());
        endLine();
    }
    void dropOpenLine() { m_size = m_ends.empty() ? 0 : m_ends.back(); }
    // A whole line.
    void push_back(std::string_view line) {
        *this += line;
        endLine();
    }

    // Each line as a string of its own, for the paths that keep strings (printing).
    std::vector<std::string> strings() const;

private:
    void grow(std::size_t more);

    std::unique_ptr<char[]> m_text;
    std::size_t m_size = 0; // bytes written, the open line too
    std::size_t m_capacity = 0;
    std::vector<std::size_t> m_ends; // where each closed line ends
};

} // namespace orv
