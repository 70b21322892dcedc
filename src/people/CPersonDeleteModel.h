#pragma once
// "Select Person to Delete" / "Select Attendee to Delete": deletes several people at once.
// Reservations and attendee links that name them stay as they are.

#include "group/CUserPrompt.h"
#include "tables/CListLine.h"
#include "tables/CPeople.h"

#include <vector>

namespace orv {

class CPersonDeleteModel : public CDialogModel {
public:
    static constexpr const char* kId = "PersonDelete";
    static constexpr const char* kPrompt = "Select one or more people to delete :";
    static constexpr const char* kNoneDeleted = "No one deleted";
    static constexpr const char* kNoneDeletedTitle = "No One Deleted";

    CPersonDeleteModel(CPeople& people, CUserPrompt& prompt, CPeople::Kind kind);

    const char* id() const override { return kId; }
    // "Delete": asks, deletes the selected people, and always closes.
    bool onOk(CUserPrompt& prompt) override;

    const char* title() const {
        return m_kind == CPeople::Kind::Attendee ? "Select Attendee to Delete"
                                                 : "Select Person to Delete";
    }
    const std::vector<CListLine>& lines() const { return m_lines; }
    std::vector<int> selected;
    // How many the last "Delete" removed.
    int deleted() const { return m_deleted; }

private:
    CPeople& m_people;
    CPeople::Kind m_kind;
    std::vector<CListLine> m_lines;
    int m_deleted = 0;
};

} // namespace orv
