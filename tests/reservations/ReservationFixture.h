#pragma once
// A group of two rooms and four people, opened through the document with a scripted user and a
// clock fixed at Tuesday 2026-12-08 10:00, and the steps that drive the reservation dialogs.

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "common/TestGroup.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "people/CPersonModel.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRosterModel.h"
#include "reservations/CShowReservation.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

using Messages = std::vector<RecordedMessage>;

struct Slot {
    CDate date;
    int start; // hhmm
    int end;   // hhmm
    bool operator==(const Slot& o) const { return date == o.date && start == o.start && end == o.end; }
};

inline void PrintTo(const Slot& s, std::ostream* os) {
    *os << s.date.key() << " " << s.start << "-" << s.end;
}

// What one Make Reservation OK is given.
struct Booking {
    CDate date{2026, 12, 8};
    int sh = 11, sm = 0, eh = 12, em = 0;
    int code = CAddReservation::kNone;
    CDate until{2026, 12, 8};
    CPeopleKey person{"Alex", "J", "Morgan", "Sales"};
    std::string note;
    bool showNote = false;
    bool attendees = false;
};

class ReservationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0);
        CClock::setCurrent(&clock);
        group = dir.file("Room.sch");
        makeGroup();
        open();
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    // A new group in place of the one there: for one case of a table of cases.
    void fresh() {
        doc.reset();
        prompt = ScriptedPrompt();
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove(entry.path());
        makeGroup();
        open();
    }

    void makeGroup() {
        createGroup(group);
        ScriptedPrompt p;
        CORVSchedDoc maker(p, settings);
        ASSERT_TRUE(maker.openGroup(group));
        for (auto [name, length] : {std::pair{"Boardroom", "60"}, std::pair{"Huddle", ""}}) {
            p.fill<CItemInfoModel>([name = std::string(name), length = std::string(length)](CItemInfoModel& m) {
                m.name = name;
                m.defaultLength = length;
                m.occupancy = "12";
            });
            ASSERT_TRUE(CItemManager(maker).addItem());
        }
        addPerson(maker.people(), {"Alex", "J", "Morgan", "Sales"}, 3, "555-0100", "East wing");
        addPerson(maker.people(), {"Li", "", "Chen", ""}, 2);
        addPerson(maker.people(), {"Pat", "", "Ames", "Ops"}, 1);
        addPerson(maker.people(), {"Sam", "", "Baker", ""}, 1);
    }
    static void addPerson(CPeople& people, const CPeopleKey& key, int flags, const std::string& phone = "",
                          const std::string& location = "") {
        people.clearImage();
        people.image().setKey(key);
        people.image().setFlags(flags);
        people.image().setPhone(phone);
        people.image().setLocation(location);
        ASSERT_EQ(people.append(), 0);
    }
    void open() {
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(group));
    }

    // A record written straight into the schedule table, start and end as hhmm.
    void put(const std::string& itemName, CDate date, int start, int end, const std::string& last,
             int code = 0, CDate recurEnd = {}, int madeMinute = 0, int flags = 0,
             const std::string& note = "") {
        CSchedule& s = doc->schedule();
        s.clearImage();
        CScheduleRecord& r = s.image();
        r.setItemName(itemName);
        r.setDate(date.month, date.day, date.year);
        r.setStartTime(start / 100, start % 100);
        r.setEndTime(end / 100, end % 100);
        r.setPerson("Pat", "", last, "");
        r.setMade(12, 1, 2026, 9, madeMinute, 7);
        r.setRecurrenceCode(code);
        r.setRecurrenceEnd(recurEnd.month, recurEnd.day, recurEnd.year);
        r.setFlags(flags);
        r.setNote(note);
        ASSERT_EQ(s.append(), 0);
    }

    int item(const std::string& name) { return doc->findItem(name); }
    CItemDayModel day(const std::string& name, CDate date = {2026, 12, 8}) {
        return CItemDayModel(*doc, item(name), date);
    }

    // Scripts one OK of "Make Reservation" with these values.
    void scriptBooking(const Booking& b) {
        prompt.fill<CAddReservation>([b](CAddReservation& r) {
            r.date = b.date;
            r.setStartTime(b.sh, b.sm);
            r.setEndTime(b.eh, b.em);
            r.setRecurrence(b.code);
            r.lastDate = b.until;
            r.note = b.note;
            r.showNote = b.showNote;
            r.attendees = b.attendees;
            r.selectedPerson = r.personLine(b.person);
        });
    }
    // Scripts the attendee dialog: moves these people right and sets the check box.
    void scriptRoster(std::vector<std::string> lastNames, bool includeLater) {
        prompt.fill<CRosterModel>([=](CRosterModel& roster) {
            std::vector<int> lines;
            for (std::size_t i = 1; i < roster.allAttendees().size(); ++i)
                for (const std::string& last : lastNames)
                    if (roster.allAttendees()[i].text.rfind(last + ",", 0) == 0) lines.push_back(static_cast<int>(i));
            roster.moveRight(lines);
            roster.includeLater = includeLater;
        });
    }
    // Runs Make Reservation from the day list of the item (on the booking's date); the result of
    // the dialog.
    bool book(const std::string& itemName, const Booking& b) {
        scriptBooking(b);
        CItemDayModel d = day(itemName, b.date);
        return d.makeReservation();
    }
    // The same with the attendee dialog answered: these people moved right.
    bool bookWith(const std::string& itemName, Booking b, std::vector<std::string> attendees, bool includeLater) {
        b.attendees = true;
        scriptBooking(b);
        scriptRoster(std::move(attendees), includeLater);
        CItemDayModel d = day(itemName, b.date);
        return d.makeReservation();
    }

    // Books the repeat rule for Boardroom 09:00-10:00 from `first` through Make Reservation.
    bool bookRule(const std::string& rule, CDate first, std::vector<CDate> exceptions = {}) {
        prompt.dialogSteps.push_back([=](CDialogModel& m) {
            auto& r = dynamic_cast<CAddReservation&>(m);
            r.date = first;
            r.setStartTime(9, 0);
            r.setEndTime(10, 0);
            r.customRule = rule;
            r.exceptions = exceptions;
            r.selectedPerson = r.personLine({"Alex", "J", "Morgan", "Sales"});
            return true;
        });
        CItemDayModel d = day("Boardroom", first);
        return d.makeReservation();
    }

    // Every record of an item from `from` for `days` dates, as slots, in table order.
    std::vector<Slot> slots(const std::string& itemName, CDate from = {2026, 12, 1}, int days = 40) {
        std::vector<Slot> out;
        for (int i = 0; i < days; ++i) {
            const CDate d = from.addDays(i);
            doc->schedule().walkItemOnDate(d.key(), itemName, [&](const CScheduleRecord& r) {
                out.push_back({d, r.startHhmm(), r.endHhmm()});
                return true;
            });
        }
        return out;
    }
    std::vector<CScheduleRecord> records(const std::string& itemName, CDate from = {2026, 12, 1}, int days = 40) {
        std::vector<CScheduleRecord> out;
        for (int i = 0; i < days; ++i)
            doc->schedule().recordsOfItemOnDate(from.addDays(i).key(), itemName, out);
        return out;
    }
    // Attendee links of one reservation, last names in link order.
    std::vector<std::string> links(const std::string& itemName, CDate d, int hour, int minute) {
        std::vector<std::string> out;
        CRosterLink& l = doc->rosterLinks();
        int rc = l.seek(d.key(), itemName, hour, minute);
        while (rc == 0 && l.belongsTo(d.month, d.day, d.year, hour, minute, itemName)) {
            out.push_back(l.lastName());
            rc = l.next();
        }
        return out;
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::string group;
    std::unique_ptr<CORVSchedDoc> doc;
};

} // namespace orv::test
