#pragma once
// "Remove Blocked Out Time Slots for a Specific Date": the blockouts of one date, one line each,
// and the two buttons that remove all of them or the selected ones. Reservations of the date
// are not listed and never touched.
//
// Each removal finds its record by record number, checks that it is still the blockout listed,
// and writes the delete at once; the result says whether every removal reached the table.

#include "group/CUserPrompt.h"
#include "tables/CScheduleRecord.h"

#include <set>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CRemoveBlockoutModel : public CDialogModel {
public:
    static constexpr const char* kId = "RemoveBlockout";
    static constexpr const char* kTitle = "Remove Blocked Out Time Slots for a Specific Date";
    static constexpr const char* kExplanation =
        "If you want to remove blockouts only from certain items, select them and press REMOVE "
        "SELECTED. Otherwise press REMOVE ALL.";
    static constexpr const char* kSelectFirst = "You must select one or more blockouts to remove.";
    static constexpr const char* kSelectFirstTitle = "Selection Error";
    static constexpr const char* kResultsTitle = "Removal Results";
    static constexpr const char* kAllRemoved = "All blockouts were removed.";
    static constexpr const char* kNotAllRemoved =
        "Not all blockouts were removed due to a database error. Try to remove them individually "
        "with Cancel Reservation in the Reservation dialog";
    static constexpr const char* kSelectedRemoved = "All selected blockouts were removed.";
    static constexpr const char* kNotAllSelectedRemoved =
        "Not all selected blockouts were removed due to a database error. Try to remove them "
        "individually with Cancel Reservation in the Reservation dialog";

    // Opens on `date` (not set: tomorrow) with its blockouts loaded.
    explicit CRemoveBlockoutModel(CORVSchedDoc& doc, CDate date = {});

    const char* id() const override { return kId; }
    // The dialog closes with Cancel only; its buttons act while it stays open.
    bool onOk(CUserPrompt&) override { return true; }

    const CDate& date() const { return m_date; }
    // Another date: its blockouts are loaded.
    void setDate(const CDate& date);
    void load();

    const std::vector<std::string>& lines() const { return m_lines; }
    const std::vector<CScheduleRecord>& records() const { return m_records; }
    // "Remove Selected" is enabled when the last load found a blockout.
    bool removeSelectedEnabled() const { return m_found; }
    // Lines of the list; indices outside it are ignored.
    std::set<int> selected;

    // True when every removal concerned was written.
    bool removeAll();
    bool removeSelected();

    // "%02d:%02d  -  %02d:%02d   %s ".
    static std::string lineFor(const CScheduleRecord& record);

private:
    // Removes the listed record of one line; false when it could not be removed.
    bool removeLine(std::size_t line);
    void removed(bool any);

    CORVSchedDoc& m_doc;
    CDate m_date;
    std::vector<std::string> m_lines;
    std::vector<CScheduleRecord> m_records;
    bool m_found = false;
};

} // namespace orv
