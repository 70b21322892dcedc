#pragma once
// File > Import Reservations...: reservations from an iCalendar file or a CSV file, shown line by
// line with what would happen to each before anything is written ("will be booked", "conflicts
// with <the day list line in the way>", "blocked out", "unknown item", "unknown person",
// "outside the day", "invalid"). The user unticks what is not wanted; run() then books the rest
// as the reservation dialog does, each date checked and written under the schedule lock, and
// every line gets its outcome, for the counts and the report file.
//
// An event of a calendar file is remembered by its UID in the group's import table: importing
// it again passes an unchanged event over, moves the reservations of a changed one (cancels
// them when the event is cancelled) and never books it twice. An event with several dates is
// one series (one creation stamp); its repeat rule goes to the series table.

#include "exports/CCsvMapping.h"
#include "exports/CImportEvent.h"
#include "group/CUserPrompt.h"
#include "tables/CImportLinks.h"
#include "tables/CPeopleKey.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CProgress;

class CReservationImport : public CDialogModel {
public:
    static constexpr const char* kId = "ImportReservations";
    static constexpr const char* kTitle = "Import Reservations";
    static constexpr const char* kFilter =
        "Calendar and CSV Files (*.ics;*.csv)|*.ics;*.csv|iCalendar Files (*.ics)|*.ics|"
        "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
    static constexpr const char* kNothingTicked = "No reservation is ticked for import.";
    static constexpr const char* kNoColumns =
        "Choose the columns that hold the date, the start and the end or length.";
    static constexpr const char* kNotRead = "The file could not be read: ";
    static constexpr const char* kLocked =
        "Another user is changing the schedule, so the import stopped. The lines reported booked "
        "were written.";
    // After the last line of an event that repeats without end.
    static constexpr const char* kCut = " (repeats without end: booked as far as a series may run)";
    static constexpr const char* kAlreadyBooked = "already booked, passed over";
    static constexpr const char* kStoppedByError =
        "The import stopped: the group could not be written (";

    enum class State {
        book,           // "will be booked"
        update,         // "will be moved" (an event imported before has changed)
        cancel,         // "will be cancelled" (cancelled since it was imported)
        unchanged,      // "unchanged, passed over"
        cancelledEvent, // "cancelled in the file, skipped"
        conflict,
        blockedOut,
        unknownItem,
        unknownPerson,
        outsideDay,
        invalid
    };
    enum class Outcome { pending, booked, moved, cancelled, unchanged, conflict, skipped, failed };

    struct Entry {
        std::size_t event = 0; // into events()
        CImportTime time;
        std::string item; // stored name; empty when unknown
        CPeopleKey person;
        State state = State::book;
        std::string text; // the state in words
        bool ticked = true;
        Outcome outcome = Outcome::pending;
        std::string result; // the outcome in words
    };

    static constexpr const char* kReportTitle = "Save Import Report";
    static constexpr const char* kReportFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";

    // The whole command: the file, the preview dialog, the booking with progress and Cancel,
    // the counts, and the report of every line. False when nothing was imported.
    static bool runCommand(CORVSchedDoc& doc);

    explicit CReservationImport(CORVSchedDoc& doc);
    ~CReservationImport() override;

    const char* id() const override { return kId; }
    // Refuses when nothing ticked would change the group.
    bool onOk(CUserPrompt& prompt) override;

    // What the user chose. `forcedItem`: every reservation goes to this item (UTF-8).
    std::string forcedItem;
    std::map<std::string, std::string> itemMap;  // the file's text -> item name (UTF-8)
    std::map<std::string, CPeopleKey> personMap; // the file's name -> person
    std::optional<CPeopleKey> fallbackPerson;    // for a missing or unknown person
    CCsvMapping csv;

    // Reads the file (an iCalendar file by its content, else CSV). False with `error`.
    bool load(const std::string& path, std::string& error);
    bool loadText(const std::string& text, std::string& error);
    bool isCalendar() const { return m_calendar; }
    // The CSV rows as read (the header first), for choosing the columns.
    const std::vector<CCsvRow>& csvRows() const { return m_rows; }
    // After the CSV columns or date form changed: the events again from the rows.
    void remap();

    // The entries and their states from the events and the choices: 0, or the failure of a read
    // (the user was told, the entries are empty).
    int preview();
    const std::vector<CImportEvent>& events() const { return m_events; }
    std::vector<Entry>& entries() { return m_entries; }
    const std::vector<Entry>& entries() const { return m_entries; }
    // "12/14/2026  09:00-10:00  Boardroom  Morgan, Alex  will be booked".
    std::string line(const Entry& entry) const;
    std::vector<std::string> lines() const;
    // The names the preview found no item or no person for, each once, in file order.
    std::vector<std::string> unknownItems() const;
    std::vector<std::string> unknownPeople() const;
    // The people who may reserve, as "Last, First MI", for mapping an unknown name.
    std::vector<CPeopleKey> people() const;
    // "<Add a new person>" for an unknown name: the person dialog, then the name maps to the
    // person added. False when the dialog was cancelled.
    bool addPerson(const std::string& name);
    // The group's items (stored names), in item order.
    std::vector<std::string> itemNames() const;
    // Whether the line would change the group: only such lines have a tick box.
    static bool changes(const Entry& entry);
    // The file's path, after load().
    const std::string& path() const { return m_path; }

    // Books, moves and cancels what is ticked, in file order. `progress` may stop it between
    // events. 0, or the failure that stopped it (the user was told).
    int run(CProgress& progress);
    bool stopped() const { return m_stopped; }
    // "84 booked, 3 conflicts, 2 skipped" (the parts that are not 0; moved, cancelled and
    // unchanged when there are any).
    std::string countsText() const;
    // How many lines changed the group, and how many were to.
    int done() const;
    int wanted() const;
    // Every line with its outcome, as CSV: line, date, start, end, item, person, outcome.
    std::string report() const;
    bool writeReport(const std::string& path, std::string& error) const;

private:
    struct Planned;
    std::string digest(std::size_t event) const;
    bool resolveItem(const CImportEvent& e, std::string& item) const;
    bool resolvePerson(const CImportEvent& e, CPeopleKey& person) const;
    std::string personName(const CImportEvent& e) const;
    int bookEvent(std::size_t event, const std::vector<std::size_t>& lines);
    int removeImported(const std::vector<CImportLink>& rows);

    CORVSchedDoc& m_doc;
    std::string m_path;
    bool m_calendar = false;
    std::vector<CCsvRow> m_rows;
    std::vector<CImportEvent> m_events;
    std::vector<Entry> m_entries;
    std::vector<std::vector<CImportLink>> m_imported; // per event, what an earlier import made
    std::vector<std::string> m_digests;
    std::vector<std::pair<std::string, CPeopleKey>> m_people; // matching text -> person
    std::vector<std::pair<std::string, CPeopleKey>> m_attendees;
    CImportLinks m_links;
    int m_seriesMade = 0;
    bool m_stopped = false;
};

} // namespace orv
