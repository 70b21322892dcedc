// orv_passfs: a pass-through FUSE file system (libfuse3) that stands in for a network share in
// tests and benchmarks. Every file operation reaches this program (no page cache: direct I/O;
// no attribute or name cache), so each one is a round trip as on a share, and an optional delay
// is added to each, like the latency of a slow link. statfs reports FUSE, so the engine takes
// its network path on the mount.
//
// usage: orv_passfs FOLDER MOUNTPOINT [-o delay_us=N] [-o counts=FILE] [FUSE options]
//
//   FOLDER      the real folder shown at MOUNTPOINT
//   delay_us    microseconds slept in every operation (default 0)
//   counts      when the file system is unmounted, the number of operations of each kind is
//               written to FILE ("read 1234" lines, then "total N")
//
// The same lines, as they stand, are the contents of MOUNTPOINT/.orv_passfs_counts (not counted
// itself), so that a program can take the counts before and after each of its actions.
//
// Byte-range locks (fcntl, OFD) and flock are left to the kernel, which keeps them for every
// process of this machine: they do not reach this program and get no delay.
//
// Unmount with `fusermount3 -u MOUNTPOINT` (or `umount`); add -f to stay in the foreground.

#define FUSE_USE_VERSION 31

#include <fuse.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace {

struct Options {
    unsigned delayUs = 0;
    char* counts = nullptr;
};

Options g_options;
std::string g_root;

enum Op {
    kGetattr,
    kReaddir,
    kOpen,
    kCreate,
    kRead,
    kWrite,
    kFsync,
    kFlush,
    kRelease,
    kTruncate,
    kUnlink,
    kRename,
    kMkdir,
    kRmdir,
    kChmod,
    kChown,
    kUtimens,
    kStatfs,
    kAccess,
    kOther,
    kOpCount
};
const char* const kOpNames[kOpCount] = {"getattr", "readdir", "open",   "create",  "read",
                                        "write",   "fsync",   "flush",  "release", "truncate",
                                        "unlink",  "rename",  "mkdir",  "rmdir",   "chmod",
                                        "chown",   "utimens", "statfs", "access",  "other"};
std::atomic<unsigned long long> g_counts[kOpCount];

// Counts the operation and waits the added delay.
void roundTrip(Op op) {
    g_counts[op].fetch_add(1, std::memory_order_relaxed);
    if (g_options.delayUs)
        std::this_thread::sleep_for(std::chrono::microseconds(g_options.delayUs));
}

std::string real(const char* path) {
    return g_root + path;
}

// The counts file: a name nothing else uses, read through the mount without being counted.
constexpr const char* kCountsName = "/.orv_passfs_counts";
constexpr std::uint64_t kCountsHandle = ~std::uint64_t{0};
bool isCounts(const char* path) {
    return path && std::strcmp(path, kCountsName) == 0;
}

std::string countsText() {
    std::string text;
    unsigned long long total = 0;
    char line[64];
    for (int i = 0; i < kOpCount; ++i) {
        const unsigned long long n = g_counts[i].load();
        total += n;
        if (!n) continue;
        std::snprintf(line, sizeof line, "%s %llu\n", kOpNames[i], n);
        text += line;
    }
    std::snprintf(line, sizeof line, "total %llu\n", total);
    return text + line;
}

int fail() {
    return -errno;
}

void* fs_init(fuse_conn_info*, fuse_config* cfg) {
    cfg->use_ino = 1;
    cfg->nullpath_ok = 1;
    cfg->hard_remove = 1; // an open file that is removed or renamed over stays usable
    cfg->direct_io = 1;   // every read and write reaches us
    cfg->kernel_cache = 0;
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    return nullptr;
}

void fs_destroy(void*) {
    if (!g_options.counts) return;
    std::FILE* out = std::fopen(g_options.counts, "w");
    if (!out) return;
    std::fputs(countsText().c_str(), out);
    std::fclose(out);
}

int fs_getattr(const char* path, struct stat* st, fuse_file_info* fi) {
    if (isCounts(path) || (fi && fi->fh == kCountsHandle)) {
        *st = {};
        st->st_mode = S_IFREG | 0444;
        st->st_nlink = 1;
        st->st_size = 4096;
        return 0;
    }
    roundTrip(kGetattr);
    const int r = fi ? ::fstat(static_cast<int>(fi->fh), st) : ::lstat(real(path).c_str(), st);
    return r < 0 ? fail() : 0;
}

int fs_access(const char* path, int mask) {
    roundTrip(kAccess);
    return ::access(real(path).c_str(), mask) < 0 ? fail() : 0;
}

int fs_readlink(const char* path, char* buf, std::size_t size) {
    roundTrip(kOther);
    const ssize_t n = ::readlink(real(path).c_str(), buf, size - 1);
    if (n < 0) return fail();
    buf[n] = '\0';
    return 0;
}

