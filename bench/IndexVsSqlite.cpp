// The indexed schedule table against SQLite on the same work, in one process:
//   seek     random existing keys (d4seek / SELECT by the four key columns)
//   walk     the whole table in key order (tag-ordered d4skip / SELECT ... ORDER BY the key)
//   append   one reservation written and flushed to disk (the program's add sequence with
//            d4flush / one INSERT per transaction with synchronous=FULL)
//   reindex  the schedule tag built anew from all rows and flushed (d4reindex + d4flush /
//            CREATE UNIQUE INDEX on the four key columns after the old index was dropped)
// Prints microseconds per operation and the ratio ours / SQLite.
//
// usage: index_vs_sqlite [RECORDS] [FOLDER]   (defaults: 1000000, the temp folder)

#include "ScheduleLayout.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

using namespace orv;
using namespace orv::bench;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void exec(sqlite3* db, const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }

struct Result {
    double seek = 0, walk = 0, append = 0; // microseconds per operation
    double reindex = 0;                    // seconds
};

Result runOurs(const std::string& folder, long records, const std::vector<long>& probes, int appends) {
    Result r;
    const std::string path = folder + "/OursSched";
    std::filesystem::remove(path + ".dbf");
    std::filesystem::remove(path + ".cdx");
    Code4 code;
    code4init(&code);
    Tag4info tags = scheduleTag();
    Data4* d = d4create(&code, path, scheduleFields(), &tags);
    if (!d) std::exit(1);
    Tag4* tag = d4tag(d, "SCHEDTAG");
    d4tagSelect(d, tag);
    auto t0 = Clock::now();
    d4lockAll(d);
    for (long i = 0; i < records; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        assignBooking(d, booking(i));
        if (d4append(d) != 0) {
            std::fprintf(stderr, "append %ld failed\n", i);
            std::exit(1);
        }
    }
    d4flush(d);
    d4unlock(d);
    std::printf("  ours: loaded %ld records in %.1f s\n", records, secondsSince(t0));
    d4close(d);

    d = d4open(&code, path);
    t0 = Clock::now();
    if (d4reindex(d) != 0 || d4flush(d) != 0) std::exit(1);
    r.reindex = secondsSince(t0);
    d4close(d);

    d = d4open(&code, path);
    tag = d4tag(d, "SCHEDTAG");
    t4uniqueSet(tag, res4unique);
    d4tagSelect(d, tag);
    // Warm the page cache the way a running program has it.
    for (long i = 0; i < 1000; ++i) d4seek(d, bookingKey(booking(probes[static_cast<std::size_t>(i)])));

    t0 = Clock::now();
    for (long p : probes) {
        if (d4seek(d, bookingKey(booking(p))) != 0) {
            std::fprintf(stderr, "seek %ld missed\n", p);
            std::exit(1);
        }
    }
    r.seek = secondsSince(t0) * 1e6 / static_cast<double>(probes.size());

    Field4* date = d4field(d, "DATE");
    t0 = Clock::now();
    long seen = 0;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
        if (f4str(date).empty()) std::exit(1);
        ++seen;
    }
    r.walk = secondsSince(t0) * 1e6 / static_cast<double>(seen);
    if (seen != records) std::fprintf(stderr, "walk saw %ld of %ld\n", seen, records);

    t0 = Clock::now();
    for (int i = 0; i < appends; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        assignBooking(d, booking(records + i));
        if (d4append(d) == 0) d4flush(d);
        d4unlock(d);
    }
    r.append = secondsSince(t0) * 1e6 / appends;
    code4initUndo(&code);
    return r;
}

