#pragma once
// What a keyboard or screen-reader user would miss in a window, one line each:
//   "QDateEdit (date): no accessible name"
//   "mnemonic &R twice: 'Refresh', 'Reason'"
// Checked through QAccessible: every visible control has a role and a name (a field's name is
// its buddy label's text), and a box of the main view has its state (value and description).
// Checked on the widgets: labels bound to a field and buttons other than the dialog's standard
// ones carry a mnemonic, no mnemonic is used twice, and a dialog with buttons has a default one.

#include "displays/CContrast.h"
#include "ui/CKeyboardAccess.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace orv::test {

inline QString describeWidget(const QWidget* w) {
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(w->metaObject()->className()),
                                         w->objectName().isEmpty() ? w->accessibleName()
                                                                   : w->objectName());
}

inline QStringList accessibleFaults(QWidget* top) {
    QStringList faults;
    // The accessible tree.
    auto controlRole = [](QAccessible::Role role) {
        switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::List:
        case QAccessible::Table:
        case QAccessible::Tree:
        case QAccessible::Slider:
            return true;
        default:
            return false;
        }
    };
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* iface,
                                                               int depth) {
        if (!iface || !iface->isValid() || depth > 40) return;
        auto* widget = qobject_cast<QWidget*>(iface->object());
        if (widget && !widget->isVisibleTo(top) && widget != top) return;
        const QString what = widget
                                 ? describeWidget(widget)
                                 : QStringLiteral("child '%1'").arg(iface->text(QAccessible::Name));
        if (iface->role() == QAccessible::NoRole) faults << what + QStringLiteral(": no role");
        if (widget && widget->focusPolicy() != Qt::NoFocus && widget->isEnabled() &&
            controlRole(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty())
            faults << what + QStringLiteral(": no accessible name");
        if (!widget && iface->role() == QAccessible::ListItem && iface->parent() &&
            iface->parent()->object() &&
            iface->parent()->object()->inherits("orv::CORVSchedView") &&
            (iface->text(QAccessible::Value).isEmpty() ||
             iface->text(QAccessible::Description).isEmpty()))
            faults << what + QStringLiteral(": an item box without its state");
        // Lists of lines are read line by line; their lines need no walk of their own.
        if (widget && iface->role() == QAccessible::List && !widget->inherits("orv::CORVSchedView"))
            return;
        for (int i = 0; i < iface->childCount(); ++i)
            walk(iface->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(top), 0);

    // Mnemonics and the default button.
    QMap<QChar, QStringList> mnemonics;
    bool hasDefault = false;
    int pushButtons = 0;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        // A control that cannot be used now may be faint: it is greyed out on purpose.
        if (!w->isVisibleTo(top) || !w->isEnabled()) continue;
        QString text;
        bool needsMnemonic = false;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            needsMnemonic = label->buddy() != nullptr;
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
            auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
            // OK, Cancel and Help answer to Enter, Escape and F1; a button of arrows has a name.
            const bool arrows = !text.contains(QRegularExpression(QStringLiteral("[A-Za-z0-9]")));
            // A tool bar's buttons stand outside the tab order, as do the menu's entries.
            needsMnemonic = !text.isEmpty() && button->focusPolicy() != Qt::NoFocus &&
                            !(arrows && !button->accessibleName().isEmpty()) &&
                            !(box && box->standardButton(button) != QDialogButtonBox::NoButton);
            if (auto* push = qobject_cast<QPushButton*>(button)) {
                ++pushButtons;
                hasDefault = hasDefault || push->isDefault();
            }
        } else {
            continue;
        }
        const QChar m = mnemonicOf(text);
        if (m.isNull()) {
            if (needsMnemonic)
                faults << describeWidget(w) + QStringLiteral(" '%1': no mnemonic").arg(text);
            continue;
        }
        mnemonics[m] << QString(text).remove(QLatin1Char('&'));
    }
    for (auto it = mnemonics.cbegin(); it != mnemonics.cend(); ++it)
        if (it.value().size() > 1)
            faults << QStringLiteral("mnemonic &%1 %2 times: '%3'")
                          .arg(it.key())
                          .arg(it.value().size())
                          .arg(it.value().join(QStringLiteral("', '")));
    if (qobject_cast<QDialog*>(top) && pushButtons > 0 && !hasDefault)
        faults << QStringLiteral("no default button");
    return faults;
}

// Texts drawn too faintly on what is behind them (a colour set by hand that the palette does not
// follow), one line each: "QLabel 'Free': 1.8:1".
inline QStringList faintTexts(QWidget* top) {
    QStringList faint;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        // A control that cannot be used now may be faint: it is greyed out on purpose.
        if (!w->isVisibleTo(top) || !w->isEnabled()) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            text = group->title();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            text = edit->text();
        if (text.isEmpty()) continue;
        // What is behind the text: the nearest widget that fills its background.
        const QWidget* back = w;
        while (back != top && !back->autoFillBackground() && !qobject_cast<const QLineEdit*>(back))
            back = back->parentWidget();
        const QColor fg = w->palette().color(w->foregroundRole());
        const QColor bg = back->palette().color(back->backgroundRole());
        const double ratio =
            CContrast::ratio({fg.red(), fg.green(), fg.blue()}, {bg.red(), bg.green(), bg.blue()});
        if (ratio < CContrast::kMinimumTextRatio)
            faint << QStringLiteral("%1 '%2': %3:1")
                         .arg(QString::fromLatin1(w->metaObject()->className()), text.left(40))
                         .arg(ratio, 0, 'f', 1);
    }
    return faint;
}

} // namespace orv::test
