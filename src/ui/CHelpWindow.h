#pragma once
// The help viewer: one non-modal window showing the help pages compiled into the program
// (":/help/<topic>.html", topics in HelpTopics.h). It never blocks its caller; shown from a modal
// dialog it belongs to that dialog, so that it stays usable while the dialog runs.

#include <QDialog>
#include <QUrl>

class QDialogButtonBox;
class QTextBrowser;

namespace orv {

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    // The one help window, made on first use.
    static CHelpWindow* instance();
    // The window when it exists, without making it.
    static CHelpWindow* existing();

    // An unknown topic shows the contents.
    void showTopic(const QString& topic);
    // Shows a page of the program's own, such as the tutorial.
    void showPage(const QUrl& url);
    QString currentTopic() const;

    static QString pageUrl(const QString& topic);
    static bool hasTopic(const QString& topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CHelpWindow(QWidget* parent);
    void belongTo(QWidget* modal);

    QTextBrowser* m_browser;
};

// Registers the compiled-in pages (help and tutorial); safe to call often.
void ensureHelpResources();

// Shows the help window at `topic`.
void showHelp(const QString& topic);

// F1 in `dialog` opens `topic`; with `buttons`, so does its Help button (added when missing).
void attachHelp(QWidget* dialog, const QString& topic, QDialogButtonBox* buttons = nullptr);

} // namespace orv
