#include "reservations/widgets/CFreeItemsDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace orv {

CFreeItemsDlg::CFreeItemsDlg(CFreeItems& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_free(model) {
    setWindowTitle(QString::fromLatin1(CFreeItems::kTitle));
    const QString timeFormat = QStringLiteral("hh':'mm AP");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_date = datePickerQt(model.date, "date", this);
    m_start = timePickerQt(model.startHour, model.startMinute, timeFormat, "start", this);
    m_end = timePickerQt(model.endHour, model.endMinute, timeFormat, "end", this);
    m_weekly = new QCheckBox(QStringLiteral("Every week through:"), this);
    m_weekly->setChecked(model.weekly);
    m_until = datePickerQt(model.until, "until", this);
    m_until->setEnabled(model.weekly);
    form->addRow(QStringLiteral("Date"), m_date);
    form->addRow(QStringLiteral("Start Time"), m_start);
    form->addRow(QStringLiteral("End Time"), m_end);
    form->addRow(m_weekly, m_until);
    layout->addLayout(form);
    auto* find = new QPushButton(QStringLiteral("&Search"), this);
    layout->addWidget(find);
    m_list = new QListWidget(this);
    m_list->setMinimumSize(320, 200);
    m_list->setAccessibleName(QStringLiteral("Free items"));
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* reserveButton =
        buttons->addButton(QStringLiteral("&Reserve..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("Finished"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Help);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(find, &QPushButton::clicked, this, &CFreeItemsDlg::search);
    connect(reserveButton, &QPushButton::clicked, this, &CFreeItemsDlg::reserve);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CFreeItemsDlg::reserve);
    connect(m_weekly, &QCheckBox::toggled, m_until, &QWidget::setEnabled);
    setHelpTopic(QString::fromLatin1(help::kFindFreeItem), buttons);
    showLines();
}

void CFreeItemsDlg::takeValues() {
    m_free.date = fromQDate(m_date->date());
    m_free.startHour = m_start->time().hour();
    m_free.startMinute = m_start->time().minute();
    m_free.endHour = m_end->time().hour();
    m_free.endMinute = m_end->time().minute();
    m_free.weekly = m_weekly->isChecked();
    m_free.until = fromQDate(m_until->date());
    m_free.selected = selectedRowQt(m_list);
}

void CFreeItemsDlg::showLines() {
    m_list->clear();
    for (const CListLine& line : m_free.lines())
        m_list->addItem(CQtPrompt::toQt(line.text));
}

void CFreeItemsDlg::search() {
    if (!takeTypedEntriesQt(this)) return;
    takeValues();
    m_free.search();
    showLines();
}

void CFreeItemsDlg::reserve() {
    if (!takeTypedEntriesQt(this)) return;
    takeValues();
    m_free.reserve();
    showLines();
}

void CFreeItemsDlg::registerDialogs() {
    registerDialog<CFreeItems, CFreeItemsDlg>(CFreeItems::kId);
}

} // namespace orv
