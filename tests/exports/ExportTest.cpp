// Exports read back by independent readers (an iCalendar library and Python's CSV reader) must
// give exactly the group's reservations.
#include "reservations/ReservationFixture.h"

#include "cli/CliRunner.h"
#include "common/Bytes.h"
#include "common/FaultFs.h"
#include "exports/CCalendarExport.h"
#include "exports/CCalendarFeed.h"
#include "exports/CCalendarFeedModel.h"
#include "exports/CExportModel.h"
#include "storage/Result4.h"

#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::test {
namespace {

// Prints one line per event or CSV row, fields joined by '|', line breaks as "\n".
const char* kReader = R"PY(
import csv, sys, icalendar
kind, path = sys.argv[1], sys.argv[2]
def t(s): return str(s).replace("\n", "\\n")
if kind == "ics":
    raw = open(path, "rb").read()
    lines = raw.split(b"\r\n")
    assert lines[-1] == b"", "ends with CRLF"
    assert all(len(l) <= 75 for l in lines), "folded at 75 octets"
    assert any(l.startswith(b" ") for l in lines), "some line was folded"
    for l in lines: l.decode("utf-8")  # never folded inside a character
    assert b"\n" not in raw.replace(b"\r\n", b""), "no bare line feeds"
    cal = icalendar.Calendar.from_ical(raw)
    uids = set()
    for ev in cal.walk("VEVENT"):
        uids.add(str(ev["UID"]))
        att = ev.get("ATTENDEE", [])
        if not isinstance(att, list): att = [att]
        names = sorted(str(a.params["CN"]) for a in att)
        print("|".join([ev.decoded("DTSTART").strftime("%Y%m%dT%H%M"), ev.decoded("DTEND").strftime("%Y%m%dT%H%M"),
                        t(ev["SUMMARY"]), t(ev["LOCATION"]), t(ev.get("DESCRIPTION", "")),
                        t(ev.get("TRANSP", "")), ";".join(names)]))
    print("uids", len(uids))
else:
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.reader(f):
            print("|".join(t(c) for c in row))
)PY";

std::vector<std::string> readBack(const std::string& kind, const std::string& file,
                                  const std::string& scratch) {
    const std::string script = scratch + "/reader.py";
    std::ofstream(script) << kReader;
    const std::string out = scratch + "/reader.out";
    const std::string command =
        "/usr/bin/python3 " + script + " " + kind + " " + file + " > " + out + " 2>&1";
    const int rc = std::system(command.c_str());
    std::vector<std::string> lines;
    std::istringstream in(slurpFile(out));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (rc != 0) lines.insert(lines.begin(), "reader failed");
    return lines;
}

std::map<std::string, std::string> filesOf(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() != ".ics" && e.path().extension() != ".csv" &&
            e.path().filename().string().rfind("cli-", 0) != 0 &&
            e.path().filename().string().rfind("reader", 0) != 0)
            files[e.path().filename().string()] = slurpFile(e.path().string());
    return files;
}

