#pragma once
// Texts a dialog cuts: each visible widget's text measured with the widget's own font against
// the room the widget gives it. What it finds, one line each:
//   "QLabel 'Show 12 Hours Beginning': needs 170 px, has 150"
// Checked: labels (a wrapping label by the height its text needs), buttons, check boxes, radio
// buttons, line edits and date/time fields, group box titles, lists whose lines need a
// horizontal scroll bar, tree headers narrower than their texts, the window title, and an empty
// strip of more than three lines under the button row.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringList>
#include <QTextDocument>
#include <QTreeWidget>
#include <QWidget>

#include <algorithm>

namespace orv::test {

inline QStringList cutTexts(QWidget* top) {
    QStringList cut;
    auto report = [&](const QWidget* w, const QString& text, int needs, int has) {
        cut << QStringLiteral("%1 '%2': needs %3 px, has %4")
                   .arg(QString::fromLatin1(w->metaObject()->className()), text.left(60))
                   .arg(needs)
                   .arg(has);
    };
    auto widest = [](const QFontMetrics& fm, const QString& text) {
        int w = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            w = std::max(w, fm.horizontalAdvance(line));
        return w;
    };
    // Window title: the title bar also holds the window's buttons.
    const QFontMetrics topFm(top->font());
    const int titleNeeds = topFm.horizontalAdvance(top->windowTitle()) + 8 * topFm.height();
    if (!top->windowTitle().isEmpty() && top->width() < titleNeeds)
        report(top, top->windowTitle(), titleNeeds, top->width());

    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->width() <= 0) continue;
        const QFontMetrics fm(w->font());
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
            if (Qt::mightBeRichText(label->text())) continue;
            const QString text = QString(label->text()).remove(QLatin1Char('&'));
            const QRect room = label->contentsRect();
            if (label->wordWrap()) {
                const int needs = label->heightForWidth(label->width());
                if (needs > label->height()) report(label, text, needs, label->height());
            } else if (widest(fm, text) > room.width()) {
                report(label, text, widest(fm, text), room.width());
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            if (check->sizeHint().width() > check->width())
                report(check, check->text(), check->sizeHint().width(), check->width());
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            if (radio->sizeHint().width() > radio->width())
                report(radio, radio->text(), radio->sizeHint().width(), radio->width());
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            // What the style needs for the text, its icon and its margins.
            const QString text = QString(button->text()).remove(QLatin1Char('&'));
            const int needs = button->sizeHint().width();
            if (!text.isEmpty() && needs > button->width())
                report(button, text, needs, button->width());
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            const QLineEdit* edit = spin->findChild<QLineEdit*>();
            const int needs = fm.horizontalAdvance(spin->text()) + fm.averageCharWidth() / 2;
            if (edit && needs > edit->width()) report(spin, spin->text(), needs, edit->width());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget())) continue;
            const int needs = fm.horizontalAdvance(edit->text()) + fm.averageCharWidth();
            if (needs > edit->width()) report(edit, edit->text(), needs, edit->width());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            const int needs = fm.horizontalAdvance(group->title()) + 2 * fm.height();
            if (!group->title().isEmpty() && needs > group->width())
                report(group, group->title(), needs, group->width());
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            // Owner-drawn overviews scroll sideways by design; every other list shows whole lines.
            if (list->inherits("orv::CDAGListBox")) continue;
            for (int i = 0; i < list->count(); ++i) {
                const int needs = fm.horizontalAdvance(list->item(i)->text());
                if (needs > list->viewport()->width()) {
                    report(list, list->item(i)->text(), needs, list->viewport()->width());
                    break;
                }
            }
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            const auto* model = header->model();
            for (int s = 0; model && s < header->count(); ++s) {
                if (header->isSectionHidden(s)) continue;
                const QString text = model->headerData(s, header->orientation()).toString();
                const int needs = fm.horizontalAdvance(text) + fm.averageCharWidth();
                if (needs > header->sectionSize(s))
                    report(header, text, needs, header->sectionSize(s));
            }
        }
    }
    auto* buttons = top->findChild<QDialogButtonBox*>();
    if (buttons && buttons->isVisibleTo(top) && buttons->orientation() == Qt::Horizontal) {
        const int below = top->height() - buttons->mapTo(top, QPoint(0, buttons->height())).y();
        if (below > 3 * topFm.height())
            report(buttons, QStringLiteral("(empty strip below)"), 0, below);
    }
    return cut;
}

} // namespace orv::test
