#include "reservations/CFreeItemsDlg.h"

#include "app/CDialogRegistry.h"
#include "app/CQtDates.h"
#include "app/CQtPrompt.h"
#include "app/HelpTopics.h"

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
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    auto datePicker = [&](const CDate& d) {
        auto* edit = new QDateEdit(toQDate(d), this);
        edit->setLocale(english);
        edit->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        edit->setCalendarPopup(true);
        return edit;
    };
    auto timePicker = [&](int hour, int minute) {
        auto* edit = new QTimeEdit(QTime(hour, minute), this);
        edit->setLocale(english);
        edit->setDisplayFormat(QStringLiteral("hh':'mm AP"));
        return edit;
    };
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_date = datePicker(model.date);
    m_start = timePicker(model.startHour, model.startMinute);
    m_end = timePicker(model.endHour, model.endMinute);
    m_weekly = new QCheckBox(QStringLiteral("Every week through:"), this);
    m_weekly->setChecked(model.weekly);
    m_until = datePicker(model.until);
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
    m_free.selected = m_list->currentRow();
}

void CFreeItemsDlg::showLines() {
    m_list->clear();
    for (const CListLine& line : m_free.lines())
        m_list->addItem(CQtPrompt::toQt(line.text));
}

void CFreeItemsDlg::search() {
    takeValues();
    m_free.search();
    showLines();
}

void CFreeItemsDlg::reserve() {
    takeValues();
    m_free.reserve();
    showLines();
}

void CFreeItemsDlg::registerDialogs() {
    registerDialog<CFreeItems, CFreeItemsDlg>(CFreeItems::kId);
}

} // namespace orv
