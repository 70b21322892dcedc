// Appending and walking records of the schedule layout without an index.
#include "ScheduleLayout.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace orv;
using namespace orv::bench;

namespace {

constexpr long kRecords = 100000;

std::string scratchTable() {
    auto dir = std::filesystem::temp_directory_path() / "orv-engine-bench";
    std::filesystem::create_directories(dir);
    std::string path = (dir / "Sched.dbf").string();
    std::filesystem::remove(path);
    return path;
}

// The program's add sequence without the flush: append start, blank, assign, append, unlock.
void BM_Append(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Code4 code;
        code4init(&code);
        Data4* d = d4create(&code, scratchTable(), scheduleFields());
        state.ResumeTiming();
        for (long i = 0; i < kRecords; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            assignBooking(d, booking(i));
            if (d4append(d) != 0) state.SkipWithError("append failed");
            d4unlock(d);
        }
        state.PauseTiming();
        code4initUndo(&code);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["us_per_record"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kRecords), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Walk(benchmark::State& state) {
    std::string path = scratchTable();
    {
        Code4 code;
        code4init(&code);
        Data4* d = d4create(&code, path, scheduleFields());
        for (long i = 0; i < kRecords; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            assignBooking(d, booking(i));
            d4append(d);
        }
        d4unlock(d);
        code4initUndo(&code);
    }
    Code4 code;
    code4init(&code);
    Data4* d = d4open(&code, path);
    Field4* date = d4field(d, "DATE");
    for (auto _ : state) {
        long seen = 0;
        for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
            benchmark::DoNotOptimize(f4str(date));
            ++seen;
        }
        if (seen != kRecords) state.SkipWithError("walk missed records");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["us_per_record"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kRecords), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}
BENCHMARK(BM_Walk)->Unit(benchmark::kMillisecond)->Iterations(5);

// Compress of the indexed schedule with every third record deleted: the kept records written to
// a new file and flushed, renamed over the table, the tag rebuilt.
void BM_Pack(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = scratchTable();
        std::filesystem::remove(path.substr(0, path.size() - 4) + ".cdx");
        {
            Code4 code;
            code4init(&code);
            Tag4info tag = scheduleTag();
            Data4* d = d4create(&code, path, scheduleFields(), &tag);
            for (long i = 0; i < kRecords; ++i) {
                d4appendStart(d, 0);
                d4blank(d);
                assignBooking(d, booking(i));
                if (i % 3 == 0) d4delete(d);
                d4append(d);
            }
            d4unlock(d);
            code4initUndo(&code);
        }
        Code4 code;
        code4init(&code);
        code.openShareMode = 1;
        Data4* d = d4open(&code, path);
        state.ResumeTiming();
        if (d4pack(d) != 0 || d4recCount(d) != kRecords - (kRecords + 2) / 3) state.SkipWithError("pack failed");
        state.PauseTiming();
        code4initUndo(&code);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
