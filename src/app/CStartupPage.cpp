#include "app/CStartupPage.h"

#include "group/CUserPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CStartupPage::CStartupPage(CUserPrompt& prompt, QWidget* parent)
    : CPreferencePage(QStringLiteral("Group to Open at Startup"), help::kPrefStartupGroup, parent),
      m_prompt(prompt) {
    auto* text = new QLabel(
        QStringLiteral("You can choose to have a group automatically opened whenever you start "
                       "ORV Scheduler. If you do not want to automatically start a group, leave "
                       "the group name field empty and the check box unchecked."),
        this);
    text->setWordWrap(true);
    m_reopenLast = new QCheckBox(QStringLiteral("Reopen last group used"), this);
    auto* orLabel = new QLabel(QStringLiteral("- or -"), this);
    auto* pathLabel = new QLabel(QStringLiteral("Always open the following group"), this);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("startupGroup"));
    pathLabel->setBuddy(m_path);
    m_browse = new QPushButton(QStringLiteral("Browse"), this);

    auto* row = new QHBoxLayout;
    row->addWidget(m_path, 1);
    row->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_reopenLast);
    layout->addWidget(orLabel);
    layout->addWidget(pathLabel);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(m_path, &QLineEdit::textEdited, this, &CPreferencePage::changed);
    connect(m_browse, &QPushButton::clicked, this, &CStartupPage::browse);
    connect(m_reopenLast, &QCheckBox::clicked, this, [this] {
        if (m_reopenLast->isChecked()) m_path->clear();
        updateEnabled();
        emit changed();
    });
}

void CStartupPage::updateEnabled() {
    const bool enabled = !m_reopenLast->isChecked();
    m_path->setEnabled(enabled);
    m_browse->setEnabled(enabled);
}

void CStartupPage::browse() {
    FileChoice choice;
    choice.title = "Select a Group to Open at Startup";
    choice.defaultExtension = "sch";
    choice.filter = "Scheduler Files (*.sch)|*.sch||";
    choice.mustExist = true;
    if (!m_path->text().isEmpty())
        choice.folder = QFile::encodeName(QFileInfo(m_path->text()).absolutePath()).toStdString();
    const std::optional<std::string> chosen = m_prompt.chooseFile(choice);
    if (!chosen) return;
    m_path->setText(QFile::decodeName(chosen->c_str()));
    emit changed();
}

void CStartupPage::load(const CPreferenceValues& values) {
    m_reopenLast->setChecked(values.useLastGroup != 0);
    m_path->setText(QFile::decodeName(values.group.c_str()));
    updateEnabled();
}

void CStartupPage::save(CPreferenceValues& values) const {
    values.useLastGroup = m_reopenLast->isChecked() ? 1 : 0;
    values.group = QFile::encodeName(m_path->text()).toStdString();
}

} // namespace orv
