#include "BenchGroup.h"

#include "group/CGroupFile.h"
#include "tables/CFieldText.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace orv::bench {

std::string itemName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "Room %03d", i + 1);
    return name;
}

void nextDay(int& year, int& month, int& day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days = month == 2 && leap ? 29 : kDays[month - 1];
    if (++day <= days) return;
    day = 1;
    if (++month <= 12) return;
    month = 1;
    ++year;
}

bool makeGroup(const std::string& groupFile, long records) {
    CGroupFileData data;
    data.description = "Benchmark Building";
    data.kindWord = "Room";
    for (int i = 0; i < kItems; ++i) {
        CRoom item;
        item.setName(itemName(i));
        item.setDefaultLength(60);
        item.setHasDefaultLength(true);
        data.items.push_back(item);
    }
    std::string error;
    if (!CGroupFile::write(groupFile, data, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    Code4 code;
    code4init(&code);
    CSchedule schedule(code);
    CPeople people(code);
    CRosterLink links(code);
    if (schedule.create(groupFile) != 0 || people.create(groupFile) != 0 ||
        links.create(groupFile) != 0)
        return false;
    const std::string table = schedule.tableName();
    schedule.close();
    code4initUndo(&code);

    // The program's add sequence without a flush per record, under one table lock.
    Code4 loader;
    code4init(&loader);
    Data4* d = d4open(&loader, table);
    if (!d) return false;
    Field4* f[18] = {};
    for (int i = 1; i <= 17; ++i)
        f[i] = d4fieldJ(d, i);
    d4lockAll(d);
    int year = 2026, month = 1, day = 1;
    long written = 0;
    while (written < records) {
        const std::string date = CFieldText::dateKey(year, month, day);
        for (int item = 0; item < kItems && written < records; ++item)
            for (int j = 0; j < kPerItemAndDay && written < records; ++j, ++written) {
                const int start = 7 * 60 + j * 90 + (item % 4) * 5;
                const int end = start + 45 + (item * 7 + j * 11) % 40;
                const bool blockout = written % 40 == 0;
                d4appendStart(d, 0);
                d4blank(d);
                f4assign(f[1], date);
                f4assign(f[2], itemName(item));
                f4assign(f[3], CFieldText::zeroPadded(start / 60, 2));
                f4assign(f[4], CFieldText::zeroPadded(start % 60, 2));
                f4assign(f[5], CFieldText::zeroPadded(end / 60, 2));
                f4assign(f[6], CFieldText::zeroPadded(end % 60, 2));
                f4assign(f[7], blockout ? "Out" : "Person" + std::to_string(written % 997));
                f4assign(f[8], blockout ? "Blocked" : "Pat");
                f4assign(f[10], blockout ? "" : "Dept" + std::to_string(item % 12));
                f4assign(f[11], blockout ? "Blocked Out" : "Weekly planning");
                f4assign(f[12], "20251201");
                f4assign(f[13], "0930");
                f4assign(f[14], "000");
                f4assign(f[15], blockout ? "00129" : "00000");
                f4assign(f[16], "00000000");
                if (d4append(d) != 0) return false;
            }
        nextDay(year, month, day);
    }
    d4flush(d);
    d4unlock(d);
    code4initUndo(&loader);
    return true;
}

std::string benchGroup(int argc, char** argv, const char* name, long& records) {
    records = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string folder =
        argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string groupFile = folder + "/Bench.sch";
    const auto t0 = std::chrono::steady_clock::now();
    if (!makeGroup(groupFile, records)) {
        std::fprintf(stderr, "could not make the group in %s\n", folder.c_str());
        return {};
    }
    std::printf("%ld records of %d items loaded in %.1f s\n", records, kItems,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return groupFile;
}

bool addBenchPerson(CPeople& people) {
    people.clearImage();
    people.image().setKey({"Alex", "J", "Morgan", "Sales"});
    people.image().setFlags(3);
    return people.append() == 0;
}

} // namespace orv::bench
