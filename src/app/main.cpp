// orvsched: the desktop program. "orvsched [group.sch]" opens the named group at start-up.

#include "app/CAppIcons.h"
#include "app/CORVSchedApp.h"
#include "app/CQtPrompt.h"
#include "app/CQtSettings.h"
#include "storage/Code4.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // There is no console for a person to press a key at after an engine error report.
    orv::error4setNeverWait(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrand"));
    QCoreApplication::setApplicationName(QStringLiteral("ORV Scheduler"));
    QApplication::setWindowIcon(orv::CAppIcons::app());

    orv::CQtSettings settings;
    orv::CQtPrompt prompt;
    orv::CORVSchedApp app(settings, prompt, prompt);
    if (!app.start(QCoreApplication::arguments().mid(1))) return 1;

    // For the start-up tests: end quietly this many milliseconds after start-up.
    if (const char* quit = std::getenv("ORV_QUIT_AFTER_MS")) {
        QTimer::singleShot(std::atoi(quit), &qapp, &QCoreApplication::quit);
    }
    return qapp.exec();
}
