// The record buffer: positioning by record number, reading and writing records, appending, and
// field access.
#include "Bytes4.h"
#include "Data4Internal.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace orv {

using namespace detail;

namespace {

std::int64_t recordOffset(const Data4* d, long record) {
    return static_cast<std::int64_t>(d->headerLength) +
           static_cast<std::int64_t>(record - 1) * d->recordLength;
}

bool bufferLocked(const Data4* d) {
    return d->readOnlyAttribute || d->fileLocked || d->recNo == 0 || d->lockedRecords.count(d->recNo) != 0;
}

// A write that failed, or that a read-only file refuses: for the latter the reason a user is
// told is the system's for such a write.
int writeRefused(Data4* d, long location, const char* op) {
    if (d->readOnlyAttribute || d->readOnlyOpen) d->code->systemError = EACCES;
    return raise(d, e4write, location, op);
}

} // namespace

namespace detail {

void blankBuffer(Data4* d) { std::memset(d->record.data(), ' ', d->record.size()); }

void setEof(Data4* d, long count) {
    d->recNo = count + 1;
    blankBuffer(d);
    d->changed = false;
    d->eof = true;
    d->cursor.valid = false;
}

void touchDate(Data4* d) {
    ++d->code->writes;
    std::time_t now = code4now(d->code);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::uint8_t date[3] = {static_cast<std::uint8_t>(tm.tm_year % 100), static_cast<std::uint8_t>(tm.tm_mon + 1),
                            static_cast<std::uint8_t>(tm.tm_mday)};
    if (std::memcmp(date, d->date, 3) != 0) {
        std::memcpy(d->date, date, 3);
        d->headerChanged = true;
    }
}

int readRecordCount(Data4* d, long* count) {
    if (!(d->appendLocked || d->fileLocked || d->exclusive)) {
        std::uint8_t b[4];
        if (fs(d).pread(d->fd, b, 4, 4) != 4) return raise(d, e4read, kLocRecCount, "d4recCount");
        d->headerCount = bytes4::le32(b);
    }
    *count = static_cast<long>(d->headerCount);
    return 0;
}

int countAtLeast(Data4* d, long record, long* count) {
    if (record <= static_cast<long>(d->headerCount)) {
        *count = static_cast<long>(d->headerCount);
        return 0;
    }
    return readRecordCount(d, count);
}

int writeHeaderStart(Data4* d) {
    std::uint8_t h[10];
    h[0] = d->version;
    std::memcpy(h + 1, d->date, 3);
    for (int i = 0; i < 4; ++i) h[4 + i] = static_cast<std::uint8_t>(d->headerCount >> (8 * i));
    h[8] = static_cast<std::uint8_t>(d->headerLength);
    h[9] = static_cast<std::uint8_t>(d->headerLength >> 8);
    if (fs(d).pwrite(d->fd, h, 10, 0) != 10) return raise(d, e4write, kLocFlush, "d4flush");
    d->headerChanged = false;
    return 0;
}

const char* mappedBytes(Data4* d, std::int64_t at, std::size_t n) {
    if (d->network) return nullptr;
    const std::uint64_t end = static_cast<std::uint64_t>(at) + n;
    // Bytes past the end of the file must never be touched through the mapping.
    if (end > d->dataFileSize) {
        const long long size = fs(d).size(d->fd);
        if (size < 0 || end > static_cast<std::uint64_t>(size)) return nullptr;
        d->dataFileSize = static_cast<std::uint64_t>(size);
    }
    if (end > d->dataViewLength) {
        const std::uint64_t size = d->dataFileSize;
        if (d->dataView) fs(d).unmap(d->dataView, d->dataViewLength);
        // Room to grow, so that a table others append to is not mapped again at every record.
        const std::size_t length = static_cast<std::size_t>(size) + static_cast<std::size_t>(size) / 4 + (1u << 20);
        d->dataView = fs(d).mapForReading(d->fd, length);
        d->dataViewLength = d->dataView ? length : 0;
        if (!d->dataView) return nullptr;
    }
    return static_cast<const char*>(d->dataView) + at;
}

// Copies bytes of a local data file from its mapping; false when the caller must read the file.
static bool readMapped(Data4* d, std::int64_t at, std::size_t n, char* out) {
    const char* bytes = mappedBytes(d, at, n);
    if (bytes) std::memcpy(out, bytes, n);
    return bytes != nullptr;
}

// Whether a walk may read this table's records through its blocks: only on the network path,
// and not while the table holds a lock of ours short of the file lock (see RecordBlocks4.h).
static bool blockReads(const Data4* d) {
    if (!d->network) return false;
    if (d->fileLocked || d->exclusive) return true;
    return d->lockedRecords.empty() && !d->appendLocked && !d->indexLocked;
}

void walkStart(Data4* d) {
    if (!d->network) return;
    d->blocks.startWalk();
    d->indexChecked = false;
}

void lockGranted(Code4* code) {
    for (auto& t : code->tables) {
        if (!t->network) continue;
        t->blocks.clear();
        t->indexChecked = false;
    }
}

int recordRead(Data4* d, long record, ReadFor how) {
    const std::int64_t at = recordOffset(d, record);
    long long r = static_cast<long long>(d->recordLength);
    const char* held = nullptr;
    if (how != ReadFor::single && blockReads(d)) {
        held = d->blocks.find(record);
        if (!held)
            held = d->blocks.fill(fs(d), d->fd, d->headerLength, d->recordLength, record,
                                  static_cast<long>(d->headerCount), how == ReadFor::walkForward);
    }
    if (held)
        std::memcpy(d->record.data(), held, d->recordLength);
    else if (!readMapped(d, at, d->recordLength, d->record.data()))
        r = fs(d).pread(d->fd, d->record.data(), d->recordLength, at);
    if (r != static_cast<long long>(d->recordLength)) {
        d->recNo = -1;
        blankBuffer(d);
        return raise(d, e4read, kLocGo, "d4go");
    }
    d->recNo = record;
    d->changed = false;
    d->bof = d->eof = false;
    return 0;
}

void tagKey(const Tag4* t, const char* record, std::string& key) {
    t->key->value(record, key);
    key.resize(static_cast<std::size_t>(t->keyLength), ' ');
}

bool tagPasses(const Tag4* t, const char* record) { return !t->filter || t->filter->truth(record); }

int indexUpdate(Data4* d, long record, const char* oldRecord, const char* newRecord, bool* indexTouched) {
    struct Change {
        int tag;
        bool removeOld;
        std::string oldKey;
        bool addNew;
        std::string newKey;
    };
    std::vector<Change> changes;
    for (auto& tp : d->tags) {
        Tag4* t = tp.get();
        Change c{t->index, false, {}, false, {}};
        if (oldRecord && tagPasses(t, oldRecord)) {
            c.removeOld = true;
            tagKey(t, oldRecord, c.oldKey);
        }
        if (tagPasses(t, newRecord)) {
            c.addNew = true;
            tagKey(t, newRecord, c.newKey);
        }
        if (c.removeOld && c.addNew && c.oldKey == c.newKey) continue;
        if (!c.removeOld && !c.addNew) continue;
        if (c.addNew && (t->uniqueTag || t->candidateTag) && t->unique != 0) {
            std::uint32_t holder = 0;
            int rc = d->cdx->findKey(t->index, c.newKey, &holder);
            if (rc < 0) return raise(d, rc, kLocIndex, "d4write");
            if (rc == 0 && static_cast<long>(holder) != record) {
                switch (t->unique) {
                case res4uniqueContinue:
                    c.addNew = false;
                    break;
                case e4unique:
                    return raise(d, e4unique, kLocIndex, "d4write");
                case e4candidate:
                    return raise(d, e4candidate, kLocIndex, "d4write");
                default: // res4unique, res4candidate: the write is refused
                    return res4unique;
                }
            }
        }
        changes.push_back(std::move(c));
    }
    if (changes.empty()) return 0;
    if (indexTouched) *indexTouched = true;
    for (const auto& c : changes) {
        if (c.removeOld) {
            int rc = d->cdx->remove(c.tag, c.oldKey, static_cast<std::uint32_t>(record));
            if (rc < 0) return raise(d, rc, kLocIndex, "d4write");
        }
        if (c.addNew) {
            int rc = d->cdx->insert(c.tag, c.newKey, static_cast<std::uint32_t>(record));
            if (rc < 0) return raise(d, rc, kLocIndex, "d4write");
        }
    }
    int rc = d->cdx->commit();
    if (rc < 0) return raise(d, rc, kLocIndex, "d4write");
    return 0;
}

// Checks what a write would do to the unique tags without changing anything.
static int uniqueCheck(Data4* d, long record, const char* oldRecord, const char* newRecord) {
    for (auto& tp : d->tags) {
        Tag4* t = tp.get();
        if (!(t->uniqueTag || t->candidateTag) || t->unique == 0 || t->unique == res4uniqueContinue) continue;
        if (!tagPasses(t, newRecord)) continue;
        std::string newKey, oldKey;
        tagKey(t, newRecord, newKey);
        if (oldRecord && tagPasses(t, oldRecord)) {
            tagKey(t, oldRecord, oldKey);
            if (oldKey == newKey) continue;
        }
        std::uint32_t holder = 0;
        int rc = d->cdx->findKey(t->index, newKey, &holder);
        if (rc < 0) return raise(d, rc, kLocIndex, "d4write");
        if (rc == 0 && static_cast<long>(holder) != record) {
            if (t->unique == e4unique) return raise(d, e4unique, kLocIndex, "d4write");
            if (t->unique == e4candidate) return raise(d, e4candidate, kLocIndex, "d4write");
            return res4unique;
        }
    }
    return 0;
}

int recordWrite(Data4* d) {
    if (!d->changed || d->recNo <= 0) return 0;
    if (d->readOnlyAttribute || d->readOnlyOpen) return writeRefused(d, kLocRecordWrite, "d4write");
    int rc = lockRecord(d, d->recNo);
    if (rc != 0) return rc;
    const std::int64_t at = recordOffset(d, d->recNo);
    if (!d->tags.empty()) {
        bool tookIndex = false;
        rc = indexLock(d, &tookIndex);
        if (rc != 0) return rc;
        std::vector<char> old(d->recordLength);
        rc = d->cdx->refresh();
        if (rc >= 0 && fs(d).pread(d->fd, old.data(), old.size(), at) != static_cast<long long>(old.size()))
            rc = raise(d, e4read, kLocRecordWrite, "d4write");
        else if (rc < 0)
            rc = raise(d, rc, kLocIndex, "d4write");
        if (rc >= 0) rc = uniqueCheck(d, d->recNo, old.data(), d->record.data());
        if (rc == 0) {
            if (fs(d).pwrite(d->fd, d->record.data(), d->recordLength, at) != static_cast<long long>(d->recordLength))
                rc = writeRefused(d, kLocRecordWrite, "d4write");
        }
        if (rc == 0) rc = indexUpdate(d, d->recNo, old.data(), d->record.data(), nullptr);
        if (tookIndex) {
            int ur = indexUnlock(d);
            if (rc == 0) rc = ur;
        }
        if (rc != 0) return rc;
        if (d->code->recordWritten)
            d->code->recordWritten(*d, d->recNo, {old.data(), old.size()},
                                   {d->record.data(), d->record.size()});
    } else {
        std::vector<char> old;
        if (d->code->recordWritten) {
            old.resize(d->recordLength);
            if (fs(d).pread(d->fd, old.data(), old.size(), at) != static_cast<long long>(old.size()))
                old.clear();
        }
        if (fs(d).pwrite(d->fd, d->record.data(), d->recordLength, at) != static_cast<long long>(d->recordLength))
            return writeRefused(d, kLocRecordWrite, "d4write");
        if (d->code->recordWritten)
            d->code->recordWritten(*d, d->recNo, {old.data(), old.size()},
                                   {d->record.data(), d->record.size()});
    }
    d->blocks.written(d->recNo, d->record.data());
    d->changed = false;
    touchDate(d);
    return 0;
}

} // namespace detail

