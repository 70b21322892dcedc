// A full disk and a failing disk at each write and each flush of a reservation and of a person:
// the user is told, nothing is reported stored that was not, and what was stored before stays
// readable with its index sound (or repaired by the reindex command the check names).
#include "ReservationFixture.h"
#include "cli/CliRunner.h"
#include "common/FaultFs.h"

#include <algorithm>

namespace orv::test {
namespace {

struct Fault {
    const char* name;
    bool onFlush;
    int error;
};
const Fault kFaults[] = {
    {"full disk on write", false, ENOSPC}, {"write error", false, EIO}, {"flush error", true, EIO}};

class FullDisk : public ReservationFixture {
protected:
    // The document again, on a file layer that fails as told.
    void openFaulty() {
        doc.reset();
        prompt = ScriptedPrompt();
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        code4init(&doc->code(), &files);
        doc->code().silentErrors = 1;
        ASSERT_TRUE(doc->openGroup(group));
    }
    // Every table checks out, after a reindex where the check asked for one. The check runs
    // here first; the command line's check and repair run where it finds a fault.
    void expectSoundTables() {
        for (const char* table : {"RoomSched.dbf", "RoomPeople.dbf", "RoomRosLnk.dbf"}) {
            if (checksOut(dir.file(table))) continue;
            CliResult check = runCli({"index-check", dir.file(table)}, dir.path());
            if (check.exitCode != 0) {
                EXPECT_NE(check.err.find("orvsched-cli reindex " + dir.file(table)),
                          std::string::npos)
                    << check.err;
                EXPECT_EQ(runCli({"reindex", dir.file(table)}, dir.path()).exitCode, 0);
                check = runCli({"index-check", dir.file(table)}, dir.path());
            }
            EXPECT_EQ(check.exitCode, 0) << table << ": " << check.err;
        }
    }
    static bool checksOut(const std::string& path) {
        Code4 code;
        code4init(&code);
        code.readOnly = 1;
        code.silentErrors = 1;
        Data4* d = d4open(&code, path);
        if (!d) return false;
        const int rc = d4check(d, nullptr, nullptr);
        d4close(d);
        return rc == 0;
    }
    FaultFs files;
};

TEST_F(FullDisk, EveryWriteOfAReservationOrAPersonThatFailsIsReportedAndLosesNothing) {
    struct Operation {
        const char* name;
        std::function<bool()> run;         // true when reported stored, all of it
        std::vector<RecordedMessage> told; // what the user may be told (text, or its start)
    };
    const std::vector<Operation> operations = {
        {"reservation",
         [this] {
             Booking b;
             b.sh = 13, b.eh = 14;
             scriptBooking(b);
             CItemDayModel d = day("Boardroom");
             d.makeReservation();
             return !d.lastWritten().empty();
         },
         {error(CAddReservation::kNotWritten, CAddReservation::kDatabaseError)}},
        {"reservation with attendees",
         [this] {
             Booking b;
             b.sh = 13, b.eh = 14;
             b.attendees = true;
             scriptBooking(b);
             scriptRoster({"Baker"}, false);
             CItemDayModel d = day("Boardroom");
             d.makeReservation();
             const bool linksFailed =
                 !prompt.messages.empty() &&
                 prompt.messages.back().text == CAddReservation::kAttendeesNotWritten;
             return !d.lastWritten().empty() && !linksFailed;
         },
         {error(CAddReservation::kNotWritten, CAddReservation::kDatabaseError),
          error(CAddReservation::kAttendeesNotWritten, CAddReservation::kDatabaseError)}},
        {"person",
         [this] {
             prompt.fill<CPersonModel>([](CPersonModel& p) {
                 p.firstName = "Kim";
                 p.lastName = "Dale";
             });
             CPersonModel person(doc->people(), CPersonModel::Mode::Add, true, false);
             return prompt.runDialog(person);
         },
         {error("Error adding/updating person in database, already exist or busy? (", "Error")}},
    };
    for (const Operation& op : operations) {
        // How many writes and flushes the operation makes when nothing fails.
        fresh();
        Booking before;
        ASSERT_TRUE(bookWith("Boardroom", before, {"Ames"}, false));
        openFaulty();
        files.writeCalls = files.fsyncCalls = 0;
        ASSERT_TRUE(op.run()) << op.name;
        const int writes = files.writeCalls, flushes = files.fsyncCalls;
        ASSERT_GT(writes, 0);

        for (const Fault& fault : kFaults)
            for (int k = 0; k < (fault.onFlush ? flushes : writes); ++k) {
                SCOPED_TRACE(std::string(op.name) + ", " + fault.name + " at " + std::to_string(k));
                fresh();
                ASSERT_TRUE(bookWith("Boardroom", before, {"Ames"}, false));
                openFaulty();
                (fault.onFlush ? files.fsyncsBeforeFailing : files.writesBeforeFailing) = k;
                (fault.onFlush ? files.fsyncError : files.writeError) = fault.error;
                const bool stored = op.run();
                files.writeError = files.fsyncError = 0;
                EXPECT_FALSE(stored);
                ASSERT_FALSE(prompt.messages.empty());
                const RecordedMessage& told = prompt.messages.back();
                // The person message ends in the engine's result, which depends on the write.
                const bool known =
                    std::any_of(op.told.begin(), op.told.end(), [&](const RecordedMessage& m) {
                        return told.text.substr(0, m.text.size()) == m.text &&
                               told.title == m.title && told.icon == m.icon;
                    });
                EXPECT_TRUE(known) << told.title << ": " << told.text;

                doc.reset();
                expectSoundTables();
                open();
                const std::vector<CScheduleRecord> kept = records("Boardroom", {2026, 12, 8}, 1);
                ASSERT_GE(kept.size(), 1u);
                EXPECT_EQ(kept[0].startHhmm(), 1100);
                EXPECT_EQ(kept[0].lastName(), "Morgan");
                EXPECT_EQ(links("Boardroom", {2026, 12, 8}, 11, 0),
                          std::vector<std::string>{"Ames"});
                EXPECT_EQ(doc->people().seekPerson({"Alex", "J", "Morgan", "Sales"}), 0);
            }
    }
}

} // namespace
} // namespace orv::test
