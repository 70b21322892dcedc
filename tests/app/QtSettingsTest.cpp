#include "app/CQtSettings.h"
#include "app/CViewSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orv {
namespace {

// Each test gets its own folder for the native settings file.
class QtSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    QString fileText() const {
        QFile f(m_dir.filePath(QStringLiteral("Ostrand/ORV Scheduler.conf")));
        if (!f.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(f.readAll());
    }
    QTemporaryDir m_dir;
};

TEST_F(QtSettingsTest, NewUserGetsEveryDefault) {
    CQtSettings store;
    const CViewSettings s = CViewSettings::read(store);
    EXPECT_EQ(s.startHour, 6);
    EXPECT_EQ(s.useFullDay, 0);
    EXPECT_EQ(s.occupied, 255);
    EXPECT_EQ(s.unoccupied, 38600);
    EXPECT_EQ(s.partiallyOccupied, 65535);
    EXPECT_EQ(s.deleteOldRes, -1);
    EXPECT_EQ(s.warnOldDB, 1);
    EXPECT_EQ(s.propAttendees, 0);
    EXPECT_EQ(s.showNotes, 0);
    EXPECT_EQ(s.refresh, 0);
    EXPECT_EQ(s.doDBReOpen, 0);
    EXPECT_EQ(s.lock, 0);
    EXPECT_EQ(store.readInt("Startup", "StartedBefore", 0), 0);
    EXPECT_EQ(store.readText("Startup", "Group"), "");
}

TEST_F(QtSettingsTest, StoredMinusOneSelectsTheDefaultColoursAndHour) {
    CQtSettings store;
    store.writeInt("Colors", "Occupied", -1);
    store.writeInt("Colors", "Unoccupied", -1);
    store.writeInt("Colors", "Partially Occupied", -1);
    store.writeInt("DayRes", "StartHour", -1);
    const CViewSettings s = CViewSettings::read(store);
    EXPECT_EQ(s.occupied, 255);
    EXPECT_EQ(s.unoccupied, 38600);
    EXPECT_EQ(s.partiallyOccupied, 65535);
    EXPECT_EQ(s.startHour, 6);
}

TEST_F(QtSettingsTest, LivesInTheOstrandFolderUnderTheApplicationTitle) {
    CQtSettings store;
    store.writeInt("Startup", "StartedBefore", 1);
    EXPECT_EQ(store.fileName(), m_dir.filePath(QStringLiteral("Ostrand/ORV Scheduler.conf")));
    EXPECT_TRUE(fileText().contains(QStringLiteral("StartedBefore=1")));
}

TEST_F(QtSettingsTest, SectionAndKeyNamesIgnoreCaseAndKeepTheFirstSpelling) {
    {
        CQtSettings store;
        store.writeInt("DayRes", "StartHour", 8);
    }
    CQtSettings store;
    EXPECT_EQ(store.readInt("Dayres", "starthour", -1), 8);
    store.writeInt("DAYRES", "STARTHOUR", 9);
    EXPECT_EQ(store.readInt("DayRes", "StartHour", -1), 9);
    const QString text = fileText();
    EXPECT_TRUE(text.contains(QStringLiteral("[DayRes]")));
    EXPECT_FALSE(text.contains(QStringLiteral("DAYRES")));
    EXPECT_TRUE(text.contains(QStringLiteral("StartHour=9")));
    EXPECT_FALSE(text.contains(QStringLiteral("STARTHOUR")));
}

TEST_F(QtSettingsTest, WritingNoTextRemovesTheValue) {
    CQtSettings store;
    store.writeText("Startup", "Group", std::string("/groups/Rooms.sch"));
    EXPECT_EQ(store.readText("startup", "group"), "/groups/Rooms.sch");
    store.writeText("STARTUP", "GROUP", std::nullopt);
    EXPECT_EQ(store.readText("Startup", "Group"), "");
    EXPECT_FALSE(fileText().contains(QStringLiteral("Rooms.sch")));
}

TEST_F(QtSettingsTest, ANonNumberReadsAsTheDefault) {
    CQtSettings store;
    store.writeText("Network", "Refresh", std::string("yes"));
    EXPECT_EQ(store.readInt("Network", "Refresh", 7), 7);
}

TEST_F(QtSettingsTest, TextKeepsCharactersOutsideAscii) {
    CQtSettings store;
    store.writeText("Data", "DataDir", std::string("/home/j\xC3\xB6rg/ORV"));
    CQtSettings again;
    EXPECT_EQ(again.readText("Data", "DataDir"), "/home/j\xC3\xB6rg/ORV");
}

} // namespace
} // namespace orv
