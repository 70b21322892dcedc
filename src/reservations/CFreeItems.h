#pragma once
// "Find Free Item": the items of the group free for a span of one date, or of that date and
// every week after it through a last date, and booking one of them through the reservation
// dialog. Records of the item that overlap the span (touching does not) make it busy; blockouts
// count like reservations.

#include "group/CUserPrompt.h"
#include "tables/CDate.h"
#include "tables/CListLine.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CFreeItems : public CDialogModel {
public:
    static constexpr const char* kId = "FreeItems";
    static constexpr const char* kTitle = "Find Free Item";
    static constexpr const char* kNoneFree = "No item is free for the whole time on every date.";
    static constexpr const char* kPickOne = "Select a free item to reserve.";
    static constexpr int kMaxWeeks = 520;

    explicit CFreeItems(CORVSchedDoc& doc);

    const char* id() const override { return kId; }
    // "Finished".
    bool onOk(CUserPrompt&) override { return true; }

    // The search values.
    CDate date;
    int startHour = 9;
    int startMinute = 0;
    int endHour = 10;
    int endMinute = 0;
    bool weekly = false;
    CDate until;

    // "Search": fills lines(); false after telling the user what is wrong with the values.
    bool search();
    // Item indices of the free items (in item order) for the values given; the dates and times
    // are not checked. A failed read gives no item (`rc`, optional, gets the failure): an item
    // is never called free on a date that could not be read.
    static std::vector<int> freeItems(CORVSchedDoc& doc, const CDate& date, int startHhmm,
                                      int endHhmm, const CDate& weeklyUntil, int* rc = nullptr);
    // One line per free item: its name and, when given, its occupancy.
    const std::vector<CListLine>& lines() const { return m_lines; }
    int selected = -1;
    // "Reserve...": the reservation dialog for the selected item, preset with the searched
    // date, times and weekly repeat. True when it ended with OK; the list is searched again.
    bool reserve();

private:
    CORVSchedDoc& m_doc;
    std::vector<CListLine> m_lines;
};

} // namespace orv
