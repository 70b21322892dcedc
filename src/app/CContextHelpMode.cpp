#include "app/CContextHelpMode.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace orv {
namespace {

bool inMenuBar(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (qobject_cast<QMenuBar*>(w)) return true;
    return false;
}

void closePopups() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close()) break;
    }
}

} // namespace

CContextHelpMode::CContextHelpMode(TopicAt topicAt, QObject* parent)
    : QObject(parent), m_topicAt(std::move(topicAt)) {}

CContextHelpMode::~CContextHelpMode() {
    leave();
}

void CContextHelpMode::enter() {
    if (m_active) return;
    m_active = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
}

void CContextHelpMode::leave() {
    if (!m_active) return;
    m_active = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool CContextHelpMode::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            closePopups();
            leave();
            return true;
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!widget || inMenuBar(widget)) return false; // let the menu bar open its menus
        if (qobject_cast<QMenu*>(widget)) return true;  // the entry is chosen on release
        {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QString topic = m_topicAt(widget, pos);
            leave();
            emit topicChosen(topic);
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (!menu->actionAt(pos)) return true;
            const QString topic = m_topicAt(menu, pos);
            closePopups();
            leave();
            emit topicChosen(topic);
            return true;
        }
        return widget && !inMenuBar(widget);
    default:
        return false;
    }
}

} // namespace orv
