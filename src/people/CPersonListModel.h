#pragma once
// The list of the people of one kind (those who may reserve, or attendees) in "PEOPLETAG"
// order, one person list line each, for picking a person to change, for browsing, or for
// choosing whose reservations or attendance to show.

#include "group/CUserPrompt.h"
#include "tables/CListLine.h"
#include "tables/CPeople.h"

#include <vector>

namespace orv {

class CPersonListModel : public CDialogModel {
public:
    static constexpr const char* kId = "PersonList";
    static constexpr const char* kNoSelection = "A person must be selected";
    static constexpr const char* kNoSelectionTitle = "No Person Selected";
    static constexpr const char* kNotRead = "Could not read selected person from database";

    enum class Use {
        Modify, // OK opens the person dialog on the chosen person, then the list closes
        Browse, // OK shows the person read-only, and the list stays for the next pick
        Choose  // OK closes with the chosen person current in the people table
    };

    CPersonListModel(CPeople& people, CUserPrompt& prompt, CPeople::Kind kind, Use use);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override;

    const char* title() const;
    CPeople::Kind kind() const { return m_kind; }
    Use use() const { return m_use; }
    const std::vector<CListLine>& lines() const { return m_lines; }
    // The line of a person, or -1.
    int lineOf(const CPeopleKey& key) const;
    int selected = -1;

    // After OK with Use::Choose: the person chosen.
    const CPeopleRecord& chosen() const { return m_chosen; }

    // The people of a kind as list lines, each with its record number.
    static std::vector<CListLine> linesOf(CPeople& people, CPeople::Kind kind);

private:
    CPeople& m_people;
    CPeople::Kind m_kind;
    Use m_use;
    std::vector<CListLine> m_lines;
    std::vector<CPeopleKey> m_keys;
    CPeopleRecord m_chosen;
};

} // namespace orv
