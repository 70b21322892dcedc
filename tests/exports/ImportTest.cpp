// Imports of calendar files and spreadsheets: what they book must be what an independent reading
// of the file gives (python3-icalendar with dateutil), a second import must change nothing, a
// changed file must move and cancel only what changed, and every row gets its outcome.
#include "reservations/ReservationFixture.h"

#include "cli/CliRunner.h"
#include "exports/CCsvReader.h"
#include "exports/CReservationImport.h"
#include "reservations/CBlockoutModel.h"
#include "tables/CFieldText.h"
#include "tables/CImportLinks.h"
#include "tables/CSeriesRules.h"

#include <cstdio>
#include <fstream>

namespace orv::test {
namespace {

const std::string kFixtures = ORV_SOURCE_DIR "/tests/fixtures/import/";

// The reservations the independent reader finds in the file, in the zone of TZ.
std::vector<std::string> expected(const std::string& file, const std::string& scratch) {
    const std::string out = scratch + "/reader.out";
    const std::string command = "/usr/bin/python3 " ORV_SOURCE_DIR
                                "/tests/exports/import_reader.py '" +
                                file + "' > " + out + " 2>&1";
    const int rc = std::system(command.c_str());
    std::vector<std::string> lines;
    std::istringstream in(slurpFile(out));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (rc != 0) lines.insert(lines.begin(), "reader failed");
    return lines;
}

class ImportTest : public ReservationFixture {
protected:
    // Every record from December 2026 on as the reader prints one, sorted.
    std::vector<std::string> booked() {
        std::vector<std::string> out;
        CSchedule& s = doc->schedule();
        for (int rc = s.seekFrom("20261201"); rc == 0; rc = s.skip()) {
            const CScheduleRecord& r = s.peekSlot();
            char line[96];
            std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d-%02d:%02d %s", r.year(),
                          r.month(), r.day(), r.startHour(), r.startMinute(), r.endHour(),
                          r.endMinute(), CFieldText::trimRight(r.itemName()).c_str());
            out.push_back(line);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    // The whole records with their numbers: what a second import must leave as it is.
    std::vector<std::string> stored() {
        std::vector<std::string> out;
        CSchedule& s = doc->schedule();
        for (int rc = s.seekFrom("20261201"); rc == 0; rc = s.skip()) {
            const CScheduleRecord& r = s.readCurrent();
            out.push_back(std::to_string(r.recordNumber()) + " " + r.dateKey() + " " +
                          std::to_string(r.startHhmm()) + " " + r.itemName() + " " + r.lastName() +
                          " " + r.note());
        }
        return out;
    }
    CliResult import(const std::vector<std::string>& extra) {
        doc.reset();
        std::vector<std::string> args = {"import-reservations", group};
        args.insert(args.end(), extra.begin(), extra.end());
        CliResult r = runCli(args, dir.path());
        open();
        return r;
    }
    std::string lastLine(const std::string& out) {
        const auto end = out.find_last_not_of('\n');
        return out.substr(out.rfind('\n', end) + 1, end - out.rfind('\n', end));
    }
};

TEST_F(ImportTest, CalendarFilesBookExactlyWhatAnIndependentReadingGives) {
    // A web calendar (VTIMEZONE of another zone, a rule with BYDAY, EXDATE and UNTIL across both
    // daylight-saving changes, folded lines, CRLF), a mail client's meeting (a zone by its
    // Windows name, a BOM, LF, X- properties, one date moved and one cancelled), and a planner's
    // file (all-day, floating with DURATION, a cancelled event, a zone with no VTIMEZONE).
    for (const char* name : {"web-calendar.ics", "mail-meeting.ics", "planner.ics"}) {
        SCOPED_TRACE(name);
        fresh();
        const std::string file = kFixtures + name;
        const CliResult r = import({file, "--person", "Morgan|Alex|J|Sales"});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        const std::vector<std::string> want = expected(file, dir.path());
        ASSERT_GT(want.size(), 2u);
        EXPECT_EQ(booked(), want);
    }
    // The last group holds the planner's file: the cancelled event was skipped and said so.
    // The mail client's meeting is one series, its attendee on every date.
    fresh();
    ASSERT_EQ(import({kFixtures + "mail-meeting.ics"}).exitCode, 0);
    const std::vector<CScheduleRecord> members = records("Huddle", {2026, 12, 1}, 60);
    ASSERT_EQ(members.size(), 4u);
    for (const CScheduleRecord& m : members) {
        EXPECT_EQ(CSeriesRules::seriesPrefix(m), CSeriesRules::seriesPrefix(members[0]));
        EXPECT_EQ(m.recurrenceCode(), 1);
        EXPECT_EQ(m.lastName(), "Morgan") << "the organizer's name";
        EXPECT_EQ(links("Huddle", m.date(), m.startHour(), m.startMinute()),
                  std::vector<std::string>{"Ames"});
    }
    std::vector<CSeriesRow> rows;
    ASSERT_EQ(doc->seriesRules().openIfThere(group), 0);
    ASSERT_EQ(doc->seriesRules().rowsOf(CSeriesRules::seriesPrefix(members[0]), rows), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "FREQ=WEEKLY;COUNT=5;BYDAY=TH");
    EXPECT_EQ(rows[0].lastDate, (CDate{2027, 1, 7}));
}

TEST_F(ImportTest, ImportingAgainChangesNothingAndAChangedFileMovesAndCancelsOnlyWhatChanged) {
    const std::string first = kFixtures + "planner.ics";
    ASSERT_EQ(import({first, "--person", "Morgan|Alex|J|Sales"}).exitCode, 0);
    const std::vector<std::string> before = stored();

    const CliResult again = import({first, "--person", "Morgan|Alex|J|Sales"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(lastLine(again.out), "0 booked, 3 unchanged, 0 conflicts, 1 skipped");
    EXPECT_EQ(stored(), before) << "not a record written";

    // The interviews move to the afternoon, the call with Tokyo is cancelled.
    std::string text = slurpFile(first);
    const auto replace = [&](const std::string& from, const std::string& to) {
        ASSERT_NE(text.find(from), std::string::npos) << from;
        text.replace(text.find(from), from.size(), to);
    };
    replace("DTSTART:20261221T090000", "DTSTART:20261221T130000\nSEQUENCE:1");
    replace("DTSTART;TZID=Asia/Tokyo", "STATUS:CANCELLED\nDTSTART;TZID=Asia/Tokyo");
    const std::string second = dir.file("planner-2.ics");
    std::ofstream(second, std::ios::binary) << text;
    const CliResult changed = import({second, "--person", "Morgan|Alex|J|Sales"});
    EXPECT_EQ(changed.exitCode, 0) << changed.out << changed.err;
    EXPECT_EQ(lastLine(changed.out),
              "0 booked, 1 moved, 1 cancelled, 1 unchanged, 0 conflicts, 1 skipped");
    EXPECT_EQ(booked(), expected(second, dir.path()));
    // The all-day reservation is the same record as before.
    EXPECT_EQ(stored().front(), before.front());
    const CliResult third = import({second, "--person", "Morgan|Alex|J|Sales"});
    EXPECT_EQ(lastLine(third.out), "0 booked, 2 unchanged, 0 conflicts, 2 skipped");
    // The history names the import.
    const CliResult history = runCli({"history", group, "--kind", "imported"}, dir.path());
    EXPECT_NE(history.out.find("imported  Boardroom 12/21/2026 13:00-14:30"), std::string::npos)
        << history.out << history.err;
}

TEST_F(ImportTest, AnExportImportedIntoAnEmptyGroupExportsTheSameAgain) {
    Booking series;
    series.code = CAddReservation::kWeekly;
    series.until = {2026, 12, 22};
    series.note = "Budget, \"Q1\"; review\nback\\slash caf\xE9";
    ASSERT_TRUE(bookWith("Boardroom", series, {"Baker", "Ames"}, true));
    Booking late;
    late.date = {2026, 12, 9};
    late.sh = 20, late.eh = 23, late.em = 59;
    late.person = {"Li", "", "Chen", ""};
    ASSERT_TRUE(book("Huddle", late));
    doc->schedule().image() = CBlockoutModel::blockoutRecord({2026, 12, 10}, 8, 0, 17, 0, "Huddle");
    ASSERT_EQ(doc->schedule().append(), 0);
    doc.reset();
    const std::string from = group;
    for (const char* format : {"ics", "csv"}) {
        SCOPED_TRACE(format);
        const std::string exported = dir.file(std::string("first.") + format);
        ASSERT_EQ(
            runCli({"export", from, "20261201", "20261231", "--format", format, "-o", exported},
                   dir.path())
                .exitCode,
            0);
        // A group with the same items and people, nothing booked.
        const std::string other = dir.file(std::string("Other-") + format + ".sch");
        group = other;
        makeGroup();
        const CliResult r = runCli({"import-reservations", other, exported}, dir.path());
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(lastLine(r.out), "5 booked, 0 conflicts, 0 skipped");
        const CliResult again =
            runCli({"export", other, "20261201", "20261231", "--format", format}, dir.path());
        EXPECT_EQ(again.out, slurpFile(exported));
        for (const CDate d : {CDate{2026, 12, 8}, CDate{2026, 12, 9}, CDate{2026, 12, 10},
                              CDate{2026, 12, 15}, CDate{2026, 12, 22}}) {
            // The reservation: date, item, times, person and note; from a calendar file also its
            // creation stamp and flags (the attendees). The series code and last date are in
            // neither file.
            const bool stamp = std::string(format) == "ics";
            auto day = [&](const std::string& g) {
                std::string kept;
                std::istringstream in(runCli({"day", g, d.key()}, dir.path()).out);
                for (std::string line; std::getline(in, line);) {
                    std::vector<std::string> f(1);
                    for (char c : line)
                        if (c == '|')
                            f.emplace_back();
                        else
                            f.back().push_back(c);
                    for (std::size_t i = 1; i < f.size(); ++i)
                        if (i <= 9 || (stamp && (i <= 11 || i == 14))) kept += f[i] + "|";
                    kept += "\n";
                }
                return kept;
            };
            EXPECT_EQ(day(other), day(from)) << d.key();
        }
        group = from;
    }
}

TEST_F(ImportTest, ASeriesByRuleExportsAsOneEventWithItsZoneAndComesBackAsTheSameSeries) {
    // Mondays and Wednesdays across the change to summer time: 03/03 left out, 03/08 taken by
    // another reservation, 03/15 cancelled and 03/17 given a note of its own afterwards.
    Booking other;
    other.date = {2027, 3, 8};
    other.sm = 30, other.sh = 9, other.eh = 11;
    other.person = {"Li", "", "Chen", ""};
    ASSERT_TRUE(book("Boardroom", other))
        << (prompt.messages.empty() ? "" : prompt.messages.back().text);
    ASSERT_TRUE(bookRule("FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20270324", {2027, 3, 1}, {{2027, 3, 3}}));
    CSchedule& s = doc->schedule();
    ASSERT_EQ(s.seek("20270315", "Boardroom", "09", "00"), 0);
    ASSERT_EQ(s.deleteCurrent(), 0);
    ASSERT_EQ(s.seek("20270317", "Boardroom", "09", "00"), 0);
    s.image().setNote("Moved to the annex");
    ASSERT_EQ(s.update(), 0);
    ASSERT_TRUE(book("Huddle", Booking()));
    const std::vector<std::string> records = booked();
    ASSERT_EQ(records.size(), 7u);
    doc.reset();

    const std::string from = group;
    const std::string zoned = dir.file("zoned.ics");
    const std::string floating = dir.file("floating.ics");
    ASSERT_EQ(
        runCli({"export", from, "20261201", "20270317", "--format", "ics", "-o", zoned}, dir.path())
            .exitCode,
        0);
    ASSERT_EQ(runCli({"export", from, "20261201", "20270331", "--format", "ics", "--floating", "-o",
                      floating},
                     dir.path())
                  .exitCode,
              0);
    const std::string text = slurpFile(zoned);
    auto count = [&](const std::string& file, const std::string& what) {
        const std::string t = slurpFile(file);
        int n = 0;
        for (std::size_t at = t.find(what); at != std::string::npos; at = t.find(what, at + 1))
            ++n;
        return n;
    };
    // The whole series though the range ends before its last dates, one rule, four dates left
    // out, the changed member an event of its own; times in
    // the zone of TZ (UTC times when it is UTC).
    const bool utc = std::string(std::getenv("TZ")) == "UTC";
    EXPECT_EQ(count(zoned, "\r\nRRULE:FREQ=WEEKLY"), 1) << text;
    EXPECT_EQ(count(zoned, "\r\nEXDATE"), 4) << text;
    EXPECT_EQ(count(zoned, "BEGIN:VEVENT"), 4) << text;
    EXPECT_EQ(count(zoned, "BEGIN:VTIMEZONE"), utc ? 0 : 1) << text;
    EXPECT_EQ(count(zoned, "DTSTART;TZID="), utc ? 0 : 4) << text;
    EXPECT_EQ(count(floating, "TZID"), 0);
    EXPECT_EQ(count(floating, "T090000Z"), 0);
    // The independent reading (dateutil expanding the rule) gives exactly the group's records.
    EXPECT_EQ(expected(zoned, dir.path()), records);
    EXPECT_EQ(expected(floating, dir.path()), records);

    // Into an empty group with the same items and people: the same records, the same series, and
    // the same bytes when exported again.
    group = dir.file("Other.sch");
    makeGroup();
    const CliResult r = runCli({"import-reservations", group, zoned}, dir.path());
    EXPECT_EQ(lastLine(r.out), "7 booked, 0 conflicts, 0 skipped") << r.out << r.err;
    EXPECT_EQ(runCli({"export", group, "20261201", "20270317", "--format", "ics"}, dir.path()).out,
              text);
    open();
    EXPECT_EQ(booked(), records);
    std::vector<CSeriesRow> rows;
    ASSERT_EQ(doc->schedule().seek("20270301", "Boardroom", "09", "00"), 0);
    EXPECT_EQ(doc->seriesRules().rowsOf(CSeriesRules::seriesKey(doc->schedule().image()), rows), 0);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].text, "FREQ=WEEKLY;UNTIL=20270324;BYDAY=MO,WE");
    group = from;
}

TEST_F(ImportTest, AMeetingThatRepeatsForEverIsBookedAsFarAsASeriesMayRun) {
    const std::string ics = dir.file("standup.ics");
    std::ofstream(ics, std::ios::binary)
        << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\n"
           "UID:standup-1\r\nDTSTART:20261214T090000\r\nDTEND:20261214T093000\r\n"
           "RRULE:FREQ=WEEKLY;BYDAY=MO\r\nSUMMARY:Standup\r\nLOCATION:Boardroom\r\n"
           "ORGANIZER;CN=Alex Morgan:mailto:alex@example.org\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const CliResult r = import({ics, "--dry-run"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    // Every Monday through ten years on, the limit of a series.
    ASSERT_EQ(lines.size(), 522u) << r.out.substr(0, 400);
    EXPECT_EQ(lines.front(), "12/14/2026  09:00-09:30  Boardroom  Morgan, Alex J  will be booked");
    EXPECT_EQ(lines.back(), "12/08/2036  09:00-09:30  Boardroom  Morgan, Alex J  will be booked" +
                                std::string(CReservationImport::kCut));
}

TEST_F(ImportTest, EveryCsvRowGetsItsStateAndTheReportNamesEachBadRowByItsLine) {
    put("Boardroom", {2026, 12, 10}, 900, 1000, "Chen");
    doc->schedule().image() = CBlockoutModel::blockoutRecord({2026, 12, 11}, 8, 0, 17, 0, "Huddle");
    ASSERT_EQ(doc->schedule().append(), 0);
    const std::string csv = dir.file("rooms.csv");
    std::ofstream(csv, std::ios::binary)
        << "\xEF\xBB\xBF"
           "Date,Start Time,End Time,Room,Booked By,Subject\r\n"
           "12/14/2026,9:00 AM,10:30 AM,boardroom,Alex Morgan,\"Budget, \"\"Q1\"\"\"\r\n"
           "12/10/2026,09:30,10:30,Boardroom,Alex Morgan,Overlap\r\n"
           "12/11/2026,10:00,11:00,Huddle,Alex Morgan,Blocked\n"
           "12/15/2026,10:00,11:00,Cellar,Alex Morgan,Where\r\n"
           "12/15/2026,10:00,11:00,Huddle,Nobody Here,Who\r\n"
           "12/16/2026,23:00,01:00,Huddle,Alex Morgan,Late\r\n"
           "2026-12-17,10:00,11:00,Huddle,Alex Morgan,Wrong form\r\n"
           "12/18/2026,13:00,14:00,Huddle,Li Chen,\"line one\r\nline two\"\r\n"
           "12/18/2026,13:30,14:30,Huddle,Alex Morgan,Twice\r\n";
    const std::vector<std::string> options = {csv, "--date-form", "MM/DD/YYYY", "--report",
                                              dir.file("report.csv")};
    std::vector<std::string> dry = options;
    dry.push_back("--dry-run");
    const CliResult preview = import(dry);
    EXPECT_EQ(preview.exitCode, 0) << preview.err;
    EXPECT_EQ(preview.out,
              "12/14/2026  09:00-10:30  Boardroom  Morgan, Alex J  will be booked\n"
              "12/10/2026  09:30-10:30  Boardroom  Morgan, Alex J  conflicts with " +
                  CFieldText::trimRight(CItemDayModel::lineFor(records("Boardroom")[0])) +
                  "\n"
                  "12/11/2026  10:00-11:00  Huddle  Morgan, Alex J  blocked out\n"
                  "12/15/2026  10:00-11:00  Cellar  Morgan, Alex J  unknown item \"Cellar\"\n"
                  "12/15/2026  10:00-11:00  Huddle  unknown person \"Nobody Here\"\n"
                  "invalid: line 7: it ends before it starts\n"
                  "invalid: line 8: the date \"2026-12-17\" is not MM/DD/YYYY\n"
                  "12/18/2026  13:00-14:00  Huddle  Chen, Li  will be booked\n"
                  "12/18/2026  13:30-14:30  Huddle  Morgan, Alex J  conflicts with line 9 of "
                  "the file\n");
    EXPECT_EQ(records("Huddle").size(), 1u) << "a dry run writes nothing";

    const CliResult r = import(options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lastLine(r.out), "2 booked, 3 conflicts, 4 skipped");
    EXPECT_EQ(slurpFile(dir.file("report.csv")),
              "line,date,start,end,item,person,outcome\r\n"
              "2,2026-12-14,09:00,10:30,Boardroom,\"Morgan, Alex J\",booked\r\n"
              "3,2026-12-10,09:30,10:30,Boardroom,\"Morgan, Alex J\",\"skipped: conflicts with " +
                  CFieldText::trimRight(CItemDayModel::lineFor(records("Boardroom")[0])) +
                  "\"\r\n"
                  "4,2026-12-11,10:00,11:00,Huddle,\"Morgan, Alex J\",skipped: blocked out\r\n"
                  "5,2026-12-15,10:00,11:00,Cellar,\"Morgan, Alex J\",\"skipped: unknown item "
                  "\"\"Cellar\"\"\"\r\n"
                  "6,2026-12-15,10:00,11:00,Huddle,Nobody Here,\"skipped: unknown person "
                  "\"\"Nobody Here\"\"\"\r\n"
                  "7,,,,Huddle,Alex Morgan,skipped: invalid: line 7: it ends before it starts\r\n"
                  "8,,,,Huddle,Alex Morgan,\"skipped: invalid: line 8: the date \"\"2026-12-17\"\" "
                  "is not MM/DD/YYYY\"\r\n"
                  "9,2026-12-18,13:00,14:00,Huddle,\"Chen, Li\",booked\r\n"
                  "11,2026-12-18,13:30,14:30,Huddle,\"Morgan, Alex J\",skipped: conflicts with "
                  "line 9 of the file\r\n");
    const std::vector<CScheduleRecord> huddle = records("Huddle");
    ASSERT_EQ(huddle.size(), 2u);
    EXPECT_EQ(huddle[1].note(), "line one\r\nline two");

    // The same file again (a CSV has no UIDs): what it booked is there, nothing is booked twice.
    const CliResult again = import(options);
    EXPECT_EQ(lastLine(again.out), "0 booked, 2 unchanged, 3 conflicts, 4 skipped");
    EXPECT_NE(again.out.find("Boardroom  Morgan, Alex J  already booked, passed over\n"),
              std::string::npos)
        << again.out;
    EXPECT_EQ(records("Huddle").size(), 2u);
    EXPECT_EQ(records("Boardroom").size(), 2u);
}

TEST_F(ImportTest, TheCommandBooksOnlyTheTickedLinesStopsAtCancelAndSavesTheReport) {
    const std::string csv = dir.file("week.csv");
    std::ofstream(csv, std::ios::binary)
        << "date,start,end,item,last name,first name,middle initial,department,note,kind\r\n"
           "2026-12-14,09:00,10:00,Boardroom,Morgan,Alex,J,Sales,,reservation\r\n"
           "2026-12-15,09:00,10:00,Boardroom,Morgan,Alex,J,Sales,,reservation\r\n"
           "2026-12-16,09:00,10:00,Boardroom,Morgan,Alex,J,Sales,,reservation\r\n"
           "2026-12-17,09:00,10:00,Boardroom,Morgan,Alex,J,Sales,,reservation\r\n";
    const std::string report = dir.file("report.csv");
    prompt.files = {csv, report};
    prompt.fill<CReservationImport>([](CReservationImport& m) { m.entries()[1].ticked = false; });
    prompt.stopAfterSteps = 2; // Cancel while the third line is booked
    EXPECT_TRUE(CReservationImport::runCommand(*doc));
    EXPECT_EQ(prompt.messages,
              Messages{info("2 booked, 0 conflicts, 2 skipped. The import was stopped; the rest "
                            "was not imported.",
                            CReservationImport::kTitle)});
    ASSERT_EQ(prompt.progresses.size(), 1u);
    EXPECT_TRUE(prompt.progresses[0].cancellable);
    EXPECT_EQ(slots("Boardroom"),
              (std::vector<Slot>{{{2026, 12, 14}, 900, 1000}, {{2026, 12, 16}, 900, 1000}}));
    EXPECT_EQ(prompt.fileChoices.back().title, CReservationImport::kReportTitle);
    EXPECT_EQ(slurpFile(report),
              "line,date,start,end,item,person,outcome\r\n"
              "2,2026-12-14,09:00,10:00,Boardroom,\"Morgan, Alex J\",booked\r\n"
              "3,2026-12-15,09:00,10:00,Boardroom,\"Morgan, Alex J\",skipped\r\n"
              "4,2026-12-16,09:00,10:00,Boardroom,\"Morgan, Alex J\",booked\r\n"
              "5,2026-12-17,09:00,10:00,Boardroom,\"Morgan, Alex J\",not imported (stopped)\r\n");
}

TEST(CsvReader, ReadsWhatRfc4180Writes) {
    const std::pair<std::string, std::vector<std::vector<std::string>>> cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"\xEF\xBB\xBF\"x, y\",\"say \"\"hi\"\"\"\r\n", {{"x, y", "say \"hi\""}}},
        {"\"two\r\nlines\",,\r\n\r\nlast\r\n", {{"two\r\nlines", "", ""}, {"last"}}},
    };
    for (const auto& [text, want] : cases) {
        std::vector<CCsvRow> rows;
        std::string error;
        ASSERT_TRUE(CCsvReader::read(text, rows, error)) << error;
        std::vector<std::vector<std::string>> got;
        for (const CCsvRow& r : rows)
            got.push_back(r.fields);
        EXPECT_EQ(got, want) << text;
    }
    std::vector<CCsvRow> rows;
    std::string error;
    EXPECT_FALSE(CCsvReader::read("a\r\n\"open,\r\nb\r\n", rows, error));
    EXPECT_EQ(error, "line 2: a quoted field is not closed");
    ASSERT_EQ(rows.size(), 1u);
}

} // namespace
} // namespace orv::test
