// One of several users booking, cancelling and blocking out overlapping slots of one group at
// once, each through the code the dialogs run. Reports every outcome on standard output, one
// line each, flushed, so that the test can hold the tables against what each user was told:
//
//   booked ITEM DATE START END ATTENDEES   the reservation was reported made
//   conflict ITEM DATE START END           refused: it overlaps another record
//   cancelled ITEM DATE START              the cancel was reported done
//   blocked ITEM DATE START END            the blockout was reported set
//   failed WHAT TEXT                       any other message of the dialogs
//   stats ATTEMPTS CONFLICTS RETRIES LONGEST_WAIT_MS
//   waits MS...                            every lock wait, from its first refusal to the lock
//
//   reservations_worker GROUP WORKER MILLISECONDS SEED
//
// The worker books for the person "Worker<WORKER>" and cancels only its own reservations.
#include "common/FaultFs.h"
#include "common/ScriptedPrompt.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reservations/CAddReservation.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRosterModel.h"
#include "tables/CClock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace orv;
using namespace orv::test;
using Clock = std::chrono::steady_clock;

namespace {

// Counts the lock attempts another user refused, and the longest time from a first refusal of a
// range to the lock of that range.
class CountingFs : public FaultFs {
public:
    long retries = 0;
    long longestWaitMs = 0;
    std::vector<long> waitsMs;
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        const int rc = FaultFs::lockRange(fd, start, length, kind);
        note(fd, start, kind, rc);
        return rc;
    }
    int lockRangeWaiting(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind,
                         int waitMs) override {
        const int rc = FaultFs::lockRangeWaiting(fd, start, length, kind, waitMs);
        note(fd, start, kind, rc);
        return rc;
    }

private:
    void note(int fd, std::int64_t start, Lock4Kind kind, int rc) {
        if (kind == Lock4Kind::unlock || start >= 0x100000000LL) return;
        if (rc == -EAGAIN) {
            if (!m_waiting || m_fd != fd || m_start != start) m_since = Clock::now();
            m_waiting = true;
            m_fd = fd;
            m_start = start;
            ++retries;
        } else if (m_waiting && m_fd == fd && m_start == start) {
            m_waiting = false;
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_since)
                    .count();
            longestWaitMs = std::max<long>(longestWaitMs, static_cast<long>(ms));
            waitsMs.push_back(static_cast<long>(ms));
        }
    }

    bool m_waiting = false; // for the range at m_start of m_fd
    int m_fd = -1;
    std::int64_t m_start = 0;
    Clock::time_point m_since;
};

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string hhmm(int hour, int minute) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d", hour, minute);
    return b;
}

std::string lastMessage(const ScriptedPrompt& prompt, std::size_t before) {
    if (prompt.messages.size() <= before) return "";
    return prompt.messages.back().title + ": " + prompt.messages.back().text;
}

// The blockout dialog's OK for one item. True when the blockout was written; *conflict says
// whether an overlap refused it.
bool setBlockout(CORVSchedDoc& doc, ScriptedPrompt& prompt, CItemDayModel& day, const CDate& date,
                 int sh, int sm, int eh, int em, bool* conflict) {
    CBlockoutModel blockout(doc);
    blockout.date = date;
    blockout.startHour = sh, blockout.startMinute = sm;
    blockout.endHour = eh, blockout.endMinute = em;
    blockout.selected = {doc.findItem(day.itemName())};
    const std::size_t before = prompt.messages.size();
    const bool ok = blockout.block();
    *conflict = !ok && prompt.messages.size() > before &&
                prompt.messages.back().text == CBlockoutModel::kOverlap;
    return ok;
}

struct Mine {
    std::string item;
    CDate date;
    int start;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    const std::string group = argv[1];
    const std::string me = "Worker" + std::string(argv[2]);
    const auto until = Clock::now() + std::chrono::milliseconds(std::atol(argv[3]));
    std::mt19937 random(static_cast<unsigned>(std::atol(argv[4])));
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    CountingFs files;
    ScriptedPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    code4init(&doc.code(), &files);
    doc.code().silentErrors = 1;
    if (!doc.openGroup(group)) return 3;
    const CPeopleKey person{"", "", me, ""};
    const std::vector<std::string> items = {"Boardroom", "Huddle"};
    std::vector<Mine> mine;
    long attempts = 0, conflicts = 0;

    while (Clock::now() < until) {
        ++attempts;
        const std::string item = items[static_cast<std::size_t>(pick(2))];
        const CDate date{2026, 12, 9 + pick(3)};
        const int start = 8 * 60 + 15 * pick(16);
        const int end = start + 15 * (1 + pick(6));
        const int sh = start / 60, sm = start % 60, eh = end / 60, em = end % 60;
        const std::string where = item + " " + date.key() + " " + hhmm(sh, sm);
        CItemDayModel day(doc, doc.findItem(item), date);
        const std::size_t before = prompt.messages.size();
        const int action = pick(20);
        if (action < 5 && !mine.empty()) {
            const std::size_t k = static_cast<std::size_t>(pick(static_cast<int>(mine.size())));
            const Mine m = mine[k];
            CItemDayModel own(doc, doc.findItem(m.item), m.date);
            own.select(own.lineStartingAt(m.start / 60 * 100 + m.start % 60));
            prompt.answers = {true, false};
            own.cancelReservation();
            const std::string text = lastMessage(prompt, before);
            const std::string at =
                m.item + " " + m.date.key() + " " + hhmm(m.start / 60, m.start % 60);
            if (prompt.messages.size() == before + 1 && prompt.messages.back().question) {
                mine.erase(mine.begin() + static_cast<long>(k));
                say("cancelled " + at);
            } else {
                say("failed cancel " + at + " " + text);
            }
        } else if (action < 8) {
            bool conflict = false;
            if (setBlockout(doc, prompt, day, date, sh, sm, eh, em, &conflict))
                say("blocked " + where + " " + hhmm(eh, em));
            else if (conflict)
                ++conflicts, say("conflict " + where + " " + hhmm(eh, em));
            else
                say("failed blockout " + where);
        } else {
            const bool attendees = pick(3) == 0;
            prompt.fill<CAddReservation>([&](CAddReservation& r) {
                r.date = date;
                r.setStartTime(sh, sm);
                r.setEndTime(eh, em);
                r.attendees = attendees;
                r.selectedPerson = r.personLine(person);
            });
            if (attendees)
                prompt.fill<CRosterModel>([](CRosterModel& roster) {
                    roster.moveRight({1});
                    roster.includeLater = false;
                });
            day.makeReservation();
            prompt.dialogSteps.clear();
            if (!day.lastWritten().empty()) {
                mine.push_back({item, date, start});
                say("booked " + where + " " + hhmm(eh, em) + (attendees ? " 1" : " 0"));
            } else if (lastMessage(prompt, before)
                           .rfind("Reservation Error: Reservation conflicts", 0) == 0) {
                ++conflicts;
                say("conflict " + where + " " + hhmm(eh, em));
            } else {
                say("failed booking " + where + " " + lastMessage(prompt, before));
            }
        }
    }
    say("stats " + std::to_string(attempts) + " " + std::to_string(conflicts) + " " +
        std::to_string(files.retries) + " " + std::to_string(files.longestWaitMs));
    std::string waits = "waits";
    for (long ms : files.waitsMs)
        waits += " " + std::to_string(ms);
    say(waits);
    return 0;
}