class ExportTest : public ReservationFixture {
protected:
    // 150 reservations from `from` + 1 on, and the last leaf of the schedule's index damaged
    // (no bytes per entry): a walk reads the first dates and fails on the later ones.
    void damageSchedule(CDate from) {
        for (int i = 0; i < 150; ++i)
            put("Boardroom", from.addDays(1 + i / 5), 800 + i % 5 * 100, 830 + i % 5 * 100, "Chen");
        doc.reset();
        std::vector<std::uint8_t> b = readBytes(dir.file("RoomSched.cdx"));
        int damaged = 0;
        for (std::size_t page = 0x400; page + 512 <= b.size(); page += 512)
            if (le16At(b, page) == 2 && le32At(b, page + 4) != ~0u && le32At(b, page + 8) == ~0u)
                b[page + 23] = 0, ++damaged;
        ASSERT_EQ(damaged, 1);
        writeBytes(dir.file("RoomSched.cdx"), b);
        open();
        doc->code().silentErrors = 1;
    }
    std::vector<std::string> fileNames(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ExportTest, ExportsReadBackAsExactlyTheGroupsReservations) {
    const std::string note = "Budget, \"Q1\"; review\nback\\slash caf\xE9, folded in the middle "
                             "\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9";
    addPerson(doc->people(), {"Zo\xEB", "", "M\xFCller", "R&D"}, 3);
    doc.reset();
    open();
    Booking series;
    series.code = CAddReservation::kWeekly;
    series.until = {2026, 12, 22};
    series.note = note;
    ASSERT_TRUE(bookWith("Boardroom", series, {"Baker", "Ames"}, true));
    Booking late;
    late.date = {2026, 12, 9};
    late.sh = 20, late.eh = 23, late.em = 59;
    late.person = {"Zo\xEB", "", "M\xFCller", "R&D"};
    ASSERT_TRUE(book("Huddle", late))
        << (prompt.messages.empty() ? "" : prompt.messages.back().text);
    CSchedule& s = doc->schedule();
    s.clearImage();
    s.image().setDate(12, 10, 2026);
    s.image().setItemName("Huddle");
    s.image().setStartTime(8, 0);
    s.image().setEndTime(17, 0);
    s.image().setBlockoutFlag(true);
    s.image().setMade(12, 1, 2026, 9, 0, 0);
    ASSERT_EQ(s.append(), 0);
    const auto before = filesOf(dir.path());
    doc.reset();

    const std::string ics = dir.file("out.ics");
    ASSERT_EQ(runCli({"export", group, "20261201", "2026-12-31", "--format", "ics", "-o", ics},
                     dir.path())
                  .exitCode,
              0);
    std::string esc = "Budget, \"Q1\"; review\\nback\\slash caf\xC3\xA9, folded in the middle ";
    for (int i = 0; i < 15; ++i)
        esc += "\xC3\xA9";
    const std::string member =
        "|Boardroom: Morgan, Alex J|Boardroom|" + esc + "||Ames, Pat;Baker, Sam";
    EXPECT_EQ(readBack("ics", ics, dir.path()),
              (std::vector<std::string>{
                  "20261208T1100|20261208T1200" + member,
                  "20261209T2000|20261210T0000|Huddle: M\xC3\xBCller, Zo\xC3\xAB|Huddle|||",
                  "20261210T0800|20261210T1700|Huddle: Blocked Out|Huddle||OPAQUE|",
                  "20261215T1100|20261215T1200" + member,
                  "20261222T1100|20261222T1200" + member,
                  "uids 5",
              }));

    const CliResult csv =
        runCli({"export", group, "20261201", "20261231", "--format", "csv"}, dir.path());
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    std::ofstream(dir.file("out.csv"), std::ios::binary) << csv.out;
    const std::string row = "11:00|12:00|Boardroom|Morgan|Alex|J|Sales|" + esc + "|reservation";
    EXPECT_EQ(readBack("csv", dir.file("out.csv"), dir.path()),
              (std::vector<std::string>{
                  "date|start|end|item|last name|first name|middle initial|department|note|kind",
                  "2026-12-08|" + row,
                  "2026-12-09|20:00|23:59|Huddle|M\xC3\xBCller|Zo\xC3\xAB||R&D||reservation",
                  "2026-12-10|08:00|17:00|Huddle||||||blockout",
                  "2026-12-15|" + row,
                  "2026-12-22|" + row,
              }));

    // The same group exports the same bytes; filters keep their items and people; nothing of the
    // group was touched.
    EXPECT_EQ(runCli({"export", group, "20261201", "20261231", "--format", "ics"}, dir.path()).out,
              slurpFile(ics));
    const CliResult huddle =
        runCli({"export", group, "20261201", "20261231", "--format", "csv", "--item", "Huddle",
                "--person", "M\xC3\xBCller|Zo\xC3\xAB||R&D"},
               dir.path());
    EXPECT_EQ(huddle.out.substr(huddle.out.find('\n') + 1),
              "2026-12-09,20:00,23:59,Huddle,M\xC3\xBCller,Zo\xC3\xAB,,R&D,,reservation\r\n");
    EXPECT_EQ(filesOf(dir.path()), before);
}

TEST_F(ExportTest, AFailedReadWritesNothingKeepsThePreviousFileAndSaysSo) {
    // The command line's calendar file starts from the real date.
    const std::tm today = CClock::local(std::time(nullptr));
    clock.setLocal(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday, 10, 0);
    const CDate from = CDate::today();
    damageSchedule(from);
    const std::string folder = dir.file("out"), file = folder + "/Room.ics";
    std::filesystem::create_directory(folder);
    const std::string notRead = CCalendarExport::notReadMessage(e4index);
    auto cli = [&](std::vector<std::string> args) {
        const CliResult r = runCli(args, dir.path());
        return r.exitCode == 1 ? r.err : "exit " + std::to_string(r.exitCode);
    };
    // Each case runs one way of writing the file and returns what the user was told.
    const std::pair<std::function<std::string()>, std::string> cases[] = {
        {[&] {
             CExportModel model(*doc);
             model.to = from.addDays(40);
             prompt.files = {file};
             EXPECT_FALSE(model.onOk(prompt));
             EXPECT_EQ(prompt.messages, Messages{error(notRead, CExportModel::kTitle)});
             return prompt.messages.back().text;
         },
         notRead},
        {[&] {
             CCalendarFeed feed(*doc);
             feed.setFolder(folder);
             std::string told;
             EXPECT_FALSE(feed.refresh(true, &told));
             return told;
         },
         notRead},
        {[&] {
             return cli({"export", group, from.key(), from.addDays(40).key(), "--format", "ics",
                         "-o", file});
         },
         "orvsched-cli export: reading the schedule failed (" + std::to_string(e4index) + ")\n"},
        {[&] {
             return cli({"calendar-file", group, file});
         },
         "orvsched-cli calendar-file: " + notRead + "\n"},
    };
    for (const auto& [run, told] : cases) {
        SCOPED_TRACE(told);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << "previous\r\n";
        prompt.messages.clear();
        const std::string said = run();
        EXPECT_TRUE(said.ends_with(told)) << said;
        EXPECT_EQ(slurpFile(file), "previous\r\n");
        EXPECT_EQ(fileNames(folder), std::vector<std::string>{"Room.ics"}) << "no scraps";
        EXPECT_EQ(doc->code().errorCode, 0) << "nothing left pending";
    }
}

// A counting file layer without mapped views: every read of a record or of the index's header
// is a call, so the calls tell how much of the schedule a walk looked at.
struct CountingFs : FaultFs {
    long long reads = 0;
    long long pread(int fd, void* buf, std::size_t n, std::int64_t offset) override {
        ++reads;
        return FaultFs::pread(fd, buf, n, offset);
    }
    const void* mapForReading(int, std::size_t) override { return nullptr; }
};

class ExportReads : public ExportTest {
protected:
    CountingFs files; // outlives the document, which TearDown closes
};

TEST_F(ExportReads, TheScheduleIsReadOnceForAnyLengthOfRange) {
    for (int day = 7; day <= 9; ++day)
        put("Boardroom", {2026, 12, day}, 900, 1000, "Chen");
    doc.reset();
    doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    code4init(&doc->code(), &files);
    ASSERT_TRUE(doc->openGroup(group));
    auto readsFor = [&](CDate from, CDate to) {
        std::vector<CExportEntry> entries;
        const long long before = files.reads;
        EXPECT_EQ(CCalendarExport::collect(*doc, {from, to, {}, {}}, entries), 0);
        EXPECT_EQ(entries.size(), 3u);
        return files.reads - before;
    };
    readsFor({2026, 12, 7}, {2026, 12, 9}); // the index's pages come to the cache
    const long long week = readsFor({2026, 12, 6}, {2026, 12, 12});
    for (const auto& [from, to] : {std::pair{CDate(2026, 1, 1), CDate(2035, 12, 31)},
                                   std::pair{CDate(1900, 1, 1), CDate(9999, 12, 31)}})
        EXPECT_EQ(readsFor(from, to), week) << from.key() << "-" << to.key();
}

// The VEVENT whose LOCATION is `item`, from BEGIN to END.
std::string eventOf(const std::string& ics, const std::string& item) {
    const std::size_t at = ics.find("\r\nLOCATION:" + item + "\r\n");
    if (at == std::string::npos) return {};
    const std::size_t begin = ics.rfind("BEGIN:VEVENT", at);
    return ics.substr(begin, ics.find("END:VEVENT", at) - begin);
}

// DTSTART of a local time as an export in the test's zone writes it.
std::string startLine(const std::string& local) {
    const std::string zone = std::getenv("TZ");
    return zone == "UTC" ? "DTSTART:" + local + "Z" : "DTSTART;TZID=" + zone + ":" + local;
}

TEST_F(ExportTest, AChangedEventCountsUpAndAnUnchangedFileKeepsItsBytes) {
    Booking other;
    other.sh = 13, other.eh = 14;
    ASSERT_TRUE(book("Huddle", other));
    ASSERT_TRUE(bookWith("Boardroom", Booking(), {"Baker"}, false));
    CSchedule& s = doc->schedule();
    CRosterLink& links = doc->rosterLinks();
    // At a minute of 2026-12-08 the Boardroom's reservation changes; then it is written twice.
    const std::string start = startLine("20261208T110000");
    const std::tuple<int, std::function<void()>, std::string> steps[] = {
        {1000, [] {}, "SEQUENCE:0\r\nLAST-MODIFIED:@1000Z\r\n" + start + "\r\nDTEND"},
        {1005,
         [&] {
             EXPECT_EQ(s.seek("20261208", "Boardroom", "11", "00"), 0);
             s.image().setNote("Budget");
             EXPECT_EQ(s.update(), 0);
         },
         "SEQUENCE:1\r\nLAST-MODIFIED:@1005Z\r\n" + start + "\r\nDTEND"},
        {1010,
         [&] {
             links.clearImage();
             links.setDate(12, 8, 2026);
             links.setStartTime(11, 0);
             links.setItemName("Boardroom");
             links.setPerson({"Pat", "", "Ames", "Ops"});
             EXPECT_EQ(links.append(), 0);
         },
         "SEQUENCE:2\r\nLAST-MODIFIED:@1010Z\r\n" + start + "\r\nDTEND"},
        // Terminated in its first minute: it ends as it starts, and has no DTEND.
        {1100,
         [&] {
             CItemDayModel d = day("Boardroom");
             d.select(0);
             prompt.answers = {true, true};
             d.terminateReservation();
         },
         "SEQUENCE:3\r\nLAST-MODIFIED:@1100Z\r\n" + start + "\r\nSUMMARY"},
    };
    const std::string file = dir.file("Room.ics");
    std::string huddle;
    for (const auto& [hhmm, change, expectedLocal] : steps) {
        SCOPED_TRACE(hhmm);
        clock.setLocal(2026, 12, 8, hhmm / 100, hhmm % 100);
        // LAST-MODIFIED is UTC: "@HHMM" in the step stands for that local minute as UTC.
        std::string expected = expectedLocal;
        if (const std::size_t at = expected.find('@'); at != std::string::npos) {
            const std::time_t now = clock.now();
            std::tm utc{};
            gmtime_r(&now, &utc);
            char stamp[32];
            std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &utc);
            expected.replace(at, 5, stamp);
        }
        change();
        std::string error;
        ASSERT_TRUE(CCalendarFeed::write(*doc, file, &error)) << error;
        const std::string written = slurpFile(file);
        clock.advance(600);
        ASSERT_TRUE(CCalendarFeed::write(*doc, file, &error)) << error;
        EXPECT_EQ(slurpFile(file), written) << "nothing changed since: the same bytes";
        EXPECT_NE(eventOf(written, "Boardroom").find(expected), std::string::npos) << written;
        if (huddle.empty()) huddle = eventOf(written, "Huddle");
        EXPECT_EQ(eventOf(written, "Huddle"), huddle) << "the other event stays as it was";
    }
}

