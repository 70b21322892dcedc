#pragma once
// The record layer over a group's journal: one or more rows per entry, each entry one change
// this program made to one record of the group (a reservation with its attendee links, a
// person, an item), with who made it, when, and the record's stored bytes before and after.
// Other programs sharing the group never open this table.
//
// Fields (all character fields), in order:
//   | #  | name      | width | content                                                   |
//   |----|-----------|-------|-----------------------------------------------------------|
//   | 1  | ENTRY     | 8     | "%08d" entry number, one more than the last one stored    |
//   | 2  | PART      | 3     | "%03d" row of the entry: 0 the record, then its links     |
//   | 3  | BATCH     | 8     | entry number of the first entry of the same change        |
//   | 4  | DATE      | 8     | "%04d%02d%02d" local date of the change                   |
//   | 5  | TIME      | 6     | "%02d%02d%02d" local time                                 |
//   | 6  | USERNAME  | 20    | login name                                                |
//   | 7  | HOST      | 24    | host name                                                 |
//   | 8  | KIND      | 16    | the change in words ("made", "cancelled", ...)            |
//   | 9  | TABLENAME | 6     | "Sched", "People", "RosLnk" or "Items"                    |
//   | 10 | RECKEY    | 50    | the record's key in its table (group-relative)            |
//   | 11 | BEFORE    | 254   | the record's bytes after the deletion flag, blank: none   |
//   | 12 | AFTER     | 254   | the same after the change                                 |
//   | 13 | REASON    | 60    | what the user gave as the reason, or blank                |
//   | 14 | UNDOES    | 8     | for an undo, a redo or a restore: the batch it goes back  |
//   |    |           |       | on ("%08d"), else blank                                   |
// Tag "JOURNTAG", key DATE+TIME+ENTRY+PART, filter .NOT. DELETED(), not unique.
//
// Rows are appended under the table's append lock without a flush of their own: the change
// they describe was flushed before they are written, so a crash loses at most the rows.

#include "storage/Data4.h"
#include "tables/CRecordMoves.h"

#include <string>
#include <vector>

namespace orv {

struct CJournalRow {
    long entry = 0;
    int part = 0;
    long batch = 0;
    std::string date; // "%04d%02d%02d"
    std::string time; // "%02d%02d%02d"
    std::string user;
    std::string host;
    std::string kind;
    std::string table;
    std::string key;
    std::string before; // trailing blanks dropped; empty: the record did not exist
    std::string after;
    std::string reason;
    long undoes = 0;
};

class CJournal : public CRecordMoves<CJournal> {
public:
    static constexpr const char* kTagName = "JOURNTAG";
    static constexpr bool kUniqueTag = false;
    static constexpr int kFieldCount = 14;
    static constexpr std::size_t kImageWidth = 254;

    explicit CJournal(Code4& code) : m_code(code) {}
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    int create(const std::string& groupFile);
    // Opens base path of `groupFile` + "Journal"; an empty path reopens the table last named.
    int open(const std::string& groupFile);
    // Opens the journal, creating it when the group has none yet.
    int openOrCreate(const std::string& groupFile);
    int close();
    bool isOpen() const { return m_data != nullptr; }
    const std::string& tableName() const { return m_tableName; }

    const CJournalRow& image() const { return m_image; }

    // Appends the rows of `entries` (each entry its rows, PART and ENTRY set here) under one
    // append lock. Entry numbers follow the last stored one; every row's BATCH is the first
    // entry's number unless `batch` is given. Returns 0, or the failure with the rows after it
    // not written.
    int appendEntries(std::vector<std::vector<CJournalRow>>& entries, long batch = 0);
    // Every row in tag order (date, time, entry, part). 0, or the failing result.
    int readAll(std::vector<CJournalRow>& rows);
    // Deletes the rows dated before `dateKey`; how many, or the failing result (negative).
    int deleteBefore(const std::string& dateKey);
    // Compress: drops the rows older than `keepDays` calendar days before today (0 keeps them
    // all), then packs the table. 0, CTableOps::kInUse while another user has it open, or the
    // failure; a pending error of the journal's context is taken.
    static constexpr int kDefaultKeepDays = 365;
    int trim(int keepDays);
    // Appends rows read from another group's journal as they are, renumbered after this one's.
    int appendCopies(const std::vector<CJournalRow>& rows);
    // Merge: appends the journal of the group `otherGroupFile`, when it has one. 0, or the
    // failure (a pending error of the journal's context is taken).
    int appendFrom(const std::string& otherGroupFile);

private:
    friend class CRecordMoves<CJournal>;
    int openTable();
    void bindFields();
    void readImage();
    void missed() { m_image = {}; }
    void writeRow(const CJournalRow& row);
    long lastEntry();

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    std::vector<Field4*> m_fields;
    CJournalRow m_image;
};

} // namespace orv
