// The main view's redraw with 300 items, a third of them in use, under the offscreen platform.
//
// usage: view_draw_bench [RUNS]   (default 200)
//
// Makes a group of 300 items with reservations for today, opens it in a view the size of a
// large window (1600 x 1000, so every box is drawn), and times a whole redraw of the visible
// area (the view's paint into a picture) RUNS times. Prints the best, the median and the
// slowest in milliseconds.

#include "QuietPrompt.h"

#include "app/CORVSchedView.h"
#include "group/CGroupFile.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"
#include "tables/CFixedClock.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace orv;

namespace {

constexpr int kItems = 300;

bool makeGroup(const std::string& groupFile) {
    CGroupFileData data;
    data.description = "Benchmark Building";
    data.kindWord = "Room";
    for (int i = 0; i < kItems; ++i) {
        CRoom item;
        char name[16];
        std::snprintf(name, sizeof name, "Room %03d", i + 1);
        item.setName(name);
        item.setOccupancy(4 + i % 20);
        data.items.push_back(item);
    }
    std::string error;
    if (!CGroupFile::write(groupFile, data, error)) return false;
    Code4 code;
    code4init(&code);
    CSchedule schedule(code);
    CPeople people(code);
    CRosterLink links(code);
    if (schedule.create(groupFile) != 0 || people.create(groupFile) != 0 ||
        links.create(groupFile) != 0)
        return false;
    for (int i = 0; i < kItems; i += 3) {
        schedule.clearImage();
        schedule.image().setDate(12, 8, 2026);
        schedule.image().setItemName(data.items[static_cast<std::size_t>(i)].name());
        schedule.image().setStartTime(9, 0);
        schedule.image().setEndTime(11, 0);
        schedule.image().setPerson("Pat", "", "Person" + std::to_string(i), "Ops");
        if (schedule.append() != 0) return false;
    }
    schedule.close();
    people.close();
    links.close();
    code4initUndo(&code);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "orv_view_draw_bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string group = (folder / "Bench.sch").string();
    CFixedClock clock;
    clock.setLocal(2026, 12, 8, 10, 0, 0);
    CClock::setCurrent(&clock);
    if (!makeGroup(group)) {
        std::fprintf(stderr, "could not make the group\n");
        return 1;
    }
    QuietPrompt prompt;
    CMemorySettings settings;
    auto doc = std::make_shared<CORVSchedDoc>(prompt, settings);
    if (!doc->openGroup(group)) return 1;
    CORVSchedView view(doc);
    view.resize(1600, 1000);
    view.show();
    QApplication::processEvents();
    QImage picture(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        view.viewport()->render(&picture);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    int inUse = 0;
    for (int i = 0; i < doc->items().count(); ++i)
        if (doc->items().at(i).inUse()) ++inUse;
    std::printf("redraw of %d items (%d in use), %dx%d, %d runs: best %.2f ms, median %.2f ms, "
                "slowest %.2f ms\n",
                doc->items().count(), inUse, picture.width(), picture.height(), runs, ms.front(),
                ms[ms.size() / 2], ms.back());
    CClock::setCurrent(nullptr);
    std::filesystem::remove_all(folder);
    return 0;
}