int fs_opendir(const char* path, fuse_file_info* fi) {
    roundTrip(kReaddir);
    DIR* dir = ::opendir(real(path).c_str());
    if (!dir) return fail();
    fi->fh = reinterpret_cast<std::uintptr_t>(dir);
    return 0;
}

int fs_readdir(const char*, void* buf, fuse_fill_dir_t filler, off_t, fuse_file_info* fi,
               fuse_readdir_flags) {
    DIR* dir = reinterpret_cast<DIR*>(static_cast<std::uintptr_t>(fi->fh));
    ::rewinddir(dir);
    while (dirent* e = ::readdir(dir)) {
        struct stat st {};
        st.st_ino = e->d_ino;
        st.st_mode = static_cast<mode_t>(e->d_type) << 12;
        if (filler(buf, e->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0))) break;
    }
    return 0;
}

int fs_releasedir(const char*, fuse_file_info* fi) {
    ::closedir(reinterpret_cast<DIR*>(static_cast<std::uintptr_t>(fi->fh)));
    return 0;
}

int fs_mknod(const char* path, mode_t mode, dev_t rdev) {
    roundTrip(kOther);
    const int r = S_ISFIFO(mode) ? ::mkfifo(real(path).c_str(), mode)
                                 : ::mknod(real(path).c_str(), mode, rdev);
    return r < 0 ? fail() : 0;
}

int fs_mkdir(const char* path, mode_t mode) {
    roundTrip(kMkdir);
    return ::mkdir(real(path).c_str(), mode) < 0 ? fail() : 0;
}

int fs_unlink(const char* path) {
    roundTrip(kUnlink);
    return ::unlink(real(path).c_str()) < 0 ? fail() : 0;
}

int fs_rmdir(const char* path) {
    roundTrip(kRmdir);
    return ::rmdir(real(path).c_str()) < 0 ? fail() : 0;
}

int fs_symlink(const char* from, const char* to) {
    roundTrip(kOther);
    return ::symlink(from, real(to).c_str()) < 0 ? fail() : 0;
}

int fs_rename(const char* from, const char* to, unsigned int flags) {
    roundTrip(kRename);
    if (flags) return -EINVAL;
    return ::rename(real(from).c_str(), real(to).c_str()) < 0 ? fail() : 0;
}

int fs_link(const char* from, const char* to) {
    roundTrip(kOther);
    return ::link(real(from).c_str(), real(to).c_str()) < 0 ? fail() : 0;
}

int fs_chmod(const char* path, mode_t mode, fuse_file_info* fi) {
    roundTrip(kChmod);
    const int r = fi ? ::fchmod(static_cast<int>(fi->fh), mode) : ::chmod(real(path).c_str(), mode);
    return r < 0 ? fail() : 0;
}

int fs_chown(const char* path, uid_t uid, gid_t gid, fuse_file_info* fi) {
    roundTrip(kChown);
    const int r =
        fi ? ::fchown(static_cast<int>(fi->fh), uid, gid) : ::lchown(real(path).c_str(), uid, gid);
    return r < 0 ? fail() : 0;
}

int fs_truncate(const char* path, off_t size, fuse_file_info* fi) {
    roundTrip(kTruncate);
    const int r =
        fi ? ::ftruncate(static_cast<int>(fi->fh), size) : ::truncate(real(path).c_str(), size);
    return r < 0 ? fail() : 0;
}

int fs_utimens(const char* path, const timespec tv[2], fuse_file_info* fi) {
    roundTrip(kUtimens);
    const int r = fi ? ::futimens(static_cast<int>(fi->fh), tv)
                     : ::utimensat(AT_FDCWD, real(path).c_str(), tv, AT_SYMLINK_NOFOLLOW);
    return r < 0 ? fail() : 0;
}

int fs_create(const char* path, mode_t mode, fuse_file_info* fi) {
    roundTrip(kCreate);
    const int fd = ::open(real(path).c_str(), fi->flags, mode);
    if (fd < 0) return fail();
    fi->fh = static_cast<std::uint64_t>(fd);
    fi->direct_io = 1;
    return 0;
}

int fs_open(const char* path, fuse_file_info* fi) {
    if (isCounts(path)) {
        fi->fh = kCountsHandle;
        fi->direct_io = 1;
        return 0;
    }
    roundTrip(kOpen);
    const int fd = ::open(real(path).c_str(), fi->flags);
    if (fd < 0) return fail();
    fi->fh = static_cast<std::uint64_t>(fd);
    fi->direct_io = 1;
    return 0;
}

