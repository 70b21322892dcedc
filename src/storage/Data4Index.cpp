// Tags: selection, tag-ordered positioning, seeking, rebuilding, packing and checking.
#include "Bytes4.h"
#include "Data4Internal.h"
#include "Lock4.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace orv {

using namespace detail;

namespace {

// One step along a tag in its own order (descending tags are stored ascending and walked
// backwards). Returns 0, res4eof past the end, res4bof before the start, or an error.
int step(Cdx4& cdx, const Tag4* t, Cdx4::Cursor& c, bool forward) {
    bool storageForward = forward != t->descending;
    int rc = storageForward ? cdx.next(c) : cdx.prev(c);
    if (rc == res4eof || rc == res4bof) return forward ? res4eof : res4bof;
    return rc;
}

int tagFirst(Cdx4& cdx, const Tag4* t, Cdx4::Cursor& c) {
    int rc = t->descending ? cdx.last(t->index, c) : cdx.first(t->index, c);
    return rc == res4bof ? res4eof : rc;
}

int tagLast(Cdx4& cdx, const Tag4* t, Cdx4::Cursor& c) {
    int rc = t->descending ? cdx.first(t->index, c) : cdx.last(t->index, c);
    return rc == res4eof ? res4bof : rc;
}

// Passes over keys of records this process cannot see yet (appended after it last read the
// header count, which is read again first).
int passHigh(Data4* d, const Tag4* t, Cdx4::Cursor& c, bool forward, int rc) {
    long count = 0;
    while (rc == 0 && static_cast<long>(c.record) > static_cast<long>(d->headerCount)) {
        int cr = countAtLeast(d, static_cast<long>(c.record), &count);
        if (cr < 0) return cr;
        if (static_cast<long>(c.record) <= count) break;
        rc = step(*d->cdx, t, c, forward);
    }
    return rc;
}

// Reads every record in record-number order, in large chunks: from the mapping of a local file,
// else from the file.
template <class Fn> int forEachRecord(Data4* d, long count, Fn fn) {
    const std::size_t per = std::max<std::size_t>(1, (1u << 20) / d->recordLength);
    std::vector<char> buf;
    for (long first = 1; first <= count; first += static_cast<long>(per)) {
        long n = std::min<long>(static_cast<long>(per), count - first + 1);
        std::size_t bytes = static_cast<std::size_t>(n) * d->recordLength;
        std::int64_t at = d->headerLength + static_cast<std::int64_t>(first - 1) * d->recordLength;
        const char* chunk = mappedBytes(d, at, bytes);
        if (!chunk) {
            buf.resize(per * d->recordLength);
            if (fs(d).pread(d->fd, buf.data(), bytes, at) != static_cast<long long>(bytes)) return e4read;
            chunk = buf.data();
        }
        for (long i = 0; i < n; ++i) fn(first + i, chunk + static_cast<std::size_t>(i) * d->recordLength);
    }
    return 0;
}

// A tag's entries: the keys one after another, with their record numbers.
struct Entries {
    std::vector<std::uint8_t> keys;
    std::vector<std::uint32_t> records;
};

// Puts the entries in tag order (key, then record); in a unique tag only the first record of
// each key stays. Tables are mostly appended in key order, so sorted input is seen in one pass.
void sortEntries(Entries& e, std::size_t length, bool unique) {
    const std::size_t n = e.records.size();
    const auto less = [&](std::uint32_t a, std::uint32_t b) {
        const int c = std::memcmp(e.keys.data() + a * length, e.keys.data() + b * length, length);
        return c != 0 ? c < 0 : e.records[a] < e.records[b];
    };
    bool sorted = true;
    for (std::size_t i = 1; i < n && sorted; ++i)
        sorted = less(static_cast<std::uint32_t>(i - 1), static_cast<std::uint32_t>(i));
    if (sorted) {
        // In place: a unique tag drops the later records of a key.
        if (!unique) return;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (kept > 0 && std::memcmp(e.keys.data() + (kept - 1) * length, e.keys.data() + i * length, length) == 0)
                continue;
            if (kept != i) {
                std::memmove(e.keys.data() + kept * length, e.keys.data() + i * length, length);
                e.records[kept] = e.records[i];
            }
            ++kept;
        }
        e.keys.resize(kept * length);
        e.records.resize(kept);
        return;
    }
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<std::uint32_t>(i);
    std::sort(order.begin(), order.end(), less);
    const auto at = [&](std::size_t i) { return order[i]; };
    Entries out;
    out.keys.reserve(e.keys.size());
    out.records.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* key = e.keys.data() + at(i) * length;
        if (unique && !out.records.empty() &&
            std::memcmp(out.keys.data() + out.keys.size() - length, key, length) == 0)
            continue;
        out.keys.insert(out.keys.end(), key, key + length);
        out.records.push_back(e.records[at(i)]);
    }
    e = std::move(out);
}

