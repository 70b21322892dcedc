#include "app/CORVSchedViewAccessible.h"

#include "app/CORVSchedView.h"
#include "displays/CItemStateText.h"
#include "displays/CViewLayout.h"
#include "group/CORVSchedDoc.h"
#include "ui/CQtPrompt.h"

#include <QAccessibleActionInterface>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace orv {

namespace {

// One item box: no object of its own, so it asks the view for everything each time.
class CItemBoxAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CItemBoxAccessible(CORVSchedView* view, int index) : m_view(view), m_index(index) {}

    bool isValid() const override {
        return m_view && m_view->document().items().isValidIndex(m_index);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        const CRoom& item = m_view->document().items().at(m_index);
        switch (t) {
        case QAccessible::Name:
            return CQtPrompt::toQt(item.name());
        case QAccessible::Description:
            return m_view->stateText(m_index);
        case QAccessible::Value:
            return QString::fromLatin1(item.inUse() ? CItemStateText::kLegendInUse
                                                    : CItemStateText::kLegendFree);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect box = m_view->boxOnScreen(m_index);
        return QRect(m_view->viewport()->mapToGlobal(box.topLeft()), box.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        const bool focused = m_view->hasFocus() && m_view->focusedItem() == m_index;
        s.focused = focused;
        s.selected = m_view->focusedItem() == m_index;
        s.hasPopup = true;
        if (!m_view->viewport()->rect().intersects(m_view->boxOnScreen(m_index)))
            s.offscreen = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        // Readers move the keyboard with the third.
        return {QString::fromLatin1(CORVSchedViewAccessible::kOpenDayList),
                QString::fromLatin1(CORVSchedViewAccessible::kShowMenu),
                QAccessibleActionInterface::setFocusAction()};
    }
    QString localizedActionDescription(const QString& name) const override {
        if (name == QLatin1String(CORVSchedViewAccessible::kOpenDayList))
            return QStringLiteral("Shows the item's reservations for today");
        if (name == QLatin1String(CORVSchedViewAccessible::kShowMenu))
            return QStringLiteral("Offers to modify or delete the item");
        return {};
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == QLatin1String(CORVSchedViewAccessible::kOpenDayList))
            return {QStringLiteral("Return")};
        if (name == QLatin1String(CORVSchedViewAccessible::kShowMenu))
            return {QStringLiteral("Shift+F10")};
        return {};
    }
    void doAction(const QString& name) override {
        if (!isValid()) return;
        // The reader's call returns first: the day list is a dialog with a loop of its own.
        QPointer<CORVSchedView> view = m_view;
        const int index = m_index;
        if (name == QAccessibleActionInterface::setFocusAction()) {
            // A reader moves the keyboard to a box.
            QTimer::singleShot(0, m_view, [view, index] {
                if (!view) return;
                view->activateWindow();
                view->setFocus(Qt::OtherFocusReason);
                view->setFocusedItem(index);
            });
        } else if (name == QLatin1String(CORVSchedViewAccessible::kOpenDayList)) {
            QTimer::singleShot(0, m_view, [view, index] {
                if (!view) return;
                view->setFocusedItem(index);
                view->openItemDay(index);
            });
        } else if (name == QLatin1String(CORVSchedViewAccessible::kShowMenu)) {
            QTimer::singleShot(0, m_view, [view, index] {
                if (!view) return;
                view->setFocusedItem(index);
                view->showItemMenu(index, view->boxOnScreen(index).center());
            });
        }
    }

private:
    QPointer<CORVSchedView> m_view;
    int m_index;
};

QAccessibleInterface* makeInterface(const QString& key, QObject* object) {
    if (key == QLatin1String("orv::CORVSchedView"))
        if (auto* view = qobject_cast<CORVSchedView*>(object))
            return new CORVSchedViewAccessible(view);
    return nullptr;
}

} // namespace

CORVSchedViewAccessible::CORVSchedViewAccessible(CORVSchedView* view)
    : QAccessibleWidget(view, QAccessible::List) {}

CORVSchedViewAccessible::~CORVSchedViewAccessible() {
    for (QAccessible::Id id : m_boxes)
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

void CORVSchedViewAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

void CORVSchedViewAccessible::tellFocus(CORVSchedView* view, int index) {
    QAccessibleEvent focus(view, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

void CORVSchedViewAccessible::tellStateChange(CORVSchedView* view, int index) {
    QAccessibleEvent description(view, QAccessible::DescriptionChanged);
    description.setChild(index);
    QAccessible::updateAccessibility(&description);
    // Asking for the box's interface makes it; without a reader nobody needs it.
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(view)->child(index);
    if (!box) return;
    QAccessibleValueChangeEvent value(box, box->text(QAccessible::Value));
    QAccessible::updateAccessibility(&value);
}

CORVSchedView* CORVSchedViewAccessible::view() const {
    return static_cast<CORVSchedView*>(widget());
}

int CORVSchedViewAccessible::boxCount() const {
    return view()->document().items().count();
}

int CORVSchedViewAccessible::childCount() const {
    return boxCount() + 1;
}

QAccessibleInterface* CORVSchedViewAccessible::child(int index) const {
    const int boxes = boxCount();
    if (index == boxes) return QAccessible::queryAccessibleInterface(view()->legend());
    if (index < 0 || index > boxes) return nullptr;
    if (m_boxes.size() <= static_cast<std::size_t>(index)) m_boxes.resize(index + 1, 0);
    QAccessible::Id& id = m_boxes[index];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new CItemBoxAccessible(view(), index));
    return QAccessible::accessibleInterface(id);
}

int CORVSchedViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child) return -1;
    if (child->object() == view()->legend()) return boxCount();
    const QAccessible::Id wanted = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        if (m_boxes[i] == wanted && static_cast<int>(i) < boxCount()) return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* CORVSchedViewAccessible::childAt(int x, int y) const {
    const QPoint inViewport = view()->viewport()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < boxCount(); ++i)
        if (view()->boxOnScreen(i).contains(inViewport)) return child(i);
    return QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface* CORVSchedViewAccessible::focusChild() const {
    if (view()->hasFocus() && view()->focusedItem() >= 0) return child(view()->focusedItem());
    return QAccessibleWidget::focusChild();
}

QString CORVSchedViewAccessible::text(QAccessible::Text t) const {
    CORVSchedDoc& doc = view()->document();
    if (t == QAccessible::Name) return CQtPrompt::toQt(doc.description());
    if (t == QAccessible::Description)
        return CQtPrompt::toQt(
            CViewLayout::titleText(doc.items().count(), doc.kindUpper(), doc.description()));
    return QAccessibleWidget::text(t);
}

} // namespace orv
