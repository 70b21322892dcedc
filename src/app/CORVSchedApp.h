#pragma once
// The application object: runs start-up, owns the main frame and the recently used files, and
// handles the commands that need no group (new, open, recent files, print setup, exit, about,
// tutorial). It lives beside the QApplication that main() makes.
//
// Every route that opens a group (File > Open Group, a recent file, the command line, a dropped
// file, the start-up group) ends in openGroup(), which activates a group window already showing
// that file and otherwise calls openGroupFile().

#include "app/Command.h"

#include <QObject>
#include <QStringList>

#include <memory>

class QPrinter;

namespace orv {

class CChildFrame;
class CORVSchedDoc;
class CColorChooser;
class CMainFrame;
class CRecentFileList;
class CSettings;
class CUserPrompt;

class CORVSchedApp : public QObject {
    Q_OBJECT
public:
    struct Options {
        // How long the About box stands as the start-up notice; 0 leaves it out.
        int startupNoticeMs = 1500;
    };

    // The stores and doors are not owned and must outlive the object.
    CORVSchedApp(CSettings& settings, CUserPrompt& prompt, CColorChooser& colors);
    CORVSchedApp(CSettings& settings, CUserPrompt& prompt, CColorChooser& colors, Options options);
    ~CORVSchedApp() override;

    // The one instance, for the document and views.
    static CORVSchedApp* instance();

    // Start-up with the arguments after the program name. False: the program ends.
    bool start(const QStringList& arguments);

    // ---- Group hooks: the group document plugs in here. ------------------------------------
    //
    // Opens the group file `path` in a new group document with its own group window (use
    // mainFrame()->addGroupWindow()), showing its messages through prompt(). True when the group
    // is open. Called only for files not already open. On success the app puts the path into
    // the recently used files; after a failed open from that list it takes the entry out.
    virtual bool openGroupFile(const QString& path);
    // File > New Group: the whole creation sequence, including addRecentFile() of the new group.
    // The entry stays greyed until mainFrame()->setCommandEnabled(Command::newGroup, true).
    virtual void newGroup();
    // A group window (child frame and main view) for an open document.
    CChildFrame* showGroupWindow(const std::shared_ptr<CORVSchedDoc>& doc);
    // Storing an opened group as "Startup"/"Group" while "UseLastGroup" is on is the document's
    // part of opening, as is the group window's title (the group description).
    // ------------------------------------------------------------------------------------------

    // Activates the group window of `path` when one is open, else opens it.
    bool openGroup(const QString& path);
    CChildFrame* findOpenGroup(const QString& path) const;

    void addRecentFile(const QString& path);
    QStringList recentFiles() const;

    // "Startup"/"UseLastGroup" as read at start-up.
    bool useLastGroup() const { return m_useLastGroup; }

    CMainFrame* mainFrame() const { return m_frame.get(); }
    CSettings& settings() { return m_settings; }
    CUserPrompt& prompt() { return m_prompt; }
    CColorChooser& colorChooser() { return m_colors; }
    // The printer that Print Setup configures and printing uses.
    QPrinter& printer();

    // Runs a command of the application's own.
    void runCommand(Command command);
    void showAbout();
    void openTutorial();
    void chooseAndOpenGroup();

private:
    std::shared_ptr<CORVSchedDoc> makeDocument();
    void registerDialogs();
    void openRecentFile(const QString& path);
    void printSetup();
    void showStartupNotice();
    void openStartupGroup();

    CSettings& m_settings;
    CUserPrompt& m_prompt;
    CColorChooser& m_colors;
    Options m_options;
    std::unique_ptr<CRecentFileList> m_recent;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<QPrinter> m_printer;
    QString m_tutorialFile;
    bool m_useLastGroup = false;
};

} // namespace orv