// The entries a tag should hold, sorted: the records that pass its filter; in a unique tag only
// the first record of each key.
int collectEntries(Data4* d, long count, std::vector<Entries>& perTag) {
    perTag.assign(d->tags.size(), {});
    for (std::size_t i = 0; i < d->tags.size(); ++i) {
        perTag[i].keys.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(d->tags[i]->keyLength));
        perTag[i].records.reserve(static_cast<std::size_t>(count));
    }
    std::string key;
    int rc = forEachRecord(d, count, [&](long r, const char* rec) {
        for (std::size_t i = 0; i < d->tags.size(); ++i) {
            const Tag4* t = d->tags[i].get();
            if (!tagPasses(t, rec)) continue;
            tagKey(t, rec, key);
            perTag[i].keys.insert(perTag[i].keys.end(), key.begin(), key.end());
            perTag[i].records.push_back(static_cast<std::uint32_t>(r));
        }
    });
    if (rc != 0) return rc;
    for (std::size_t i = 0; i < d->tags.size(); ++i) {
        const Tag4* t = d->tags[i].get();
        sortEntries(perTag[i], static_cast<std::size_t>(t->keyLength), t->uniqueTag || t->candidateTag);
    }
    return 0;
}

int rebuildAll(Data4* d, long count) {
    std::vector<Entries> perTag;
    int rc = collectEntries(d, count, perTag);
    if (rc != 0) return rc;
    for (std::size_t i = 0; i < d->tags.size(); ++i) {
        const Entries& e = perTag[i];
        rc = d->cdx->rebuild(d->tags[i]->index, Cdx4::KeyRun{e.keys.data(), e.records.data(), e.records.size()});
        if (rc != 0) return rc;
    }
    return d->cdx->commit();
}

} // namespace

// Tag handles.

Tag4* d4tag(Data4* data, const std::string& name) {
    if (!data) {
        error4(nullptr, e4parmNull, kLocTag, "d4tag");
        return nullptr;
    }
    if (pending(data)) return nullptr;
    std::string want = bytes4::upper(name);
    while (!want.empty() && want.back() == ' ') want.pop_back();
    for (auto& t : data->tags)
        if (t->name == want) return t.get();
    error4(data->code, e4tagName, kLocTag, "d4tag", want.c_str());
    return nullptr;
}

Tag4* d4tagDefault(Data4* data) {
    if (!data) return nullptr;
    if (data->selected) return data->selected;
    return data->tags.empty() ? nullptr : data->tags.front().get();
}

Tag4* d4tagNext(Data4* data, Tag4* tag) {
    if (!data || data->tags.empty()) return nullptr;
    if (!tag) return data->tags.front().get();
    for (std::size_t i = 0; i + 1 < data->tags.size(); ++i)
        if (data->tags[i].get() == tag) return data->tags[i + 1].get();
    return nullptr;
}

void d4tagSelect(Data4* data, Tag4* tag) {
    if (!data) return;
    data->selected = tag;
    data->cursor.valid = false;
}

Tag4* d4tagSelected(const Data4* data) { return data ? data->selected : nullptr; }

