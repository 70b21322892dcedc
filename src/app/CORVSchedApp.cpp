#include "app/CORVSchedApp.h"
#include "ui/CQtListPrinter.h"

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedView.h"
#include "app/CRecentFileList.h"
#include "displays/widgets/CDayGlanceG.h"
#include "displays/widgets/CMonthResDlg.h"
#include "exports/widgets/CCalendarFeedDlg.h"
#include "exports/widgets/CExportDlg.h"
#include "exports/widgets/CImportReservationsDlg.h"
#include "group/CORVSchedDoc.h"
#include "group/CSettings.h"
#include "group/CUserPrompt.h"
#include "group/CWaitCursor.h"
#include "group/widgets/CGroupInfoDlg.h"
#include "group/widgets/CItemDlg.h"
#include "group/widgets/CMergeInfoDlg.h"
#include "group/widgets/CMergeWarningsDlg.h"
#include "history/widgets/CHistoryDlg.h"
#include "people/widgets/CAddPersonDlg.h"
#include "people/widgets/CImportPeopleDlg.h"
#include "people/widgets/CPersonDeleteDlg.h"
#include "people/widgets/CPersonInfoDlg.h"
#include "people/widgets/CPersonListDlg.h"
#include "reminders/widgets/CReminderChoiceDlg.h"
#include "reports/widgets/CAttendanceDlg.h"
#include "reports/widgets/CPersonResDlg.h"
#include "reports/widgets/CResReportDataDlg.h"
#include "reports/widgets/CResReportDlg.h"
#include "reports/widgets/CUtilizationDlg.h"
#include "reports/widgets/CUtilizationReportDlg.h"
#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CBlockoutDlg.h"
#include "reservations/widgets/CCancelRangeDlg.h"
#include "reservations/widgets/CCustomRepeatDlg.h"
#include "reservations/widgets/CDeleteResDlg.h"
#include "reservations/widgets/CFreeItemsDlg.h"
#include "reservations/widgets/CRemoveBlockoutDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"
#include "reservations/widgets/CRosterDlg.h"
#include "reservations/widgets/CSeriesChangeDlg.h"
#include "reservations/widgets/CSeriesPreviewDlg.h"
#include "reservations/widgets/CShowReservationDlg.h"
#include "ui/CHelpWindow.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace orv {
namespace {

CORVSchedApp* g_instance = nullptr;

} // namespace

CORVSchedApp::CORVSchedApp(CSettings& settings, CUserPrompt& prompt, CColorChooser& colors)
    : CORVSchedApp(settings, prompt, colors, Options()) {}

CORVSchedApp::CORVSchedApp(CSettings& settings, CUserPrompt& prompt, CColorChooser& colors,
                           Options options)
    : m_settings(settings), m_prompt(prompt), m_colors(colors), m_options(options),
      m_recent(std::make_unique<CRecentFileList>(settings)) {
    g_instance = this;
    CQtListPrinter::setProgramPrinter([this]() -> QPrinter& { return printer(); });
    ensureHelpResources();
    registerDialogs();
}

CORVSchedApp::~CORVSchedApp() {
    if (g_instance == this) {
        g_instance = nullptr;
        CQtListPrinter::setProgramPrinter(nullptr);
    }
    if (!m_tutorialFile.isEmpty()) QFile::remove(m_tutorialFile);
}

CORVSchedApp* CORVSchedApp::instance() {
    return g_instance;
}

