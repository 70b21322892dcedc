// Deleting old reservations by hand ("Delete Old Reservations...") and when a group is closed:
// the date proposed, the refusals, the count of records and attendee links, calendar days across
// a daylight-saving change, and a group without the attendee function.
#include "ReservationFixture.h"
#include "reservations/CDeleteRes.h"

#include <cstdlib>
#include <ctime>

namespace orv::test {
namespace {

using D = CDate;

class DeleteOld : public ReservationFixture {
protected:
    // Three old reservations (two with one attendee each), one on the day the deletion keeps,
    // one in the future.
    void bookOldAndNew() {
        for (auto [item, date, attendee] : {std::tuple{"Boardroom", D(2026, 12, 5), "Ames"},
                                            std::tuple{"Boardroom", D(2026, 12, 6), "Baker"},
                                            std::tuple{"Huddle", D(2026, 12, 6), ""},
                                            std::tuple{"Boardroom", D(2026, 12, 7), "Ames"},
                                            std::tuple{"Huddle", D(2026, 12, 12), ""}}) {
            Booking b;
            b.date = b.until = date;
            if (*attendee)
                ASSERT_TRUE(bookWith(item, b, {attendee}, false));
            else
                ASSERT_TRUE(book(item, b));
        }
        prompt.messages.clear();
        prompt.dialogsShown.clear();
    }
    std::vector<CDate> datesLeft() {
        std::vector<CDate> out;
        for (const char* item : {"Boardroom", "Huddle"})
            for (const Slot& s : slots(item, {2026, 11, 20}, 40))
                out.push_back(s.date);
        std::sort(out.begin(), out.end());
        return out;
    }
    int linkCount() {
        int n = 0;
        for (int rc = doc->rosterLinks().first(); rc == 0; rc = doc->rosterLinks().next())
            ++n;
        return n;
    }
};

TEST_F(DeleteOld, ByHandDeletesRecordsAndLinksBeforeTheChosenDateAndCountsBoth) {
    bookOldAndNew();
    clock.setLocal(2026, 12, 10, 10, 0);
    EXPECT_EQ(CDeleteRes(3).date, D(2026, 12, 7));
    EXPECT_EQ(CDeleteRes(0).date, D(2026, 12, 10));
    EXPECT_EQ(CDeleteRes(-1).date, D(2026, 11, 9)) << "31 days back";

    D proposed;
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        proposed = dynamic_cast<CDeleteRes&>(m).date;
        return true;
    });
    prompt.answers = {true};
    EXPECT_EQ(CDeleteRes::run(*doc, 3), 5);
    EXPECT_EQ(proposed, D(2026, 12, 7));
    EXPECT_EQ(
        prompt.messages,
        (Messages{question("Are you sure you want to delete all reservations prior to 12/07/2026",
                           "Confirm Delete"),
                  info("5 schedule items deleted", "Items Deleted")}));
    EXPECT_EQ(datesLeft(), (std::vector<D>{{2026, 12, 7}, {2026, 12, 12}}));
    EXPECT_EQ(links("Boardroom", {2026, 12, 7}, 11, 0), std::vector<std::string>{"Ames"});
    EXPECT_EQ(linkCount(), 1);
    // Progress by date from the first old record (12/05) to the cut (12/07), without Cancel.
    ASSERT_EQ(prompt.progresses.size(), 1u);
    EXPECT_EQ(prompt.progresses[0].label, "Deleting old reservations");
    EXPECT_FALSE(prompt.progresses[0].cancellable);
    EXPECT_EQ(prompt.progresses[0].steps, 3) << "one step per schedule record";
    EXPECT_EQ(prompt.progresses[0].lastDone, 1);
    EXPECT_EQ(prompt.progresses[0].lastTotal, 2);
}

TEST_F(DeleteOld, ByHandRefusesTheFutureAndStopsWhenNotConfirmed) {
    bookOldAndNew();
    // Tomorrow is refused and the dialog stays; today is taken and deletes only earlier dates.
    prompt.fill<CDeleteRes>([](CDeleteRes& d) { d.date = {2026, 12, 9}; });
    prompt.fill<CDeleteRes>([](CDeleteRes& d) { d.date = {2026, 12, 8}; });
    prompt.answers = {false};
    EXPECT_EQ(CDeleteRes::run(*doc, -1), -1);
    EXPECT_EQ(
        prompt.messages,
        (Messages{error("The deletion date cannot be in the future", "Invalid Deletion Date"),
                  question("Are you sure you want to delete all reservations prior to 12/08/2026",
                           "Confirm Delete")}));
    EXPECT_EQ(datesLeft().size(), 5u) << "No: nothing deleted";

    prompt.messages.clear();
    prompt.fill<CDeleteRes>([](CDeleteRes& d) { d.date = {2026, 12, 5}; });
    prompt.answers = {true};
    EXPECT_EQ(CDeleteRes::run(*doc, -1), 0);
    EXPECT_EQ(prompt.messages.back(),
              info("No reservations found before 12/05/2026, nothing deleted", "Items Deleted"));
    EXPECT_EQ(datesLeft().size(), 5u) << "a record of the chosen date itself stays";
}

// Daylight saving starts on Sunday 8 March 2026 in New York: 72 hours before 10 March 00:30 is
// 6 March 23:30, three calendar days before it is the 7th.
TEST_F(DeleteOld, ClosingKeepsTheLastNCalendarDaysAcrossADaylightSavingChange) {
    const std::string oldTz = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "America/New_York", 1);
    tzset();
    clock.setLocal(2026, 3, 5, 12, 0);
    for (int day : {5, 6, 7, 9}) {
        Booking b;
        b.date = b.until = {2026, 3, day};
        ASSERT_TRUE(bookWith("Boardroom", b, {"Ames"}, false));
    }
    clock.setLocal(2026, 3, 10, 0, 30);
    CDocSettings keep3;
    keep3.deleteOldRes = 3;
    doc->setSettings(keep3);
    doc.reset();
    open();
    std::vector<int> days;
    for (const Slot& s : slots("Boardroom", {2026, 3, 1}, 15))
        days.push_back(s.date.day);
    std::vector<int> linkDays;
    for (int rc = doc->rosterLinks().first(); rc == 0; rc = doc->rosterLinks().next())
        linkDays.push_back(doc->rosterLinks().day());
    setenv("TZ", oldTz.c_str(), 1);
    tzset();
    EXPECT_EQ(days, (std::vector<int>{7, 9}));
    EXPECT_EQ(linkDays, (std::vector<int>{7, 9}));
}

TEST_F(DeleteOld, AGroupWithoutTheAttendeeFunctionDeletesScheduleRecordsOnly) {
    bookOldAndNew();
    doc.reset();
    for (const char* ext : {".dbf", ".cdx"})
        std::filesystem::remove(dir.file("RoomRosLnk") + ext);
    open();
    ASSERT_FALSE(doc->attendeeAvailable());
    EXPECT_EQ(doc->deleteOlderThan("20261207"), 3);
    EXPECT_EQ(doc->code().errorCode, 0) << "no error left behind";
    EXPECT_EQ(datesLeft(), (std::vector<D>{{2026, 12, 7}, {2026, 12, 12}}));
}

} // namespace
} // namespace orv::test
