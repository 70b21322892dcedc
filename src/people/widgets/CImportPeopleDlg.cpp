#include "people/widgets/CImportPeopleDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CImportPeopleDlg::CImportPeopleDlg(CImportPeopleModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_import(model) {
    setWindowTitle(QString::fromLatin1(model.title()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(CImportPeopleModel::kText), this));
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const auto& line : model.lines())
        m_list->addItem(CQtPrompt::toQt(line.text));
    for (int index : model.selected)
        if (index >= 0 && index < m_list->count()) m_list->item(index)->setSelected(true);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    m_selectAll = buttons->addButton(QStringLiteral("Select All"), QDialogButtonBox::ActionRole);
    m_unselectAll =
        buttons->addButton(QStringLiteral("Unselect All"), QDialogButtonBox::ActionRole);
    connect(m_selectAll, &QPushButton::clicked, m_list, &QListWidget::selectAll);
    connect(m_unselectAll, &QPushButton::clicked, m_list, &QListWidget::clearSelection);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setHelpTopic(QString::fromLatin1(help::kImportPeople), buttons);
    setMinimumSize(460, 360);
}

void CImportPeopleDlg::takeValues() {
    m_import.unselectAll();
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected()) m_import.selected.insert(i);
}

void CImportPeopleDlg::registerDialogs() {
    registerDialog<CImportPeopleModel, CImportPeopleDlg>(CImportPeopleModel::kId);
}

} // namespace orv