void CORVSchedApp::registerDialogs() {
    // Each folder's dialogs, once: a static library would drop self-registering objects.
    CGroupInfoDlg::registerDialogs();
    CItemDlg::registerDialogs();
    CRoomInfoDlg::registerDialogs();
    CAddReservationDlg::registerDialogs();
    CCustomRepeatDlg::registerDialogs();
    CSeriesPreviewDlg::registerDialogs();
    CSeriesChangeDlg::registerDialogs();
    CShowReservationDlg::registerDialogs();
    CRosterDlg::registerDialogs();
    CCancelRangeDlg::registerDialogs();
    CFreeItemsDlg::registerDialogs();
    CHistoryDlg::registerDialogs();
    CExportDlg::registerDialogs();
    CCalendarFeedDlg::registerDialogs();
    CImportReservationsDlg::registerDialogs();
    CAddPersonDlg::registerDialogs();
    CPersonListDlg::registerDialogs();
    CPersonDeleteDlg::registerDialogs();
    CPersonInfoDlg::registerDialogs();
    CMergeInfoDlg::registerDialogs();
    CMergeWarningsDlg::registerDialogs();
    CImportPeopleDlg::registerDialogs();
    CDayGlanceG::registerDialogs();
    CMonthResDlg::registerDialogs();
    CResReportDlg::registerDialogs();
    CResReportDataDlg::registerDialogs();
    CBlockoutDlg::registerDialogs();
    CRemoveBlockoutDlg::registerDialogs();
    CDeleteResDlg::registerDialogs();
    CUtilizationDlg::registerDialogs();
    CUtilizationReportDlg::registerDialogs();
    CPersonResDlg::registerDialogs();
    CAttendanceDlg::registerDialogs();
    CReminderChoiceDlg::registerDialogs();
}

// ---- Group hooks ------------------------------------------------------------------------------

std::shared_ptr<CORVSchedDoc> CORVSchedApp::makeDocument() {
    auto doc = std::make_shared<CORVSchedDoc>(m_prompt, m_settings);
    doc->setRecentFileHook(
        [this](const std::string& file) { addRecentFile(QFile::decodeName(file.c_str())); });
    return doc;
}

bool CORVSchedApp::openGroupFile(const QString& path) {
    auto doc = makeDocument();
    CWaitCursor busy(m_prompt);
    if (!doc->openGroup(QFile::encodeName(path).toStdString())) return false;
    showGroupWindow(doc);
    return true;
}

void CORVSchedApp::newGroup() {
    auto doc = makeDocument();
    if (doc->createGroup()) showGroupWindow(doc);
}

CChildFrame* CORVSchedApp::showGroupWindow(const std::shared_ptr<CORVSchedDoc>& doc) {
    auto* view = new CORVSchedView(doc);
    CChildFrame* child =
        m_frame->addGroupWindow(view, QFile::decodeName(doc->groupFile().c_str()), view);
    child->setWindowTitle(CQtPrompt::toQt(doc->description()));
    return child;
}

// -----------------------------------------------------------------------------------------------

bool CORVSchedApp::start(const QStringList& arguments) {
    // The store already lives under "Ostrand"/"ORV Scheduler".
    m_recent->load();
    // Groups are shared: a new user sees colleagues' bookings appear without looking for the
    // setting. Before any group opens, as its view reads the settings; a user's own value stays.
    if (m_settings.readInt("Startup", "StartedBefore", 0) == 0 &&
        m_settings.readInt("Network", "Refresh", -1) == -1)
        m_settings.writeInt("Network", "Refresh", 1);

    m_frame = std::make_unique<CMainFrame>();
    m_frame->setCommandEnabled(Command::newGroup, true);
    m_frame->setRecentFiles(m_recent->files());
    connect(m_frame.get(), &CMainFrame::applicationCommand, this, &CORVSchedApp::runCommand);
    connect(m_frame.get(), &CMainFrame::recentFileChosen, this, &CORVSchedApp::openRecentFile);
    connect(m_frame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& files) {
        for (const QString& f : files)
            openGroup(f);
    });

    // A plain start opens nothing; a named file opens as a group, and the program ends when that
    // fails.
    for (const QString& arg : arguments) {
        if (arg.isEmpty() || arg.startsWith(QLatin1Char('-'))) continue;
        if (!openGroup(QFileInfo(arg).absoluteFilePath())) return false;
        break;
    }

    showStartupNotice();
    m_frame->show();
    m_frame->appendTutorialToMainHelp();
    m_useLastGroup = m_settings.readInt("Startup", "UseLastGroup", 0) != 0;
    openStartupGroup();
    return true;
}

