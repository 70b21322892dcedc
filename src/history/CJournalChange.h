#pragma once
// The one way a change of the group is recorded in its journal. A write path makes one on the
// stack before its first write; while it lives, every record the document's engine context
// writes is noted (before and after), and when it ends the notes become journal entries: one
// per reservation or blockout (with its attendee links), person or item, all of one batch.
// Writes that cancel each other out (a span written and taken back) leave no entry.
//
// A change made inside another (a command that runs a dialog's logic) records its own writes as
// its own batch; the outer one records only what was written outside the inner ones. The
// entries are written after the change itself, which has been flushed by then; when they cannot
// be written the user is told and the change stays.

#include "tables/CJournal.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CORVSchedDoc;
struct Data4;

class CJournalChange {
public:
    static constexpr const char* kNotRecorded =
        "The change was made, but it could not be written to the group's history.";
    static constexpr const char* kHistoryTitle = "History";

    // Kind words of the entries.
    static constexpr const char* kMade = "made";
    static constexpr const char* kCancelled = "cancelled";
    static constexpr const char* kChanged = "changed";
    static constexpr const char* kTerminated = "terminated";
    static constexpr const char* kAttendees = "attendees";
    static constexpr const char* kBlocked = "blocked out";
    static constexpr const char* kUnblocked = "blockout removed";
    static constexpr const char* kPersonAdded = "person added";
    static constexpr const char* kPersonChanged = "person changed";
    static constexpr const char* kPersonDeleted = "person deleted";
    static constexpr const char* kItemAdded = "item added";
    static constexpr const char* kItemChanged = "item changed";
    static constexpr const char* kItemDeleted = "item deleted";
    static constexpr const char* kUndone = "undone";
    static constexpr const char* kRedone = "redone";
    static constexpr const char* kRestored = "restored";
    // Given as the rewrite kind, it names every reservation the change removes.
    static constexpr const char* kDeletedOld = "deleted old";
    // Given as the rewrite kind, it names every reservation the change adds.
    static constexpr const char* kImported = "imported";

    // `rewriteKind` names a rewritten reservation (terminated, changed); an added or deleted
    // record names itself. `items`: the change may add, change or delete items, whose list is
    // compared when the change ends.
    explicit CJournalChange(CORVSchedDoc& doc, const char* rewriteKind = kChanged,
                            bool items = false);
    ~CJournalChange();
    CJournalChange(const CJournalChange&) = delete;
    CJournalChange& operator=(const CJournalChange&) = delete;

    // Every entry of this change goes back on the batch `undoes` and is named `kind` (undo,
    // redo, restore).
    void setUndoes(long undoes, const char* kind);
    // Writes the entries now rather than at the end; later writes are not recorded. The batch
    // number written (0: nothing to write, or not written).
    long commit();

    // The login name and host name entries carry, cut to the widths of their fields.
    static constexpr std::size_t kUserWidth = 20;
    static constexpr std::size_t kHostWidth = 24;
    static std::string userName();
    static std::string hostName();

private:
    struct Write {
        const char* table;
        long record;
        std::string before; // with the deletion flag; empty for an append
        std::string after;
    };
    void written(const Data4& table, long record, std::string_view before, std::string_view after);
    std::vector<std::vector<CJournalRow>> entries() const;

    using Hook = std::function<void(const Data4&, long, std::string_view, std::string_view)>;

    CORVSchedDoc& m_doc;
    const char* m_rewriteKind;
    Hook m_outer;
    bool m_active = false;
    bool m_items = false;
    std::vector<std::pair<std::string, std::string>> m_itemsBefore;
    std::vector<Write> m_writes;
    std::map<std::pair<std::string_view, long>, std::size_t> m_written; // (table, record) -> write
    long m_undoes = 0;
    const char* m_undoKind = nullptr;
};

} // namespace orv
