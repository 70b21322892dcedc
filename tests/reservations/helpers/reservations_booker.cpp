// One user's booking through the reservation dialog's code, held still inside its lock: after the
// day was read for the overlap check, it makes READY and waits until GO exists or 1.5 s passed,
// then writes. A second user started meanwhile must wait for the lock, and then see the first
// user's reservation.
//
//   reservations_booker GROUP ITEM YYYYMMDD HHMM HHMM LASTNAME READY GO
//
// Prints "booked" or "conflict" (and any other message) on standard output.
#include "common/ScriptedPrompt.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

using namespace orv;
using namespace orv::test;

namespace {

class HeldLoader : public CDayLoader {
public:
    HeldLoader(CItemDayModel& day, std::string ready, std::string go)
        : m_day(day), m_ready(std::move(ready)), m_go(std::move(go)) {}
    int loadItemDay(const CDate& date, bool reopen) override {
        const int rc = m_day.loadItemDay(date, reopen);
        std::fclose(std::fopen(m_ready.c_str(), "w"));
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        while (!std::filesystem::exists(m_go) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return rc;
    }
    const std::vector<int>& dayStarts() const override { return m_day.dayStarts(); }
    const std::vector<int>& dayEnds() const override { return m_day.dayEnds(); }

private:
    CItemDayModel& m_day;
    std::string m_ready;
    std::string m_go;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 9) return 2;
    ScriptedPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(argv[1])) return 3;
    const int index = doc.findItem(argv[2]);
    if (index < 0) return 4;
    const CDate date = CDate::fromKey(argv[3]);
    const int start = std::atoi(argv[4]), end = std::atoi(argv[5]);
    CItemDayModel day(doc, index, date);
    HeldLoader loader(day, argv[7], argv[8]);
    CAddReservation booking(doc, argv[2], date, 0, loader);
    booking.date = booking.lastDate = date;
    booking.setStartTime(start / 100, start % 100);
    booking.setEndTime(end / 100, end % 100);
    for (std::size_t i = 1; i < booking.personLines().size(); ++i)
        if (booking.personLines()[i].text.rfind(std::string(argv[6]) + ",", 0) == 0)
            booking.selectedPerson = static_cast<int>(i);
    booking.makeReservation();
    if (!booking.written().empty()) std::printf("booked\n");
    for (const auto& m : prompt.messages)
        std::printf("%s\n",
                    m.text.rfind("Reservation conflicts", 0) == 0 ? "conflict" : m.text.c_str());
    return 0;
}
