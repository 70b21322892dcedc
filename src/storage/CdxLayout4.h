#pragma once
// On-disk layout of a compact compound index file (.cdx): 512-byte pages, every pointer an
// absolute byte offset (a multiple of 512), 0xFFFFFFFF for "none". Integers are little-endian
// unless marked BE.
//
// Header block, 1024 bytes, the same for the tag directory (always at offset 0) and each tag:
//
//  | off | size | meaning                                                                  |
//  |-----|------|--------------------------------------------------------------------------|
//  |   0 |    4 | root node                                                                |
//  |   4 |    4 | directory: head of the free-page list, 0 (or -1) when empty; tags: 0     |
//  |   8 |    4 | directory: change counter, BE; tags: 0                                   |
//  |  12 |    2 | key length L (directory 10, tags 1..240)                                 |
//  |  14 |    1 | option byte (directory 0xE0, tags 0x60 + unique/filter/... bits)         |
//  |  15 |    1 | signature 0x01                                                           |
//  |  16 |  486 | reserved; other writers keep their own values here, we leave them alone  |
//  | 502 |    2 | order: 0 ascending, 1 descending (stored ascending all the same)         |
//  | 504 |    2 | start of the filter text in the pool                                     |
//  | 506 |    2 | filter length including its 0x00 (1: no filter)                          |
//  | 508 |    2 | start of the key text in the pool                                        |
//  | 510 |    2 | key text length including its 0x00                                       |
//  | 512 |  512 | expression pool: key text, 0x00, filter text, 0x00, zeros                |
//
// Node header, both kinds:
//
//  | off | size | meaning                                                                  |
//  |-----|------|--------------------------------------------------------------------------|
//  |   0 |    2 | attributes: bit 0 root, bit 1 leaf                                       |
//  |   2 |    2 | number of entries N                                                      |
//  |   4 |    4 | left sibling or -1                                                       |
//  |   8 |    4 | right sibling or -1                                                      |
//
// Interior node: from 12, N entries of L + 8 bytes: key (full), record number BE, child BE;
// at most 500 / (L + 8) of them; the rest of the page is zero. Each entry holds the greatest
// (key, record) of its child's subtree.
//
// Leaf node (compressed):
//
//  | off | size | meaning                                                                  |
//  |-----|------|--------------------------------------------------------------------------|
//  |  12 |    2 | free bytes of the 488-byte area                                          |
//  |  14 |    4 | record-number mask                                                       |
//  |  18 |    1 | duplicate-count mask                                                     |
//  |  19 |    1 | trailing-count mask                                                      |
//  |  20 |    1 | R, bits of the record number                                             |
//  |  21 |    1 | D, bits of the duplicate count                                           |
//  |  22 |    1 | T, bits of the trailing count                                            |
//  |  23 |    1 | K, bytes per entry (R + D + T = 8 K)                                     |
//  |  24 |  488 | entries of K bytes growing up; key bytes growing down from 512           |
//
// An entry is a K-byte little-endian number: record in the low R bits, then the duplicate
// count (leading bytes shared with the previous key of the node), then the trailing count
// (blanks dropped from the end). Entry i stores L - dup - trail key bytes, placed directly below
// those of entry i - 1; the gap between the entries and the lowest key byte is zero.
//
// Released page: bytes 0-3 the next released page (0 ends the list), the rest zero.

#include <cstdint>

namespace orv::cdx4 {

constexpr int kPage = 512;
constexpr int kHeaderBlock = 1024;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// header block
constexpr int kHdrRoot = 0;
constexpr int kHdrFreeList = 4;
constexpr int kHdrCounter = 8;
constexpr int kHdrKeyLength = 12;
constexpr int kHdrOptions = 14;
constexpr int kHdrSignature = 15;
constexpr int kHdrOrder = 502;
constexpr int kHdrFilterStart = 504;
constexpr int kHdrFilterLength = 506;
constexpr int kHdrKeyStart = 508;
constexpr int kHdrKeyExprLength = 510;
constexpr int kHdrPool = 512;
constexpr int kPoolSize = 512;
constexpr std::uint8_t kSignature = 0x01;
constexpr std::uint8_t kDirectoryOptions = 0xE0;
constexpr int kDirectoryKeyLength = 10;

// node header
constexpr int kNodeAttributes = 0;
constexpr int kNodeCount = 2;
constexpr int kNodeLeft = 4;
constexpr int kNodeRight = 8;
constexpr std::uint16_t kAttrRoot = 0x01;
constexpr std::uint16_t kAttrLeaf = 0x02;

// interior node
constexpr int kInteriorEntries = 12;
constexpr int kInteriorArea = 500;

// leaf node
constexpr int kLeafFree = 12;
constexpr int kLeafRecordMask = 14;
constexpr int kLeafDupMask = 18;
constexpr int kLeafTrailMask = 19;
constexpr int kLeafRecordBits = 20;
constexpr int kLeafDupBits = 21;
constexpr int kLeafTrailBits = 22;
constexpr int kLeafEntryBytes = 23;
constexpr int kLeafEntries = 24;
constexpr int kLeafArea = 488;

constexpr int kMaxKeyLength = 240;
constexpr std::uint8_t kPad = 0x20;

inline std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t get32be(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put32be(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

} // namespace orv::cdx4
