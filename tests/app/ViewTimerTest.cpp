// The first showing of the main view and its one-minute timer, with the clock fixed: settings
// handed to the document, the start aligned to the minute, the change of date, other users'
// changes, the in-use states recomputed from scratch, and the warnings about old tables.
#include "ViewTestSupport.h"

#include "common/OldTables.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace orv::test {
namespace {

class ViewTimerTest : public ViewFixture {
protected:
    const CRoom& item(int i) { return doc->items().at(i); }
};

TEST_F(ViewTimerTest, FirstShowingHandsTheSettingsToTheDocument) {
    settings.writeInt("Reservations", "PropAttendees", 1);
    settings.writeInt("Reservations", "ShowNotes", 1);
    settings.writeInt("Reservations", "DeleteOldRes", 14);
    settings.writeInt("Network", "Refresh", 1);
    settings.writeInt("Network", "DoDBReOpen", 1);
    settings.writeInt("Groups", "Lock", 1);
    doc = openDoc();
    view = std::make_unique<CORVSchedView>(doc);
    EXPECT_EQ(doc->settings().lock, 0) << "not before the first showing";
    view->show();
    const CDocSettings& s = doc->settings();
    EXPECT_EQ(s.propAttendees, 1);
    EXPECT_EQ(s.showNotes, 1);
    EXPECT_EQ(s.deleteOldRes, 14);
    EXPECT_EQ(s.refresh, 1);
    EXPECT_EQ(s.doDBReOpen, 1);
    EXPECT_EQ(s.lock, 1);
}

TEST_F(ViewTimerTest, FirstTickFallsOnTheNextFullMinute) {
    clock.setLocal(2026, 12, 8, 10, 0, 30);
    showView();
    EXPECT_TRUE(view->timerActive());
    EXPECT_EQ(view->timerInterval(), 30000);
    view->timerTick();
    EXPECT_EQ(view->timerInterval(), 60000);
}

TEST_F(ViewTimerTest, LessThanFiveSecondsBeforeTheMinuteWaitsAWholeMinute) {
    clock.setLocal(2026, 12, 8, 10, 0, 56);
    showView();
    EXPECT_EQ(view->timerInterval(), 60000);
    clock.setLocal(2026, 12, 8, 10, 0, 0);
    view.reset();
    showView();
    EXPECT_EQ(view->timerInterval(), 60000);
    clock.setLocal(2026, 12, 8, 10, 0, 55);
    view.reset();
    showView();
    EXPECT_EQ(view->timerInterval(), 5000);
}

TEST_F(ViewTimerTest, BackToBackReservationsHandOverAtTheMinute) {
    addNumberedItems(1);
    reserve("Room 1", 8, 9, 0, 10, 0, "First");
    reserve("Room 1", 8, 10, 0, 11, 0, "Second");
    clock.setLocal(2026, 12, 8, 9, 59, 10);
    showView();
    EXPECT_TRUE(item(0).inUse());
    EXPECT_EQ(item(0).currentUse(), "First");
    clock.setLocal(2026, 12, 8, 10, 0, 0);
    view->timerTick();
    EXPECT_TRUE(item(0).inUse());
    EXPECT_EQ(item(0).currentUse(), "Second");
    EXPECT_EQ(fillOf(0), kRed);
}

TEST_F(ViewTimerTest, ATickAfterAMissedEndingMinuteFreesTheItem) {
    addNumberedItems(2);
    reserve("Room 1", 8, 9, 0, 9, 30, "Gone");
    reserve("Room 2", 8, 9, 0, 12, 0, "Stays");
    clock.setLocal(2026, 12, 8, 9, 29, 0);
    showView();
    EXPECT_TRUE(item(0).inUse());
    clock.setLocal(2026, 12, 8, 9, 45, 0); // no tick fell in 9:30
    view->timerTick();
    EXPECT_FALSE(item(0).inUse());
    EXPECT_TRUE(item(1).inUse());
    EXPECT_EQ(fillOf(0), kFree);
    EXPECT_EQ(fillOf(1), kRed);
}

TEST_F(ViewTimerTest, TheFirstCoveringReservationNamesTheBox) {
    addNumberedItems(1);
    reserve("Room 1", 8, 9, 0, 12, 0, "Early");
    reserve("Room 1", 8, 9, 30, 10, 30, "Late");
    clock.setLocal(2026, 12, 8, 10, 0, 0);
    showView();
    view->timerTick();
    EXPECT_EQ(item(0).currentUse(), "Early");
}

TEST_F(ViewTimerTest, ANewDateReloadsTodaysList) {
    addNumberedItems(2);
    reserve("Room 2", 9, 0, 0, 23, 0, "Tomorrow");
    clock.setLocal(2026, 12, 8, 23, 59, 0);
    showView();
    EXPECT_TRUE(doc->todaysList().empty());
    clock.setLocal(2026, 12, 9, 0, 0, 0);
    view->timerTick();
    EXPECT_EQ(doc->day(), 9);
    EXPECT_EQ(doc->dateKey(), "20261209");
    ASSERT_EQ(doc->todaysList().size(), 1u);
    EXPECT_TRUE(item(1).inUse());
    EXPECT_EQ(item(1).currentUse(), "Tomorrow");
}

// Another user, in a process of its own, reserves Room 1 now and marks the update.
void reserveAsAnotherUser(const std::string& group) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CFixedClock other;
        other.setLocal(2026, 12, 8, 10, 0, 45);
        CClock::setCurrent(&other);
        int rc = 1;
        {
            ScriptedPrompt p;
            CMemorySettings s;
            CORVSchedDoc d(p, s);
            if (d.openGroup(group)) {
                CSchedule& schedule = d.schedule();
                schedule.clearImage();
                schedule.image().setDate(12, 8, 2026);
                schedule.image().setItemName("Room 1");
                schedule.image().setStartTime(10, 0);
                schedule.image().setEndTime(11, 0);
                schedule.image().setPerson("Sam", "", "Other", "");
                if (schedule.append() == 0) {
                    d.markUpdate();
                    rc = 0;
                }
            }
        }
        _exit(rc);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ViewTimerTest, WithRefreshATickSeesAReservationOfAnotherUser) {
    settings.writeInt("Network", "Refresh", 1);
    addNumberedItems(1);
    clock.setLocal(2026, 12, 8, 10, 0, 30);
    showView();
    EXPECT_FALSE(item(0).inUse());
    reserveAsAnotherUser(group);
    clock.setLocal(2026, 12, 8, 10, 1, 0);
    view->timerTick();
    EXPECT_TRUE(item(0).inUse());
    EXPECT_EQ(item(0).currentUse(), "Other");
}

