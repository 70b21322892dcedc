#include "reminders/widgets/CReminderChoiceDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orv {

CReminderChoiceDlg::CReminderChoiceDlg(CReminderChoiceModel& model, CUserPrompt& prompt,
                                       QWidget* parent)
    : CModelDialog(model, prompt, parent), m_choice(model) {
    setWindowTitle(QString::fromLatin1(CReminderChoiceModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_person = new QComboBox(this);
    m_person->addItem(QString::fromLatin1(CReminderChoiceModel::kNobody));
    for (const std::string& line : model.lines) m_person->addItem(QString::fromLatin1(line.c_str()));
    m_person->setCurrentIndex(model.chosen + 1);
    auto* who = new QLabel(QStringLiteral("&I am:"), this);
    who->setBuddy(m_person);
    form->addRow(who, m_person);
    layout->addLayout(form);
    m_remind = new QCheckBox(QString::fromLatin1(CReminderChoiceModel::kRemind), this);
    m_remind->setChecked(model.remind);
    layout->addWidget(m_remind);
    auto* before = new QFormLayout;
    m_minutes = new QSpinBox(this);
    m_minutes->setRange(1, 24 * 60);
    m_minutes->setSuffix(QStringLiteral(" minutes"));
    m_minutes->setValue(model.minutes);
    auto* minutesLabel = new QLabel(QStringLiteral("&Before the start:"), this);
    minutesLabel->setBuddy(m_minutes);
    before->addRow(minutesLabel, m_minutes);
    layout->addLayout(before);
    layout->addWidget(new QLabel(
        QStringLiteral("You are also told when another user cancels, moves or blocks out one of "
                       "your reservations of the next two weeks."),
        this));
    layout->itemAt(layout->count() - 1)->widget()->setProperty("wordWrap", true);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kReminders), buttons);
    setMinimumWidth(420);
}

void CReminderChoiceDlg::takeValues() {
    m_choice.chosen = m_person->currentIndex() - 1;
    m_choice.remind = m_remind->isChecked();
    m_choice.minutes = m_minutes->value();
}

void CReminderChoiceDlg::registerDialogs() {
    registerDialog<CReminderChoiceModel, CReminderChoiceDlg>(CReminderChoiceModel::kId);
}

} // namespace orv
