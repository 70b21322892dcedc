// Long work of a group (deleting old reservations, the reservation report, compress, merge,
// importing people) lets the event loop run inside its progress. The main view's one-minute
// tick, fired there, must leave the work's result exactly as it is without it.
#include "ViewTestSupport.h"

#include "group/CCompressDatabases.h"
#include "group/CMergeGroups.h"
#include "people/CImportPeople.h"
#include "people/CImportPeopleModel.h"
#include "reports/CResReportData.h"

#include <filesystem>
#include <functional>
#include <sstream>

namespace orv::test {
namespace {

class LongWorkTick : public ViewFixture {
protected:
    // A group of three rooms with reservations before, on and after today (12/08/2026), and a
    // second group "Other.sch" to merge and import people from.
    void populate() {
        addNumberedItems(3);
        for (int day : {1, 2, 3, 5, 8, 9, 10, 12})
            for (int room = 1; room <= 3; ++room)
                reserve("Room " + std::to_string(room), day, 9 + room, 0, 10 + room, 0,
                        "Day" + std::to_string(day));
        const std::string other = dir.file("Other.sch");
        ASSERT_NO_FATAL_FAILURE(makeTestGroup(other));
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc d(p, s);
        ASSERT_TRUE(d.openGroup(other));
        p.fill<CItemInfoModel>([](CItemInfoModel& m) { m.name = "Annex"; });
        ASSERT_TRUE(CItemManager(d).addItem());
        for (int day = 1; day <= 20; ++day) {
            d.schedule().clearImage();
            CScheduleRecord& r = d.schedule().image();
            r.setDate(12, day, 2026);
            r.setItemName("Annex");
            r.setStartTime(8, 0);
            r.setEndTime(9, 0);
            r.setPerson("Ann", "", "Other", "");
            ASSERT_EQ(d.schedule().append(), 0);
            d.people().clearImage();
            d.people().image().setName("P" + std::to_string(day), "", "Person");
            d.people().image().setFlags(CPeopleRecord::kFlagMayReserve);
            ASSERT_EQ(d.people().append(), 0);
        }
    }
    // Every schedule record and person of the open group, in table order.
    std::string tables() {
        std::ostringstream out;
        CSchedule& s = doc->schedule();
        for (int rc = s.first(); rc == 0; rc = s.next())
            out << s.image().dateKey() << ' ' << s.image().itemName() << ' '
                << s.image().startHhmm() << ' ' << s.image().lastName() << '\n';
        CPeople& people = doc->people();
        for (int rc = people.first(); rc == 0; rc = people.next())
            out << people.image().key().searchKey() << '\n';
        return out.str();
    }
    // Runs `work` on a fresh copy of the group, with the view's tick fired at every progress step
    // or not; what it returns and the tables afterwards.
    std::string run(const std::function<std::string()>& work, bool tick) {
        view.reset();
        doc.reset();
        prompt = ScriptedPrompt();
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove_all(entry.path());
        makeTestGroup(group);
        populate();
        showView();
        prompt.answers.assign(8, true);
        int ticks = 0;
        if (tick)
            prompt.onProgressStep = [this, &ticks] {
                // A few dozen are plenty: a walk that a tick sends back could otherwise go on
                // for ever.
                if (++ticks > 40) return;
                // As if the date changed since the last tick: the tick then reloads today's list.
                doc->setDate(12, 7, 2026);
                view->timerTick();
            };
        const std::string result = work();
        prompt.onProgressStep = nullptr;
        return result + "\n" + tables();
    }
};

TEST_F(LongWorkTick, ATickInsideTheProgressOfLongWorkChangesNothingOfItsResult) {
    const std::string other = dir.file("Other.sch");
    const std::vector<std::pair<const char*, std::function<std::string()>>> works = {
        {"delete old reservations",
         [&] { return std::to_string(doc->deleteOlderThan("20261206")); }},
        {"reservation report",
         [&] {
             CReportCriteria c;
             c.startMonth = 12, c.startDay = 1, c.startYear = 2026;
             c.endMonth = 12, c.endDay = 31, c.endYear = 2026;
             CResReportData report(*doc, c);
             std::string lines = std::to_string(report.build());
             for (const std::string_view l : report.lines()) {
                 lines += '\n';
                 lines += l;
             }
             return lines;
         }},
        {"compress",
         [&] { return std::to_string(static_cast<int>(CCompressDatabases(*doc).run())); }},
        {"merge", [&] { return std::to_string(CMergeGroups(*doc).mergeGroup(other)); }},
        {"import people",
         [&] {
             prompt.files.push_back(other);
             prompt.fill<CImportPeopleModel>([](CImportPeopleModel& m) {
                 for (int i = 0; i < static_cast<int>(m.lines().size()); ++i)
                     m.selected.insert(i);
             });
             return std::to_string(static_cast<int>(CImportPeople(*doc, false).run()));
         }},
    };
    for (const auto& [name, work] : works) {
        SCOPED_TRACE(name);
        const std::string plain = run(work, false);
        const std::string ticked = run(work, true);
        EXPECT_GT(prompt.progresses.size(), 0u);
        EXPECT_EQ(ticked, plain);
    }
}

} // namespace
} // namespace orv::test
