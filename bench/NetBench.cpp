// The user actions of one open document on a group behind a (slow) network share, each timed
// once and, on an orv_passfs mount, with the file-system operations it caused.
//
// usage: net_bench GROUP.sch DATE [ITEM [ACTION...]]
//
// GROUP.sch is a group made by `overview_bench RECORDS FOLDER` with a person "Walker|Sam||Sales"
// who can reserve (`orvsched-cli person-add GROUP.sch 'Walker|Sam||Sales'`), DATE (YYYY-MM-DD)
// a day of its table, ITEM an item of it (default "Room 150"). In one process, as the desktop
// program does them:
//   open      a new document opening the group, with today's list of DATE
//   itemday   the item's day list of DATE
//   booking   a reservation of the item on DATE, 21:00 to 22:00, as OK in Make Reservation
//   cancel    that reservation cancelled from the item's day list
//   blockout  the next item blocked out on DATE, 22:00 to 23:00, as OK in Specify Blockout
//   unblock   that blockout cancelled
//   dayglance, monthglance, report (DATE's month), utilization (DATE's year, every item)
// Each line: the action, what it listed, milliseconds, and the FUSE operations it caused when
// the group lies on an orv_passfs mount (read from its .orv_passfs_counts file): all of them,
// and the reads among them. The booking and the blockout leave the group as they found it, less
// two records marked deleted. Given ACTIONs, only those run after the open (a booking's cancel
// needs the booking before it).

#include "QuietPrompt.h"

#include "displays/CCalendar.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reports/CResReportData.h"
#include "reports/CUtilizationReport.h"
#include "reservations/CAddReservation.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CItemDayModel.h"
#include "tables/CClock.h"
#include "tables/CDate.h"
#include "tables/CFieldText.h"
#include "tables/CFixedClock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace orv;
using Clock = std::chrono::steady_clock;

