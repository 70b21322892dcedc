// The other user in the engine's concurrency tests: a separate process working on the same
// table. It reports on standard output, one line per event, and flushes every line.
//
//   storage_peer lockall TABLE MS MARKER   d4lockAll, "locked", hold MS, write MARKER, unlock
//   storage_peer lockrec TABLE REC MS      lock one record, "locked", hold MS, unlock
//   storage_peer write TABLE REC FIELD TEXT   rewrite one record, flush, unlock, "done"
//   storage_peer append TABLE N FIELD PREFIX  append N records, each flushed; "added R" each
//   storage_peer open TABLE MODE MS        open in share mode MODE: "opened" or "refused CODE", hold
//   storage_peer churn TABLE N             N rounds of appending and rewriting keyed records
//   storage_peer appendloop TABLE          appends until killed; "added R" after each flush

#include "storage/Data4.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace orv;

namespace {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void sleepMs(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

Data4* openOrDie(Code4& code, const char* path) {
    Data4* d = d4open(&code, path);
    if (!d) {
        say("refused " + std::to_string(code.errorCode));
        std::exit(3);
    }
    for (Tag4* t = d4tagNext(d, nullptr); t; t = d4tagNext(d, t))
        if (t->uniqueTag) t4uniqueSet(t, res4unique);
    return d;
}

int appendOne(Data4* d, const char* field, const std::string& value) {
    d4appendStart(d, 0);
    d4blank(d);
    f4assign(d4field(d, field), value);
    int rc = d4append(d);
    if (rc == 0) rc = d4flush(d);
    d4unlock(d);
    return rc;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string mode = argv[1];
    const char* path = argv[2];
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;

    if (mode == "lockall" && argc == 5) {
        Data4* d = openOrDie(code, path);
        if (d4lockAll(d) != 0) return 4;
        say("locked");
        sleepMs(std::atol(argv[3]));
        int fd = ::open(argv[4], O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) ::close(fd);
        d4unlock(d);
        return 0;
    }
    if (mode == "lockrec" && argc == 5) {
        Data4* d = openOrDie(code, path);
        if (d4lock(d, std::atol(argv[3])) != 0) return 4;
        say("locked");
        sleepMs(std::atol(argv[4]));
        d4unlock(d);
        return 0;
    }
    if (mode == "write" && argc == 6) {
        Data4* d = openOrDie(code, path);
        if (d4go(d, std::atol(argv[3])) != 0) return 4;
        f4assign(d4field(d, argv[4]), argv[5]);
        int rc = d4flush(d);
        d4unlock(d);
        say(rc == 0 ? "done" : "failed " + std::to_string(rc));
        return rc == 0 ? 0 : 5;
    }
    if (mode == "append" && argc == 6) {
        Data4* d = openOrDie(code, path);
        long n = std::atol(argv[3]);
        for (long i = 0; i < n; ++i) {
            int rc = appendOne(d, argv[4], std::string(argv[5]) + std::to_string(i));
            if (rc != 0) {
                say("failed " + std::to_string(rc));
                return 5;
            }
            say("added " + std::to_string(d4recNo(d)));
        }
        return 0;
    }
    if (mode == "open" && argc == 5) {
        code.openShareMode = static_cast<std::uint8_t>(std::atoi(argv[3]));
        Data4* d = d4open(&code, path);
        say(d ? "opened" : "refused " + std::to_string(code.errorCode));
        sleepMs(std::atol(argv[4]));
        return d ? 0 : 3;
    }
    if (mode == "churn" && argc == 4) {
        // Keyed records "K<n>" appended, then rewritten to "Z<n>" so that a reader's index pages
        // keep going stale under it.
        Data4* d = openOrDie(code, path);
        long n = std::atol(argv[3]);
        Field4* key = d4field(d, "KEY");
        for (long i = 0; i < n; ++i) {
            char k[32];
            std::snprintf(k, sizeof k, "K%06ld", i);
            if (appendOne(d, "KEY", k) != 0) return 5;
            long rec = d4recNo(d);
            if (d4go(d, rec) != 0) return 5;
            std::snprintf(k, sizeof k, "Z%06ld", i);
            f4assign(key, k);
            if (d4flush(d) != 0) return 5;
            d4unlock(d);
        }
        say("done");
        return 0;
    }
    if (mode == "appendloop" && argc == 3) {
        Data4* d = openOrDie(code, path);
        for (long i = 0;; ++i) {
            char k[32];
            std::snprintf(k, sizeof k, "A%07ld", i);
            if (appendOne(d, "KEY", k) != 0) return 5;
            say("added " + std::to_string(d4recNo(d)) + " " + k);
        }
    }
    return 2;
}
