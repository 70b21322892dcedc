// The free-item search must agree with a minute-by-minute check of every item.
#include "reservations/CFreeItems.h"
#include "reservations/ReservationFixture.h"
#include "storage/Result4.h"

#include <random>

namespace orv::test {
namespace {

class FreeItemsTest : public ReservationFixture {};

// Every item free by a check of each minute of each date against every record of the item.
TEST_F(FreeItemsTest, AgreeWithAMinuteByMinuteCheck) {
    std::mt19937 random(7);
    CSchedule& s = doc->schedule();
    for (int i = 0; i < 3; ++i) {
        prompt.fill<CItemInfoModel>(
            [i](CItemInfoModel& m) { m.name = "Extra " + std::to_string(i); });
        ASSERT_TRUE(CItemManager(*doc).addItem());
    }
    const int items = static_cast<int>(doc->items().count());
    for (int n = 0; n < 120; ++n) {
        const CDate d =
            CDate(2026, 12, 8)
                .addDays(7 * static_cast<int>(random() % 4) + static_cast<int>(random() % 2));
        const int start = 7 * 60 + static_cast<int>(random() % 40) * 15;
        const int end = std::min(start + 15 + static_cast<int>(random() % 8) * 15, 23 * 60 + 59);
        s.clearImage();
        s.image().setDate(d.month, d.day, d.year);
        s.image().setItemName(doc->items().at(static_cast<int>(random() % items)).name());
        s.image().setStartTime(start / 60, start % 60);
        s.image().setEndTime(end / 60, end % 60);
        s.image().setBlockoutFlag(random() % 5 == 0);
        const int rc = s.append();
        ASSERT_TRUE(rc == 0 || rc == res4unique) << rc; // one record per item, date and start
    }
    for (int q = 0; q < 40; ++q) {
        const int start = 7 * 60 + static_cast<int>(random() % 44) * 15;
        const int end = start + 15 + static_cast<int>(random() % 12) * 15;
        const CDate date(2026, 12, 8);
        const CDate until = q % 2 ? date.addDays(21) : CDate();
        std::vector<int> expected;
        for (int i = 0; i < items; ++i) {
            bool free = true;
            for (CDate d = date; free && d <= (until.isSet() ? until : date); d = d.addDays(7))
                s.walkItemOnDate(d.key(), doc->items().at(i).name(), [&](const CScheduleRecord& r) {
                    const int rs = r.startHour() * 60 + r.startMinute(),
                              re = r.endHour() * 60 + r.endMinute();
                    for (int m = start; m < end; ++m)
                        if (m >= rs && m < re) free = false;
                    return free;
                });
            if (free) expected.push_back(i);
        }
        EXPECT_EQ(CFreeItems::freeItems(*doc, date, start / 60 * 100 + start % 60,
                                        end / 60 * 100 + end % 60, until),
                  expected)
            << start << "-" << end << (until.isSet() ? " weekly" : "");
    }
}

} // namespace
} // namespace orv::test
