// Creating, opening and closing tables; the context.
#include "Bytes4.h"
#include "Data4Internal.h"
#include "File4Recorder.h"
#include "Lock4.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace orv {

using namespace detail;

Code4::Code4() = default;
Code4::~Code4() {
    if (!tables.empty()) code4initUndo(this);
}

Data4::Data4() = default;
Data4::~Data4() = default;

void code4init(Code4* code, File4System* fileSystem) {
    code->openShareMode = 0;
    code->readOnly = 0;
    code->autoOpen = 1;
    code->refuseOverwrite = 1;
    code->reportOpenErrors = 1;
    code->goMissingIsError = 1;
    code->readWithLock = 0;
    code->writeRequiresLock = 0;
    code->lockRetries = -1;
    code->lockRetryDelay = 100;
    code->silentErrors = 0;
    code->fileFormatLevel = 25;
    code->writeThrough = 0;
    code->errorCode = 0;
    code->defaultUnique = res4uniqueContinue;
    code->errorLocation = 0;
    code->lastOpenError = 0;
    File4System& inner = fileSystem ? *fileSystem : file4posix();
    if (code->recorder)
        code->recorder->setInner(inner);
    else
        code->recorder = std::make_unique<File4Recorder>(*code, inner);
    code->fs = code->recorder.get();
    code->systemError = 0;
    code->errorCause = 0;
    code->initialized = true;
}

int code4initUndo(Code4* code) {
    int first = 0;
    while (!code->tables.empty()) {
        int rc = d4close(code->tables.back().get());
        if (rc < 0 && first == 0) first = rc;
    }
    code->initialized = false;
    return first;
}

