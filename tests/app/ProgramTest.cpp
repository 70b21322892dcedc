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
    QTemporaryDir m_config;
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

} // namespace
