#pragma once
// The one clock. Everything that reads "now" (creation stamps, today's list, the timer, the
// deletion of old reservations, the stamp file) asks a CClock, so tests can fix local time.

#include <ctime>

namespace orv {

class CClock {
public:
    virtual ~CClock() = default;
    // Seconds since the epoch.
    virtual std::time_t now() const;
    // The current local time, broken down (localtime_r of now()).
    std::tm localNow() const;
    // Local broken-down time of any moment.
    static std::tm local(std::time_t t);

    // The process-wide clock: the system clock unless a test replaced it.
    static CClock& current();
    // Replaces the process-wide clock (nullptr restores the system clock). Not owned.
    static void setCurrent(CClock* clock);
};

} // namespace orv
