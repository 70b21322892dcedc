#pragma once
// The values of the import dialog ("Import People From Another Group Into This Group" /
// "Import Attendees from Another Group"): the people of the other group listed as person list
// lines, each with its record number there, and which lines are selected.

#include "group/CUserPrompt.h"
#include "tables/CPeopleKey.h"

#include <set>
#include <string>
#include <vector>

namespace orv {

class CImportPeopleModel : public CDialogModel {
public:
    static constexpr const char* kId = "ImportPeople";
    static constexpr const char* kPeopleTitle = "Import People From Another Group Into This Group";
    static constexpr const char* kAttendeesTitle = "Import Attendees from Another Group";
    static constexpr const char* kText = "Select people to import ";

    struct Line {
        std::string text; // the person list line
        long record;      // in the other group's people table
        CPeopleKey key;
    };

    explicit CImportPeopleModel(bool attendees) : m_attendees(attendees) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }
    bool attendees() const { return m_attendees; }
    const char* title() const { return m_attendees ? kAttendeesTitle : kPeopleTitle; }

    void addLine(Line line) { m_lines.push_back(std::move(line)); }
    const std::vector<Line>& lines() const { return m_lines; }

    // Indices into lines(); "Select All" and "Unselect All".
    std::set<int> selected;
    void selectAll();
    void unselectAll() { selected.clear(); }

private:
    bool m_attendees;
    std::vector<Line> m_lines;
};

} // namespace orv