long d4recNo(const Data4* data) { return data ? data->recNo : -1; }

long d4recCount(Data4* data) {
    if (!data) return e4parmNull;
    if (pending(data)) return res4pending;
    long count = 0;
    int rc = readRecordCount(data, &count);
    return rc < 0 ? rc : count;
}

int d4go(Data4* data, long record) {
    if (!data) return error4(nullptr, e4parmNull, kLocGo, "d4go");
    if (pending(data)) return res4pending;
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    long count = 0;
    rc = countAtLeast(data, record, &count);
    if (rc < 0) return rc;
    data->cursor.valid = false;
    if (record < 1 || record > count) {
        data->recNo = -1;
        blankBuffer(data);
        data->changed = false;
        if (data->code->goMissingIsError) return raise(data, e4read, kLocGo, "d4go");
        return res4noRecord;
    }
    if (data->code->readWithLock) {
        rc = lockRecord(data, record);
        if (rc != 0) return rc;
    }
    return recordRead(data, record);
}

int d4blank(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocBlank, "d4blank");
    if (pending(data)) return res4pending;
    if (data->code->writeRequiresLock && !bufferLocked(data)) return raise(data, e4lock, kLocBlank, "d4blank");
    blankBuffer(data);
    data->changed = true;
    return 0;
}

