#include "RecordBlocks4.h"

#include <algorithm>
#include <cstring>

namespace orv {

const char* RecordBlocks4::find(long record) {
    for (Block& b : m_blocks) {
        if (record < b.first || record >= b.first + b.count) continue;
        b.lastUse = ++m_uses;
        return b.bytes.data() + static_cast<std::size_t>(record - b.first) * b.recordLength;
    }
    return nullptr;
}

const char* RecordBlocks4::fill(File4System& fs, int fd, std::int64_t headerLength,
                                std::uint32_t recordLength, long record, long last, bool forward) {
    // A record not yet counted may be halfway written: it is read on its own.
    if (record < 1 || record > last || recordLength == 0) return nullptr;
    const long per = std::max<long>(1, static_cast<long>(m_next / recordLength));
    long first = record;
    long count = std::min(per, last - record + 1);
    if (!forward) {
        first = std::max(1L, record - per + 1);
        count = record - first + 1;
    }
    Block b;
    b.first = first;
    b.recordLength = recordLength;
    b.bytes.resize(static_cast<std::size_t>(count) * recordLength);
    const long long got =
        fs.pread(fd, b.bytes.data(), b.bytes.size(),
                 headerLength + static_cast<std::int64_t>(first - 1) * recordLength);
    if (got < 0) return nullptr;
    b.count = static_cast<long>(static_cast<unsigned long long>(got) / recordLength);
    if (record >= first + b.count) return nullptr;
    b.bytes.resize(static_cast<std::size_t>(b.count) * recordLength);
    b.lastUse = ++m_uses;
    m_next = std::min(kBlock, m_next * 2);
    // Blocks of one walk that overlap the new one hold nothing it lacks.
    m_blocks.erase(std::remove_if(m_blocks.begin(), m_blocks.end(),
                                  [&](const Block& o) {
                                      return o.first >= b.first &&
                                             o.first + o.count <= b.first + b.count;
                                  }),
                   m_blocks.end());
    if (m_blocks.size() >= kMaxBlocks)
        m_blocks.erase(
            std::min_element(m_blocks.begin(), m_blocks.end(),
                             [](const Block& x, const Block& y) { return x.lastUse < y.lastUse; }));
    m_blocks.push_back(std::move(b));
    const Block& in = m_blocks.back();
    return in.bytes.data() + static_cast<std::size_t>(record - in.first) * recordLength;
}

void RecordBlocks4::written(long record, const char* bytes) {
    for (Block& b : m_blocks)
        if (record >= b.first && record < b.first + b.count)
            std::memcpy(b.bytes.data() +
                            static_cast<std::size_t>(record - b.first) * b.recordLength,
                        bytes, b.recordLength);
}

void RecordBlocks4::startWalk() {
    m_blocks.clear();
    m_next = kFirstBlock;
}

} // namespace orv