int t4uniqueSet(Tag4* tag, int value) {
    if (!tag) return error4(nullptr, e4parmNull, kLocUniqueSet, "t4uniqueSet");
    if (pending(tag->data)) return res4pending;
    if (value == tag->unique) return 0;
    bool ok = false;
    if (tag->uniqueTag) ok = value == res4unique || value == res4uniqueContinue || value == e4unique;
    else if (tag->candidateTag) ok = value == res4candidate || value == e4candidate;
    if (!ok) return error4(tag->data->code, e4parm, kLocUniqueSet, "t4uniqueSet", tag->name.c_str());
    tag->unique = value;
    return 0;
}

int t4unique(const Tag4* tag) { return tag ? tag->unique : 0; }
const char* t4alias(const Tag4* tag) { return tag ? tag->name.c_str() : ""; }
const std::string& t4expr(const Tag4* tag) { return tag->key->source(); }
const std::string& t4filter(const Tag4* tag) {
    static const std::string none;
    return tag->filter ? tag->filter->source() : none;
}

// Positioning.

namespace {

// Lands on the entry the cursor points at, reading its record; eof/bof as given.
int landOn(Data4* d, int rc, const Cdx4::Cursor& c, long count, bool forward) {
    if (rc == res4eof) {
        setEof(d, count);
        return res4eof;
    }
    if (rc != 0) return rc;
    // Record numbers start at 1; a key pointing at 0 is a damaged index.
    if (c.record == 0) return raise(d, e4index, kLocIndex, "d4skip");
    rc = recordRead(d, static_cast<long>(c.record),
                    forward ? ReadFor::walkForward : ReadFor::walkBackward);
    if (rc != 0) return rc;
    d->cursor = c;
    return 0;
}

int tagEnd(Data4* data, bool top, long location, const char* op) {
    if (!data) return error4(nullptr, e4parmNull, location, op);
    if (pending(data)) return res4pending;
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    walkStart(data);
    Tag4* t = data->selected;
    long count = static_cast<long>(data->headerCount);
    if (!t) {
        rc = readRecordCount(data, &count);
        if (rc < 0) return rc;
        if (count == 0) {
            setEof(data, 0);
            data->bof = true;
            return res4eof;
        }
        return recordRead(data, top ? 1 : count,
                          top ? ReadFor::walkForward : ReadFor::walkBackward);
    }
    Cdx4::Cursor c;
    rc = indexRead(data, [&] {
        Cdx4::Cursor local;
        int r = top ? tagFirst(*data->cdx, t, local) : tagLast(*data->cdx, t, local);
        if (r == res4bof) r = res4eof;
        r = passHigh(data, t, local, top, r);
        if (!top && r == res4bof) r = res4eof;
        if (r == 0 || r == res4eof) c = local;
        return r;
    });
    rc = landOn(data, rc, c, count, top != t->descending);
    if (rc == res4eof) data->bof = true;
    return rc;
}

} // namespace

int d4top(Data4* data) { return tagEnd(data, true, kLocTop, "d4top"); }
int d4bottom(Data4* data) { return tagEnd(data, false, kLocTop, "d4bottom"); }

