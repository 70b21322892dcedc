#pragma once
// The values of the merge information dialog ("Merge Another Group Into %s"): its title and the
// warning text with the three conditions of a merge. "Select Group" is OK.

#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CMergeInfoModel : public CDialogModel {
public:
    static constexpr const char* kId = "MergeInformation";
    static constexpr const char* kWarning =
        "Warning, when you merge groups it is recommended that no other users have either group "
        "open. You should also back up both groups in case a problem occurs during the merge. For "
        "a successful merge all of the following criteria must be met or the met :";
    static constexpr const char* kCriterion1 =
        "1. Both databases are the same level (i.e. version).";
    static constexpr const char* kCriterion2 =
        "2. The group being merged does not own the people file of the current group.";
    static constexpr const char* kCriterion3 =
        "3. None of the items in the group being merged have the same name as any items in the "
        "current group.";

    explicit CMergeInfoModel(const std::string& description)
        : m_title("Merge Another Group Into " + description) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return true; }
    const std::string& title() const { return m_title; }

private:
    std::string m_title;
};

} // namespace orv
