#pragma once
// A real FUSE pass-through file system for one test (tests/fusefs/orv_passfs): a scratch folder
// shown at a mount point, which statfs reports as FUSE, so the engine takes its network path
// there, and every read and write goes through the FUSE daemon as it would go to a server.
//
//   FuseMount fuse;             // or FuseMount fuse(2000): 2 ms added to every operation
//   if (!fuse.mounted()) GTEST_SKIP() << fuse.why();
//   ... work in fuse.path() ...
//
// Where FUSE cannot be had (no /dev/fuse, mounting not permitted, libfuse3 missing when the
// tests were built) mounted() is false and why() says so. The file system is unmounted and both
// folders removed at the end.

#include "common/TempDir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef ORV_PASSFS
#define ORV_PASSFS ORV_HELPER_DIR "/orv_passfs"
#endif

namespace orv::test {

class FuseMount {
public:
    static constexpr long kFuseMagic = 0x65735546;

    explicit FuseMount(unsigned delayUs = 0) {
        namespace fs = std::filesystem;
        if (!fs::exists(ORV_PASSFS)) {
            m_why = "FUSE not available: " ORV_PASSFS " was not built (libfuse3-dev missing)";
            return;
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            m_why = std::string("FUSE not available: /dev/fuse: ") + std::strerror(errno);
            return;
        }
        std::error_code ec;
        fs::create_directories(m_root.path() + "/backing", ec);
        fs::create_directories(m_root.path() + "/mount", ec);
        std::vector<std::string> args{ORV_PASSFS, m_root.path() + "/backing", mountPoint()};
        if (delayUs) {
            args.push_back("-o");
            args.push_back("delay_us=" + std::to_string(delayUs));
        }
        // The daemon's parent returns once the file system is mounted.
        const int status = run(args);
        m_started = status == 0;
        if (status != 0) {
            m_why = "FUSE not available: orv_passfs could not mount (status " +
                    std::to_string(status) + "; mounting may not be permitted here)";
            return;
        }
        struct statfs sf {};
        if (::statfs(mountPoint().c_str(), &sf) != 0 ||
            static_cast<long>(sf.f_type) != kFuseMagic) {
            m_why = "FUSE not available: the mount point does not show a FUSE file system";
            unmount();
            return;
        }
        m_mounted = true;
    }
    ~FuseMount() { unmount(); }
    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& why() const { return m_why; }
    // The folder to work in, on the FUSE file system.
    std::string path() const { return mountPoint(); }
    std::string file(const std::string& name) const { return mountPoint() + "/" + name; }
    // The same folder seen directly, not through FUSE.
    std::string backing() const { return m_root.path() + "/backing"; }

private:
    std::string mountPoint() const { return m_root.path() + "/mount"; }

    static int run(const std::vector<std::string>& args) {
        const pid_t pid = ::fork();
        if (pid < 0) return -1;
        if (pid == 0) {
            std::vector<char*> argv;
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            // The daemon outlives no test: leak reports of a sanitizer build say nothing here.
            ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Also when the daemon has died (the mount point then answers "not connected").
    void unmount() {
        if (m_unmounted || !m_started) return;
        m_unmounted = true;
        if (run({"fusermount3", "-u", "-z", mountPoint()}) != 0)
            ::umount2(mountPoint().c_str(), MNT_DETACH);
        m_mounted = false;
    }

    TempDir m_root;
    std::string m_why;
    bool m_started = false; // orv_passfs said it mounted
    bool m_mounted = false;
    bool m_unmounted = false;
};

} // namespace orv::test
