#include "exports/widgets/CCalendarFeedDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CCalendarFeedDlg::CCalendarFeedDlg(CCalendarFeedModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_feed(model) {
    setWindowTitle(QString::fromLatin1(CCalendarFeedModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_keep = new QCheckBox(QString::fromLatin1(CCalendarFeedModel::kKeep), this);
    m_keep->setChecked(model.keep);
    layout->addWidget(m_keep);
    layout->addWidget(new QLabel(QStringLiteral("Folder of the calendar file:"), this));
    auto* row = new QHBoxLayout;
    m_folder = new QLineEdit(QFile::decodeName(model.folder.c_str()), this);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setAutoDefault(false);
    row->addWidget(m_folder, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    m_floating = new QCheckBox(QString::fromLatin1(CCalendarFeedModel::kFloating), this);
    m_floating->setChecked(model.floating);
    layout->addWidget(m_floating);
    layout->addWidget(
        new QLabel(QStringLiteral("Calendar programs can subscribe to the file; it follows every "
                                  "change of the reservations within a minute."),
                   this));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Folder of the Calendar File"), m_folder->text());
        if (!chosen.isEmpty()) {
            m_folder->setText(chosen);
            m_keep->setChecked(true);
        }
    });
    setHelpTopic(QString::fromLatin1(help::kCalendarFile), buttons);
    setMinimumWidth(440);
}

void CCalendarFeedDlg::takeValues() {
    m_feed.keep = m_keep->isChecked();
    m_feed.floating = m_floating->isChecked();
    m_feed.folder = std::string(QFile::encodeName(m_folder->text().trimmed()).constData());
}

void CCalendarFeedDlg::registerDialogs() {
    registerDialog<CCalendarFeedModel, CCalendarFeedDlg>(CCalendarFeedModel::kId);
}

} // namespace orv
