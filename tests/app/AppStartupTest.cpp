#include "TestDoubles.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CQtSettings.h"
#include "app/CViewSettings.h"
#include "ui/CHelpWindow.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

using test::CRecordingSettings;
using test::CScriptedPrompt;

// The application with a stand-in for the group document: files in `openable` open as an empty
// group window, every other file fails.
class CTestApp : public CORVSchedApp {
public:
    CTestApp(CSettings& settings, CScriptedPrompt& prompt, int noticeMs = 0)
        : CORVSchedApp(settings, prompt, prompt, Options{noticeMs}) {}

    bool openGroupFile(const QString& path) override {
        opened << path;
        if (!openable.contains(path)) return false;
        mainFrame()->addGroupWindow(new QWidget, path, nullptr);
        return true;
    }
    void newGroup() override { ++newGroups; }

    QStringList opened;
    QStringList openable;
    int newGroups = 0;
};

class AppStartupTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (CHelpWindow* help = CHelpWindow::existing()) help->close();
    }
    CRecordingSettings m_store;
    CScriptedPrompt m_prompt;
};

TEST_F(AppStartupTest, FirstStartSetsStartedBeforeShowsHelpAndOpensNoStoredGroup) {
    m_store.writeText("Startup", "Group", std::string("/g/Rooms.sch"));
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/Rooms.sch";
    ASSERT_TRUE(app.start({}));
    EXPECT_TRUE(app.opened.isEmpty());
    EXPECT_EQ(m_store.readInt("Startup", "StartedBefore", 0), 1);
    EXPECT_EQ(m_store.readText("Startup", "Group"), "/g/Rooms.sch");
    ASSERT_NE(CHelpWindow::existing(), nullptr);
    EXPECT_TRUE(CHelpWindow::existing()->isVisible());
    EXPECT_EQ(CHelpWindow::existing()->currentTopic(), "first_start");
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST_F(AppStartupTest, ANewUserSeesColleaguesBookingsAndAUsersOwnChoiceStays) {
    struct Case {
        const char* name;
        const char* conf; // the settings file before the start; null: an empty folder
        int refresh;      // what a group's view then reads
    };
    const Case cases[] = {
        {"an empty settings folder", nullptr, 1},
        {"a user who started before", "[Startup]\nStartedBefore=1\n", 0},
        {"a user who turned it off", "[network]\nrefresh=0\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        if (c.conf) {
            ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Ostrand")));
            QFile conf(dir.filePath(QStringLiteral("Ostrand/ORV Scheduler.conf")));
            ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
            conf.write(c.conf);
        }
        {
            CQtSettings store;
            CTestApp app(store, m_prompt);
            ASSERT_TRUE(app.start({}));
        }
        CQtSettings after;
        EXPECT_EQ(CViewSettings::read(after).refresh, c.refresh);
        if (CHelpWindow* help = CHelpWindow::existing()) help->close();
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

TEST_F(AppStartupTest, SecondStartOpensTheStoredGroup) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeText("Startup", "Group", std::string("/g/Rooms.sch"));
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/Rooms.sch";
    ASSERT_TRUE(app.start({}));
    EXPECT_EQ(app.opened, QStringList{"/g/Rooms.sch"});
    EXPECT_EQ(m_store.readText("Startup", "Group"), "/g/Rooms.sch");
    EXPECT_EQ(app.recentFiles(), QStringList{"/g/Rooms.sch"});
    EXPECT_TRUE(app.mainFrame()->showsGroupMenu());
}

TEST_F(AppStartupTest, AStartupGroupThatCannotBeOpenedIsForgotten) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeText("Startup", "Group", std::string("/g/Gone.sch"));
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    EXPECT_EQ(app.opened, QStringList{"/g/Gone.sch"});
    EXPECT_FALSE(m_store.has("Startup", "Group"));
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_FALSE(app.mainFrame()->showsGroupMenu());
}

TEST_F(AppStartupTest, APlainStartOpensNothingAndAddsTheTutorialEntry) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeInt("Startup", "UseLastGroup", 1);
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    EXPECT_TRUE(app.opened.isEmpty());
    EXPECT_EQ(app.newGroups, 0);
    EXPECT_TRUE(app.useLastGroup());
    EXPECT_EQ(CHelpWindow::existing() ? CHelpWindow::existing()->isVisible() : false, false);
    QMenu* help = app.mainFrame()->mainMenus().back();
    EXPECT_EQ(help->actions().back()->text(), "&Tutorial");
}

TEST_F(AppStartupTest, AFileOnTheCommandLineIsOpened) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/Cars.sch";
    ASSERT_TRUE(app.start({"/g/Cars.sch"}));
    EXPECT_EQ(app.opened, QStringList{"/g/Cars.sch"});
}

TEST_F(AppStartupTest, ACommandLineFileThatCannotBeOpenedEndsTheStart) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeText("Startup", "Group", std::string("/g/Rooms.sch"));
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/Rooms.sch";
    EXPECT_FALSE(app.start({"/g/Broken.sch"}));
    EXPECT_EQ(app.opened, QStringList{"/g/Broken.sch"});
}

