#include "tables/CSeriesDates.h"

namespace orv {

namespace {
constexpr int kWeekdays = 3;
} // namespace

CSeriesDates::CSeriesDates(int recurrenceCode, CDate first, CDate last)
    : m_code(recurrenceCode), m_step(stepOf(recurrenceCode)), m_next(first),
      m_last(recurrenceCode == 0 ? first : last) {}

CDate CSeriesDates::alignedFrom(int recurrenceCode, CDate anchor, CDate from) {
    const int step = stepOf(recurrenceCode);
    if (step == 1) return from;
    const long behind = ((anchor.serial() - from.serial()) % step + step) % step;
    return from.addDays(behind);
}

bool CSeriesDates::next(CDate& date) {
    while (!m_done) {
        const CDate t = m_next;
        if (!t.isValid() || (m_last.isSet() && t > m_last) ||
            (m_stopAfter.isSet() && t > m_stopAfter) ||
            (!m_last.isSet() && m_misses > kMaxMisses)) {
            m_done = true;
            break;
        }
        m_next = t.addDays(m_step);
        if (m_code == kWeekdays && t.isWeekend()) continue;
        date = t;
        return true;
    }
    return false;
}

} // namespace orv
