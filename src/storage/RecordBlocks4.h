#pragma once
// The network path's blocks of records: what one walk over a data file has read of it, so that
// a walk reads the file once per block instead of once per record.
//
// On a network file system every read call is a round trip to the server. A walk (a d4top,
// d4bottom or d4seek and the d4skip calls after it) reads the records it lands on through these
// blocks: the first read of a walk takes 4 KiB, each further one twice as much up to 64 KiB, so
// a seek that lands on one record costs no more bytes than it needs while a long walk makes one
// read per 64 KiB it passes. A block holds only records that were counted in the header before
// it was read (a record is on disk before it is counted), at most kMaxBlocks blocks are kept,
// the least recently used going first.
//
// Freshness, kept by the table layer (Data4Record.cpp, Data4Lock.cpp):
//  - a new walk starts with nothing: each d4top, d4bottom and d4seek drops the blocks, so a new
//    list sees everything written before it began;
//  - a lock of ours granted on any table of the context (a record, the append or the file lock,
//    and the index lock of a write) drops the blocks of every table, so nothing read before
//    another process's write is used after our lock is granted; the index lock a walk takes
//    only to read index pages guards no record and leaves the blocks (the index header is read
//    again under it);
//  - while the table holds a lock of ours other than the whole-file lock (a record or the
//    append lock, whose holders' reads must see the file as it is now) records are read one by
//    one from the file; under the file lock nobody else can write, and blocks read after its
//    grant stay true while it is held;
//  - d4go always reads its record from the file (the record re-read before a change, a record
//    found by number);
//  - our own writes of a record are copied into the block holding it.

#include "File4System.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

class RecordBlocks4 {
public:
    static constexpr std::size_t kFirstBlock = 4096;
    static constexpr std::size_t kBlock = 65536;
    static constexpr std::size_t kMaxBlocks = 16;

    // The bytes of the record when a block holds it, else null.
    const char* find(long record);
    // Reads a block with the record: going forward the record and those after it, going
    // backward the record and those before it, never past record `last` (the count read from
    // the header before). The record's bytes, or null when the file did not give them.
    const char* fill(File4System& fs, int fd, std::int64_t headerLength, std::uint32_t recordLength,
                     long record, long last, bool forward);
    // Our own write of the record: a block holding it gets the new bytes.
    void written(long record, const char* bytes);
    // Drops every block; the walk goes on with block reads of the size reached.
    void clear() { m_blocks.clear(); }
    // A new walk: drops every block and starts again with a small block.
    void startWalk();
    std::size_t blockCount() const { return m_blocks.size(); }

private:
    struct Block {
        long first = 0;
        long count = 0;
        std::uint32_t recordLength = 0;
        std::vector<char> bytes;
        std::uint64_t lastUse = 0;
    };
    std::vector<Block> m_blocks;
    std::uint64_t m_uses = 0;
    std::size_t m_next = kFirstBlock;
};

} // namespace orv
