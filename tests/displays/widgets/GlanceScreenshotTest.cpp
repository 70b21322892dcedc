// The overviews on a real display: the day at a glance in both forms and the month at a glance
// of a group, shown under xvfb-run by a program of their own, saved as pictures (kept as test
// artifacts), and the pictures show the reserved quarters in their colours.
#include "common/GroupFixture.h"
#include "common/ScreenshotSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace orv::test {
namespace {

using GlanceScreenshotTest = GroupFixture;

TEST_F(GlanceScreenshotTest, TheOverviewsShowTheirBarsOnARealDisplay) {
    if (!QFileInfo(kXvfbRun).isExecutable()) GTEST_SKIP() << "xvfb-run is not installed";
    addItems({"Boardroom", "Lakeview", "Huddle 1", "Auditorium"});
    reserveAll({{"Boardroom", 12, 8, 2026, 8, 0, 10, 30},
                {"Lakeview", 12, 8, 2026, 9, 0, 12, 0},
                {"Huddle 1", 12, 8, 2026, 9, 0, 9, 45},
                {"Auditorium", 12, 8, 2026, 9, 0, 11, 0},
                {"Auditorium", 12, 8, 2026, 19, 0, 23, 59},
                {"Lakeview", 12, 15, 2026, 13, 0, 15, 0}});

    const QString artifacts = QStringLiteral(ORV_BINARY_DIR "/artifacts");
    QDir().mkpath(artifacts);
    const QStringList shots = {QStringLiteral("day-12-hours.png"),
                               QStringLiteral("day-all-day.png"), QStringLiteral("month.png")};
    for (const QString& s : shots)
        QFile::remove(artifacts + QLatin1Char('/') + s);

    ASSERT_EQ(runOnDisplay(QStringLiteral(ORV_HELPER_DIR "/glance_screenshots"),
                           {QString::fromStdString(group), QStringLiteral("2026"),
                            QStringLiteral("12"), QStringLiteral("8"), artifacts},
                           dir.path()),
              0);

    const QColor occupied(255, 0, 0);
    const QColor partial(255, 255, 0);
    for (const QString& s : shots) {
        const QImage image(artifacts + QLatin1Char('/') + s);
        ASSERT_FALSE(image.isNull()) << s.toStdString();
        EXPECT_GT(countColour(image, occupied), 100) << s.toStdString();
    }
    const QImage month(artifacts + QStringLiteral("/month.png"));
    // 09:00-09:45 has every item; the rest of the morning and the evening only some.
    EXPECT_GT(countColour(month, partial), 300);
}

} // namespace
} // namespace orv::test
