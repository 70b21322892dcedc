// A person's reservations and an attendee's attendance: who is matched, the list lines and their
// order, "Show Reservation" on a line whose record is gone or whose person is gone, and the
// notes of the attended reservations.
#include "common/GroupFixture.h"
#include "people/CPersonListModel.h"
#include "reports/CAttendance.h"
#include "reports/CPersonReservations.h"
#include "reservations/CShowReservation.h"
#include "tables/CFieldText.h"

namespace orv::test {
namespace {

class PersonReportsTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        addItems({"Lab", "Hall"});
        addPerson("Ann", "B", "Jones", "IT", "555-1234");
        addPerson("Ann", "B", "Jones", "HR");
    }
    void withNote(const std::string& item, CDate d, int sh, int sm, const std::string& note) {
        CSchedule& s = doc->schedule();
        ASSERT_EQ(
            s.seek(d.key(), item, CFieldText::zeroPadded(sh, 2), CFieldText::zeroPadded(sm, 2)), 0);
        ASSERT_EQ(s.relockCurrent(), 0);
        s.image().setNote(note);
        ASSERT_EQ(s.update(), 0);
    }
    void link(const std::string& item, CDate d, int sh, int sm, const CPeopleKey& person) {
        CRosterLink& l = doc->rosterLinks();
        l.clearImage();
        l.setDate(d.month, d.day, d.year);
        l.setItemName(item);
        l.setStartTime(sh, sm);
        l.setPerson(person);
        ASSERT_EQ(l.append(), 0);
    }
    const CPeopleKey jonesIT{"Ann", "B", "Jones", "IT"};
};

TEST_F(PersonReportsTest, APersonsReservationsFromTodayOnInKeyOrder) {
    reserveAll({
        {"Lab", 12, 7, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"}, // yesterday
        {"Lab", 12, 8, 2026, 7, 0, 8, 0, "Jones", "Ann", "B", "IT"},  // today, already over
        {"Hall", 12, 8, 2026, 0, 15, 1, 0, "Jones", "Ann", "B",
         "IT"}, // an earlier start, another item
        {"Lab", 12, 9, 2026, 12, 30, 13, 15, "Jones", "Ann", "B", "IT"},
        {"Lab", 12, 10, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "HR"}, // another department
        {"Hall", 12, 10, 2026, 9, 0, 10, 0, "Jones", "Ann", "", "IT"}, // another middle initial
        {"Hall", 12, 11, 2026, 9, 0, 10, 0, "", "", "", "", true},
    });
    withNote("Lab", {2026, 12, 9}, 12, 30, "Projector");
    CPersonReservations list(*doc, jonesIT);
    EXPECT_EQ(list.title(), "List of Future Reservations for Jones, Ann B");
    EXPECT_EQ(list.lines(), (std::vector<std::string>{
                                "12/08/2026   00:15 AM   01:00 AM \tHall   ",
                                "12/08/2026   07:00 AM   08:00 AM \tLab   ",
                                "12/09/2026   12:30 PM   01:15 PM \tLab   (Note)",
                            }));
    EXPECT_EQ(CPersonReservations(*doc, jonesIT, {2026, 12, 1}).lines().size(), 4u)
        << "from a date given";
}

TEST_F(PersonReportsTest, ShowOpensTheDetailOnlyWhileTheReservationIsStillThere) {
    reserveAll({
        {"Lab", 12, 9, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"},
        {"Lab", 12, 10, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"},
        {"Hall", 12, 10, 2026, 9, 0, 10, 0, "Gone", "Lee", "", ""},
    });
    CPersonReservations list(*doc, jonesIT);
    list.showReservation();
    EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{
                                   error("You must select a reservation to view", "Error")});

    prompt.messages.clear();
    std::string reservedFor, phone;
    prompt.fill<CShowReservation>([&](CShowReservation& s) {
        reservedFor = s.reservedFor();
        phone = s.phone();
    });
    list.selected = 1;
    list.showReservation();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(reservedFor, "Jones, Ann B");
    EXPECT_EQ(phone, "555-1234");

    // Cancelled meanwhile, and another reservation made in its place.
    CSchedule& s = doc->schedule();
    ASSERT_EQ(s.seek("20261209", "Lab", "09", "00"), 0);
    ASSERT_EQ(s.relockCurrent(), 0);
    ASSERT_EQ(s.deleteCurrent(), 0);
    reserve({"Lab", 12, 9, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"});
    prompt.dialogsShown.clear();
    list.selected = 0;
    list.showReservation();
    EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{
                                   error("Could not read reservation detail", "Database Error")});
    EXPECT_TRUE(prompt.dialogsShown.empty());

    // A person no longer in the people table: said, and the detail still opens.
    prompt.messages.clear();
    CPersonReservations gone(*doc, {"Lee", "", "Gone", ""});
    ASSERT_EQ(gone.lines().size(), 1u);
    phone = "?";
    prompt.fill<CShowReservation>([&](CShowReservation& d) { phone = d.phone(); });
    gone.selected = 0;
    gone.showReservation();
    EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{
                                   error("Could not read person from database", "Database Error")});
    EXPECT_EQ(phone, "");
}

TEST_F(PersonReportsTest, AttendanceListsEveryLinkOfThePersonWithTheReservationsNote) {
    reserveAll({
        {"Lab", 11, 2, 2026, 13, 5, 14, 0, "Smith", "Pat", "", ""},
        {"Hall", 12, 24, 2026, 9, 30, 10, 0, "Smith", "Pat", "", ""},
    });
    withNote("Lab", {2026, 11, 2}, 13, 5, "Budget review");
    link("Hall", {2026, 12, 24}, 9, 30, jonesIT);
    link("Lab", {2026, 11, 2}, 13, 5, jonesIT);
    link("Lab", {2026, 11, 2}, 13, 5, {"Ann", "B", "Jones", "HR"});
    link("Lab", {2026, 10, 1}, 0, 45, jonesIT); // its reservation is gone
    CAttendance list(*doc, jonesIT);
    EXPECT_EQ(list.title(), "Reservations Attended by Ann B Jones");
    EXPECT_EQ(list.lines(), (std::vector<std::string>{
                                "10/01/2026  00:45AM  \tLab ",
                                "11/02/2026  01:05PM  \tLab (Budget review)",
                                "12/24/2026  09:30AM  \tHall ",
                            }));
    EXPECT_EQ(list.printRequest().headings[0].text, list.title());
}

TEST_F(PersonReportsTest, TheViewCommandsChooseThePersonFirst) {
    reserve({"Lab", 12, 9, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"});
    std::string chooserTitle, listTitle;
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        auto& chooser = dynamic_cast<CPersonListModel&>(m);
        chooserTitle = chooser.title();
        chooser.selected = chooser.lineOf(jonesIT);
        return true;
    });
    prompt.fill<CPersonReservations>([&](CPersonReservations& r) { listTitle = r.title(); });
    EXPECT_TRUE(CPersonReservations::run(*doc));
    EXPECT_EQ(chooserTitle, "Select Person Whose Reservations You Want to See");
    EXPECT_EQ(listTitle, "List of Future Reservations for Jones, Ann B");

    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        chooserTitle = dynamic_cast<CPersonListModel&>(m).title();
        return false;
    });
    EXPECT_FALSE(CAttendance::run(*doc));
    EXPECT_EQ(chooserTitle, "Select the Attendee Whose Attendance You Want to See");
}

} // namespace
} // namespace orv::test
