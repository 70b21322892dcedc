// A second user changing one date's schedule: for a number of rounds, appends reservations on
// the date and on the days around it and deletes some of the date's records again, each write
// flushed and unlocked at once. Says "ready" once its table is open and "done N" at the end.
//
// usage: tables_day_writer GROUPFILE YEAR MONTH DAY ROUNDS   (DAY between 2 and 27)
#include "storage/Data4.h"
#include "tables/CFieldText.h"
#include "tables/CSchedule.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kItems[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const int year = std::atoi(argv[2]);
    const int month = std::atoi(argv[3]);
    const int day = std::atoi(argv[4]);
    const int rounds = std::atoi(argv[5]);
    orv::Code4 code;
    orv::code4init(&code);
    code.silentErrors = 1;
    code.lockRetryDelay = 1; // as the test's own context: meet often, wait briefly
    orv::CSchedule schedule(code);
    if (schedule.open(argv[1]) != 0) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const std::string dateKey = orv::CFieldText::dateKey(year, month, day);
    unsigned seed = 12345;
    auto random = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    int writes = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int k = 0; k < 6; ++k) {
            schedule.clearImage();
            orv::CScheduleRecord& r = schedule.image();
            // The days around the date too, so that the date's neighbours in the tag change.
            r.setDate(month, day + random(3) - 1, year);
            r.setItemName(kItems[random(5)]);
            const int hour = random(24);
            r.setStartTime(hour, random(4) * 15);
            r.setEndTime(hour, 59);
            r.setPerson("Writer", "", "Second", "");
            r.setMade(month, day, year, 0, 0, 0);
            if (schedule.append() == 0) ++writes;
        }
        // Deletes one of the date's records of a random item.
        if (schedule.seek(dateKey, kItems[random(5)], "", "") == 0 &&
            schedule.image().isOnDate(dateKey)) {
            schedule.deleteCurrent();
            schedule.unlock();
            ++writes;
        }
    }
    if (code.errorCode < 0) return 3;
    schedule.close();
    std::printf("done %d\n", writes);
    std::fflush(stdout);
    return 0;
}
