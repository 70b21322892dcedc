// Importing a spreadsheet of 5,000 reservations, a few of them bad, into a large group.
//
// usage: import_bench [RECORDS] [FOLDER]   (defaults: 1000000, the temp folder)
//
// Makes the group of BenchGroup.h with RECORDS reservations and a CSV file of 5,000 rows in our
// own export's columns (each item on consecutive dates from 2026-03-01 at 05:00, before the
// group's own; every 500th row with a date that does not exist), then times
//   preview   reading the file and the state of every row (each row's day of its item read)
//   import    booking every row: for each the schedule lock, the item's day read again, the
//             check, the append with its flush, and the unlock
// Prints milliseconds against the goal of two seconds for both.

#include "BenchGroup.h"
#include "QuietPrompt.h"

#include "exports/CReservationImport.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "group/CProgress.h"
#include "tables/CDate.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace orv;
using namespace orv::bench;

namespace {

constexpr int kRows = 5000;

} // namespace

int main(int argc, char** argv) {
    long records = 0;
    const std::string groupFile = benchGroup(argc, argv, "orv-import-bench", records);
    if (groupFile.empty()) return 1;

    const std::string folder = std::filesystem::path(groupFile).parent_path().string();
    const std::string csv = folder + "/import.csv";
    {
        std::ofstream out(csv, std::ios::binary);
        out << "date,start,end,item,last name,first name,middle initial,department,note,kind\r\n";
        for (int i = 0; i < kRows; ++i) {
            const CDate d = CDate(2026, 3, 1).addDays(i / kItems);
            char date[16];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
            out << (i % 500 == 499 ? std::string("2026-02-30") : std::string(date))
                << ",05:00,05:45," << itemName(i % kItems) << ",Morgan,Alex,J,Sales,Imported row "
                << i << ",reservation\r\n";
        }
    }

    QuietPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(groupFile)) return 1;
    if (!addBenchPerson(doc.people())) return 1;

    CReservationImport import(doc);
    std::string error;
    auto t = Clock::now();
    if (!import.load(csv, error) || import.preview() != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double preview = millisecondsOf(t);
    std::printf("preview of %zu rows: %.1f ms (goal under 2,000 ms)\n", import.entries().size(),
                preview);
    CProgress progress;
    t = Clock::now();
    const int rc = import.run(progress);
    const double booking = millisecondsOf(t);
    std::printf("import: %.1f ms, %s (rc %d; goal under 2,000 ms)\n", booking,
                import.countsText().c_str(), rc);
    return rc == 0 ? 0 : 1;
}
