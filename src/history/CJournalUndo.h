#pragma once
// Undo, redo and restore from the group's journal. A change is put back record by record from
// the stored images: each record must still hold what the change left (else another user or
// program changed it since, and nothing is undone), a reservation or blockout written again is
// checked for overlap under the schedule table's lock like a new booking, and what is written
// is recorded in the journal as a change of its own that names the batch it goes back on.
//
// Undo takes back this user's most recent change in the group that is not undone yet, also one
// made before a restart; redo makes again what the last undo took back, until this user makes
// another change. Restore writes again the reservations, series members or blockouts one
// change cancelled, with their creation stamps, people, notes, flags and attendee links.

#include "history/CHistory.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CJournalUndo {
public:
    static constexpr const char* kUndoTitle = "Undo";
    static constexpr const char* kRedoTitle = "Redo";
    static constexpr const char* kRestoreTitle = "Restore";
    static constexpr const char* kNothingToUndo =
        "There is no change of yours to undo in this group.";
    static constexpr const char* kNothingToRedo = "There is no undone change to redo.";
    static constexpr const char* kNotRestorable =
        "Only a cancelled reservation, series or blockout can be restored.";
    static constexpr const char* kNoHistory = "The history of this group cannot be read.";
    static constexpr const char* kItemsChanged =
        "The items were changed by another user meanwhile.";
    static constexpr const char* kNotLocked =
        "The tables could not be locked against other users' changes, nothing was changed.";
    static constexpr const char* kNothingChanged = " Nothing was changed.";

    explicit CJournalUndo(CORVSchedDoc& doc) : m_doc(doc) {}

    // Each returns true when the change was written, else false after the user was told why.
    bool undo();
    bool redo();
    bool restore(long entry);

    // The batches undo and redo would take next (0: none), for the menus.
    long nextUndo();
    long nextRedo();

private:
    struct Step {
        std::string table;
        std::string key;
        std::string from; // what the record must hold now; empty: no such record
        std::string to;   // what it holds afterwards; empty: deleted
    };
    bool loadEntries();
    void stacks(std::vector<long>& undo, std::vector<long>& redo) const;
    std::vector<Step> stepsOf(long batch, bool backwards) const;
    // Checks and writes the steps; `title` heads the messages. True when written.
    bool apply(const std::vector<Step>& steps, long batch, const char* kind, const char* title);
    // Who changed the record of `step` after `batch`, in words, for the refusal.
    std::string changedBy(const Step& step, long batch) const;
    // Items live in the group file: whether the item is as the step expects it, why the step
    // cannot be taken (empty: it can), and the step's change to the list.
    bool itemStillAsLeft(const Step& s) const;
    std::string itemRefusal(const Step& s, const std::vector<Step>& steps, long batch);
    void writeItem(const Step& s);

    CORVSchedDoc& m_doc;
    std::vector<CHistoryEntry> m_entries;
};

} // namespace orv
