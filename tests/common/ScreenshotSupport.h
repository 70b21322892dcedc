#pragma once
// What the screenshot tests share: the program that gives them a real display, and counting the
// pixels of a colour in a picture.

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#include <atomic>
#include <string>

#include <unistd.h>

namespace orv::test {

inline const QString kXvfbRun = QStringLiteral("/usr/bin/xvfb-run");

// xvfb-run's arguments for a display of its own with `screen` ("-screen 0 WxHxD"). xvfb-run -a
// looks for a free display number from 99 on, and runs started at once (the parallel runs of one
// test, two test programs) took the same one; each call here starts the search elsewhere.
inline QStringList xvfbArguments(const QString& screen) {
    static std::atomic<int> calls{0};
    const int start = 100 + static_cast<int>(::getpid() % 80) * 10 + calls++ % 10;
    return {QStringLiteral("-a"), QStringLiteral("-n"), QString::number(start),
            QStringLiteral("-s"), screen};
}

inline int countColour(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

// In a helper program on the display: shows the widget and waits until the display has shown it
// and its layout has settled.
inline bool showOnDisplay(QWidget& widget) {
    widget.show();
    widget.raise();
    if (!QTest::qWaitForWindowExposed(&widget)) return false;
    QTest::qWait(30);
    return true;
}

// Shows the dialog, saves a picture of it, hides it again.
inline bool saveDialogPicture(QDialog& dialog, const QString& file) {
    if (!showOnDisplay(dialog)) return false;
    const bool saved = dialog.grab().save(file, "PNG");
    dialog.hide();
    return saved;
}

#ifdef ORV_SOURCE_DIR // in the test programs, not in their helpers
// Runs a screenshot helper program under xvfb-run on a 1600x1000 screen, with `runtimeDir` as its
// XDG_RUNTIME_DIR. Its exit code, or -1 when it did not end within 90 s.
inline int runOnDisplay(const QString& helper, const QStringList& args,
                        const std::string& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtimeDir));
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("suppressions=" ORV_SOURCE_DIR "/tests/lsan.supp"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(kXvfbRun, xvfbArguments(QStringLiteral("-screen 0 1600x1000x24")) +
                                QStringList{helper} + args);
    if (!program.waitForFinished(90000)) {
        program.kill();
        program.waitForFinished();
        return -1;
    }
    return program.exitCode();
}
#endif

} // namespace orv::test
