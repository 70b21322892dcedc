// The real program on a real display: orvsched opens a freshly made sample group under xvfb-run,
// saves a picture of its main window (kept as a test artifact), and the picture shows boxes of
// both colours.
#include "common/ScreenshotSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using orv::test::countColour;
using orv::test::kXvfbRun;
using orv::test::xvfbArguments;

// A sample group made by the command line in `work`; its group file.
QString makeSample(const QTemporaryDir& work) {
    QProcess make;
    make.start(QStringLiteral(ORV_BINARY_DIR "/src/cli/orvsched-cli"),
               {QStringLiteral("sample-create"), work.filePath(QStringLiteral("Samples"))});
    EXPECT_TRUE(make.waitForFinished(60000));
    EXPECT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
    return work.filePath(QStringLiteral("Samples/Rooms.sch"));
}

// The environment of a program on a display of its own: `work` as its runtime folder, at `scale`.
QProcessEnvironment displayEnvironment(const QTemporaryDir& work, const char* scale = "1") {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
    // The display's libraries leave a known allocation behind at exit.
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("suppressions=" ORV_SOURCE_DIR "/tests/lsan.supp"));
    return env;
}

// Settings in `work` of a user who started the program before: the first-use help stays closed.
// The folder to give as XDG_CONFIG_HOME.
QString startedBefore(const QTemporaryDir& work) {
    QDir(work.path()).mkpath(QStringLiteral("config/Ostrand"));
    QFile conf(work.filePath(QStringLiteral("config/Ostrand/ORV Scheduler.conf")));
    EXPECT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[Startup]\nStartedBefore=1\n");
    return work.filePath(QStringLiteral("config"));
}

TEST(Screenshot, TheSampleGroupShowsBoxesInUseAndFreeOnARealDisplay) {
    if (!QFileInfo(kXvfbRun).isExecutable()) GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());

    const QString group = makeSample(work);

    const QString config = startedBefore(work);
    const QString artifacts = QStringLiteral(ORV_BINARY_DIR "/artifacts");
    QDir().mkpath(artifacts);
    // At 100% and at 200% on a screen twice as large.
    struct Scale {
        const char* factor;
        const char* screen;
        const char* file;
    };
    for (const Scale& scale : {Scale{"1", "-screen 0 1024x768x24", "/main-window.png"},
                               Scale{"2", "-screen 0 2048x1536x24", "/main-window-200.png"}}) {
        SCOPED_TRACE(scale.factor);
        const QString shot = artifacts + QLatin1String(scale.file);
        QFile::remove(shot);

        QProcessEnvironment env = displayEnvironment(work, scale.factor);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(kXvfbRun, xvfbArguments(QLatin1String(scale.screen)) +
                                    QStringList{QStringLiteral(ORV_BINARY_DIR "/src/app/orvsched"),
                                                group, QStringLiteral("--grab-window=") + shot,
                                                QStringLiteral("--grab-after=2500")});
        if (!program.waitForFinished(90000)) {
            program.kill();
            program.waitForFinished();
            FAIL() << "orvsched did not end";
        }
        EXPECT_EQ(program.exitCode(), 0);

        QImage image(shot);
        ASSERT_FALSE(image.isNull()) << "no picture at " << shot.toStdString();
        EXPECT_GE(image.width(), 640);
        const int occupied = countColour(image, QColor(255, 0, 0));
        const int free = countColour(image, QColor(200, 150, 0));
        // A box's fill is thousands of pixels.
        EXPECT_GT(occupied, 2000) << "no box in use";
        EXPECT_GT(free, 2000) << "no free box";
        EXPECT_GT(countColour(image, QColor(0, 0, 255)), 10) << "no blue title";
    }
}

TEST(Screenshot, TheDayListAndTheReservationDialogOnARealDisplay) {
    if (!QFileInfo(kXvfbRun).isExecutable()) GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString group = makeSample(work);
    const QString artifacts = QStringLiteral(ORV_BINARY_DIR "/artifacts");
    QDir().mkpath(artifacts);
    for (const char* name : {"/day-list.png", "/make-reservation.png", "/find-free-item.png",
                             "/export.png", "/calendar-file.png"})
        QFile::remove(artifacts + QLatin1String(name));
    QProcess shot;
    shot.setProcessEnvironment(displayEnvironment(work));
    shot.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    shot.start(kXvfbRun, xvfbArguments(QStringLiteral("-screen 0 1024x768x24")) +
                             QStringList{QStringLiteral(ORV_HELPER_DIR "/displays_dialog_shot"),
                                         work.filePath(QStringLiteral("Samples/Rooms.sch")),
                                         QStringLiteral("Boardroom"), artifacts});
    ASSERT_TRUE(shot.waitForFinished(90000));
    EXPECT_EQ(shot.exitCode(), 0);
    const QImage dayList(artifacts + QStringLiteral("/day-list.png"));
    const QImage reservation(artifacts + QStringLiteral("/make-reservation.png"));
    ASSERT_FALSE(dayList.isNull());
    ASSERT_FALSE(reservation.isNull());
    for (const char* name : {"/find-free-item.png", "/export.png", "/calendar-file.png"})
        EXPECT_FALSE(QImage(artifacts + QLatin1String(name)).isNull()) << name;
    EXPECT_GE(dayList.width(), 520);
    EXPECT_GE(reservation.height(), 300);
    // Text is drawn dark on a light dialog: the list lines, labels and buttons are there.
    int dark = 0;
    for (int y = 0; y < dayList.height(); ++y)
        for (int x = 0; x < dayList.width(); ++x)
            if (dayList.pixelColor(x, y).lightness() < 60) ++dark;
    EXPECT_GT(dark, 1500) << "hardly any text";
}

} // namespace