int fs_read(const char*, char* buf, std::size_t size, off_t offset, fuse_file_info* fi) {
    if (fi->fh == kCountsHandle) {
        const std::string text = countsText();
        if (offset >= static_cast<off_t>(text.size())) return 0;
        const std::size_t n = std::min(size, text.size() - static_cast<std::size_t>(offset));
        std::memcpy(buf, text.data() + offset, n);
        return static_cast<int>(n);
    }
    roundTrip(kRead);
    const ssize_t n = ::pread(static_cast<int>(fi->fh), buf, size, offset);
    return n < 0 ? fail() : static_cast<int>(n);
}

int fs_write(const char*, const char* buf, std::size_t size, off_t offset, fuse_file_info* fi) {
    roundTrip(kWrite);
    const ssize_t n = ::pwrite(static_cast<int>(fi->fh), buf, size, offset);
    return n < 0 ? fail() : static_cast<int>(n);
}

int fs_statfs(const char* path, struct statvfs* st) {
    roundTrip(kStatfs);
    return ::statvfs(real(path).c_str(), st) < 0 ? fail() : 0;
}

int fs_flush(const char*, fuse_file_info* fi) {
    if (fi->fh == kCountsHandle) return 0;
    roundTrip(kFlush);
    // Closing a duplicate reports write errors of the real file without closing it.
    const int r = ::close(::dup(static_cast<int>(fi->fh)));
    return r < 0 ? fail() : 0;
}

int fs_release(const char*, fuse_file_info* fi) {
    if (fi->fh == kCountsHandle) return 0;
    roundTrip(kRelease);
    ::close(static_cast<int>(fi->fh));
    return 0;
}

int fs_fsync(const char*, int dataOnly, fuse_file_info* fi) {
    roundTrip(kFsync);
    const int fd = static_cast<int>(fi->fh);
    const int r = dataOnly ? ::fdatasync(fd) : ::fsync(fd);
    return r < 0 ? fail() : 0;
}

int fs_fallocate(const char*, int mode, off_t offset, off_t length, fuse_file_info* fi) {
    roundTrip(kOther);
    if (mode) return -EOPNOTSUPP;
    return -::posix_fallocate(static_cast<int>(fi->fh), offset, length);
}

off_t fs_lseek(const char*, off_t off, int whence, fuse_file_info* fi) {
    roundTrip(kOther);
    const off_t r = ::lseek(static_cast<int>(fi->fh), off, whence);
    return r < 0 ? -errno : r;
}

const fuse_opt kOptionSpecs[] = {
    {"delay_us=%u", offsetof(Options, delayUs), 0},
    {"counts=%s", offsetof(Options, counts), 0},
    FUSE_OPT_END,
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orv_passfs FOLDER MOUNTPOINT [-o delay_us=N] [-o counts=FILE] "
                             "[FUSE options]\n");
        return 2;
    }
    char resolved[PATH_MAX];
    if (!::realpath(argv[1], resolved)) {
        std::perror(argv[1]);
        return 1;
    }
    g_root = resolved;
    if (g_root == "/") g_root.clear();

    // The folder is ours; the rest goes to libfuse.
    fuse_args args = FUSE_ARGS_INIT(0, nullptr);
    fuse_opt_add_arg(&args, argv[0]);
    for (int i = 2; i < argc; ++i)
        fuse_opt_add_arg(&args, argv[i]);
    if (fuse_opt_parse(&args, &g_options, kOptionSpecs, nullptr) != 0) return 2;
    fuse_opt_add_arg(&args, "-odefault_permissions");
    fuse_opt_add_arg(&args, "-ofsname=orv_passfs");

    fuse_operations ops{};
    ops.init = fs_init;
    ops.destroy = fs_destroy;
    ops.getattr = fs_getattr;
    ops.access = fs_access;
    ops.readlink = fs_readlink;
    ops.opendir = fs_opendir;
    ops.readdir = fs_readdir;
    ops.releasedir = fs_releasedir;
    ops.mknod = fs_mknod;
    ops.mkdir = fs_mkdir;
    ops.unlink = fs_unlink;
    ops.rmdir = fs_rmdir;
    ops.symlink = fs_symlink;
    ops.rename = fs_rename;
    ops.link = fs_link;
    ops.chmod = fs_chmod;
    ops.chown = fs_chown;
    ops.truncate = fs_truncate;
    ops.utimens = fs_utimens;
    ops.create = fs_create;
    ops.open = fs_open;
    ops.read = fs_read;
    ops.write = fs_write;
    ops.statfs = fs_statfs;
    ops.flush = fs_flush;
    ops.release = fs_release;
    ops.fsync = fs_fsync;
    ops.fallocate = fs_fallocate;
    ops.lseek = fs_lseek;
    const int rc = fuse_main(args.argc, args.argv, &ops, nullptr);
    fuse_opt_free_args(&args);
    return rc;
}
