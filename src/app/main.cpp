// orvsched: the desktop program. "orvsched [group.sch]" opens the named group at start-up;
// --help and --version answer without a display.
//
// Switches for scripts and tests, not shown to users:
//   --set-data-dir DIR       store DIR as "Data"/"DataDir" (where the samples are) and end;
//                            needs no display
//   --grab-window=FILE.png   save a picture of the main window and end, --grab-after=MS
//                            milliseconds after the start (default 3000)

#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CQtSettings.h"
#include "storage/Code4.h"
#include "ui/CAppIcons.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrand"));
    QCoreApplication::setApplicationName(QStringLiteral("ORV Scheduler"));
}

// "--set-data-dir DIR": the settings store only, through the same class the program reads it with.
int setDataDir(int argc, char** argv, const char* dir) {
    QCoreApplication core(argc, argv);
    nameApplication();
    orv::CQtSettings settings;
    settings.writeText("Data", "DataDir",
                       std::string(QFile::encodeName(QString::fromLocal8Bit(dir))));
    return 0;
}

constexpr const char* kUsage =
    "usage: orvsched [GROUP.sch]\n"
    "       orvsched --help | --version\n"
    "\n"
    "ORV Scheduler, the desktop reservation scheduler. With a group file it opens that\n"
    "group at start-up (the program ends when it cannot be opened); without one it opens\n"
    "the start-up group chosen in View > Preferences, if any.\n"
    "\n"
    "Environment:\n"
    "  DISPLAY, WAYLAND_DISPLAY  the display to show the program on\n"
    "  QT_QPA_PLATFORM           Qt's window system plug-in (xcb, wayland, offscreen)\n"
    "  XDG_CONFIG_HOME           the settings are kept in\n"
    "                            $XDG_CONFIG_HOME/Ostrand/ORV Scheduler.conf\n"
    "                            (~/.config when XDG_CONFIG_HOME is not set)\n"
    "  XDG_DATA_HOME             ./run keeps the sample group in\n"
    "                            $XDG_DATA_HOME/ORV Scheduler/Samples/Rooms.sch\n"
    "                            (~/.local/share when XDG_DATA_HOME is not set)\n"
    "  TZ                        the local time zone of reservations and the clock\n"
    "\n"
    "Qt's own options (such as -platform or -style) are accepted too. The command-line\n"
    "tool orvsched-cli works on the same groups without a display.\n";

// --help, --version and options nobody knows are answered before Qt needs a display; Qt's own
// options have one dash and are Qt's to judge. -1 when the program should start.
int earlyAnswer(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0) break;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(a, "--version") == 0) {
            std::printf("orvsched (ORV Scheduler) Version %d.%02d\n", ORV_VERSION_MAJOR,
                        ORV_VERSION_MINOR);
            return 0;
        }
        if (std::strncmp(a, "--", 2) == 0 && std::strncmp(a, "--grab-window=", 14) != 0 &&
            std::strncmp(a, "--grab-after=", 13) != 0) {
            std::fprintf(stderr, "orvsched: unknown option '%s' (try 'orvsched --help')\n", a);
            return 2;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set-data-dir") == 0) {
            if (i + 1 >= argc || !*argv[i + 1]) return 2;
            return setDataDir(argc, argv, argv[i + 1]);
        }
    }
    if (const int answered = earlyAnswer(argc, argv); answered >= 0) return answered;

    QApplication qapp(argc, argv);
    // There is no console for a person to press a key at after an engine error report.
    orv::error4setNeverWait(true);
    nameApplication();
    QApplication::setWindowIcon(orv::CAppIcons::app());

    QString grabFile;
    int grabAfter = 3000;
    QStringList arguments;
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--grab-window=")))
            grabFile = arg.section(QLatin1Char('='), 1);
        else if (arg.startsWith(QLatin1String("--grab-after=")))
            grabAfter = arg.section(QLatin1Char('='), 1).toInt();
        else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("--")) {
            // Qt took the options it knows.
            std::fprintf(stderr, "orvsched: unknown option '%s' (try 'orvsched --help')\n",
                         arg.toLocal8Bit().constData());
            return 2;
        } else if (arg != QLatin1String("--"))
            arguments << arg;
    }

    orv::CQtSettings settings;
    orv::CQtPrompt prompt;
    orv::CORVSchedApp app(settings, prompt, prompt);

    // For the start-up tests: end quietly this many milliseconds after the start. The timer runs
    // from before start-up, so that a message box shown during start-up ends too: before the
    // main event loop runs, quit() does nothing, so the modal box of the moment is closed, again
    // and again while start-up goes on.
    bool quitRequested = false;
    QTimer quitter;
    QObject::connect(&quitter, &QTimer::timeout, &qapp, [&] {
        quitRequested = true;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
        QCoreApplication::quit();
        quitter.setInterval(20);
    });
    if (const char* quit = std::getenv("ORV_QUIT_AFTER_MS")) quitter.start(std::atoi(quit));
    int grabResult = 0;
    if (!grabFile.isEmpty()) {
        QTimer::singleShot(grabAfter, &qapp, [&] {
            if (!app.mainFrame() || !app.mainFrame()->grab().save(grabFile, "PNG")) grabResult = 1;
            quitter.start(0);
        });
    }
    if (!app.start(arguments)) return 1;
    if (quitRequested) return grabResult;
    const int result = qapp.exec();
    return grabResult ? grabResult : result;
}