TEST_F(AppStartupTest, TheStartupNoticeClosesByItself) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt, 100);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(app.start({}));
    EXPECT_GE(t.elapsed(), 100);
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST_F(AppStartupTest, AGroupAlreadyOpenIsActivatedInsteadOfOpenedTwice) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Rooms.sch"));
    const QString link = dir.filePath(QStringLiteral("Link.sch"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(file, link));
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt);
    app.openable << file << dir.filePath(QStringLiteral("Other.sch"));
    ASSERT_TRUE(app.start({}));
    EXPECT_TRUE(app.openGroup(file));
    EXPECT_TRUE(app.openGroup(dir.filePath(QStringLiteral("Other.sch"))));
    EXPECT_TRUE(app.openGroup(link));
    EXPECT_EQ(app.opened, (QStringList{file, dir.filePath(QStringLiteral("Other.sch"))}));
    EXPECT_EQ(app.mainFrame()->childFrames().size(), 2u);
    EXPECT_EQ(app.mainFrame()->activeChildFrame()->groupPath(), file);
}

TEST_F(AppStartupTest, OpenGroupAsksWithTheOpenChooser) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_prompt.files.push_back(std::string("/g/Chosen.sch"));
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    app.mainFrame()->action(Command::openGroup)->trigger();
    ASSERT_EQ(m_prompt.choices.size(), 1u);
    EXPECT_EQ(m_prompt.choices[0].title, "Open");
    EXPECT_EQ(m_prompt.choices[0].filter,
              "ORV Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||");
    EXPECT_EQ(m_prompt.choices[0].defaultExtension, "sch");
    EXPECT_TRUE(m_prompt.choices[0].mustExist);
    EXPECT_EQ(app.opened, QStringList{"/g/Chosen.sch"});
}

TEST_F(AppStartupTest, NewGroupGoesToTheHook) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    app.mainFrame()->setCommandEnabled(Command::newGroup, true);
    app.mainFrame()->action(Command::newGroup)->trigger();
    EXPECT_EQ(app.newGroups, 1);
}

TEST_F(AppStartupTest, RecentFilesAreNewestFirstAndKeepFour) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeText("Recent File List", "File1", std::string("/g/1.sch"));
    m_store.writeText("recent file list", "file2", std::string("/g/2.sch"));
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/3.sch"
                 << "/g/4.sch"
                 << "/g/5.sch"
                 << "/g/2.sch";
    ASSERT_TRUE(app.start({}));
    EXPECT_EQ(app.recentFiles(), (QStringList{"/g/1.sch", "/g/2.sch"}));
    app.openGroup("/g/3.sch");
    app.openGroup("/g/4.sch");
    app.openGroup("/g/5.sch");
    EXPECT_EQ(app.recentFiles(), (QStringList{"/g/5.sch", "/g/4.sch", "/g/3.sch", "/g/1.sch"}));
    EXPECT_EQ(m_store.readText("Recent File List", "File1"), "/g/5.sch");
    EXPECT_EQ(m_store.readText("Recent File List", "File4"), "/g/1.sch");
    app.openGroup("/g/2.sch");
    EXPECT_EQ(app.recentFiles(), (QStringList{"/g/2.sch", "/g/5.sch", "/g/4.sch", "/g/3.sch"}));
}

TEST_F(AppStartupTest, ARecentFileThatFailsToOpenLeavesTheList) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    m_store.writeText("Recent File List", "File1", std::string("/g/Gone.sch"));
    m_store.writeText("Recent File List", "File2", std::string("/g/Here.sch"));
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    QMenu* recent = app.mainFrame()->mainMenus()[0]->actions()[5]->menu();
    ASSERT_EQ(recent->actions().size(), 2);
    recent->actions()[0]->trigger();
    EXPECT_EQ(app.opened, QStringList{"/g/Gone.sch"});
    EXPECT_EQ(app.recentFiles(), QStringList{"/g/Here.sch"});
    EXPECT_EQ(m_store.readText("Recent File List", "File1"), "/g/Here.sch");
    EXPECT_FALSE(m_store.has("Recent File List", "File2"));
}

TEST_F(AppStartupTest, DroppedGroupFilesAreOpenedInOrder) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt);
    ASSERT_TRUE(app.start({}));
    emit app.mainFrame()->filesDropped({QStringLiteral("/g/a.sch"), QStringLiteral("/g/b.sch")});
    EXPECT_EQ(app.opened, (QStringList{"/g/a.sch", "/g/b.sch"}));
}

TEST_F(AppStartupTest, ExitClosesTheMainWindow) {
    m_store.writeInt("Startup", "StartedBefore", 1);
    CTestApp app(m_store, m_prompt);
    app.openable << "/g/a.sch";
    ASSERT_TRUE(app.start({"/g/a.sch"}));
    app.mainFrame()->action(Command::exit)->trigger();
    EXPECT_FALSE(app.mainFrame()->isVisible());
    QTest::qWait(1);
    EXPECT_TRUE(app.mainFrame()->childFrames().empty());
}

} // namespace
} // namespace orv
