#include "reminders/widgets/CReminderTray.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace orv {

CReminderTray::CReminderTray(QObject* parent, std::function<std::vector<std::string>()> next)
    : QObject(parent), m_next(std::move(next)) {
    m_menu = new QMenu;
    m_menu->setObjectName(QStringLiteral("reminderTrayMenu"));
    connect(this, &QObject::destroyed, m_menu, &QObject::deleteLater);
    connect(m_menu, &QMenu::aboutToShow, this, &CReminderTray::fill);
    m_icon = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_icon->setToolTip(QStringLiteral("ORV Scheduler"));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick) emit openRequested();
    });
    fill();
}

void CReminderTray::fill() {
    m_menu->clear();
    connect(m_menu->addAction(QString::fromLatin1(kOpen)), &QAction::triggered, this,
            &CReminderTray::openRequested);
    m_menu->addSeparator();
    m_menu->addAction(QString::fromLatin1(kNext))->setEnabled(false);
    const std::vector<std::string> lines = m_next ? m_next() : std::vector<std::string>();
    if (lines.empty()) m_menu->addAction(QString::fromLatin1(kNone))->setEnabled(false);
    for (const std::string& line : lines)
        m_menu->addAction(QString::fromLatin1(line.c_str()))->setEnabled(false);
    m_menu->addSeparator();
    connect(m_menu->addAction(QString::fromLatin1(kQuit)), &QAction::triggered, this,
            &CReminderTray::quitRequested);
}

void CReminderTray::show() {
    m_icon->show();
}

void CReminderTray::hide() {
    m_icon->hide();
}

} // namespace orv
