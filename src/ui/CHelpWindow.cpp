#include "ui/CHelpWindow.h"

#include "ui/CAppIcons.h"
#include "ui/HelpTopics.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

// The pages live in a static library, whose resource object a linker would drop unless asked.
static void initHelpResources() {
    Q_INIT_RESOURCE(orvsched);
}

namespace orv {
namespace {

QPointer<CHelpWindow>& theWindow() {
    static QPointer<CHelpWindow> window;
    return window;
}

// Top-level widgets must go before the application object does.
void deleteHelpWindow() {
    delete theWindow().data();
}

} // namespace

void ensureHelpResources() {
    static const bool done = [] {
        initHelpResources();
        return true;
    }();
    (void)done;
}

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("ORV Scheduler Help"));
    setWindowIcon(CAppIcons::app());
    setModal(false);
    // The program ends with its main window, whether help is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 520);

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({QStringLiteral(":/help")});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { showTopic(help::kContents); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

CHelpWindow* CHelpWindow::instance() {
    QPointer<CHelpWindow>& window = theWindow();
    QWidget* modal = QApplication::activeModalWidget();
    if (!window) {
        static bool cleanupAdded = false;
        if (!cleanupAdded) {
            qAddPostRoutine(deleteHelpWindow);
            cleanupAdded = true;
        }
        window = new CHelpWindow(nullptr);
    }
    if (modal && modal != window && window->parentWidget() != modal) window->belongTo(modal);
    return window;
}

// A running modal dialog blocks every window but its own; the help window joins it while it runs
// and leaves it when it closes, so that it outlives the dialog.
void CHelpWindow::belongTo(QWidget* modal) {
    if (QWidget* old = parentWidget()) old->removeEventFilter(this);
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    setParent(modal, Qt::Window);
    if (modal) modal->installEventFilter(this);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
}

bool CHelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Hide) {
        QWidget* next = QApplication::activeModalWidget();
        belongTo(next && next != watched ? next : nullptr);
    }
    return QDialog::eventFilter(watched, event);
}

CHelpWindow* CHelpWindow::existing() {
    return theWindow().data();
}

QString CHelpWindow::pageUrl(const QString& topic) {
    return QStringLiteral("qrc:/help/%1.html").arg(topic);
}

bool CHelpWindow::hasTopic(const QString& topic) {
    ensureHelpResources();
    return !topic.isEmpty() && QFile::exists(QStringLiteral(":/help/%1.html").arg(topic));
}

void CHelpWindow::showTopic(const QString& topic) {
    const QString shown = hasTopic(topic) ? topic : QString::fromLatin1(help::kContents);
    showPage(QUrl(pageUrl(shown)));
}

void CHelpWindow::showPage(const QUrl& url) {
    m_browser->setSource(url);
    show();
    raise();
    activateWindow();
}

QString CHelpWindow::currentTopic() const {
    QString name = m_browser->source().fileName();
    if (name.endsWith(QLatin1String(".html"))) name.chop(5);
    return name;
}

void showHelp(const QString& topic) {
    CHelpWindow::instance()->showTopic(topic);
}

void attachHelp(QWidget* dialog, const QString& topic, QDialogButtonBox* buttons) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(f1, &QShortcut::activated, dialog, [topic] { showHelp(topic); });
    if (!buttons) return;
    bool hasHelp = false;
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::HelpRole) hasHelp = true;
    if (!hasHelp) buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog,
                     [topic] { showHelp(topic); });
}

} // namespace orv
