// The real program, started as its own process with its own settings folder.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid());
        QDir(m_config.path()).mkpath(QStringLiteral("Ostrand"));
        ASSERT_TRUE(QFile::exists(program())) << "build orvsched first";
    }
    static QString program() { return QStringLiteral(ORV_BINARY_DIR "/src/app/orvsched"); }
    QString settingsFile() const {
        return m_config.filePath(QStringLiteral("Ostrand/ORV Scheduler.conf"));
    }
    void writeSettings(const QByteArray& text) {
        QFile f(settingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QVariant stored(const QString& key) const {
        QSettings s(settingsFile(), QSettings::IniFormat);
        return s.value(key);
    }
    // Runs orvsched until shortly after its start-up; returns its exit code.
    int run(const QStringList& args = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ORV_QUIT_AFTER_MS"), QStringLiteral("100"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program(), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "orvsched did not end";
            return -1;
        }
        m_output = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    // A real group made by the command line's group-create.
    QString makeGroup(const QString& name) {
        const QString file = m_groups.filePath(name);
        QProcess cli;
        cli.start(QStringLiteral(ORV_BINARY_DIR "/src/cli/orvsched-cli"),
                  {QStringLiteral("group-create"), file, QStringLiteral("--kind"), QStringLiteral("room"),
                   QStringLiteral("--description"), name});
        EXPECT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return file;
    }
    QString firstRecentFile() const {
        return stored(QStringLiteral("Recent File List/File1")).toString();
    }
    QTemporaryDir m_config;
    QTemporaryDir m_groups;
    QByteArray m_output;
};

TEST_F(ProgramTest, FirstStartStoresStartedBeforeAndLeavesTheStoredGroupAlone) {
    writeSettings("[Startup]\nGroup=/nowhere/Rooms.sch\n");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(stored(QStringLiteral("Startup/StartedBefore")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("Startup/Group")).toString(), "/nowhere/Rooms.sch");
    EXPECT_TRUE(m_output.isEmpty());
}

TEST_F(ProgramTest, ANewUserGetsASettingsFileWithStartedBefore) {
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(QFile::exists(settingsFile()));
    EXPECT_EQ(stored(QStringLiteral("Startup/StartedBefore")).toInt(), 1);
}

TEST_F(ProgramTest, LaterStartForgetsAStartupGroupThatCannotBeOpened) {
    writeSettings("[Startup]\nStartedBefore=1\nGroup=/nowhere/Rooms.sch\n");
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(stored(QStringLiteral("Startup/Group")).isValid());
    EXPECT_EQ(stored(QStringLiteral("Startup/StartedBefore")).toInt(), 1);
}

TEST_F(ProgramTest, AGroupOnTheCommandLineThatCannotBeOpenedEndsTheProgram) {
    writeSettings("[Startup]\nStartedBefore=1\n");
    EXPECT_NE(run({QStringLiteral("/nowhere/Rooms.sch")}), 0);
}

TEST_F(ProgramTest, FirstStartDoesNotOpenAStoredGroupButTheSecondDoes) {
    const QString group = makeGroup(QStringLiteral("Rooms.sch"));
    writeSettings("[Startup]\nGroup=" + group.toUtf8() + "\n");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(firstRecentFile(), QString()) << "the group was opened on the first start";
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(firstRecentFile(), group);
    EXPECT_EQ(stored(QStringLiteral("Startup/Group")).toString(), group);
}

TEST_F(ProgramTest, StartupGroupWhoseFileWasDeletedIsForgotten) {
    const QString group = makeGroup(QStringLiteral("Gone.sch"));
    QFile::remove(group);
    writeSettings("[Startup]\nStartedBefore=1\nGroup=" + group.toUtf8() + "\n");
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(stored(QStringLiteral("Startup/Group")).isValid());
}

TEST_F(ProgramTest, WithUseLastGroupTheLastOpenedGroupOpensAtTheNextStart) {
    const QString first = makeGroup(QStringLiteral("First.sch"));
    const QString second = makeGroup(QStringLiteral("Second.sch"));
    writeSettings("[Startup]\nStartedBefore=1\nUseLastGroup=1\n");
    EXPECT_EQ(run({first}), 0);
    EXPECT_EQ(stored(QStringLiteral("Startup/Group")).toString(), first);
    EXPECT_EQ(run({second}), 0);
    EXPECT_EQ(stored(QStringLiteral("Startup/Group")).toString(), second);
    // A plain start opens the last one and makes it the newest recent file.
    QSettings(settingsFile(), QSettings::IniFormat).setValue(QStringLiteral("Recent File List/File1"), first);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(firstRecentFile(), second);
}

} // namespace