TEST_F(ExportTest, TheCalendarFileKeepsTheUsersChoiceOfFloatingTimes) {
    ASSERT_TRUE(book("Huddle", Booking()));
    const std::string line = startLine("20261208T110000");
    for (const bool floating : {true, false, true}) {
        SCOPED_TRACE(floating);
        CCalendarFeed feed(*doc);
        CCalendarFeedModel model(feed);
        model.keep = true;
        model.folder = dir.path();
        model.floating = floating;
        ASSERT_TRUE(model.onOk(prompt));
        // Read back as another session of the same user would.
        EXPECT_EQ(CCalendarFeed(*doc).floating(), floating);
        const std::string text = slurpFile(feed.filePath());
        EXPECT_NE(text.find(floating ? "\r\nDTSTART:20261208T110000\r\n" : line + "\r\n"),
                  std::string::npos)
            << text;
    }
}

// A file layer that logs the changes of files and the flushes, by path.
struct LoggingFs : FaultFs {
    std::vector<std::string> log;
    std::map<int, std::string> paths;
    int open(const std::string& path, int flags, int mode) override {
        const int fd = FaultFs::open(path, flags, mode);
        if (fd >= 0) paths[fd] = path;
        return fd;
    }
    int fsync(int fd) override {
        log.push_back("fsync " + paths[fd]);
        return FaultFs::fsync(fd);
    }
    int rename(const std::string& from, const std::string& to) override {
        log.push_back("rename to " + to);
        return FaultFs::rename(from, to);
    }
};