int d4delete(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocDelete, "d4delete");
    if (pending(data)) return res4pending;
    if (data->code->writeRequiresLock && !bufferLocked(data)) return raise(data, e4lock, kLocDelete, "d4delete");
    if (data->record[0] != '*') {
        data->record[0] = '*';
        data->changed = true;
    }
    return 0;
}

bool d4deleted(const Data4* data) { return data && data->record[0] == '*'; }

int d4changed(Data4* data, int flag) {
    if (!data) return e4parmNull;
    int previous = data->changed ? 1 : 0;
    if (flag > 0) data->changed = true;
    if (flag == 0) data->changed = false;
    return previous;
}

bool d4bof(const Data4* data) { return data && data->bof; }
bool d4eof(const Data4* data) { return data && data->eof; }

int d4appendStart(Data4* data, int) {
    if (!data) return error4(nullptr, e4parmNull, kLocAppendStart, "d4appendStart");
    if (pending(data)) return res4pending;
    if (data->recNo != 0) {
        int rc = recordWrite(data);
        if (rc != 0) return rc;
        data->recNoBeforeAppend = data->recNo;
    }
    data->recNo = 0;
    data->cursor.valid = false;
    return 0;
}

int d4append(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocAppend, "d4append");
    if (pending(data)) return res4pending;
    if (data->recNo != 0) return raise(data, e4parm, kLocAppend, "d4append");
    if (data->readOnlyAttribute || data->readOnlyOpen) return writeRefused(data, kLocAppend, "d4append");

    // Unless this process holds the file lock, or already the append lock and the lock of the
    // record to be added, every lock of the context is let go first.
    if (!data->fileLocked) {
        long cached = static_cast<long>(data->headerCount);
        bool ready = data->appendLocked && data->lockedRecords.count(cached + 1) != 0;
        if (!ready) {
            int rc = d4lockAppend(data);
            if (rc != 0) return rc;
        }
    }
    long count = 0;
    int rc = readRecordCount(data, &count);
    if (rc < 0) return rc;
    const long record = count + 1;
    rc = lockRecord(data, record);
    if (rc != 0) return rc;

    bool tookIndex = false;
    if (!data->tags.empty()) {
        rc = indexLock(data, &tookIndex);
        if (rc != 0) return rc;
        rc = data->cdx->refresh();
        if (rc < 0) rc = raise(data, rc, kLocIndex, "d4append");
        if (rc >= 0) rc = uniqueCheck(data, record, nullptr, data->record.data());
        if (rc != 0) {
            if (tookIndex) indexUnlock(data);
            if (rc == res4unique) {
                data->recNo = data->recNoBeforeAppend;
                data->changed = false;
            }
            return rc;
        }
    }
    // The record and the end marker, then the count: a record is never counted before it is
    // on disk.
    touchDate(data);
    std::vector<char> out(data->record.begin(), data->record.end());
    out.push_back(0x1A);
    rc = 0;
    if (fs(data).pwrite(data->fd, out.data(), out.size(), recordOffset(data, record)) !=
        static_cast<long long>(out.size()))
        rc = writeRefused(data, kLocAppend, "d4append");
    if (rc == 0) {
        data->headerCount = static_cast<std::uint32_t>(record);
        rc = writeHeaderStart(data);
    }
    if (rc == 0 && !data->tags.empty()) rc = indexUpdate(data, record, nullptr, data->record.data(), nullptr);
    if (tookIndex) {
        int ur = indexUnlock(data);
        if (rc == 0) rc = ur;
    }
    if (rc != 0) return rc;
    if (data->code->recordWritten)
        data->code->recordWritten(*data, record, {}, {data->record.data(), data->record.size()});
    data->recNo = record;
    data->changed = false;
    data->bof = data->eof = false;
    data->cursor.valid = false;
    return 0;
}

