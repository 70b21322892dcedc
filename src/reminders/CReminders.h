#pragma once
// Reminders and change notices for the person this user is in a group: a per-user choice kept
// per group (who I am, remind me, how many minutes before). Nothing is written to the group's
// files; the reminders already shown are remembered in the user's settings, so that none is
// shown twice: not by a second window of the group, not after a restart.

#include "reminders/CAgenda.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

struct CNotice {
    enum class Kind { reminder, cancelled, moved, terminated, blockedOut };
    Kind kind = Kind::reminder;
    std::string summary;
    std::string body;
    CAgendaEntry entry; // for a move: where it is now
};

class CReminders {
public:
    static constexpr const char* kSection = "Reminders";
    static constexpr int kDefaultMinutes = 15;
    static constexpr int kChangeDays = 14;

    explicit CReminders(CORVSchedDoc& doc);

    // The choice, as stored (read again at each call: another window may have changed it).
    std::optional<CPeopleKey> person() const;
    bool remind() const;
    int minutes() const;
    void setChoice(const std::optional<CPeopleKey>& person, bool remind, int minutes);

    // The reminders due at the clock's now: the person's reservations and attendances that
    // start within minutes() and were not shown before. Each is remembered as shown.
    std::vector<CNotice> due();
    // What other users changed of the person's reservations of the next 14 days since the
    // last call: cancelled, moved, terminated, blocked out. The first call only looks.
    std::vector<CNotice> changes();

    static std::string reminderSummary(const CAgendaEntry& e);

private:
    std::string key(const char* name) const;
    std::string signature() const;
    int collectAhead(std::time_t now, std::vector<CAgendaEntry>& entries);
    bool blockedOut(const CAgendaEntry& e);
    // Who last changed or removed the member, from the group's journal ("alice@office-pc"), or
    // empty when another program did.
    std::string changedBy(const CAgendaEntry& e);

    CORVSchedDoc& m_doc;
    bool m_looked = false;
    std::string m_signature;
    unsigned long m_ownWrites = 0;
    std::vector<CAgendaEntry> m_ahead;
};

} // namespace orv