int d4skip(Data4* data, long n) {
    if (!data) return error4(nullptr, e4parmNull, kLocSkip, "d4skip");
    if (pending(data)) return res4pending;
    if (data->recNo <= 0) return error4(data->code, e4info, kLocSkip, "d4skip", data->path.c_str());
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    if (n == 0) return 0;
    long count = static_cast<long>(data->headerCount);
    const bool atEof = data->eof;
    if (atEof && n > 0) {
        setEof(data, count);
        return res4eof;
    }
    Tag4* t = data->selected;
    if (!t) {
        if (atEof) {
            rc = readRecordCount(data, &count);
            if (rc < 0) return rc;
        }
        long target = (atEof ? count + 1 : data->recNo) + n;
        rc = countAtLeast(data, target, &count);
        if (rc < 0) return rc;
        if (target > count) {
            setEof(data, count);
            return res4eof;
        }
        if (target < 1) {
            if (count == 0) {
                setEof(data, 0);
                data->bof = true;
                return res4eof;
            }
            rc = recordRead(data, 1, ReadFor::walkForward);
            if (rc != 0) return rc;
            data->bof = true;
            return res4bof;
        }
        return recordRead(data, target, n > 0 ? ReadFor::walkForward : ReadFor::walkBackward);
    }

    const bool forward = n > 0;
    long steps = forward ? n : -n;
    // The moving cursor is a scratch copy that keeps its buffers from skip to skip.
    Cdx4::Cursor& c = data->scratchCursor;
    std::string key;
    const long current = data->recNo;
    rc = indexRead(data, [&] {
        Cdx4& cdx = *data->cdx;
        Cdx4::Cursor& local = c;
        local = data->cursor;
        int r = 0;
        long remaining = steps;
        if (atEof) {
            r = tagLast(cdx, t, local); // from the end, the first step back lands on the last key
            --remaining;
        } else if (!(local.valid && local.tag == t->index && static_cast<long>(local.record) == current)) {
            if (key.empty()) tagKey(t, data->record.data(), key);
            r = cdx.seek(t->index, key, t->keyLength, static_cast<std::uint32_t>(current), local);
            if (r == Cdx4::kNeedsDisk || r < 0) return r;
            bool exact = r == 0 && local.key == key && static_cast<long>(local.record) == current;
            bool storageForward = forward != t->descending;
            if (r == res4eof) {
                // every entry lies before the current record
                if (storageForward) return forward ? res4eof : res4bof;
                r = cdx.last(t->index, local);
                --remaining;
            } else if (!exact && storageForward) {
                --remaining; // the entry found is already the next one
            }
        }
        while (r == 0 && remaining > 0) {
            r = step(cdx, t, local, forward);
            --remaining;
        }
        return passHigh(data, t, local, forward, r);
    });
    if (rc == res4bof) {
        // Ran off the start: the first key of the tag becomes current.
        rc = indexRead(data, [&] {
            int r = tagFirst(*data->cdx, t, c);
            return passHigh(data, t, c, true, r);
        });
        if (rc == 0) {
            rc = landOn(data, 0, c, count, !t->descending);
            if (rc != 0) return rc;
            data->bof = true;
            return res4bof;
        }
        if (rc == res4eof) {
            setEof(data, count);
            data->bof = true;
        }
        return rc;
    }
    return landOn(data, rc, c, count, forward != t->descending);
}

int d4seek(Data4* data, const std::string& text) {
    if (!data) return error4(nullptr, e4parmNull, kLocSeek, "d4seek");
    if (pending(data)) return res4pending;
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    Tag4* t = d4tagDefault(data);
    if (!t) return res4noTag;
    walkStart(data);
    const long count = static_cast<long>(data->headerCount);
    const int length = std::min<int>(static_cast<int>(text.size()), t->keyLength);
    const std::string wanted = text.substr(0, static_cast<std::size_t>(length));

    // A descending tag: the first key in its order not greater than the text, found as the entry
    // before the first one whose prefix exceeds the text.
    std::string successor = wanted;
    bool noSuccessor = true;
    for (int i = length - 1; i >= 0; --i) {
        auto b = static_cast<unsigned char>(successor[static_cast<std::size_t>(i)]);
        if (b != 0xFF) {
            successor[static_cast<std::size_t>(i)] = static_cast<char>(b + 1);
            successor.resize(static_cast<std::size_t>(i + 1));
            noSuccessor = false;
            break;
        }
    }

    Cdx4::Cursor c;
    bool firstRound = true;
    std::string recordKey;
    for (;;) {
        rc = indexRead(data, [&] {
            Cdx4& cdx = *data->cdx;
            Cdx4::Cursor local = c;
            int r;
            if (firstRound) {
                if (!t->descending) {
                    r = cdx.seek(t->index, wanted, length, 0, local);
                } else if (noSuccessor || length == 0) {
                    r = cdx.last(t->index, local);
                    if (r == res4bof) r = res4eof;
                } else {
                    r = cdx.seek(t->index, successor, static_cast<int>(successor.size()), 0, local);
                    if (r == res4eof) {
                        r = cdx.last(t->index, local);
                    } else if (r == 0) {
                        r = cdx.prev(local);
                    }
                    if (r == res4bof) r = res4eof;
                }
            } else {
                r = step(cdx, t, local, true);
            }
            if (r == Cdx4::kNeedsDisk || r < 0) return r;
            r = passHigh(data, t, local, true, r);
            if (r == 0 || r == res4eof) c = local;
            return r;
        });
        if (rc == res4eof || rc == res4bof) {
            setEof(data, count);
            return res4eof;
        }
        if (rc != 0) return rc;
        firstRound = false;
        if (c.record == 0) return raise(data, e4index, kLocSeek, "d4seek");
        rc = recordRead(data, static_cast<long>(c.record),
                        t->descending ? ReadFor::walkBackward : ReadFor::walkForward);
        if (rc != 0) return rc;
        data->cursor = c;
        // Another process may have changed the record since the index page was read.
        if (!data->fileLocked) {
            tagKey(t, data->record.data(), recordKey);
            if (recordKey != c.key) continue;
        }
        break;
    }
    return std::memcmp(c.key.data(), wanted.data(), static_cast<std::size_t>(length)) == 0 ? res4success
                                                                                            : res4after;
}

