#include "displays/CItemDayPlaceholderDlg.h"

#include "app/CDialogRegistry.h"
#include "app/CQtPrompt.h"
#include "app/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CItemDayPlaceholderDlg::CItemDayPlaceholderDlg(CItemDayPlaceholder& model, CUserPrompt& prompt,
                                               QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(CQtPrompt::toQt(model.itemName()) + QStringLiteral(" - ") +
                   QString::fromLatin1(model.dateText().c_str()));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(CQtPrompt::toQt(model.text()), this);
    text->setObjectName(QStringLiteral("placeholderText"));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    setHelpTopic(QString::fromLatin1(help::kItemDay));
    setMinimumWidth(360);
}

void CItemDayPlaceholderDlg::registerDialogs() {
    registerDialog<CItemDayPlaceholder, CItemDayPlaceholderDlg>(CItemDayPlaceholder::kId);
}

} // namespace orv
