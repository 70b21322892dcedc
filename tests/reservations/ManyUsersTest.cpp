// Many users at once (eight; ORV_MANY_USERS sets another number): real processes booking, cancelling and blocking out overlapping slots of
// two items through the dialogs' code. Afterwards the tables hold exactly what each of them was
// told, no two records of an item overlap, every index checks out and the attendee links match
// their reservations.
//
// ORV_MANY_USERS_MS sets how long the users work (6 s by default; the long form is a minute
// with 32 users):
//   ORV_MANY_USERS=32 ORV_MANY_USERS_MS=60000 build/tests/test_reservations --gtest_filter='ManyUsers.*'
#include "ReservationFixture.h"
#include "cli/CliRunner.h"
#include "common/Process.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

namespace orv::test {
namespace {

int userCount() {
    const char* n = std::getenv("ORV_MANY_USERS");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 8;
}

using Key = std::tuple<std::string, std::string, int>; // item, date key, start hhmm
struct Held {
    int end;
    std::string lastName;
    bool attendees;
    bool operator==(const Held& o) const {
        return end == o.end && lastName == o.lastName && attendees == o.attendees;
    }
};

class ManyUsers : public ReservationFixture {};

TEST_F(ManyUsers, TablesHoldExactlyWhatEachUserWasTold) {
    const int kUsers = userCount();
    for (int i = 0; i < kUsers; ++i)
        addPerson(doc->people(), {"", "", "Worker" + std::to_string(i), ""}, 3);
    doc.reset();
    const char* ms = std::getenv("ORV_MANY_USERS_MS");
    const std::string millis = ms ? ms : "6000";

    std::vector<std::unique_ptr<Process>> users;
    for (int i = 0; i < kUsers; ++i)
        users.push_back(std::make_unique<Process>(
            helperPath("reservations_worker"),
            std::vector<std::string>{group, std::to_string(i), millis, std::to_string(1000 + i)}));
    // Each user's reports come in its own order only: a slot may be booked, cancelled and
    // booked again by others meanwhile. A cancel takes back its own user's booking.
    std::map<Key, std::vector<Held>> told;
    long attempts = 0, conflicts = 0, retries = 0, longestWait = 0, booked = 0, cancelled = 0,
         blocked = 0;
    std::vector<long> waits;
    for (int i = 0; i < kUsers; ++i) {
        std::string line;
        while (users[i]->readLine(line)) {
            std::istringstream in(line);
            std::string what, item, date, start, end, attendees;
            in >> what;
            if (what == "stats") {
                long a = 0, c = 0, r = 0, w = 0;
                in >> a >> c >> r >> w;
                attempts += a, conflicts += c, retries += r, longestWait = std::max(longestWait, w);
                continue;
            }
            if (what == "waits") {
                for (long w = 0; in >> w;)
                    waits.push_back(w);
                continue;
            }
            in >> item >> date >> start >> end >> attendees;
            const Key key{item, date, std::stoi(start)};
            const std::string me = "Worker" + std::to_string(i);
            if (what == "booked") {
                ++booked;
                told[key].push_back(Held{std::stoi(end), me, attendees == "1"});
            } else if (what == "cancelled") {
                ++cancelled;
                std::vector<Held>& held = told[key];
                const auto own = std::find_if(held.begin(), held.end(),
                                              [&](const Held& h) { return h.lastName == me; });
                ASSERT_NE(own, held.end()) << line;
                held.erase(own);
            } else if (what == "blocked") {
                ++blocked;
                told[key].push_back(Held{std::stoi(end), "Out", false});
            } else {
                EXPECT_EQ(what, "conflict") << "user " << i << ": " << line;
            }
        }
        EXPECT_EQ(users[i]->wait(), 0);
    }
    std::sort(waits.begin(), waits.end());
    const long p99 = waits.empty() ? 0 : waits[(waits.size() * 99 + 99) / 100 - 1];
    std::printf(
        "%d users, %s ms: %ld attempts, %ld booked, %ld cancelled, %ld blocked, %ld conflicts, "
        "%ld lock retries, %zu lock waits, 99th percentile %ld ms, longest lock wait %ld ms\n",
        kUsers, millis.c_str(), attempts, booked, cancelled, blocked, conflicts, retries,
        waits.size(), p99, longestWait);
    EXPECT_GT(booked, 0);
    std::map<Key, Held> expected;
    for (const auto& [key, held] : told) {
        EXPECT_LE(held.size(), 1u) << "two users were told they hold " << std::get<0>(key) << " "
                                   << std::get<1>(key) << " " << std::get<2>(key);
        if (!held.empty()) expected.emplace(key, held.front());
    }

    open();
    std::map<Key, Held> stored;
    std::vector<CScheduleRecord> withAttendees;
    for (int day = 9; day <= 11; ++day) {
        std::vector<CScheduleRecord> records;
        ASSERT_EQ(doc->schedule().recordsOnDate(CDate{2026, 12, day}.key(), records), 0);
        std::map<std::string, int> lastEnd;
        for (const CScheduleRecord& r : records) {
            // Records come in key order: date, item, start.
            EXPECT_GE(r.startHhmm(), lastEnd[r.itemName()])
                << r.itemName() << " " << day << " overlaps";
            lastEnd[r.itemName()] = r.endHhmm();
            stored[{r.itemName(), r.date().key(), r.startHhmm()}] = {r.endHhmm(), r.lastName(),
                                                                     r.hasAttendees()};
            if (r.hasAttendees()) withAttendees.push_back(r);
        }
    }
    EXPECT_TRUE(stored == expected) << stored.size() << " stored, " << expected.size() << " told";

    for (const CScheduleRecord& r : withAttendees)
        EXPECT_FALSE(links(r.itemName(), r.date(), r.startHour(), r.startMinute()).empty())
            << r.itemName() << " " << r.date().key() << " " << r.startHhmm();
    CRosterLink& l = doc->rosterLinks();
    for (int rc = l.first(); rc == 0; rc = l.next()) {
        const Key key{l.itemName(), l.dateKey(), l.startHour() * 100 + l.startMinute()};
        EXPECT_TRUE(stored.count(key) && stored[key].attendees) << "a link without its reservation";
    }
    doc.reset();
    for (const char* table : {"RoomSched.dbf", "RoomPeople.dbf", "RoomRosLnk.dbf"}) {
        const CliResult check = runCli({"index-check", dir.file(table)}, dir.path());
        EXPECT_EQ(check.exitCode, 0) << table << ": " << check.out << check.err;
    }
}

} // namespace
} // namespace orv::test