int d4reindex(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocReindex, "d4reindex");
    if (pending(data)) return res4pending;
    if (data->readOnlyAttribute || data->readOnlyOpen) return raise(data, e4write, kLocReindex, "d4reindex");
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    if (!data->cdx) return 0;
    bool tookLock = !data->fileLocked;
    if (tookLock) {
        rc = d4lockAll(data);
        if (rc != 0) return rc;
    }
    long count = 0;
    rc = readRecordCount(data, &count);
    if (rc == 0) {
        rc = rebuildAll(data, count);
        if (rc < 0) rc = raise(data, rc, kLocReindex, "d4reindex");
    }
    data->cursor.valid = false;
    if (tookLock) {
        int ur = d4unlock(data);
        if (rc == 0) rc = ur;
    }
    return rc;
}

namespace {

// Writes the kept records from the first record's place on, in large pieces, ending with the
// end-of-file mark. Into the table's own file too: the write position never passes the read one.
int copyKept(Data4* data, long count, int toFd, long* kept) {
    std::vector<char> out;
    std::int64_t writeAt = data->headerLength;
    const std::size_t flushAt = 1u << 20;
    int wr = 0;
    auto flushOut = [&] {
        if (out.empty() || wr != 0) return;
        if (fs(data).pwrite(toFd, out.data(), out.size(), writeAt) !=
            static_cast<long long>(out.size()))
            wr = e4write;
        writeAt += static_cast<std::int64_t>(out.size());
        out.clear();
    };
    *kept = 0;
    const int rc = forEachRecord(data, count, [&](long, const char* rec) {
        if (rec[0] == '*') return;
        out.insert(out.end(), rec, rec + data->recordLength);
        ++*kept;
        if (out.size() >= flushAt) flushOut();
    });
    if (rc != 0) return rc;
    out.push_back(0x1A);
    flushOut();
    return wr;
}

constexpr int kNoNewFile = 1;

// The kept records go to a new file beside the table, flushed, which is then renamed over it: a
// crash leaves the old table or the packed one, never a record twice. kNoNewFile when no file
// can be put there or the rename is refused (some shares refuse replacing an open file); nothing
// has changed then.
int packIntoNewFile(Data4* data, long count, long* kept) {
    File4System& f = fs(data);
    // The file itself, not a link to it, is replaced.
    const std::string target = canonical(data->path);
    const auto slash = target.rfind('/');
    const std::string within =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string folder = within.empty() ? std::string(".") : within;
    const std::string prefix = "." + target.substr(slash + 1) + ".pack";
    const std::string temp = within + prefix + std::to_string(::getpid());
    // Nobody else can be packing a table we hold exclusively: such files were left by a killed
    // pack, and each is a whole copy of the table.
    for (const std::string& name : f.listFolder(folder))
        if (name.compare(0, prefix.size(), prefix) == 0) f.remove(within + name);
    // The new file goes on as the table's: opened as the table was.
    const int nfd =
        f.open(temp, O_RDWR | O_CREAT | O_EXCL | (data->code->writeThrough ? O_DSYNC : 0), 0600);
    if (nfd < 0) return kNoNewFile;
    auto fail = [&](int rc) {
        f.close(nfd);
        f.remove(temp);
        return rc > 0 ? rc : raise(data, rc, kLocPack, "d4pack");
    };
    std::vector<std::uint8_t> header(data->headerLength);
    if (f.pread(data->fd, header.data(), header.size(), 0) != static_cast<long long>(header.size()))
        return fail(e4read);
    if (const int rc = copyKept(data, count, nfd, kept); rc != 0) return fail(rc);
    touchDate(data);
    std::memcpy(header.data() + 1, data->date, 3);
    for (int i = 0; i < 4; ++i)
        header[4 + i] = static_cast<std::uint8_t>(*kept >> (8 * i));
    if (f.pwrite(nfd, header.data(), header.size(), 0) != static_cast<long long>(header.size()))
        return fail(e4write);
    if (f.copyAccess(data->fd, nfd) != 0) return fail(kNoNewFile);
    if (f.fsync(nfd) != 0) return fail(e4write);
    // Held as the table is before anyone can find it under the table's name.
    if (takeShareLocks(data->code, nfd, 1, true, data->network) != 0) return fail(kNoNewFile);
    if (f.lockRange(nfd, kLockFileStart, kLockFileLength, Lock4Kind::exclusive) != 0)
        return fail(kNoNewFile);
    if (f.rename(temp, target) != 0) return fail(kNoNewFile);
    if (const int dir = f.open(folder, O_RDONLY | O_DIRECTORY, 0); dir >= 0) {
        f.fsync(dir);
        f.close(dir);
    }
    // The old file is gone from the folder; letting it go drops its marks and locks.
    if (data->dataView) f.unmap(data->dataView, data->dataViewLength);
    data->dataView = nullptr;
    data->dataViewLength = 0;
    data->dataFileSize = 0;
    f.close(data->fd);
    data->fd = nfd;
    data->headerCount = static_cast<std::uint32_t>(*kept);
    data->headerChanged = false;
    return 0;
}

// Where no new file can replace the table, kept records move down in place and the file is cut.
int packInPlace(Data4* data, long count, long* kept) {
    if (const int rc = copyKept(data, count, data->fd, kept); rc != 0)
        return raise(data, rc, kLocPack, "d4pack");
    const std::int64_t length =
        data->headerLength + static_cast<std::int64_t>(*kept) * data->recordLength + 1;
    // The count goes down before the file does: a file cut short of its count does not open,
    // while bytes past the last counted record are harmless.
    data->headerCount = static_cast<std::uint32_t>(*kept);
    touchDate(data);
    if (const int written = writeHeaderStart(data); written != 0) return written;
    data->dataFileSize = 0; // shorter now: mapped reads look at the size again
    if (fs(data).ftruncate(data->fd, length) != 0) return raise(data, e4lenSet, kLocPack, "d4pack");
    return 0;
}

// Packing under the file lock, then the tags rebuilt for the kept records.
int packLocked(Data4* data) {
    long count = 0;
    int rc = readRecordCount(data, &count);
    if (rc < 0) return rc;
    long kept = 0;
    rc = packIntoNewFile(data, count, &kept);
    if (rc == kNoNewFile) rc = packInPlace(data, count, &kept);
    data->blocks.startWalk(); // records moved: nothing read before holds
    if (rc != 0) return rc;
    data->recNo = -1;
    blankBuffer(data);
    data->changed = false;
    data->bof = data->eof = kept == 0;
    data->cursor.valid = false;
    if (data->cdx) {
        rc = rebuildAll(data, kept);
        if (rc < 0) return raise(data, rc, kLocPack, "d4pack");
    }
    return 0;
}

} // namespace

