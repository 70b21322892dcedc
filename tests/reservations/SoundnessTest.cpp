// Faults a read of the code found: reads that fail halfway, writes that fail, a series with a far
// end date, a cancel whose delete fails, a merge whose reread fails, and item names longer than
// the schedule's item field. Each case failed before its mend.
#include "ReservationFixture.h"
#include "common/FaultFs.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"
#include "group/CGroupFile.h"
#include "group/CMergeGroups.h"
#include "reports/CResReportData.h"
#include "reservations/CFreeItems.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orv::test {
namespace {

class Soundness : public ReservationFixture {
protected:
    // The document again, on a file layer that fails as told; nothing is read through a mapping.
    void openFaulty() {
        files.failRead = [this](int fd, std::size_t n, std::int64_t offset) {
            return failFrom >= 0 && n == kRecordBytes && offset >= failFrom &&
                           files.pathOf(fd).ends_with("Sched.dbf")
                       ? EIO
                       : 0;
        };
        doc.reset();
        prompt = ScriptedPrompt();
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        code4init(&doc->code(), &files);
        doc->code().silentErrors = 1;
        ASSERT_TRUE(doc->openGroup(group));
    }
    // Reads of the schedule's last record fail from now on.
    void failLastRecord() {
        failFrom =
            static_cast<std::int64_t>(std::filesystem::file_size(dir.file("RoomSched.dbf"))) - 1 -
            kRecordBytes;
    }
    std::string slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static Booking oneDate(CDate d, int start, int end) {
        Booking b;
        b.date = b.until = d;
        b.sh = start / 100, b.sm = start % 100, b.eh = end / 100, b.em = end % 100;
        return b;
    }