// Fields.

std::string f4str(const Field4* field) {
    if (!field) return {};
    const Data4* d = field->data;
    return std::string(d->record.data() + field->offset, static_cast<std::size_t>(field->width));
}

std::string_view f4view(const Field4* field) {
    if (!field) return {};
    return std::string_view(field->data->record.data() + field->offset, static_cast<std::size_t>(field->width));
}

long f4long(const Field4* field) {
    if (!field) return 0;
    const char* p = field->data->record.data() + field->offset;
    const char* end = p + field->width;
    while (p < end && *p == ' ') ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    long v = 0;
    while (p < end && std::isdigit(static_cast<unsigned char>(*p))) {
        if (v < 100000000000000000L) v = v * 10 + (*p - '0');
        ++p;
    }
    return negative ? -v : v;
}

int f4assign(Field4* field, std::string_view text) {
    if (!field) return error4(nullptr, e4parmNull, kLocAssign, "f4assign");
    Data4* d = field->data;
    if (pending(d)) return res4pending;
    if (d->code->writeRequiresLock && !bufferLocked(d)) return raise(d, e4lock, kLocAssign, "f4assign");
    char* p = d->record.data() + field->offset;
    std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(field->width));
    std::memcpy(p, text.data(), n);
    std::memset(p + n, ' ', static_cast<std::size_t>(field->width) - n);
    d->changed = true;
    return 0;
}

int f4len(const Field4* field) { return field ? field->width : 0; }
int f4decimals(const Field4* field) { return field ? field->decimals : 0; }
char f4type(const Field4* field) { return field ? field->type : 0; }
const char* f4name(const Field4* field) { return field ? field->name.c_str() : ""; }

} // namespace orv