int d4pack(Data4* data) {
    if (!data) return error4(nullptr, e4parmNull, kLocPack, "d4pack");
    if (pending(data)) return res4pending;
    if (data->readOnlyAttribute || data->readOnlyOpen) return raise(data, e4write, kLocPack, "d4pack");
    // Records move and the file shrinks under every reader: only a table opened exclusively.
    if (!data->exclusive) return raise(data, e4lock, kLocPack, "d4pack");
    const bool callerLocked = data->fileLocked;
    int rc = recordWrite(data);
    if (rc != 0) return rc;
    rc = d4lockAll(data);
    if (rc != 0) return rc;
    rc = packLocked(data);
    // A lock taken here is let go here; one the caller took stays the caller's.
    if (!callerLocked) {
        const int ur = d4unlock(data);
        if (rc == 0) rc = ur;
    }
    return rc;
}

int d4check(Data4* data, std::vector<long long>* keyCounts, std::string* problem) {
    if (!data) return e4parmNull;
    if (pending(data)) return res4pending;
    if (keyCounts) keyCounts->clear();
    std::string scratch;
    std::string& why = problem ? *problem : scratch;
    if (!data->cdx) return 0;
    long count = 0;
    int rc = readRecordCount(data, &count);
    if (rc < 0) return rc;
    bool took = false;
    rc = indexLock(data, &took);
    if (rc != 0) return rc;
    rc = data->cdx->refresh();
    std::vector<Entries> expected;
    if (rc >= 0) rc = collectEntries(data, count, expected);
    for (std::size_t i = 0; rc >= 0 && i < data->tags.size(); ++i) {
        const Tag4* t = data->tags[i].get();
        std::vector<std::pair<std::string, std::uint32_t>> actual;
        std::string structure;
        rc = data->cdx->verify(t->index, &structure, [&](const std::string& k, std::uint32_t r) {
            actual.emplace_back(k, r);
        });
        const std::string tagName = "tag " + t->name + ": ";
        if (rc < 0) {
            why = tagName + structure;
            rc = e4index;
            break;
        }
        if (keyCounts) keyCounts->push_back(static_cast<long long>(actual.size()));
        std::vector<char> rec(data->recordLength);
        std::string key;
        std::map<std::uint32_t, int> seen;
        for (std::size_t k = 0; k < actual.size(); ++k) {
            const auto& [akey, arec] = actual[k];
            if (arec < 1 || static_cast<long>(arec) > count) {
                why = tagName + "a key points to record " + std::to_string(arec) + ", past the end of the table";
                rc = e4index;
                break;
            }
            if (++seen[arec] > 1) {
                why = tagName + "record " + std::to_string(arec) + " is in the tag twice";
                rc = e4index;
                break;
            }
            if (k > 0 && (t->uniqueTag || t->candidateTag) && actual[k - 1].first == akey) {
                why = tagName + "key of record " + std::to_string(arec) + " is not unique";
                rc = e4index;
                break;
            }
            std::int64_t at = data->headerLength + static_cast<std::int64_t>(arec - 1) * data->recordLength;
            if (fs(data).pread(data->fd, rec.data(), rec.size(), at) != static_cast<long long>(rec.size())) {
                rc = e4read;
                break;
            }
            if (!tagPasses(t, rec.data())) {
                why = tagName + "record " + std::to_string(arec) + " is in the tag but fails its filter";
                rc = e4index;
                break;
            }
            tagKey(t, rec.data(), key);
            if (key != akey) {
                why = tagName + "the key of record " + std::to_string(arec) + " does not match the record";
                rc = e4index;
                break;
            }
        }
        if (rc < 0) break;
        // Every record that passes the filter is there (in a unique tag: every key).
        const Entries& want = expected[i];
        const std::size_t length = static_cast<std::size_t>(t->keyLength);
        if (t->uniqueTag || t->candidateTag) {
            std::size_t a = 0;
            for (std::size_t w = 0; w < want.records.size(); ++w) {
                const std::string_view wkey(reinterpret_cast<const char*>(want.keys.data()) + w * length, length);
                while (a < actual.size() && std::string_view(actual[a].first) < wkey) ++a;
                if (a >= actual.size() || actual[a].first != wkey) {
                    why = tagName + "no key for record " + std::to_string(want.records[w]);
                    rc = e4index;
                    break;
                }
            }
        } else {
            for (std::uint32_t w : want.records) {
                if (!seen.count(w)) {
                    why = tagName + "record " + std::to_string(w) + " is missing from the tag";
                    rc = e4index;
                    break;
                }
            }
        }
    }
    if (took) indexUnlock(data);
    if (rc < 0 && why.empty()) why = error4text(rc);
    return rc < 0 ? rc : 0;
}

} // namespace orv