namespace {

// Answers Yes and fills the reservation and blockout dialogs as the bench wants them.
class BenchPrompt : public QuietPrompt {
public:
    std::function<void(CDialogModel&)> fill;
    bool ask(const std::string&, const std::string&) override { return true; }
    bool runDialog(CDialogModel& dialog) override {
        if (fill) fill(dialog);
        return dialog.onOk(*this);
    }
};

struct Ops {
    long long total = -1;
    long long reads = -1;
};

// The operations an orv_passfs mount has seen so far; -1 when the folder is not one.
Ops fuseOps(const std::string& folder) {
    std::ifstream in(folder + "/.orv_passfs_counts");
    Ops ops;
    std::string name;
    long long n = 0;
    while (in >> name >> n) {
        if (name == "total") ops.total = n;
        if (name == "read") ops.reads = n;
    }
    if (ops.total >= 0 && ops.reads < 0) ops.reads = 0;
    return ops;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::vector<std::string> g_only; // the actions to run; empty: all

void measure(const std::string& folder, const char* what,
             const std::function<std::string()>& work) {
    if (!g_only.empty() && std::string(what) != "open" &&
        std::find(g_only.begin(), g_only.end(), what) == g_only.end())
        return;
    const Ops before = fuseOps(folder);
    const auto t0 = Clock::now();
    const std::string listed = work();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    const Ops after = fuseOps(folder);
    if (before.total >= 0 && after.total >= 0)
        // Reading the counts file costs one lookup of the mount's root.
        std::printf("| %-12s | %-22s | %9.1f | %6lld | %6lld |\n", what, listed.c_str(), ms,
                    after.total - before.total - 1, after.reads - before.reads);
    else
        std::printf("| %-12s | %-22s | %9.1f | - | - |\n", what, listed.c_str(), ms);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: net_bench GROUP.sch YYYY-MM-DD [ITEM]\n");
        return 2;
    }
    const std::string groupFile = argv[1];
    const std::string folder = folderOf(groupFile);
    const std::string day = argv[2];
    const std::string itemName = argc > 3 ? argv[3] : "Room 150";
    for (int i = 4; i < argc; ++i)
        g_only.emplace_back(argv[i]);
    const int year = std::atoi(day.substr(0, 4).c_str());
    const int month = std::atoi(day.substr(5, 2).c_str());
    const int dom = std::atoi(day.substr(8, 2).c_str());
    const CDate date(year, month, dom);

    CFixedClock today;
    today.setLocal(year, month, dom, 10, 0);
    CClock::setCurrent(&today);
    error4setNeverWait(true);

    BenchPrompt prompt;
    CMemorySettings settings;
    std::printf("| action       | listed                 | ms        | ops    | reads  |\n");
    std::printf("|--------------|------------------------|-----------|--------|--------|\n");

    auto doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    bool opened = false;
    measure(folder, "open", [&] {
        opened = doc->openGroup(groupFile);
        return std::to_string(doc->todaysList().size()) + " today";
    });
    if (!opened) return 1;
    const int item = doc->findItem(itemName);
    if (item < 0 || item + 1 >= static_cast<int>(doc->items().count())) {
        std::fprintf(stderr, "no item %s (and one after it)\n", itemName.c_str());
        return 1;
    }

    measure(folder, "itemday", [&] {
        CItemDayModel list(*doc, item, date);
        return std::to_string(list.lines().size()) + " lines";
    });

    const CPeopleKey person("Sam", "", "Walker", "Sales");
    measure(folder, "booking", [&] {
        CItemDayModel list(*doc, item, date);
        prompt.fill = [&](CDialogModel& m) {
            if (std::string(m.id()) != CAddReservation::kId) return;
            auto& r = static_cast<CAddReservation&>(m);
            r.date = date;
            r.setStartTime(21, 0);
            r.setEndTime(22, 0);
            r.selectedPerson = r.personLine(person);
        };
        const bool ok = list.makeReservation();
        return std::string(ok ? "booked" : "refused");
    });
    measure(folder, "cancel", [&] {
        CItemDayModel list(*doc, item, date);
        const int line = list.lineStartingAt(2100);
        if (line < 0) return std::string("not found");
        list.select(line);
        list.cancelReservation();
        return std::string(list.changed() ? "cancelled" : "refused");
    });
    measure(folder, "blockout", [&] {
        prompt.fill = [&](CDialogModel& m) {
            if (std::string(m.id()) != CBlockoutModel::kId) return;
            auto& b = static_cast<CBlockoutModel&>(m);
            b.date = date;
            b.startHour = 22;
            b.startMinute = 0;
            b.endHour = 23;
            b.endMinute = 0;
            b.selected = {item + 1};
        };
        CBlockoutModel model(*doc);
        return std::string(prompt.runDialog(model) ? "blocked" : "refused");
    });
    measure(folder, "unblock", [&] {
        CItemDayModel list(*doc, item + 1, date);
        const int line = list.lineStartingAt(2200);
        if (line < 0) return std::string("not found");
        list.select(line);
        list.cancelReservation();
        return std::string(list.changed() ? "cancelled" : "refused");
    });

    measure(folder, "dayglance", [&] {
        CDayGlance glance(*doc, CDayGlance::Form::allDay, 255, 0, {}, month, dom, year);
        return std::to_string(glance.lines().size()) + " lines";
    });
    measure(folder, "monthglance", [&] {
        CMonthGlance glance(*doc, 255, 65535, {}, month, year);
        return std::to_string(glance.lines().size()) + " lines";
    });
    measure(folder, "report", [&] {
        CReportCriteria criteria;
        criteria.startYear = criteria.endYear = year;
        criteria.startMonth = criteria.endMonth = month;
        criteria.startDay = 1;
        criteria.endDay = CDate::daysInMonth(month, year);
        CResReportData report(*doc, criteria);
        report.build();
        return std::to_string(report.lines().size()) + " lines";
    });
    measure(folder, "utilization", [&] {
        CUtilizationCriteria criteria;
        criteria.startDate = {year, 1, 1};
        criteria.endDate = {year, 12, 31};
        CUtilizationReport report(*doc, criteria);
        report.compute();
        return std::to_string(report.lines().size()) + " lines";
    });
    doc.reset();
    CClock::setCurrent(nullptr);
    return 0;
}