TEST_F(ViewTimerTest, WithoutRefreshAnotherUsersReservationWaitsForTheNextReload) {
    addNumberedItems(1);
    showView();
    reserveAsAnotherUser(group);
    clock.setLocal(2026, 12, 8, 10, 1, 0);
    view->timerTick();
    EXPECT_FALSE(item(0).inUse());
}

TEST_F(ViewTimerTest, OldScheduleTableIsReportedAtTheFirstShowing) {
    ASSERT_TRUE(makeOldSchedule(dir.file("RoomSched")));
    showView();
    EXPECT_EQ(
        prompt.messages,
        std::vector<RecordedMessage>{info(
            "Databases in this group were created with an older version of ORV Scheduler. Some new "
            "functions may not be available unless you convert these databases with the Database "
            "Conversion utility.",
            "Old Database Format")});
    EXPECT_FALSE(view->isEnabled(Command::attendeesAdd));
    EXPECT_FALSE(view->isEnabled(Command::attendance));
}

TEST_F(ViewTimerTest, OldSharedPeopleTableIsReportedAtTheFirstShowing) {
    ASSERT_TRUE(makeOldPeople(dir.file("RoomPeople")));
    showView();
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{info("The databases in this group are in the current "
                                                "format but the shared people database was "
                                                "created with a version of ORV Scheduler prior to "
                                                "Version 2.00. The attendee function has "
                                                "been disabled until you use the Database "
                                                "Conversion utility to convert the group owning "
                                                "the people database to the current format.",
                                                "Old Database Format")});
    EXPECT_FALSE(view->isEnabled(Command::attendeesList));
    view->hide();
    view->show();
    EXPECT_EQ(prompt.messages.size(), 1u) << "once per view";
}

TEST_F(ViewTimerTest, WarnOldDbOffShowsNothing) {
    settings.writeInt("Databases", "WarnOldDB", 0);
    ASSERT_TRUE(makeOldSchedule(dir.file("RoomSched")));
    showView();
    EXPECT_TRUE(prompt.messages.empty());
}

} // namespace
} // namespace orv::test
