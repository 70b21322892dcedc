#pragma once
// An open table (data file, production index, record buffer) and the operations on it.
//
// The data file (.dbf), as written here. Integers little-endian.
//
//  Header, 32 bytes
//  | off | size | content                                                        |
//  |-----|------|----------------------------------------------------------------|
//  | 0   | 1    | version 0x03                                                   |
//  | 1   | 3    | date of last change: year mod 100, month, day (local clock)    |
//  | 4   | 4    | record count, deleted records included                         |
//  | 8   | 2    | header length = 32 * fields + 33                               |
//  | 10  | 2    | record length = 1 + sum of the widths                          |
//  | 12  | 16   | zero                                                           |
//  | 28  | 1    | table flags: 0x01 once the production index exists            |
//  | 29  | 1    | code page mark 0                                               |
//  | 30  | 2    | zero                                                           |
//
//  Field descriptor, 32 bytes each, in field order from offset 32
//  | 0   | 11   | name, upper case, zero padded                                  |
//  | 11  | 1    | type letter                                                    |
//  | 12  | 4    | offset of the field in the record (first field at 1)           |
//  | 16  | 1    | width                                                          |
//  | 17  | 1    | decimals                                                       |
//  | 18  | 14   | zero                                                           |
//
//  Then 0x0D (the last byte counted by the header length), the records from offset header
//  length (deletion flag ' ' or '*', then the fields without separators), and one 0x1A after
//  the last record. Files from other software may carry more header bytes, field offsets of 0
//  and no 0x1A; all of that is read.
//
// Every operation returns a result or error code (Result4.h); errors are raised through the
// table's context (Code4.h), and while the context has a pending error every operation returns
// res4pending at once (d4open/d4create return null) except d4close.

#include "Cdx4.h"
#include "Code4.h"
#include "Field4.h"
#include "Field4info.h"
#include "RecordBlocks4.h"
#include "Tag4.h"
#include "Tag4info.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace orv {

struct Data4 {
    Code4* code = nullptr;
    std::string path;      // the data file as opened
    std::string canonicalPath; // the same with links and dots resolved, as when it was opened
    std::string alias;     // upper-case file name with extension
    std::string indexPath; // production index, empty when none
    int fd = -1;
    int indexFd = -1;
    bool readOnlyAttribute = false; // the file cannot be written: shared locks, every write refused
    bool readOnlyOpen = false;      // opened with the readOnly setting
    bool exclusive = false;         // opened in share mode 1
    // On a network file system (NFS, SMB, FUSE; or forced, see File4System.h) every read is a
    // round trip to the server: records and index pages are then read in blocks (see
    // RecordBlocks4.h).
    bool network = false;

    // Header.
    std::uint8_t version = 0x03;
    std::uint8_t date[3] = {0, 0, 0};
    std::uint8_t tableFlags = 0;
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::uint32_t headerCount = 0; // record count as last read or written
    bool headerChanged = false;    // count or date changed and not yet written
    bool syncOwed = false;         // written under the context's sync hold, not yet on disk

    std::vector<Field4> fields;
    std::vector<char> record; // record-length bytes
    long recNo = -1;
    long recNoBeforeAppend = -1;
    bool changed = false;
    bool bof = false;
    bool eof = false;

    std::unique_ptr<Cdx4> cdx;
    const void* indexHeaderView = nullptr; // mapped first page of a local index file
    // A mapping of a local data file that records are read from: other processes' writes are
    // in it at once. Longer than the file may be; only bytes inside the file are read.
    const void* dataView = nullptr;
    std::size_t dataViewLength = 0;
    std::uint64_t dataFileSize = 0; // the file's size when last looked at; 0 after it shrank
    std::vector<std::unique_ptr<Tag4>> tags; // in production-index order
    // The network path: records read in blocks for the walk in progress, and whether the index
    // header has been read since the walk began or a lock of ours was last granted.
    RecordBlocks4 blocks;
    bool indexChecked = false;
    Tag4* selected = nullptr;
    Cdx4::Cursor cursor; // position in the selected tag, when valid for recNo
    Cdx4::Cursor scratchCursor;

    // Lock bookkeeping.
    std::set<long> lockedRecords;
    bool appendLocked = false;
    bool fileLocked = false;
    bool indexLocked = false;
    bool oldLockLayout = false;

    Data4();
    ~Data4();
};

// Tables.
Data4* d4create(Code4* code, const std::string& name, const Field4info& fields,
                const Tag4info* tags = nullptr);
Data4* d4open(Code4* code, const std::string& name);
int d4close(Data4* data);
// The table that d4open(code, name) would find already open through the context (and so refuse
// with e4instance), or null. Raises nothing.
Data4* code4opened(Code4* code, const std::string& name);

// Fields.
Field4* d4field(Data4* data, const std::string& name);
Field4* d4fieldJ(Data4* data, int number); // 1-based
int d4numFields(const Data4* data);

// Records.
long d4recNo(const Data4* data);
long d4recCount(Data4* data);
int d4recWidth(const Data4* data);
int d4go(Data4* data, long record);
int d4top(Data4* data);
int d4bottom(Data4* data);
int d4skip(Data4* data, long n);
int d4blank(Data4* data);
int d4delete(Data4* data);
bool d4deleted(const Data4* data);
int d4changed(Data4* data, int flag);
bool d4bof(const Data4* data);
bool d4eof(const Data4* data);
int d4appendStart(Data4* data, int useMemoEntries = 0);
int d4append(Data4* data);
const char* d4alias(const Data4* data);

// Locking and flushing.
int d4lockAll(Data4* data);
int d4lockAppend(Data4* data);
int d4lock(Data4* data, long record);
int d4unlock(Data4* data);
int d4flush(Data4* data);

// Tags.
Tag4* d4tag(Data4* data, const std::string& name);
// The selected tag, else the first tag of the production index, else null (no error).
Tag4* d4tagDefault(Data4* data);
Tag4* d4tagNext(Data4* data, Tag4* tag); // null starts; null after the last
void d4tagSelect(Data4* data, Tag4* tag);
Tag4* d4tagSelected(const Data4* data);
int d4seek(Data4* data, const std::string& text);
int d4reindex(Data4* data);
// Removes the deleted records and rebuilds the tags. Only on a table opened exclusively (else
// e4lock); takes d4lockAll and lets it go again unless the caller held it already.
int d4pack(Data4* data);

// Verifies every tag against the data file: page structure, key order, each key equal to the
// key recomputed from its record, the filter, uniqueness, and every record that passes the
// filter present exactly once (a unique tag holds the first record of each key). Returns 0 and
// the key count of each tag, or e4index with the first problem in *problem.
int d4check(Data4* data, std::vector<long long>* keyCounts, std::string* problem);

} // namespace orv
