// What a new user met first: orvsched's --help and --version, the tutorial without a browser, and
// a second window of a large group placed inside the main window (kept as a picture).
#include "TestDoubles.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CORVSchedView.h"
#include "common/TempDir.h"
#include "common/TestGroup.h"
#include "group/CGroupFile.h"
#include "ui/CHelpWindow.h"

#include <QDir>
#include <QMdiArea>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

struct ProgramRun {
    int code;
    QString out;
    QString err;
};

ProgramRun orvsched(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORV_BINARY_DIR "/src/app/orvsched"), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(ShellPolishTest, HelpAndVersionAnswerWithoutADisplayAndUnknownOptionsAreRefused) {
    const ProgramRun help = orvsched({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: orvsched [GROUP.sch]\n")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("$XDG_CONFIG_HOME/Ostrand/ORV Scheduler.conf")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("ORV Scheduler/Samples/Rooms.sch")));
    const ProgramRun version = orvsched({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("orvsched (ORV Scheduler) Version 3.05\n"));
    const ProgramRun bad = orvsched({QStringLiteral("--frobnicate")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, QString());
    EXPECT_EQ(bad.err,
              QStringLiteral("orvsched: unknown option '--frobnicate' (try 'orvsched --help')\n"));
}

TEST(ShellPolishTest, TheTutorialOpensInTheHelpWindowWhenNoBrowserCanStart) {
    TempDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", empty.path().c_str());
    CMemorySettings settings;
    CScriptedPrompt prompt;
    {
        CORVSchedApp app(settings, prompt, prompt, CORVSchedApp::Options{0});
        app.openTutorial();
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                return CHelpWindow::existing() &&
                       CHelpWindow::existing()->currentTopic() == "tutorial";
            },
            5000));
        if (CHelpWindow::existing()) CHelpWindow::existing()->close();
    }
    qputenv("PATH", path);
}

TEST(ShellPolishTest, ANewWindowOfALargeGroupOpensInsideTheMainWindow) {
    TempDir dir;
    const std::string group = dir.file("Room.sch");
    createGroup(group, "room", "Wide Rooms");
    // The group's window was stored wider and taller than the main window will be.
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(group, data, why)) << why;
    data.window = {40, 30, 40 + 760, 30 + 520};
    ASSERT_TRUE(CGroupFile::write(group, data, why)) << why;

    CMemorySettings settings;
    CScriptedPrompt prompt;
    CORVSchedApp app(settings, prompt, prompt, CORVSchedApp::Options{0});
    ASSERT_TRUE(app.start({}));
    app.mainFrame()->resize(800, 600);
    app.mainFrame()->show();
    ASSERT_TRUE(app.openGroupFile(QString::fromStdString(group)));
    QTest::qWait(50);
    CChildFrame* first = app.mainFrame()->childFrames().at(0);
    auto* view = qobject_cast<CORVSchedView*>(first->widget());
    ASSERT_NE(view, nullptr);
    view->run(Command::newWindow);
    QTest::qWait(50);
    ASSERT_EQ(app.mainFrame()->childFrames().size(), 2u);
    QMdiArea* area = app.mainFrame()->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    const QRect visible = area->viewport()->rect();
    for (CChildFrame* child : app.mainFrame()->childFrames())
        EXPECT_TRUE(visible.contains(child->geometry()))
            << child->geometry().x() << "," << child->geometry().y() << " "
            << child->geometry().width() << "x" << child->geometry().height() << " in "
            << visible.width() << "x" << visible.height();

    QDir().mkpath(QStringLiteral(ORV_BINARY_DIR "/artifacts"));
    EXPECT_TRUE(
        app.mainFrame()->grab().save(QStringLiteral(ORV_BINARY_DIR "/artifacts/new-window.png")));
}

} // namespace
} // namespace orv::test
