#pragma once
// View > Reminders...: who this user is among the group's people, whether to be reminded and how
// many minutes before a reservation starts. Kept for this user and this group only.

#include "group/CORVSchedDoc.h"
#include "group/CUserPrompt.h"
#include "reminders/CReminders.h"
#include "tables/CPeopleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CReminderChoiceModel : public CDialogModel {
public:
    static constexpr const char* kId = "Reminders";
    static constexpr const char* kTitle = "Reminders";
    static constexpr const char* kNobody = "(nobody)";
    static constexpr const char* kRemind = "&Remind me before my reservations start";
    static constexpr const char* kNoPerson = "Choose who you are to be reminded.";

    // The people who may reserve or attend, each once, in the people list's order.
    explicit CReminderChoiceModel(CORVSchedDoc& doc) : m_reminders(doc) {
        std::vector<CPeopleRecord> records;
        for (CPeople::Kind kind : {CPeople::Kind::MayReserve, CPeople::Kind::Attendee}) {
            if (error4take(&doc.code(), doc.people().listPeople(kind, records)) != 0) continue;
            for (const CPeopleRecord& p : records) {
                if (std::find(people.begin(), people.end(), p.key()) != people.end()) continue;
                people.push_back(p.key());
                lines.push_back(p.key().listLine());
            }
        }
        const std::optional<CPeopleKey> me = m_reminders.person();
        for (std::size_t i = 0; me && i < people.size(); ++i)
            if (people[i] == *me) chosen = static_cast<int>(i);
        remind = m_reminders.remind();
        minutes = m_reminders.minutes();
    }

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override {
        if (remind && chosen < 0) {
            prompt.message(kNoPerson, kTitle, PromptIcon::error);
            return false;
        }
        m_reminders.setChoice(chosen < 0 ? std::nullopt
                                         : std::optional<CPeopleKey>(
                                               people[static_cast<std::size_t>(chosen)]),
                              remind, minutes);
        return true;
    }

    std::vector<CPeopleKey> people;
    std::vector<std::string> lines;
    int chosen = -1; // into people; -1 nobody
    bool remind = true;
    int minutes = CReminders::kDefaultMinutes;

private:
    CReminders m_reminders;
};

} // namespace orv