Result runSqlite(const std::string& folder, long records, const std::vector<long>& probes, int appends) {
    Result r;
    const std::string path = folder + "/sched.sqlite";
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-journal");
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    exec(db, "PRAGMA synchronous=FULL");
    std::string create = "CREATE TABLE sched (";
    for (int i = 0; i < 17; ++i) {
        create += kScheduleFields[i][0];
        create += i < 16 ? " TEXT, " : " TEXT)";
    }
    exec(db, create.c_str());
    exec(db, "CREATE UNIQUE INDEX schedtag ON sched (DATE, ROOMNAME, STARTHH, STARTMM)");
    const char* insertSql = "INSERT INTO sched VALUES (?,?,?,?,?,?,?,?,'','','Weekly planning','20261208','0930','000','00000','00000000','')";
    sqlite3_stmt* ins = nullptr;
    check(sqlite3_prepare_v2(db, insertSql, -1, &ins, nullptr), db, "prepare insert");
    auto insert = [&](long i) {
        Booking b = booking(i);
        const std::string* v[] = {&b.date, &b.room, &b.hh, &b.mm, &b.ehh, &b.emm, &b.last, &b.first};
        for (int k = 0; k < 8; ++k) sqlite3_bind_text(ins, k + 1, v[k]->c_str(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(ins), db, "insert");
        sqlite3_reset(ins);
    };
    auto t0 = Clock::now();
    exec(db, "BEGIN");
    for (long i = 0; i < records; ++i) insert(i);
    exec(db, "COMMIT");
    std::printf("  sqlite: loaded %ld records in %.1f s\n", records, secondsSince(t0));
    exec(db, "DROP INDEX schedtag");
    t0 = Clock::now();
    exec(db, "CREATE UNIQUE INDEX schedtag ON sched (DATE, ROOMNAME, STARTHH, STARTMM)");
    r.reindex = secondsSince(t0);

    sqlite3_stmt* sel = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM sched WHERE DATE=? AND ROOMNAME=? AND STARTHH=? AND STARTMM=?", -1,
                             &sel, nullptr),
          db, "prepare select");
    auto seek = [&](long p) {
        Booking b = booking(p);
        sqlite3_bind_text(sel, 1, b.date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(sel, 2, b.room.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(sel, 3, b.hh.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(sel, 4, b.mm.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(sel) != SQLITE_ROW) std::exit(1);
        for (int c = 0; c < 17; ++c) sqlite3_column_text(sel, c);
        sqlite3_reset(sel);
    };
    for (long i = 0; i < 1000; ++i) seek(probes[static_cast<std::size_t>(i)]);
    t0 = Clock::now();
    for (long p : probes) seek(p);
    r.seek = secondsSince(t0) * 1e6 / static_cast<double>(probes.size());

    sqlite3_stmt* walk = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM sched ORDER BY DATE, ROOMNAME, STARTHH, STARTMM", -1, &walk, nullptr),
          db, "prepare walk");
    t0 = Clock::now();
    long seen = 0;
    while (sqlite3_step(walk) == SQLITE_ROW) {
        for (int c = 0; c < 17; ++c) sqlite3_column_text(walk, c);
        ++seen;
    }
    r.walk = secondsSince(t0) * 1e6 / static_cast<double>(seen);
    sqlite3_finalize(walk);

    t0 = Clock::now();
    for (int i = 0; i < appends; ++i) insert(records + i); // autocommit: one transaction each
    r.append = secondsSince(t0) * 1e6 / appends;
    sqlite3_finalize(sel);
    sqlite3_finalize(ins);
    sqlite3_close(db);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    long records = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::string folder = argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / "orv-index-bench").string();
    std::filesystem::create_directories(folder);
    std::mt19937_64 rng(42);
    std::vector<long> probes(200000);
    for (auto& p : probes) p = static_cast<long>(rng() % static_cast<unsigned long>(records));
    const int appends = 200;

    std::printf("%ld records in %s\n", records, folder.c_str());
    Result ours = runOurs(folder, records, probes, appends);
    Result lite = runSqlite(folder, records, probes, appends);
    std::printf("\n%-14s %12s %12s %8s\n", "operation", "ours us/op", "sqlite us/op", "ratio");
    std::printf("%-14s %12.3f %12.3f %8.2f\n", "seek", ours.seek, lite.seek, ours.seek / lite.seek);
    std::printf("%-14s %12.3f %12.3f %8.2f\n", "walk", ours.walk, lite.walk, ours.walk / lite.walk);
    std::printf("%-14s %12.1f %12.1f %8.2f\n", "append+flush", ours.append, lite.append, ours.append / lite.append);
    std::printf("%-14s %12.0f %12.0f %8.2f   (ms)\n", "reindex", ours.reindex * 1e3, lite.reindex * 1e3,
                ours.reindex / lite.reindex);
    return 0;
}
