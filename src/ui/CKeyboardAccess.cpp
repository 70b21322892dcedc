#include "ui/CKeyboardAccess.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>

#include <vector>

namespace orv {

QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return {};
}

namespace {

// `text` with a mnemonic on a letter not in `used`, or unchanged when every letter is taken.
QString withMnemonic(const QString& text, QSet<QChar>& used) {
    auto freeAt = [&](qsizetype i) {
        const QChar c = text.at(i);
        return c.isLetterOrNumber() && c.unicode() < 128 && !used.contains(c.toLower());
    };
    qsizetype pick = -1;
    for (qsizetype i = 0; i < text.size() && pick < 0; ++i)
        if ((i == 0 || text.at(i - 1).isSpace()) && freeAt(i)) pick = i;
    for (qsizetype i = 0; i < text.size() && pick < 0; ++i)
        if (freeAt(i)) pick = i;
    if (pick < 0) return text;
    used.insert(text.at(pick).toLower());
    return text.left(pick) + QLatin1Char('&') + text.mid(pick);
}

bool isField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

// The widgets of `root` outside the pages of stacked widgets, in creation order; the stacks.
void collect(QWidget* root, std::vector<QWidget*>& widgets, std::vector<QStackedWidget*>& stacks) {
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;
        widgets.push_back(w);
        if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
            stacks.push_back(stack);
            continue;
        }
        collect(w, widgets, stacks);
    }
}

// The first field of a layout, looking into the layouts inside it.
QWidget* firstField(QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            if (QWidget* field = firstField(inner)) return field;
        } else if (QWidget* w = item->widget();
                   w && isField(w) && w->focusPolicy() != Qt::NoFocus) {
            return w;
        }
    }
    return nullptr;
}

QLabel* plainUnboundLabel(QWidget* w) {
    auto* label = qobject_cast<QLabel*>(w);
    if (!label || label->text().isEmpty() || label->wordWrap() ||
        Qt::mightBeRichText(label->text()) || label->buddy())
        return nullptr;
    return label;
}

// A label directly before a field in one layout, or directly above it in a grid, is that field's
// label; so is one before a row of widgets that begins with a field.
void bindLabels(QLayout* layout) {
    if (!layout) return;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        for (int r = 0; r + 1 < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c) {
                QLayoutItem* above = grid->itemAtPosition(r, c);
                QLayoutItem* below = grid->itemAtPosition(r + 1, c);
                QLabel* label = above ? plainUnboundLabel(above->widget()) : nullptr;
                QWidget* field = below ? below->widget() : nullptr;
                if (label && field && isField(field) && field->focusPolicy() != Qt::NoFocus)
                    label->setBuddy(field);
            }
    }
    QLabel* pending = nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            if (pending)
                if (QWidget* field = firstField(inner)) pending->setBuddy(field);
            bindLabels(inner);
            pending = nullptr;
            continue;
        }
        QWidget* w = item->widget();
        if (!w) continue;
        if (qobject_cast<QLabel*>(w)) {
            pending = plainUnboundLabel(w);
            continue;
        }
        if (pending && isField(w) && w->focusPolicy() != Qt::NoFocus) pending->setBuddy(w);
        pending = nullptr;
        if (w->layout()) bindLabels(w->layout());
    }
}

void complete(QWidget* root, QSet<QChar> used) {
    std::vector<QWidget*> widgets;
    std::vector<QStackedWidget*> stacks;
    collect(root, widgets, stacks);
    for (QWidget* w : widgets)
        if (auto* edit = qobject_cast<QLineEdit*>(w);
            edit && edit->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            edit->setFocusPolicy(Qt::NoFocus);
    bindLabels(root->layout());
    for (QWidget* w : widgets)
        if (!qobject_cast<QLabel*>(w) && w->layout()) bindLabels(w->layout());

    // Which texts need a mnemonic, and which are taken already.
    std::vector<QLabel*> labels;
    std::vector<QAbstractButton*> buttons;
    for (QWidget* w : widgets) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->buddy()) continue;
            if (auto* view = qobject_cast<QAbstractItemView*>(label->buddy());
                view && view->accessibleName().isEmpty())
                view->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')));
            const QChar m = mnemonicOf(label->text());
            if (m.isNull())
                labels.push_back(label);
            else
                used.insert(m);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // A button of arrows has no letter to underline; it says what it does by its name.
            if (button->text().isEmpty() ||
                !button->text().contains(QRegularExpression(QStringLiteral("[A-Za-z0-9]"))))
                continue;
            auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
            if (box && box->standardButton(button) != QDialogButtonBox::NoButton) continue;
            const QChar m = mnemonicOf(button->text());
            if (m.isNull())
                buttons.push_back(button);
            else
                used.insert(m);
        }
    }
    for (QLabel* label : labels)
        label->setText(withMnemonic(label->text(), used));
    for (QAbstractButton* button : buttons)
        button->setText(withMnemonic(button->text(), used));
    for (QStackedWidget* stack : stacks)
        for (int i = 0; i < stack->count(); ++i)
            complete(stack->widget(i), used);
}

} // namespace

void completeKeyboardAccess(QWidget* window) {
    complete(window, {});
}

} // namespace orv
