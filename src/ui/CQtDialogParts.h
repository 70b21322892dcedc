#pragma once
// Widgets the blockout, deletion and report dialogs share: date and time pickers (app/CQtDates.h),
// lists to pick lines from, and the OK, Cancel and Help buttons.

#include "ui/CModelDialog.h"
#include "ui/CQtDates.h"
#include "ui/CQtPrompt.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QStyle>
#include <QTimeEdit>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace orv {

// A list of stored-text lines of which several can be selected.
inline QListWidget* choiceListQt(const std::vector<std::string>& lines, const char* name,
                                 QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const std::string& line : lines)
        list->addItem(CQtPrompt::toQt(line));
    return list;
}

// Makes `list` wide enough for its widest line beside a vertical scroll bar, and at least
// `width` by `height`: the end of a line (a phone number) is not to hide behind a scroll bar.
// The width needed, so that a list that is filled later can be given the same.
inline int fitListQt(QListWidget* list, int width, int height) {
    const int needed = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                       list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       list->fontMetrics().averageCharWidth();
    list->setMinimumSize(std::max(width, needed), height);
    return std::max(width, needed);
}

// The selected line of a single-selection list, or -1. The current line is not a selection:
// the keyboard focus puts it on the first line without selecting anything.
inline int selectedRowQt(const QListWidget* list) {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? -1 : list->row(chosen.front());
}

inline std::set<int> selectedRowsQt(const QListWidget* list) {
    std::set<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.insert(i);
    return rows;
}

// OK, Cancel and Help at the bottom of `layout`; Help and F1 open `helpTopic`.
inline void addOkCancelHelpQt(CModelDialog* dialog, QBoxLayout* layout, const char* helpTopic) {
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    dialog->setHelpTopic(QString::fromLatin1(helpTopic), buttons);
}

} // namespace orv
