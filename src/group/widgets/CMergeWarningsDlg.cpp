#include "group/widgets/CMergeWarningsDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CMergeWarningsDlg::CMergeWarningsDlg(CMergeWarningsModel& model, CUserPrompt& prompt,
                                     QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(QString::fromLatin1(CMergeWarningsModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const auto& warning : model.warnings())
        m_list->addItem(CQtPrompt::toQt(warning));
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    // The list is short and stays on screen; the button prints nothing.
    m_print = buttons->addButton(QStringLiteral("Print"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setHelpTopic(QString::fromLatin1(help::kMergeGroups));
    setMinimumSize(520, 240);
}

void CMergeWarningsDlg::registerDialogs() {
    registerDialog<CMergeWarningsModel, CMergeWarningsDlg>(CMergeWarningsModel::kId);
}

} // namespace orv
