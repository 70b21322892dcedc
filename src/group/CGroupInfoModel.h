#pragma once
// The values of the two group information dialogs: "New Group Information" (with its check of
// OK) and "Modify Group Information" (without one).

#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CGroupInfoModel : public CDialogModel {
public:
    static constexpr const char* kNewId = "NewGroupInformation";
    static constexpr const char* kModifyId = "ModifyGroupInformation";
    static constexpr int kKindWordLimit = 15;
    static constexpr int kDescriptionLimit = 40;

    explicit CGroupInfoModel(bool creating) : m_creating(creating) {}

    const char* id() const override { return m_creating ? kNewId : kModifyId; }
    bool creating() const { return m_creating; }

    bool onOk(CUserPrompt& prompt) override {
        if (!m_creating) return true;
        if (kindWord.empty()) {
            prompt.message("A name for the group must be specified", "No Group Name", PromptIcon::error);
            return false;
        }
        if (description.empty()) {
            prompt.message("A description for the group must be specified", "No Description",
                           PromptIcon::error);
            return false;
        }
        return true;
    }

    std::string kindWord;
    std::string description;
    bool useOtherPeople = false; // only when creating

private:
    bool m_creating;
};

} // namespace orv
