#include "exports/widgets/CExportDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

CExportDlg::CExportDlg(CExportModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_export(model) {
    setWindowTitle(QString::fromLatin1(CExportModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_from = datePickerQt(model.from, "from", this);
    m_to = datePickerQt(model.to, "to", this);
    m_format = new QComboBox(this);
    m_format->addItems({QStringLiteral("iCalendar (.ics)"), QStringLiteral("CSV (.csv)")});
    form->addRow(QStringLiteral("From"), m_from);
    form->addRow(QStringLiteral("Through"), m_to);
    form->addRow(QStringLiteral("Format"), m_format);
    m_floating = new QCheckBox(QString::fromLatin1(CExportModel::kFloating), this);
    m_floating->setChecked(model.floating);
    form->addRow(QString(), m_floating);
    // Only a calendar file has time zones.
    connect(m_format, &QComboBox::currentIndexChanged, m_floating,
            [this](int index) { m_floating->setEnabled(index == 0); });
    layout->addLayout(form);
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Items (none selected: all)"), this), 0, 0);
    lists->addWidget(
        new QLabel(QStringLiteral("People (none selected: all, with blockouts)"), this), 0, 1);
    m_items = new QListWidget(this);
    m_people = new QListWidget(this);
    for (QListWidget* list : {m_items, m_people}) {
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        list->setMinimumSize(240, 180);
    }
    lists->addWidget(m_items, 1, 0);
    lists->addWidget(m_people, 1, 1);
    layout->addLayout(lists);
    for (const std::string& name : model.itemNames())
        m_items->addItem(CQtPrompt::toQt(name));
    for (const CListLine& line : model.peopleLines())
        m_people->addItem(CQtPrompt::toQt(line.text));
    fitListQt(m_people, 240, 180);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kExport), buttons);
}

void CExportDlg::takeValues() {
    m_export.from = fromQDate(m_from->date());
    m_export.to = fromQDate(m_to->date());
    m_export.format =
        m_format->currentIndex() == 1 ? CCalendarExport::Format::csv : CCalendarExport::Format::ics;
    m_export.floating = m_floating->isChecked();
    m_export.selectedItems.clear();
    for (const QListWidgetItem* item : m_items->selectedItems())
        m_export.selectedItems.push_back(m_items->row(item));
    m_export.selectedPeople.clear();
    for (const QListWidgetItem* item : m_people->selectedItems())
        m_export.selectedPeople.push_back(m_people->row(item));
}

void CExportDlg::registerDialogs() {
    registerDialog<CExportModel, CExportDlg>(CExportModel::kId);
}

} // namespace orv