TEST_F(ExportTest, AWrittenFileReplacesTheOldWholeKeepsItsAccessAndFollowsNoPlantedLink) {
    const std::string folder = dir.file("shared"), path = folder + "/Rooms.ics";
    const std::string victim = dir.file("victim");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    auto old = [&](mode_t mode) {
        std::ofstream(path) << "old";
        ::chmod(path.c_str(), mode);
    };
    // What is there before; the mode afterwards; the failure, empty when the file is written.
    const std::tuple<const char*, std::function<void(LoggingFs&)>, mode_t, std::string> cases[] = {
        {"no file yet", [](LoggingFs&) {}, 0644 & ~mask, ""},
        {"a 0640 file", [&](LoggingFs&) { old(0640); }, 0640, ""},
        {"a link planted at the name the temporary file once had",
         [&](LoggingFs&) {
             old(0644);
             std::ofstream(victim) << "victim";
             std::filesystem::create_symlink(victim, path + ".tmp-" + std::to_string(::getpid()));
         },
         0644, ""},
        {"a failing flush", [&](LoggingFs& fs) { old(0644), fs.failFsync = true; }, 0644,
         "Input/output error"},
        {"a refused rename", [&](LoggingFs& fs) { old(0644), fs.failRenames = true; }, 0644,
         "Device or resource busy"},
    };
    for (const auto& [name, prepare, mode, failure] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        LoggingFs fs;
        prepare(fs);
        std::vector<std::string> names = fileNames(folder);
        std::string error;
        EXPECT_EQ(CCalendarExport::writeFile(path, "new", error, fs), failure.empty());
        EXPECT_EQ(error, failure.empty() ? "" : "Cannot write '" + path + "': " + failure);
        EXPECT_EQ(slurpFile(path), failure.empty() ? "new" : "old");
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, mode);
        if (names.empty()) names = {"Rooms.ics"};
        EXPECT_EQ(fileNames(folder), names) << "nothing left behind";
        if (!failure.empty()) continue;
        const std::vector<std::string> last(fs.log.end() - std::min<long>(2, std::ssize(fs.log)),
                                            fs.log.end());
        EXPECT_EQ(last, (std::vector<std::string>{"rename to " + path, "fsync " + folder + "/"}))
            << "the folder is flushed after the rename";
    }
    EXPECT_EQ(slurpFile(victim), "victim");
}

TEST_F(ExportTest, CsvTextThatASpreadsheetWouldRunIsWrittenAsText) {
    const std::pair<std::string, std::string> cases[] = {
        {"=SUM(A1)", "'=SUM(A1)"}, {"+1 555", "'+1 555"}, {"-5 chairs", "'-5 chairs"},
        {"@here", "'@here"},       {"\tx", "'\tx"},       {"\rx", "\"'\rx\""},
        {"=1,2", "\"'=1,2\""},     {"a=b", "a=b"},        {"", ""},
    };
    for (const auto& [value, cell] : cases) {
        SCOPED_TRACE(value);
        CExportEntry e;
        e.record.setDate(12, 8, 2026);
        e.record.setStartTime(9, 0);
        e.record.setEndTime(10, 0);
        e.record.setItemName(value);
        e.record.setPerson(value, value, value, value);
        e.record.setNote(value);
        const std::string text = CCalendarExport::csv({e});
        EXPECT_EQ(text.substr(text.find("\r\n") + 2), "2026-12-08,09:00,10:00," + cell + "," +
                                                          cell + "," + cell + "," + cell + "," +
                                                          cell + "," + cell + ",reservation\r\n");
    }
}

} // namespace
} // namespace orv::test