void CORVSchedApp::showStartupNotice() {
    if (m_options.startupNoticeMs <= 0) return;
    CAboutDlg notice(m_settings.readText("Data", "DataDir"), m_frame.get());
    QTimer::singleShot(m_options.startupNoticeMs, &notice, &QDialog::accept);
    notice.exec();
}

void CORVSchedApp::openStartupGroup() {
    if (m_settings.readInt("Startup", "StartedBefore", 0) != 0) {
        const std::string group = m_settings.readText("Startup", "Group");
        if (!group.empty() && !openGroup(QFile::decodeName(group.c_str())))
            m_settings.writeText("Startup", "Group", std::nullopt);
    } else {
        m_settings.writeInt("Startup", "StartedBefore", 1);
        showHelp(help::kFirstStart);
    }
}

CChildFrame* CORVSchedApp::findOpenGroup(const QString& path) const {
    if (!m_frame) return nullptr;
    for (CChildFrame* child : m_frame->childFrames())
        if (child->sameGroup(path)) return child;
    return nullptr;
}

bool CORVSchedApp::openGroup(const QString& path) {
    if (CChildFrame* open = findOpenGroup(path)) {
        m_frame->activate(open);
        return true;
    }
    if (!openGroupFile(path)) return false;
    addRecentFile(path);
    return true;
}

void CORVSchedApp::openRecentFile(const QString& path) {
    if (!openGroup(path)) {
        m_recent->remove(path);
        if (m_frame) m_frame->setRecentFiles(m_recent->files());
    }
}

void CORVSchedApp::addRecentFile(const QString& path) {
    m_recent->add(path);
    if (m_frame) m_frame->setRecentFiles(m_recent->files());
}

QStringList CORVSchedApp::recentFiles() const {
    return m_recent->files();
}

void CORVSchedApp::chooseAndOpenGroup() {
    FileChoice choice;
    choice.title = "Open";
    choice.defaultExtension = "sch";
    choice.filter = "ORV Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||";
    choice.mustExist = true;
    const std::optional<std::string> path = m_prompt.chooseFile(choice);
    if (path) openGroup(QFile::decodeName(path->c_str()));
}

void CORVSchedApp::runCommand(Command command) {
    switch (command) {
    case Command::newGroup:
        newGroup();
        break;
    case Command::openGroup:
        chooseAndOpenGroup();
        break;
    case Command::printSetup:
        printSetup();
        break;
    case Command::exit:
        if (m_frame) m_frame->close();
        break;
    case Command::about:
        showAbout();
        break;
    case Command::tutorial:
        openTutorial();
        break;
    default:
        break;
    }
}

void CORVSchedApp::showAbout() {
    CAboutDlg about(m_settings.readText("Data", "DataDir"), m_frame.get());
    about.exec();
}

QPrinter& CORVSchedApp::printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CORVSchedApp::printSetup() {
    QPrintDialog dialog(&printer(), m_frame.get());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

void CORVSchedApp::openTutorial() {
    const QUrl inside(QStringLiteral("qrc:/tutorial/tutorial.html"));
    auto showHere = [inside] { CHelpWindow::instance()->showPage(inside); };
    // The page is inside the program; the desktop's browser needs a real file.
    if (m_tutorialFile.isEmpty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
        const QString file = QDir(folder).filePath(
            QStringLiteral("orvsched-tutorial-%1.html").arg(QCoreApplication::applicationPid()));
        QFile::remove(file);
        if (!QFile::copy(QStringLiteral(":/tutorial/tutorial.html"), file)) return showHere();
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        m_tutorialFile = file;
    }
    // A display without a desktop may have no browser: xdg-open then fails, and the program's
    // own help window shows the page instead.
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [opener, showHere](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0) showHere();
                opener->deleteLater();
            });
    connect(opener, &QProcess::errorOccurred, this,
            [opener, showHere](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart) return;
                showHere();
                opener->deleteLater();
            });
    opener->start(QStringLiteral("xdg-open"), {m_tutorialFile});
}

} // namespace orv
