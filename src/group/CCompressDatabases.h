#pragma once
// File > Compress Databases: packs the group's schedule table, its roster link table (when the
// attendee function is on) and its people table (when the group owns it), in that order. Each
// pack needs its table for exclusive use; the first table that cannot be packed ends the
// command, and the tables packed before it stay packed.

#include "group/CProgress.h"

#include <memory>
#include <string>

namespace orv {

class CORVSchedDoc;

class CCompressDatabases {
public:
    static constexpr const char* kCompressing = "Compressing databases";
    static constexpr const char* kQuestion =
        "To compress databases there must be no one else using this group's databases, including "
        "any other groups that share the people file. Do you want to continue?";
    static constexpr const char* kQuestionTitle = "Confirm Compress";
    static constexpr const char* kScheduleInUse =
        "The Schedule database is in use by another user, no database compression performed.";
    static constexpr const char* kRosterInUse =
        "The Roster database is in use by another user, no database compression performed.";
    static constexpr const char* kSeriesInUse =
        "The Series database is in use by another user, it was not compressed.";
    static constexpr const char* kPeopleInUse =
        "The People database is in use by another user, it was not compresses.";
    static constexpr const char* kErrorTitle = "Compress Error";
    static constexpr const char* kSuccess =
        "Excess space has been removed from the databases, normal operation can be resumed.";
    static constexpr const char* kSuccessTitle = "Compress Successful";

    // What the command ended with.
    enum class Outcome { declined, compressed, inUse, failed };

    explicit CCompressDatabases(CORVSchedDoc& doc) : m_doc(doc) {}

    Outcome run();
    // How many tables the last run packed: the ones before a table that stopped it stay packed.
    int tablesPacked() const { return m_tablesPacked; }

    // A pack that failed for another reason than another user (the engine's code and text).
    static std::string packFailed(const char* table, int code);
    // The table could not be opened for shared use again after its pack.
    static std::string notReopened(const char* table);

private:
    // Packs one table through `compress` and checks that it is open again. False after the
    // user was told what went wrong.
    template <class Table>
    bool compressTable(Table& table, const char* name, const char* inUseText);

    CORVSchedDoc& m_doc;
    Outcome m_outcome = Outcome::compressed;
    std::unique_ptr<CProgress> m_progress;
    int m_tablesDone = 0;
    int m_tablesPacked = 0;
    int m_tablesTotal = 0;
};

} // namespace orv
