#include "people/widgets/CPersonDeleteDlg.h"

#include "people/widgets/CPersonListDlg.h"
#include "ui/CDialogRegistry.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

CPersonDeleteDlg::CPersonDeleteDlg(CPersonDeleteModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_model(model) {
    setWindowTitle(QString::fromLatin1(model.title()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(CPersonDeleteModel::kPrompt), this));
    m_list = CPersonListDlg::peopleList(this, model.lines());
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    buttons->addButton(QDialogButtonBox::Help);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kPeople), buttons);
}

void CPersonDeleteDlg::takeValues() {
    m_model.selected.clear();
    for (const QListWidgetItem* item : m_list->selectedItems())
        m_model.selected.push_back(m_list->row(item));
}

void CPersonDeleteDlg::registerDialogs() {
    registerDialog<CPersonDeleteModel, CPersonDeleteDlg>(CPersonDeleteModel::kId);
}

} // namespace orv
