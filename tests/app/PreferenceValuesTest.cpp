#include "TestDoubles.h"
#include "app/CPreferenceValues.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::CRecordingSettings;
using test::StoreWrite;

TEST(PreferenceValuesTest, ApplyingUnchangedValuesWritesNothing) {
    CRecordingSettings store;
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues values = CPreferenceValues::fromView(view, store);
    const CApplyResult result = values.apply(view, store);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_FALSE(result.wroteAny());
    EXPECT_FALSE(result.needsRedraw());
}

TEST(PreferenceValuesTest, EveryChangedValueIsWrittenInTheFixedOrder) {
    CRecordingSettings store;
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    v.propAttendees = 1;
    v.showNotes = 1;
    v.refresh = 1;
    v.lock = 1;
    v.doDBReOpen = 1;
    v.warnOldDB = 0;
    v.unoccupied = 65408;
    v.occupied = 0x0000FF00;
    v.partiallyOccupied = 0x00FF0000;
    v.startHour = 8;
    v.useFullDay = 1;
    v.noAutoDelete = false;
    v.keepDays = 45;
    v.useLastGroup = 1;
    v.group = "/groups/Rooms.sch";
    const CApplyResult result = v.apply(view, store);

    const std::vector<StoreWrite> expected = {
        {"Reservations", "PropAttendees", "1"},
        {"Reservations", "ShowNotes", "1"},
        {"Network", "Refresh", "1"},
        {"Groups", "Lock", "1"},
        {"Network", "DoDBReOpen", "1"},
        {"Databases", "WarnOldDB", "0"},
        {"Colors", "Unoccupied", "65408"},
        {"Colors", "Occupied", "65280"},
        {"Colors", "Partially Occupied", "16711680"},
        {"DayRes", "StartHour", "8"},
        {"DayRes", "UseFullDay", "1"},
        {"Reservations", "DeleteOldRes", "45"},
        {"Startup", "UseLastGroup", "1"},
        {"Startup", "Group", "/groups/Rooms.sch"},
    };
    EXPECT_EQ(store.writes, expected);
    for (int step = CApplyResult::propAttendees; step <= CApplyResult::group; ++step)
        EXPECT_TRUE(result.wrote(static_cast<CApplyResult::Step>(step))) << step;
    EXPECT_TRUE(result.needsRedraw());
    EXPECT_TRUE(result.documentSettingsChanged());
}

TEST(PreferenceValuesTest, TheViewsCurrentValuesFollowTheAppliedOnes) {
    CRecordingSettings store;
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    v.showNotes = 1;
    v.startHour = 9;
    v.noAutoDelete = false;
    v.keepDays = 10;
    v.apply(view, store);
    EXPECT_EQ(view.showNotes, 1);
    EXPECT_EQ(view.startHour, 9);
    EXPECT_EQ(view.deleteOldRes, 10);
    EXPECT_EQ(CViewSettings::read(store), view);
}

TEST(PreferenceValuesTest, OnlyTheChangedValueIsWritten) {
    CRecordingSettings store;
    store.writeInt("Colors", "Occupied", 0x123456);
    store.writes.clear();
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    v.useFullDay = 1;
    const CApplyResult result = v.apply(view, store);
    EXPECT_EQ(store.writes, (std::vector<StoreWrite>{{"DayRes", "UseFullDay", "1"}}));
    EXPECT_TRUE(result.wrote(CApplyResult::useFullDay));
    EXPECT_TRUE(result.needsRedraw());
    EXPECT_FALSE(result.documentSettingsChanged());
}

TEST(PreferenceValuesTest, WarnOldDbAndStartupChoicesNeedNoRedraw) {
    CRecordingSettings store;
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    v.warnOldDB = 0;
    v.useLastGroup = 1;
    v.group = "/g.sch";
    const CApplyResult result = v.apply(view, store);
    EXPECT_EQ(store.writes.size(), 3u);
    EXPECT_FALSE(result.needsRedraw());
    EXPECT_FALSE(result.documentSettingsChanged());
}

TEST(PreferenceValuesTest, DeleteOldResOfMinusOneOpensAs30DaysWithTheBoxOn) {
    CRecordingSettings store;
    store.writeInt("Reservations", "DeleteOldRes", -1);
    const CPreferenceValues v = CPreferenceValues::fromView(CViewSettings::read(store), store);
    EXPECT_EQ(v.keepDays, 30);
    EXPECT_TRUE(v.noAutoDelete);
    EXPECT_EQ(v.deleteOldRes(), -1);
}

TEST(PreferenceValuesTest, PositiveDeleteOldResOpensWithItsDaysAndTheBoxOff) {
    CRecordingSettings store;
    store.writeInt("Reservations", "DeleteOldRes", 14);
    const CPreferenceValues v = CPreferenceValues::fromView(CViewSettings::read(store), store);
    EXPECT_EQ(v.keepDays, 14);
    EXPECT_FALSE(v.noAutoDelete);
}

TEST(PreferenceValuesTest, DeleteOldResOfZeroIsRewrittenAsMinusOne) {
    CRecordingSettings store;
    store.writeInt("Reservations", "DeleteOldRes", 0);
    store.writes.clear();
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    v.apply(view, store);
    EXPECT_EQ(store.writes, (std::vector<StoreWrite>{{"Reservations", "DeleteOldRes", "-1"}}));
}

TEST(PreferenceValuesTest, TheStartupPageComparesWithWhatTheSheetStartedWith) {
    CRecordingSettings store;
    store.writeInt("Startup", "UseLastGroup", 1);
    store.writeText("Startup", "Group", std::string("/a.sch"));
    store.writes.clear();
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    EXPECT_EQ(v.useLastGroup, 1);
    EXPECT_EQ(v.group, "/a.sch");
    v.group = "";
    v.apply(view, store);
    EXPECT_EQ(store.writes, (std::vector<StoreWrite>{{"Startup", "Group", std::string()}}));
    store.writes.clear();
    v.apply(view, store);
    EXPECT_TRUE(store.writes.empty());
}

TEST(PreferenceValuesTest, AStoredMinusOneHourIsNotRewrittenWhenUnchanged) {
    CRecordingSettings store;
    store.writeInt("Dayres", "StartHour", -1);
    store.writes.clear();
    CViewSettings view = CViewSettings::read(store);
    CPreferenceValues v = CPreferenceValues::fromView(view, store);
    EXPECT_EQ(v.startHour, 6);
    v.apply(view, store);
    EXPECT_TRUE(store.writes.empty());
}

} // namespace
} // namespace orv
