#pragma once
// Where the engine locks. All locks are exclusive byte-range locks on the open file, far above
// any real data, in the positions FoxPro-compatible software uses, so their locks and ours meet.
//
//  | lock                  | file  | first byte                               | length      |
//  |-----------------------|-------|------------------------------------------|-------------|
//  | record n              | .dbf  | 0x7FFFFFFE - n                           | 1           |
//  | append (header)       | .dbf  | 0x7FFFFFFE                               | 1           |
//  | whole file            | .dbf  | 0x40000000                               | 0x3FFFFFFF  |
//  | index                 | .cdx  | 0x7FFFFFFE                               | 1           |
//  | record n, old layout  | .dbf  | 0x40000000 + hdrLen + (n-1) * recLen     | 1           |
//  | append, old layout    | .dbf  | 0x40000000                               | 1           |
//  | file, old layout      | .dbf  | 0x40000000                               | 0x3FFFFFFF  |
//
// The old layout applies to data files whose header byte 28 lacks the production-index bit and
// whose version byte is not 0x30. The whole-file range ends on 0x7FFFFFFE, so it also covers the
// append byte and every record byte used by the other layouts.
//
// Share modes have no byte-range equivalent on POSIX; we emulate them with locks on bytes above
// 2^31 that no FoxPro position uses (all taken as open-file-description locks):
//
//  | byte            | held as   | by                                                     |
//  |-----------------|-----------|--------------------------------------------------------|
//  | kShareOpen      | shared    | every open in mode 0 or 2                              |
//  |                 | exclusive | an open in mode 1 (exclusive)                          |
//  | kShareWriter    | shared    | every open with write access                           |
//  | kShareDenyWrite | shared    | every open in mode 2 (others may only read)            |
//  | kShareGuard     | exclusive | an open while it checks and marks the bytes above      |
//
// The guard makes the check of another open's mark and the taking of our own one step: without
// it a writer and a mode-2 open could each look before the other marked, and both pass.
//
// On local file systems the open additionally takes flock() (shared for modes 0 and 2,
// exclusive for mode 1), which is how other xBase software on Linux marks its opens.

#include <cstdint>

namespace orv {

constexpr std::int64_t kLockRecordBase = 0x7FFFFFFE; // record n at base - n
constexpr std::int64_t kLockAppend = 0x7FFFFFFE;
constexpr std::int64_t kLockFileStart = 0x40000000;
constexpr std::int64_t kLockFileLength = 0x3FFFFFFF;
constexpr std::int64_t kLockIndex = 0x7FFFFFFE;
constexpr std::int64_t kLockOldBase = 0x40000000;

constexpr std::int64_t kShareOpen = 0x100000000LL;
constexpr std::int64_t kShareWriter = 0x100000001LL;
constexpr std::int64_t kShareDenyWrite = 0x100000002LL;
constexpr std::int64_t kShareGuard = 0x100000003LL;

} // namespace orv
