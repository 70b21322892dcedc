#include "reports/widgets/CResReportDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

CResReportDlg::CResReportDlg(CResReportOptions& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_options(model) {
    setWindowTitle(QString::fromLatin1(CResReportOptions::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QString::fromLatin1(CResReportOptions::kIntro), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_start = datePickerQt({model.startYear, model.startMonth, model.startDay}, "start", this);
    m_end = datePickerQt({model.endYear, model.endMonth, model.endDay}, "end", this);
    auto* dates = new QFormLayout;
    dates->addRow(QStringLiteral("Starting Date"), m_start);
    dates->addRow(QStringLiteral("Ending Date"), m_end);
    layout->addLayout(dates);

    layout->addWidget(new QLabel(CQtPrompt::toQt(model.itemsLabel()), this));
    m_items = choiceListQt(model.itemNames(), "items", this);
    layout->addWidget(m_items);

    layout->addWidget(new QLabel(QStringLiteral("Include Only Selected People"), this));
    m_people = choiceListQt({}, "people", this);
    for (const CListLine& line : model.peopleLines())
        m_people->addItem(CQtPrompt::toQt(line.text));
    fitListQt(m_people, 0, m_people->minimumHeight());
    layout->addWidget(m_people);

    m_blockouts = new QCheckBox(QString::fromLatin1(CResReportOptions::kBlockoutsOnly), this);
    m_blockouts->setObjectName(QStringLiteral("blockouts"));
    layout->addWidget(m_blockouts);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kReservationReport), buttons);
    setMinimumWidth(460);
}

void CResReportDlg::takeValues() {
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    m_options.startMonth = start.month();
    m_options.startDay = start.day();
    m_options.startYear = start.year();
    m_options.endMonth = end.month();
    m_options.endDay = end.day();
    m_options.endYear = end.year();
    m_options.selectedItems.clear();
    for (int i = 0; i < m_items->count(); ++i)
        if (m_items->item(i)->isSelected()) m_options.selectedItems.insert(i);
    m_options.selectedPeople.clear();
    const auto& people = m_options.peopleLines();
    for (int i = 0; i < m_people->count(); ++i)
        if (m_people->item(i)->isSelected())
            m_options.selectedPeople.push_back(people[static_cast<std::size_t>(i)].recordNumber);
    m_options.blockoutsOnly = m_blockouts->isChecked();
}

void CResReportDlg::registerDialogs() {
    registerDialog<CResReportOptions, CResReportDlg>(CResReportOptions::kId);
}

} // namespace orv
