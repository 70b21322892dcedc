#pragma once
// A real group on disk for the view tests: made through the group document with a scripted user,
// with items added through the item manager and reservations written through the schedule.

#include "app/CORVSchedView.h"
#include "common/GroupFixture.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFixedClock.h"

#include <QColor>
#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orv::test {

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0, 30);
        CClock::setCurrent(&clock);
        group = dir.file("Room.sch");
        ASSERT_NO_FATAL_FAILURE(makeTestGroup(group));
    }
    void TearDown() override {
        view.reset();
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    // Adds items through the item manager of a document of their own, as another window would.
    void addItems(const std::vector<std::pair<std::string, std::string>>& nameAndOccupancy) {
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc d(p, s);
        ASSERT_TRUE(d.openGroup(group));
        for (const auto& [name, occupancy] : nameAndOccupancy) {
            p.fill<CItemInfoModel>([name = name, occupancy = occupancy](CItemInfoModel& m) {
                m.name = name;
                m.occupancy = occupancy;
                m.defaultLength = "30";
            });
            ASSERT_TRUE(CItemManager(d).addItem()) << name;
        }
    }
    void addNumberedItems(int count) {
        std::vector<std::pair<std::string, std::string>> items;
        for (int i = 1; i <= count; ++i)
            items.emplace_back("Room " + std::to_string(i), std::to_string(i * 2));
        addItems(items);
    }

    // A reservation of `item` on 12/`day`/2026.
    void reserve(const std::string& item, int day, int sh, int sm, int eh, int em,
                 const std::string& last) {
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc d(p, s);
        ASSERT_TRUE(d.openGroup(group));
        CSchedule& schedule = d.schedule();
        schedule.clearImage();
        schedule.image().setDate(12, day, 2026);
        schedule.image().setItemName(item);
        schedule.image().setStartTime(sh, sm);
        schedule.image().setEndTime(eh, em);
        schedule.image().setPerson("Pat", "", last, "");
        ASSERT_EQ(schedule.append(), 0);
    }

    std::shared_ptr<CORVSchedDoc> openDoc() {
        auto d = std::make_shared<CORVSchedDoc>(prompt, settings);
        EXPECT_TRUE(d->openGroup(group));
        return d;
    }

    // A view on a fresh document, shown (so first updated) at a size that shows every box.
    CORVSchedView& showView(QSize size = QSize(900, 700)) {
        doc = openDoc();
        view = std::make_unique<CORVSchedView>(doc);
        view->resize(size);
        view->show();
        return *view;
    }

    QImage picture() { return view->viewport()->grab().toImage(); }
    // A pixel of a box's fill: inside the 2-pixel inset, above the first text line.
    static QPoint fillPoint(const CRect& box) { return {box.left + 4, box.top + 4}; }
    QColor fillOf(int item) {
        const QImage image = picture(); // drawing also places the boxes
        const QPoint p =
            fillPoint(doc->items().rectAt(item)) -
            QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
        return image.pixelColor(p);
    }
    static QPoint centre(const CRect& r) {
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TempDir dir;
    CFixedClock clock;
    std::string group;
    ScriptedPrompt prompt;
    CMemorySettings settings;
    std::shared_ptr<CORVSchedDoc> doc;
    std::unique_ptr<CORVSchedView> view;
};

inline const QColor kRed(255, 0, 0);
inline const QColor kFree(200, 150, 0);
inline const QColor kGrey(192, 192, 192);

} // namespace orv::test
