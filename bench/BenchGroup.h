#pragma once
// The large group the benchmarks that run the program's own logic work on: 300 items whose
// schedule holds a number of reservations, eight a day for every item from 2026-01-01 on, every
// 40th one a blockout.

#include <chrono>
#include <string>

namespace orv {
class CPeople;
}

namespace orv::bench {

using Clock = std::chrono::steady_clock;

constexpr int kItems = 300;

inline double millisecondsOf(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}
constexpr int kPerItemAndDay = 8;

// "Room 001" ...
std::string itemName(int i);
void nextDay(int& year, int& month, int& day);
// Writes the group file and its tables (schedule, people, roster links) with `records`
// reservations. False when a file could not be written.
bool makeGroup(const std::string& groupFile, long records);
// What each benchmark on that group starts with: RECORDS from argv[1] (default 1,000,000), the
// folder argv[2] (default `name` in the temp folder) emptied, the group made there with its time
// printed. The group file, or empty after a message when it could not be made.
std::string benchGroup(int argc, char** argv, const char* name, long& records);
// Adds the person the benchmarks book for (Morgan, Alex J, Sales, who may reserve) to the
// open group's people. False when the append failed.
bool addBenchPerson(CPeople& people);

} // namespace orv::bench