namespace {

// Every dialog at 100%, 125%, 150% and 200%, on a dark palette and with a large font, on a real
// display: no text is wider than its widget or too faint to read, and nothing a keyboard or
// screen-reader user needs is missing (a name, a mnemonic, a default button). The pictures are
// kept as artifacts (artifacts/dialogs-100, ... artifacts/dialogs-large-font).
TEST(Screenshot, EveryDialogIsWholeReadableAndNamedAtEveryScaleOnADarkPaletteAndInALargeFont) {
    if (!QFileInfo(kXvfbRun).isExecutable()) GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString group = makeSample(work);
    struct Run {
        const char* name;
        const char* scale;
        const char* mode; // "dark", "large" (font), or empty
    };
    const std::vector<Run> runs = {{"100", "1", ""},      {"125", "1.25", ""},
                                   {"150", "1.5", ""},    {"200", "2", ""},
                                   {"dark", "1", "dark"}, {"large-font", "1", "large"}};
    // All at once, each on a display of its own.
    std::vector<std::unique_ptr<QProcess>> fits;
    for (const Run& run : runs) {
        const QString out =
            QStringLiteral(ORV_BINARY_DIR "/artifacts/dialogs-") + QLatin1String(run.name);
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        auto fit = std::make_unique<QProcess>();
        fit->setProcessEnvironment(displayEnvironment(work, run.scale));
        fit->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args = xvfbArguments(QStringLiteral("-screen 0 2560x1600x24"));
        args << QStringLiteral(ORV_HELPER_DIR "/dialog_fit") << group << QStringLiteral("Boardroom")
             << out;
        if (*run.mode) args << QLatin1String(run.mode);
        fit->start(kXvfbRun, args);
        fits.push_back(std::move(fit));
    }
    for (std::size_t i = 0; i < fits.size(); ++i) {
        SCOPED_TRACE(runs[i].name);
        QProcess& fit = *fits[i];
        ASSERT_TRUE(fit.waitForFinished(240000));
        EXPECT_EQ(fit.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(fit.readAllStandardOutput()).split('\n');
        const QStringList found =
            lines.filter(QRegularExpression(QStringLiteral("^(CUT|A11Y|FAINT) ")));
        EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
        EXPECT_GE(lines.filter(QRegularExpression(QStringLiteral("^SHOT "))).size(), 30);
    }
}

} // namespace

namespace {

// A real screen reader's view: over the AT-SPI bus of a display of its own, a script finds the
// program's group window, lists the item boxes with their names and states, moves the keyboard to
// a box and hears that box get the focus, and opens a day list through a box's "open day list"
// action.
TEST(Screenshot, AScreenReaderFindsTheItemBoxesAndOpensADayListOverTheAtSpiBus) {
    const QString python = QStringLiteral("/usr/bin/python3");
    const std::vector<std::pair<QString, const char*>> needs = {
        {kXvfbRun, "xvfb-run is not installed"},
        {QStringLiteral("/usr/bin/dbus-run-session"), "dbus-run-session is not installed"},
        {QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
         "the AT-SPI registry (at-spi2-core) is not installed"},
        {python, "python3 is not installed"}};
    for (const auto& [file, reason] : needs)
        if (!QFileInfo(file).isExecutable()) {
            std::printf("skipped: %s\n", reason);
            GTEST_SKIP() << reason;
        }
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import pyatspi")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0) {
        std::printf("skipped: python3-pyatspi is not installed\n");
        GTEST_SKIP() << "python3-pyatspi is not installed";
    }

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString group = makeSample(work);
    QProcessEnvironment env = displayEnvironment(work);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), startedBefore(work));
    QProcess reader;
    reader.setProcessEnvironment(env);
    reader.start(kXvfbRun,
                 xvfbArguments(QStringLiteral("-screen 0 1280x1024x24")) +
                     QStringList{QStringLiteral("/usr/bin/dbus-run-session"), QStringLiteral("--"),
                                 python,
                                 QStringLiteral(ORV_SOURCE_DIR "/tests/app/scripts/atspi_check.py"),
                                 QStringLiteral(ORV_BINARY_DIR "/src/app/orvsched"), group});
    if (!reader.waitForFinished(150000)) {
        reader.kill();
        reader.waitForFinished();
        FAIL() << "the script did not end";
    }
    const QString out = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_EQ(reader.exitCode(), 0) << out.toStdString();
    const QStringList boxes = out.split('\n').filter(QRegularExpression(QStringLiteral("^BOX ")));
    // The sample group's eight rooms, some in use and some free, each with its state in words.
    EXPECT_EQ(boxes.size(), 8) << out.toStdString();
    EXPECT_FALSE(boxes.filter(QRegularExpression(QStringLiteral(": in use by "))).isEmpty());
    EXPECT_FALSE(boxes.filter(QRegularExpression(QStringLiteral(": free "))).isEmpty());
    for (const QString& box : boxes)
        EXPECT_TRUE(box.contains(QStringLiteral("focusable"))) << box.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("ACTIONS open day list, show menu")))
        << out.toStdString();
    // The reader moved the keyboard to the second box and heard that it has the focus.
    EXPECT_TRUE(out.contains(QStringLiteral("FOCUSED Lakeview\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("OPENED Reservations for \\S"))))
        << out.toStdString();
}

} // namespace
