#include "group/widgets/CMergeInfoDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CMergeInfoDlg::CMergeInfoDlg(CMergeInfoModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    for (const char* text : {CMergeInfoModel::kWarning, CMergeInfoModel::kCriterion1,
                             CMergeInfoModel::kCriterion2, CMergeInfoModel::kCriterion3}) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* buttons = new QDialogButtonBox(this);
    m_selectGroup =
        buttons->addButton(QStringLiteral("Select Group"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setHelpTopic(QString::fromLatin1(help::kMergeGroups));
    setMinimumWidth(460);
}

void CMergeInfoDlg::registerDialogs() {
    registerDialog<CMergeInfoModel, CMergeInfoDlg>(CMergeInfoModel::kId);
}

} // namespace orv