std::time_t code4now(const Code4* code) { return code->clock ? code->clock() : std::time(nullptr); }

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseName(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name has an extension when its last component ends in '.' and one to three characters.
// Longer tails are part of the name: a group "My.Rooms.sch" has the table "My.RoomsSched".
bool hasExtension(const std::string& path) {
    std::string name = baseName(path);
    auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    std::size_t tail = name.size() - dot - 1;
    return tail >= 1 && tail <= 3;
}

std::string withoutExtension(const std::string& path) {
    if (!hasExtension(path)) return path;
    return path.substr(0, path.rfind('.'));
}

// The exact name when it exists, else a case-insensitive match in the same folder, else the
// name itself (whose open then fails as missing).
std::string findFile(File4System& fs, const std::string& path) {
    if (fs.exists(path)) return path;
    std::string folder = folderOf(path);
    std::string want = lower(baseName(path));
    for (const auto& n : fs.listFolder(folder.empty() ? "." : folder))
        if (lower(n) == want) return folder + n;
    return path;
}

// The extension of the production index follows the letter case of the data file's.
std::string indexNameFor(const std::string& dataPath) {
    std::string base = withoutExtension(dataPath);
    std::string ext = hasExtension(dataPath) ? dataPath.substr(dataPath.rfind('.') + 1) : "dbf";
    bool upperExt = !ext.empty() && std::all_of(ext.begin(), ext.end(), [](unsigned char c) {
        return !std::isalpha(c) || std::isupper(c);
    });
    return base + (upperExt ? ".CDX" : ".cdx");
}

std::string dataNameFor(const std::string& name) {
    return hasExtension(name) ? name : name + ".dbf";
}

int openErrorFor(int err) {
    switch (err) {
    case -ENOENT:
    case -ENOTDIR:
        return e4fileFind;
    case -EMFILE:
    case -ENFILE:
        return e4numFiles;
    case -EACCES:
    case -EPERM:
    case -EROFS:
    case -ETXTBSY:
        return e4permiss;
    default:
        return e4open;
    }
}

// Share mode emulation; see Lock4.h. Returns 0 or e4permiss.
int markShare(File4System& f, int fd, int mode, bool writer, bool network) {
    if (mode == 1) {
        if (f.lockRange(fd, kShareOpen, 1, Lock4Kind::exclusive) != 0) return e4permiss;
        if (!network && f.flockFile(fd, Lock4Kind::exclusive) != 0) return e4permiss;
        return 0;
    }
    if (f.lockRange(fd, kShareOpen, 1, Lock4Kind::shared) != 0) return e4permiss;
    if (writer) {
        if (f.rangeTaken(fd, kShareDenyWrite, 1, Lock4Kind::exclusive) != 0) return e4permiss;
        if (f.lockRange(fd, kShareWriter, 1, Lock4Kind::shared) != 0) return e4permiss;
    }
    if (mode == 2) {
        if (f.rangeTaken(fd, kShareWriter, 1, Lock4Kind::exclusive) != 0) return e4permiss;
        if (f.lockRange(fd, kShareDenyWrite, 1, Lock4Kind::shared) != 0) return e4permiss;
    }
    if (!network && f.flockFile(fd, Lock4Kind::shared) != 0) return e4permiss;
    return 0;
}

// The guard is held only while another open checks and marks, microseconds; a second is far
// more than any of them takes.
constexpr int kGuardAttempts = 1000;

// A file replaced at every open is not being packed; after a few opens we keep what we got.
constexpr int kReplacedOpenAttempts = 5;

int takeGuard(File4System& f, int fd) {
    for (int attempt = 0; attempt < kGuardAttempts; ++attempt) {
        int rc = f.lockRange(fd, kShareGuard, 1, Lock4Kind::exclusive);
        // A descriptor opened for reading cannot hold an exclusive lock; a shared guard still
        // keeps every writer's check out.
        if (rc == -EBADF) rc = f.lockRange(fd, kShareGuard, 1, Lock4Kind::shared);
        if (rc == 0) return 0;
        if (rc != -EAGAIN) return e4permiss;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return e4permiss;
}

} // namespace

namespace detail {

std::string canonical(const std::string& path) {
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
    return path;
}

int takeShareLocks(Code4* code, int fd, int mode, bool writer, bool network) {
    File4System& f = *code->fs;
    if (takeGuard(f, fd) != 0) return e4permiss;
    int rc = markShare(f, fd, mode, writer, network);
    f.lockRange(fd, kShareGuard, 1, Lock4Kind::unlock);
    if (rc != 0) {
        f.lockRange(fd, kShareOpen, 3, Lock4Kind::unlock);
        if (!network) f.flockFile(fd, Lock4Kind::unlock);
    }
    return rc;
}

void dropShareLocks(Code4* code, int fd) {
    File4System& f = *code->fs;
    f.lockRange(fd, kShareOpen, 3, Lock4Kind::unlock);
    f.flockFile(fd, Lock4Kind::unlock);
}

} // namespace detail

namespace {

void putLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void putLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
bool knownVersion(std::uint8_t v) {
    switch (v) {
    case 0x03: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63:
    case 0x83: case 0x8B: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

bool knownType(char t) { return std::strchr("CNFDLMGBIYT", t) != nullptr && t != 0; }

// Reads and checks header and field descriptors. 0 or e4data / e4read (not raised).
int readStructure(Data4* d) {
    File4System& f = fs(d);
    long long fileSize = f.size(d->fd);
    if (fileSize < 0) return e4read;
    // Header and field descriptors in one read where they fit (each read may be a round trip
    // to a server): 4 KiB holds the descriptors of 120 fields.
    std::vector<std::uint8_t> start(static_cast<std::size_t>(std::min<long long>(fileSize, 4096)));
    if (fileSize < 32 ||
        f.pread(d->fd, start.data(), start.size(), 0) != static_cast<long long>(start.size()))
        return e4data;
    const std::uint8_t* h = start.data();
    if (!knownVersion(h[0])) return e4data;
    d->version = h[0];
    std::memcpy(d->date, h + 1, 3);
    d->headerCount = bytes4::le32(h + 4);
    d->headerLength = bytes4::le16(h + 8);
    d->recordLength = bytes4::le16(h + 10);
    d->tableFlags = h[28];
    if (d->headerLength < 65 || d->headerLength > fileSize || d->recordLength < 2) return e4data;

    std::vector<std::uint8_t> desc(d->headerLength - 32);
    if (d->headerLength <= start.size())
        std::memcpy(desc.data(), start.data() + 32, desc.size());
    else if (f.pread(d->fd, desc.data(), desc.size(), 32) != static_cast<long long>(desc.size()))
        return e4data;
    std::size_t n = 0;
    bool terminated = false;
    while (32 * n < desc.size()) {
        if (desc[32 * n] == 0x0D) {
            terminated = true;
            break;
        }
        if (32 * n + 32 > desc.size()) return e4data;
        ++n;
    }
    if (!terminated || n == 0) return e4data;
    std::uint32_t minimum = static_cast<std::uint32_t>(32 * n + 33);
    std::uint32_t slack = (d->version == 0x30 || d->version == 0x31 || d->version == 0x32) ? 264 : 1;
    if (d->headerLength < minimum || d->headerLength > minimum + slack) return e4data;

    d->fields.clear();
    int offset = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = desc.data() + 32 * i;
        Field4 fld;
        fld.data = d;
        std::size_t len = 0;
        while (len < 11 && p[len] != 0) ++len;
        fld.name = bytes4::upper(std::string(reinterpret_cast<const char*>(p), len));
        while (!fld.name.empty() && fld.name.back() == ' ') fld.name.pop_back();
        fld.type = static_cast<char>(std::toupper(p[11]));
        fld.width = p[16];
        fld.decimals = p[17];
        if (fld.name.empty() || fld.width == 0 || !knownType(fld.type)) return e4data;
        fld.offset = offset;
        offset += fld.width;
        d->fields.push_back(fld);
    }
    if (static_cast<std::uint32_t>(offset) != d->recordLength) return e4data;
    const long long counted = static_cast<long long>(d->headerLength) +
                              static_cast<long long>(d->headerCount) * d->recordLength;
    // Another process may have appended between the look at the size and the read of the count
    // (a record is on disk before it is counted): the size is looked at once more.
    if (counted > fileSize) fileSize = f.size(d->fd);
    if (counted > fileSize) return e4data;
    return 0;
}

} // namespace

void Field4info::add(const std::string& name, char type, int width, int decimals, int nullable) {
    Field4infoEntry e;
    e.name = bytes4::upper(name.substr(0, 10));
    e.type = static_cast<char>(std::toupper(static_cast<unsigned char>(type)));
    e.width = width;
    e.decimals = decimals;
    e.nullable = nullable;
    m_entries.push_back(e);
}

void Tag4info::add(const std::string& name, const std::string& expression, const std::string& filter,
                   int unique, int descending) {
    Tag4infoEntry e;
    e.name = bytes4::upper(name.substr(0, 10));
    e.expression = expression;
    e.filter = filter;
    e.unique = unique;
    e.descending = descending;
    m_entries.push_back(e);
}

namespace detail {

int raise(Data4* d, int code, long location, const char* operation) {
    return error4(d->code, code, location, operation, d->path.c_str());
}

int buildTags(Data4* d) {
    d->tags.clear();
    d->selected = nullptr;
    for (int i = 0; i < d->cdx->tagCount(); ++i) {
        const Cdx4::TagInfo& info = d->cdx->tag(i);
        auto t = std::make_unique<Tag4>();
        t->data = d;
        t->index = i;
        t->name = bytes4::upper(info.name);
        t->uniqueTag = info.unique();
        t->candidateTag = info.candidate();
        t->descending = info.descending;
        t->keyLength = info.keyLength;
        int rc = Expr4::parse(info.keyExpr, d->fields, t->key);
        if (rc != 0) return rc;
        if (t->key->type() != Expr4::Type::character) return e4tagExpr;
        if (!info.filterExpr.empty()) {
            rc = Expr4::parse(info.filterExpr, d->fields, t->filter);
            if (rc != 0) return rc;
            if (t->filter->type() != Expr4::Type::logical) return e4tagExpr;
        }
        t->unique = t->uniqueTag ? d->code->defaultUnique : t->candidateTag ? res4candidate : 0;
        d->tags.push_back(std::move(t));
    }
    return 0;
}

} // namespace detail

namespace {

void closeFiles(Data4* d) {
    d->cdx.reset();
    if (d->indexHeaderView) fs(d).unmap(d->indexHeaderView, Cdx4::kPageSize);
    d->indexHeaderView = nullptr;
    if (d->dataView) fs(d).unmap(d->dataView, d->dataViewLength);
    d->dataView = nullptr;
    d->dataViewLength = 0;
    if (d->indexFd >= 0) fs(d).close(d->indexFd);
    if (d->fd >= 0) fs(d).close(d->fd);
    d->indexFd = d->fd = -1;
}

void removeFromContext(Data4* d) {
    auto& v = d->code->tables;
    v.erase(std::remove_if(v.begin(), v.end(), [d](const std::unique_ptr<Data4>& p) { return p.get() == d; }),
            v.end());
}

Data4* failOpen(Code4* code, std::unique_ptr<Data4>& d, int err, const std::string& name, bool report) {
    if (d) closeFiles(d.get());
    code->lastOpenError = err;
    if (report)
        error4(code, err, kLocOpen, "d4open", name.c_str());
    return nullptr;
}

int checkTagInfo(const Tag4infoEntry& t) {
    if (t.expression.empty() || t.name.empty()) return e4tagInfo;
    if (t.descending != 0 && t.descending != r4descending) return e4tagInfo;
    switch (t.unique) {
    case 0: case res4candidate: case res4unique: case res4uniqueContinue: case e4unique: case e4candidate:
        return 0;
    default:
        return e4tagInfo;
    }
}

} // namespace

Data4* code4opened(Code4* code, const std::string& name) {
    if (!code || name.empty()) return nullptr;
    const std::string canon = canonical(findFile(*code->fs, dataNameFor(name)));
    for (const auto& t : code->tables)
        if (t->canonicalPath == canon) return t.get();
    return nullptr;
}

Data4* d4open(Code4* code, const std::string& name) {
    if (!code) return nullptr;
    if (code->errorCode < 0) return nullptr;
    code->errorCode = 0;
    File4System& f = *code->fs;
    const bool report = code->reportOpenErrors != 0;
    std::unique_ptr<Data4> d;
    if (name.empty()) return failOpen(code, d, e4fileFind, name, report);

    std::string path = findFile(f, dataNameFor(name));
    std::string canon = canonical(path);
    for (const auto& t : code->tables)
        if (t->canonicalPath == canon) return failOpen(code, d, e4instance, path, report);

    d = std::make_unique<Data4>();
    d->code = code;
    d->path = path;
    d->canonicalPath = canon;
    d->alias = bytes4::upper(baseName(path));
    d->readOnlyAttribute = f.readOnlyAttribute(path); // false when there is no such file
    d->readOnlyOpen = code->readOnly != 0;
    d->exclusive = code->openShareMode == 1;
    // With the readOnly setting the file is still opened for writing where allowed, because
    // POSIX refuses exclusive byte-range locks on a descriptor opened for reading only; the
    // engine itself refuses every write.
    int flags = d->readOnlyAttribute ? O_RDONLY : O_RDWR;
    if (code->writeThrough) flags |= O_DSYNC;
    d->network = f.onNetworkFileSystem(path);
    const bool writer = !d->readOnlyAttribute && !d->readOnlyOpen;
    // A pack replaces the data file with a new one while it holds the old one exclusively: an
    // open that got the old file just before that marks a file nobody will see again, and opens
    // once more.
    for (int attempt = 1;; ++attempt) {
        const int fd = f.open(path, flags, 0);
        if (fd < 0) return failOpen(code, d, openErrorFor(fd), path, report);
        d->fd = fd;
        if (takeShareLocks(code, fd, code->openShareMode, writer, d->network) != 0)
            return failOpen(code, d, e4permiss, path, report);
        if (attempt == kReplacedOpenAttempts || f.sameFile(fd, path)) break;
        dropShareLocks(code, fd);
        f.close(fd);
        d->fd = -1;
    }

    int rc = readStructure(d.get());
    if (rc != 0) return failOpen(code, d, rc, path, report);
    d->oldLockLayout = !(d->tableFlags & 0x01) && d->version != 0x30;
    d->record.assign(d->recordLength, ' ');

    if (code->autoOpen && (d->tableFlags & 0x01)) {
        d->indexPath = findFile(f, indexNameFor(path));
        int ifd = f.open(d->indexPath, flags, 0);
        if (ifd < 0) return failOpen(code, d, openErrorFor(ifd), d->indexPath, report);
        d->indexFd = ifd;
        if (takeShareLocks(code, ifd, code->openShareMode, writer, d->network) != 0)
            return failOpen(code, d, e4permiss, d->indexPath, report);
        d->cdx = std::make_unique<Cdx4>(f, ifd, d->indexPath);
        rc = d->cdx->open();
        if (rc == 0) rc = buildTags(d.get());
        if (rc != 0) return failOpen(code, d, rc, d->indexPath, report);
        // Other processes' index changes are noticed by their change counter, read before every
        // tag-ordered move; a mapped page makes that a memory read. A valid index is at least
        // two pages long, and nobody can shorten it while we have it open.
        if (!d->network && f.size(ifd) >= 2 * Cdx4::kPageSize) {
            d->indexHeaderView = f.mapForReading(ifd, Cdx4::kPageSize);
            d->cdx->setHeaderView(d->indexHeaderView);
        }
        d->cdx->setBlockReads(d->network);
    }
    setEof(d.get(), d->headerCount);
    d->bof = d->headerCount == 0;
    Data4* result = d.get();
    code->tables.push_back(std::move(d));
    return result;
}

Data4* d4create(Code4* code, const std::string& name, const Field4info& fieldInfo, const Tag4info* tagInfo) {
    if (!code) return nullptr;
    if (code->errorCode < 0) return nullptr;
    code->errorCode = 0;
    File4System& f = *code->fs;
    const std::string path = dataNameFor(name);
    auto fail = [&](int err, const std::string& file) -> Data4* {
        code->lastOpenError = err;
        if (err > 0)
            code->errorCode = err;
        else
            error4(code, err, kLocCreate, "d4create", file.c_str());
        return nullptr;
    };

    // A table of that name open in this context: compared without regard to case.
    const std::string wanted = lower(canonical(path));
    for (const auto& t : code->tables)
        if (lower(t->canonicalPath) == wanted || lower(t->path) == lower(path))
            return fail(e4create, path);

    // The structure: fields, then tags with their expressions, before any file exists.
    auto d = std::make_unique<Data4>();
    d->code = code;
    d->path = path;
    d->alias = bytes4::upper(baseName(path));
    int offset = 1;
    for (const auto& e : fieldInfo.entries()) {
        if (!knownType(e.type)) return fail(e4fieldType, path);
        if (e.width < 1 || e.width > 254 || e.name.empty()) return fail(e4parm, path);
        for (const auto& other : d->fields)
            if (other.name == e.name) return fail(e4parm, path);
        Field4 fld;
        fld.data = d.get();
        fld.name = e.name;
        fld.type = e.type;
        fld.width = e.width;
        fld.decimals = e.decimals;
        fld.offset = offset;
        offset += e.width;
        d->fields.push_back(fld);
    }
    if (d->fields.empty()) return fail(e4parm, path);
    if (offset > 65500 || d->fields.size() > 2000) return fail(e4recordLen, path);
    d->recordLength = static_cast<std::uint32_t>(offset);
    d->headerLength = static_cast<std::uint32_t>(32 * d->fields.size() + 33);

    std::vector<Cdx4::TagSpec> specs;
    std::vector<int> uniqueSettings;
    if (tagInfo) {
        for (const auto& t : tagInfo->entries()) {
            int rc = checkTagInfo(t);
            if (rc != 0) return fail(rc, path);
            std::unique_ptr<Expr4> key, filter;
            rc = Expr4::parse(t.expression, d->fields, key);
            if (rc != 0) return fail(rc, path);
            if (key->type() != Expr4::Type::character || key->length() < 1 || key->length() > 240)
                return fail(e4tagExpr, path);
            if (!t.filter.empty()) {
                rc = Expr4::parse(t.filter, d->fields, filter);
                if (rc != 0) return fail(rc, path);
                if (filter->type() != Expr4::Type::logical) return fail(e4tagExpr, path);
            }
            for (const auto& s : specs)
                if (s.name == t.name) return fail(e4tagInfo, path);
            Cdx4::TagSpec s;
            s.name = t.name;
            s.keyExpr = t.expression;
            s.filterExpr = t.filter;
            s.keyLength = key->length();
            s.descending = t.descending == r4descending;
            s.options = Cdx4::kOptCompact | Cdx4::kOptCompound;
            if (t.unique == res4unique || t.unique == res4uniqueContinue || t.unique == e4unique)
                s.options |= Cdx4::kOptUnique;
            if (t.unique == res4candidate || t.unique == e4candidate) s.options |= Cdx4::kOptCandidate;
            if (!t.filter.empty()) s.options |= Cdx4::kOptFilter;
            specs.push_back(s);
            uniqueSettings.push_back(t.unique);
        }
    }
    const bool withIndex = !specs.empty();
    d->indexPath = withIndex ? indexNameFor(path) : std::string();

    // The files. An existing file is never touched while overwriting is refused.
    auto existing = [&](const std::string& p) { return f.exists(p) || findFile(f, p) != p; };
    bool dataExists = existing(path);
    bool indexExists = withIndex && existing(d->indexPath);
    if ((dataExists || indexExists) && code->refuseOverwrite) return fail(res4noCreate, path);
    // Both files are opened without truncation and held exclusively before either is emptied:
    // a file another user has open is refused untouched, and nobody can open it in between.
    int flags = O_RDWR | O_CREAT | (code->refuseOverwrite ? O_EXCL : 0);
    if (code->writeThrough) flags |= O_DSYNC;
    d->network = f.onNetworkFileSystem(folderOf(path).empty() ? "." : folderOf(path));
    std::vector<std::string> made; // files this call brought into being, removed on failure
    auto openExclusive = [&](const std::string& p, int* out) -> int {
        const bool existed = f.exists(p);
        int fd = f.open(p, flags, 0666);
        if (fd < 0) return fd == -EEXIST ? res4noCreate : fd == -ENOSPC ? e4write : e4create;
        *out = fd;
        if (!existed) made.push_back(p);
        if (takeShareLocks(code, fd, 1, true, d->network) != 0) return res4noCreate;
        return 0;
    };
    auto failFiles = [&](int err, const std::string& file) -> Data4* {
        closeFiles(d.get());
        for (const auto& p : made) f.remove(p);
        return fail(err, file);
    };
    int rc = openExclusive(path, &d->fd);
    if (rc != 0) return failFiles(rc, path);
    if (withIndex) {
        rc = openExclusive(d->indexPath, &d->indexFd);
        if (rc != 0) return failFiles(rc, d->indexPath);
    }
    for (int file : {d->fd, d->indexFd})
        if (file >= 0 && f.ftruncate(file, 0) != 0) return failFiles(e4write, path);
    const int fd = d->fd;
    d->version = 0x03;
    d->headerCount = 0;
    d->tableFlags = 0;
    touchDate(d.get());
    std::vector<std::uint8_t> header(d->headerLength + 1, 0);
    header[0] = d->version;
    std::memcpy(&header[1], d->date, 3);
    putLe32(&header[4], 0);
    putLe16(&header[8], d->headerLength);
    putLe16(&header[10], d->recordLength);
    for (std::size_t i = 0; i < d->fields.size(); ++i) {
        std::uint8_t* p = &header[32 + 32 * i];
        const Field4& fld = d->fields[i];
        std::memcpy(p, fld.name.data(), std::min<std::size_t>(fld.name.size(), 10));
        p[11] = static_cast<std::uint8_t>(fld.type);
        putLe32(p + 12, static_cast<std::uint32_t>(fld.offset));
        p[16] = static_cast<std::uint8_t>(fld.width);
        p[17] = static_cast<std::uint8_t>(fld.decimals);
    }
    header[d->headerLength - 1] = 0x0D;
    header[d->headerLength] = 0x1A;
    long long w = f.pwrite(fd, header.data(), header.size(), 0);
    if (w != static_cast<long long>(header.size())) return failFiles(e4write, path);

    if (withIndex) {
        const int ifd = d->indexFd;
        d->cdx = std::make_unique<Cdx4>(f, ifd, d->indexPath);
        rc = d->cdx->create(specs);
        if (rc == 0) rc = d->cdx->open();
        if (rc == 0) rc = buildTags(d.get());
        if (rc != 0) return failFiles(rc, d->indexPath);
        for (std::size_t i = 0; i < d->tags.size(); ++i) {
            Tag4* t = d->tags[i].get();
            t->unique = (t->uniqueTag || t->candidateTag) ? uniqueSettings[i] : 0;
        }
        d->cdx->setBlockReads(d->network);
        d->tableFlags = 0x01;
        std::uint8_t flag = 0x01;
        if (f.pwrite(fd, &flag, 1, 28) != 1) return failFiles(e4write, path);
    }
    d->oldLockLayout = !(d->tableFlags & 0x01);

    // From exclusive to the context's normal share mode.
    for (int file : {d->fd, d->indexFd}) {
        if (file < 0) continue;
        dropShareLocks(code, file);
        if (takeShareLocks(code, file, code->openShareMode, true, d->network) != 0)
            return failFiles(e4permiss, path);
    }
    d->exclusive = code->openShareMode == 1;
    d->canonicalPath = canonical(path);
    d->record.assign(d->recordLength, ' ');
    setEof(d.get(), 0);
    d->bof = true;
    Data4* result = d.get();
    code->tables.push_back(std::move(d));
    return result;
}

int d4close(Data4* data) {
    if (!data) return e4parmNull;
    Code4* code = data->code;
    int saved = code->errorCode < 0 ? code->errorCode : 0;
    if (saved) code->errorCode = 0;
    int rc = 0;
    if (data->recNo > 0 && data->changed) {
        rc = recordWrite(data);
        if (rc == res4unique) rc = 0; // a refused rewrite is dropped with the table
    }
    if ((data->appendLocked || data->fileLocked) && data->headerChanged) {
        int hr = writeHeaderStart(data);
        if (rc == 0) rc = hr;
    }
    // What the sync hold kept back reaches the disk before the table goes.
    if (data->syncOwed) {
        int sr = syncFiles(data);
        if (rc == 0) rc = sr;
    }
    int lr = releaseLocks(data);
    if (rc == 0) rc = lr;
    closeFiles(data);
    removeFromContext(data);
    if (saved) code->errorCode = saved;
    return rc;
}

const char* d4alias(const Data4* data) { return data ? data->alias.c_str() : ""; }

int d4numFields(const Data4* data) { return data ? static_cast<int>(data->fields.size()) : 0; }

int d4recWidth(const Data4* data) { return data ? static_cast<int>(data->recordLength) : 0; }

Field4* d4field(Data4* data, const std::string& name) {
    if (!data) {
        error4(nullptr, e4parmNull, kLocField, "d4field");
        return nullptr;
    }
    if (pending(data)) return nullptr;
    std::string want = bytes4::upper(name);
    while (!want.empty() && want.back() == ' ') want.pop_back();
    for (auto& f : data->fields)
        if (f.name == want) return &f;
    error4(data->code, e4fieldName, kLocField, "d4field", want.c_str());
    return nullptr;
}

Field4* d4fieldJ(Data4* data, int number) {
    if (!data || number < 1 || number > static_cast<int>(data->fields.size())) return nullptr;
    return &data->fields[static_cast<std::size_t>(number - 1)];
}

} // namespace orv
