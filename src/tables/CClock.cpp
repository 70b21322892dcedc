#include "tables/CClock.h"

namespace orv {

namespace {
CClock gSystemClock;
CClock* gCurrent = &gSystemClock;
} // namespace

std::time_t CClock::now() const { return std::time(nullptr); }

std::tm CClock::localNow() const { return local(now()); }

std::tm CClock::local(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

CClock& CClock::current() { return *gCurrent; }

void CClock::setCurrent(CClock* clock) { gCurrent = clock ? clock : &gSystemClock; }

} // namespace orv