    static constexpr std::size_t kRecordBytes = 202;
    FaultFs files;
    std::int64_t failFrom = -1;
};

TEST_F(Soundness, AReadThatFailsHalfwayShowsNoPartialListAndBooksNothing) {
    const CDate d{2026, 12, 9};
    put("Boardroom", d, 900, 1000, "First");
    put("Boardroom", d, 1100, 1200, "Second");
    put("Boardroom", d, 1400, 1500, "Third");
    const Messages notRead{error(CORVSchedDoc::kNotRead, CORVSchedDoc::kDatabaseError)};
    struct Case {
        const char* name;
        std::function<std::size_t()> run; // the lines shown
        Messages told;
    };
    const std::vector<Case> cases = {
        {"day list", [&] { return day("Boardroom", d).lines().size(); }, notRead},
        {"overlap check of a booking",
         [&] {
             Booking b;
             b.date = b.until = d;
             b.sh = 14, b.sm = 30, b.eh = 15, b.em = 30;
             scriptBooking(b);
             CItemDayModel list = day("Boardroom", d);
             list.makeReservation();
             return list.lastWritten().size();
         },
         {notRead[0], error(CAddReservation::kNotWritten, CAddReservation::kDatabaseError),
          notRead[0]}},
        {"day at a glance",
         [&] {
             return CDayGlance(*doc, CDayGlance::Form::allDay, 0, 0, {}, 12, 9, 2026)
                 .lines()
                 .size();
         },
         notRead},
        {"month at a glance", [&] { return CMonthGlance(*doc, 0, 0, {}, 12, 2026).lines().size(); },
         notRead},
        {"reservation report",
         [&] {
             CReportCriteria c;
             c.startMonth = c.endMonth = 12, c.startDay = 1, c.endDay = 31,
             c.startYear = c.endYear = 2026;
             CResReportData report(*doc, c);
             EXPECT_NE(report.build(), 0);
             return report.lines().size();
         },
         notRead},
        {"free items",
         [&] {
             CFreeItems free(*doc);
             free.date = d;
             free.startHour = 14, free.startMinute = 30, free.endHour = 15, free.endMinute = 30;
             free.search();
             return free.lines().size();
         },
         notRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        failFrom = -1;
        openFaulty();
        failLastRecord();
        EXPECT_EQ(c.run(), 0u);
        EXPECT_EQ(prompt.messages, c.told);
        failFrom = -1;
        EXPECT_EQ(slots("Boardroom", d, 1),
                  (std::vector<Slot>{{d, 900, 1000}, {d, 1100, 1200}, {d, 1400, 1500}}));
    }
}

TEST_F(Soundness, AWriteThatFailsIsToldAndNothingIsReportedDone) {
    const CDate d{2026, 12, 9};
    ASSERT_TRUE(bookWith("Boardroom", oneDate(d, 900, 1000), {"Ames"}, false));
    openFaulty();
    files.failWritesOfPath = "RoomSched.";

    // The detail's note change: told, and the dialog stays open.
    CShowReservation detail(*doc, records("Boardroom", d, 1).at(0), "", "");
    detail.note = "Moved";
    EXPECT_FALSE(detail.onOk(prompt));
    EXPECT_EQ(prompt.messages,
              Messages{error(CShowReservation::kNotChanged, CItemDayModel::kDatabaseError)});

    // A cancel whose delete fails keeps the record's attendee links.
    prompt.messages.clear();
    prompt.answers = {true};
    CItemDayModel list = day("Boardroom", d);
    list.select(0);
    list.cancelReservation();
    EXPECT_EQ(prompt.messages,
              (Messages{question(CItemDayModel::kConfirmCancel, CItemDayModel::kConfirmTitle),
                        error(CItemDayModel::kNotDeleted, CItemDayModel::kDatabaseError)}));
    files.failWritesOfPath.clear();
    open();
    ASSERT_EQ(records("Boardroom", d, 1).size(), 1u);
    EXPECT_EQ(records("Boardroom", d, 1).at(0).note(), "");
    EXPECT_TRUE(records("Boardroom", d, 1).at(0).hasAttendees());
    EXPECT_EQ(links("Boardroom", d, 9, 0), std::vector<std::string>{"Ames"});
}

TEST_F(Soundness, ASeriesWithAFarEndDateIsWalkedOnlyToTheTablesLastRecord) {
    // A damaged end date: the walks stop past the last record instead of seeking to 9999.
    for (int i = 0; i < 3; ++i)
        put("Huddle", CDate{2026, 12, 9}.addDays(7 * i), 900, 1000, "Weekly",
            CAddReservation::kWeekly, {9999, 12, 31});
    CShowReservation detail(*doc, records("Huddle", {2026, 12, 9}, 1).at(0), "", "");
    detail.note = "All of them";
    EXPECT_TRUE(detail.onOk(prompt));
    for (const CScheduleRecord& r : records("Huddle"))
        EXPECT_EQ(r.note(), "All of them");

    prompt.answers = {true, true};
    CItemDayModel list = day("Huddle", {2026, 12, 16});
    list.select(0);
    list.cancelReservation();
    EXPECT_EQ(slots("Huddle"), (std::vector<Slot>{{{2026, 12, 9}, 900, 1000}}));
}

TEST_F(Soundness, AMergeWhoseRereadOfTheGroupFileFailsWritesNothing) {
    const std::string other = dir.file("Other.sch");
    {
        ScriptedPrompt p;
        p.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
            m.kindWord = "Room";
            m.description = "Other";
        });
        p.files.push_back(other);
        CORVSchedDoc created(p, settings);
        ASSERT_TRUE(created.createGroup());
    }
    // Another program left the group file cut short after this group was opened.
    const std::string whole = slurp(group);
    std::filesystem::resize_file(group, whole.size() / 2);
    const std::string cut = slurp(group);
    EXPECT_EQ(CMergeGroups(*doc).mergeGroup(other), CMergeGroups::kNotMerged);
    EXPECT_EQ(slurp(group), cut);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, CORVSchedDoc::kGroupErrorTitle);
}

TEST_F(Soundness, AnItemNameLongerThanTheItemFieldIsCutWhenReadAndStillChecked) {
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(group, data, why)) << why;
    data.items.at(1).setName("Conference Room North Wing");
    ASSERT_TRUE(CGroupFile::write(group, data, why)) << why;
    prompt.messages.clear();
    open();
    EXPECT_EQ(prompt.messages,
              Messages{info("The name of item \"Conference Room North Wing\" is longer than 20 "
                            "characters; it is shortened to \"Conference Room Nort\".",
                            kAppTitle)});
    prompt.messages.clear();
    ASSERT_TRUE(book("Conference Room Nort",
                     oneDate({2026, 12, 9}, 900, 1000)));
    EXPECT_FALSE(
        book("Conference Room Nort",
             oneDate({2026, 12, 9}, 930, 1030)));
    EXPECT_EQ(slots("Conference Room Nort", {2026, 12, 9}, 1),
              (std::vector<Slot>{{{2026, 12, 9}, 900, 1000}}));

    // Two items that cut alike would be one: the group does not open.
    data.items.at(0).setName("Conference Room North Side");
    ASSERT_TRUE(CGroupFile::write(group, data, why)) << why;
    doc.reset();
    doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    EXPECT_FALSE(doc->openGroup(group));
}

} // namespace
} // namespace orv::test
