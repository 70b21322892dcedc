#pragma once
// A real group on disk, open in a document, for the tests of the overviews and reports: made
// through the group document with a scripted user, items added through the item manager,
// people and reservations written through the record layer. The clock stands at
// Tuesday 12/08/2026 10:00:30.

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::test {

struct Booking {
    std::string item;
    int month = 12, day = 8, year = 2026;
    int startHour = 0, startMinute = 0, endHour = 0, endMinute = 0;
    std::string last = "Smith", first = "Pat", middle = "", department = "";
    bool blockout = false;
};

// Creates the group file `path` (kind "room", "Main Building") with its tables.
inline void makeTestGroup(const std::string& path) {
    ScriptedPrompt maker;
    maker.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
        m.kindWord = "room";
        m.description = "Main Building";
    });
    maker.files.push_back(path);
    CMemorySettings makerSettings;
    CORVSchedDoc created(maker, makerSettings);
    ASSERT_TRUE(created.createGroup());
}

class GroupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0, 30);
        CClock::setCurrent(&clock);
        group = dir.file("Room.sch");
        ASSERT_NO_FATAL_FAILURE(makeTestGroup(group));
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(group));
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    void addItems(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            prompt.fill<CItemInfoModel>([name](CItemInfoModel& m) {
                m.name = name;
                m.defaultLength = "30";
            });
            ASSERT_TRUE(CItemManager(*doc).addItem()) << name;
        }
        prompt.messages.clear();
        prompt.dialogsShown.clear();
    }

    void reserve(const Booking& b) {
        CSchedule& schedule = doc->schedule();
        schedule.clearImage();
        CScheduleRecord& r = schedule.image();
        r.setDate(b.month, b.day, b.year);
        r.setItemName(b.item);
        r.setStartTime(b.startHour, b.startMinute);
        r.setEndTime(b.endHour, b.endMinute);
        if (b.blockout) {
            r.setPerson("Blocked", "", "Out", "");
            r.setNote("Blocked Out");
            r.setFlags(CScheduleRecord::kFlagBlockout | CScheduleRecord::kFlagShowNote);
        } else {
            r.setPerson(b.first, b.middle, b.last, b.department);
        }
        ASSERT_EQ(schedule.append(), 0) << b.item << " " << b.startHour << ":" << b.startMinute;
    }
    void reserveAll(const std::vector<Booking>& bookings) {
        for (const Booking& b : bookings)
            reserve(b);
    }

    // Returns the person's record number.
    long addPerson(const std::string& first, const std::string& middle, const std::string& last,
                   const std::string& department, const std::string& phone = "") {
        CPeople& people = doc->people();
        people.clearImage();
        people.image().setName(first, middle, last);
        people.image().setDepartment(department);
        people.image().setPhone(phone);
        people.image().setFlags(CPeopleRecord::kFlagMayReserve);
        EXPECT_EQ(people.append(), 0) << last;
        EXPECT_EQ(people.seekPerson(first, middle, last, department), 0);
        return people.recordNumber();
    }

    TempDir dir;
    CFixedClock clock;
    std::string group;
    ScriptedPrompt prompt;
    CMemorySettings settings;
    std::unique_ptr<CORVSchedDoc> doc;
};

} // namespace orv::test
