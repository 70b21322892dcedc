// orvsched: the desktop program. "orvsched [group.sch]" opens the named group at start-up.
//
// Switches for scripts and tests, not shown to users:
//   --set-data-dir DIR       store DIR as "Data"/"DataDir" (where the samples are) and end;
//                            needs no display
//   --grab-window=FILE.png   save a picture of the main window and end, --grab-after=MS
//                            milliseconds after the start (default 3000)

#include "app/CAppIcons.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CQtPrompt.h"
#include "app/CQtSettings.h"
#include "storage/Code4.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPixmap>
#include <QTimer>

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

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set-data-dir") == 0) {
            if (i + 1 >= argc || !*argv[i + 1]) return 2;
            return setDataDir(argc, argv, argv[i + 1]);
        }
    }

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
        else
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
